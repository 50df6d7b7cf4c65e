#pragma once
// The controls of the main window's bond pages that show the bond's items and factors:
// each on the mine pages and on the project pages, items 3, 4 and 13 more than once.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct BondItems;

namespace BondPageControls {
// The controls an item is shown in: the mine pages' and the project pages'.
QStringList ofItem(int item);
// The project page's control that shows what a mine page's control shows.
QString projectControlOf(const QString& mineControl);
// Every control with the text it shows for the items.
QList<QPair<QString, QString>> texts(const BondItems& items);
}  // namespace BondPageControls
