#pragma once
// A stored value that a computation could not use (not a finite number, text in a
// number column, or beyond the range of money amounts): the row that holds it is
// left out of the figure, and every output that shows the figure names it.
#include <QList>
#include <QString>
#include <QStringList>

struct LeftOutValue {
    QString table;     // "DEMOL.DB"
    QString keyField;  // "SheetID"
    qint64 key = 0;    // the row's key
    QString field;     // "UnitCost", or "hours required" for hours that cannot be computed
    QString value;     // what the file holds: "NaN", "1e+16", "inf", "12 dollars"

    // "DEMOL.DB, SheetID 1: UnitCost = NaN"
    QString line() const;
    bool operator==(const LeftOutValue& o) const = default;
};

using LeftOutValues = QList<LeftOutValue>;

// The line every printed output carries: "Incomplete: 2 stored value(s) left out".
QString incompleteLine(const LeftOutValues& values);
QStringList leftOutLines(const LeftOutValues& values);
// Adds the values not yet in `into`, in their order.
void addLeftOut(LeftOutValues& into, const LeftOutValues& values);
