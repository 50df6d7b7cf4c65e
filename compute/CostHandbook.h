#pragma once
// The reference prices a data file holds, read once: the equipment-cost handbook by
// the machine name the cost wizard writes into a machine ("Maker, Kind -- Model"),
// the labor rates by region, sub region and laborer, and the three fee tables. A
// name or category entered more than once (a new date of cost added each year) is
// known by its newest row.
#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

class Database;

struct HandbookPrice {
    QString maker, kind, model, specifications;
    QDate dateOfCost;
    double hourlyCost = 0;
    // maker + ", " + kind + " -- " + model, as the wizard names the machine.
    QString machineName() const;
};

struct LaborRate {
    QString region, subRegion, laborer;
    QDate dateOfCost;
    double hourlyCost = 0;
    // "Region / Sub region / Laborer".
    QString category() const;
};

struct FeeRow {
    double directCost = 0, percent = 0;
    bool operator==(const FeeRow&) const = default;
};

class CostHandbook {
public:
    // Reads the reference tables of `db`; throws EDatabaseError when one cannot be read.
    explicit CostHandbook(Database& db);

    // The newest price of a machine name; null when the handbook does not hold it.
    const HandbookPrice* price(const QString& machineName) const;
    // The newest rate of a labor category; null when there is none.
    const LaborRate* currentRate(const QString& category) const;
    // The categories that hold the rate at any of their dates, each by its newest rate:
    // how a machine's stored labor cost is traced back to the laborer it was taken from.
    QList<const LaborRate*> categoriesOfRate(double hourlyCost) const;

    // The newest row of each machine name, and of each labor category, in name order.
    QList<const HandbookPrice*> prices() const;
    QList<const LaborRate*> rates() const;

    // The three fee tables by file name, their rows in direct-cost order.
    static QStringList feeTables();
    QList<FeeRow> fees(const QString& table) const { return fees_.value(table); }

private:
    QMap<QString, HandbookPrice> prices_;
    QMap<QString, LaborRate> rates_;
    QMap<QString, QList<double>> rateHistory_;  // every dated rate of each category
    QMap<QString, QList<FeeRow>> fees_;
};

// Two stored money amounts are the same to the ten-thousandth of a dollar.
bool sameMoney(double a, double b);
