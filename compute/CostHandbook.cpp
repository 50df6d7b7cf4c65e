#include "CostHandbook.h"

#include "Money.h"
#include "Table.h"

#include <QHash>
#include <algorithm>

namespace {

QString text(Table& t, const char* field)
{
    return t.fieldByName(QLatin1String(field)).asString();
}

// Later dates win; of equal dates, the row read last (entered last).
bool newer(const QDate& candidate, const QDate& held)
{
    if (!held.isValid())
        return true;
    return candidate.isValid() && candidate >= held;
}

// Reads a whole reference table in its order.
template <typename Row>
void eachRow(Database& db, const char* file, Row row)
{
    Table t(db, QStringLiteral("HandbookRead"), QString::fromLatin1(file));
    t.open();
    for (t.first(); !t.eof(); t.next())
        row(t);
    t.close();
}

}  // namespace

QString HandbookPrice::machineName() const
{
    return maker + QStringLiteral(", ") + kind + QStringLiteral(" -- ") + model;
}

QString LaborRate::category() const
{
    return region + QStringLiteral(" / ") + subRegion + QStringLiteral(" / ") + laborer;
}

bool sameMoney(double a, double b)
{
    if (!Money::fits(a) || !Money::fits(b))
        return a == b;
    return Money::fromDouble(a) == Money::fromDouble(b);
}

QStringList CostHandbook::feeTables()
{
    return {QStringLiteral("GRAPH1.DB"), QStringLiteral("GRAPH2.DB"), QStringLiteral("GRAPH3.DB")};
}

CostHandbook::CostHandbook(Database& db)
{
    QHash<int, QString> makers;
    eachRow(db, "HCOMPANY.DB", [&](Table& t) { makers.insert(t.fieldByName("COID").asInteger(), text(t, "Name")); });
    QHash<int, QPair<QString, QString>> kinds;  // type ID -> maker, kind
    eachRow(db, "HEQUIPT.DB", [&](Table& t) {
        kinds.insert(t.fieldByName("ID").asInteger(), {makers.value(t.fieldByName("COID").asInteger()), text(t, "Type")});
    });
    eachRow(db, "HCOST.DB", [&](Table& t) {
        const auto kind = kinds.find(t.fieldByName("ID").asInteger());
        if (kind == kinds.end())
            return;  // a model of no type is offered by no wizard page
        HandbookPrice p{kind->first, kind->second, text(t, "Model"), text(t, "Specifications"),
                        t.fieldByName("DateOfCost").asDate(), t.fieldByName("HourlyCost").asFloat()};
        auto held = prices_.find(p.machineName());
        if (held == prices_.end())
            prices_.insert(p.machineName(), p);
        else if (newer(p.dateOfCost, held->dateOfCost))
            *held = p;
    });

    QHash<int, QString> regions;
    eachRow(db, "LaborRegion.db", [&](Table& t) { regions.insert(t.fieldByName("RegionID").asInteger(), text(t, "RegionName")); });
    QHash<int, QPair<QString, QString>> subRegions;
    eachRow(db, "LaborSubRegion.DB", [&](Table& t) {
        subRegions.insert(t.fieldByName("SubRegionID").asInteger(),
                          {regions.value(t.fieldByName("RegionID").asInteger()), text(t, "SubRegionName")});
    });
    eachRow(db, "LaborCost.db", [&](Table& t) {
        const auto sub = subRegions.find(t.fieldByName("SubRegionID").asInteger());
        if (sub == subRegions.end())
            return;
        LaborRate r{sub->first, sub->second, text(t, "Laborer"), t.fieldByName("DateOfCost").asDate(),
                    t.fieldByName("HourlyCosst").asFloat()};
        rateHistory_[r.category()] << r.hourlyCost;
        auto held = rates_.find(r.category());
        if (held == rates_.end())
            rates_.insert(r.category(), r);
        else if (newer(r.dateOfCost, held->dateOfCost))
            *held = r;
    });

    for (const QString& table : feeTables()) {
        const char* percent = table == QLatin1String("GRAPH1.DB") ? "PerCent" : "Percent";
        QList<FeeRow>& rows = fees_[table];
        eachRow(db, table.toLatin1().constData(), [&](Table& t) {
            rows << FeeRow{t.fieldByName("DirectCost").asFloat(), t.fieldByName(percent).asFloat()};
        });
        std::sort(rows.begin(), rows.end(), [](const FeeRow& a, const FeeRow& b) { return a.directCost < b.directCost; });
    }
}

const HandbookPrice* CostHandbook::price(const QString& machineName) const
{
    const auto it = prices_.constFind(machineName);
    return it == prices_.cend() ? nullptr : &*it;
}

const LaborRate* CostHandbook::currentRate(const QString& category) const
{
    const auto it = rates_.constFind(category);
    return it == rates_.cend() ? nullptr : &*it;
}

QList<const LaborRate*> CostHandbook::categoriesOfRate(double hourlyCost) const
{
    QList<const LaborRate*> found;
    for (auto it = rateHistory_.cbegin(); it != rateHistory_.cend(); ++it)
        for (double rate : *it)
            if (sameMoney(rate, hourlyCost)) {
                found << &rates_.find(it.key()).value();
                break;
            }
    return found;
}

QList<const HandbookPrice*> CostHandbook::prices() const
{
    QList<const HandbookPrice*> all;
    for (const HandbookPrice& p : prices_)
        all << &p;
    return all;
}

QList<const LaborRate*> CostHandbook::rates() const
{
    QList<const LaborRate*> all;
    for (const LaborRate& r : rates_)
        all << &r;
    return all;
}
