#pragma once
// tarvane-cli trucks: the truck calculator's total cost and cheapest number of trucks.
#include <QStringList>

class Dialogs;

int cmdTrucks(QStringList args, Dialogs& dialogs);
