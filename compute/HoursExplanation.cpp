// The hours of a machine told as the productivity formula of its kind: every input as the
// calculation read it (with where it is stored), every intermediate result as it computed it.
#include "EquipmentHours.h"

#include "DataSet.h"

#include <QStringList>
#include <algorithm>

namespace {

using Rule = ExplainNode::Rule;

class Told {
    static const ExplainRule& stored()
    {
        static const ExplainRule rule(QStringLiteral("stored"));
        return rule;
    }

public:
    Told(const std::vector<HoursRead>& reads, const DataSet& row) : reads_(reads), row_(row) {}

    // An input as the calculation read it from the machine's row, or (partner) from its partner's.
    ExplainPtr in(const char* field, bool partner = false) const
    {
        for (const HoursRead& r : reads_)
            if (qstrcmp(r.field, field) == 0 && ((r.from == &row_) != partner))
                return makeExplainNode(explainName(field), r.value, Rule::Stored, stored(), {}, false, r.source);
        // Not read: the calculation stopped before it.
        return makeExplainNode(explainName(field), 0.0, Rule::Stored, QStringLiteral("not read"));
    }
    static ExplainPtr constant(const QString& label, double value)
    {
        return makeExplainNode(label, value, Rule::Stored, QStringLiteral("constant of the formula"));
    }
    // A node whose rule text puts the parts' values into `words` (%1, %2, ... in order), then its own.
    static ExplainPtr node(const QString& label, double value, Rule kind, const QString& words,
                           std::vector<ExplainPtr> parts)
    {
        return makeExplainNode(label, value, kind, ExplainRule::pattern(words, ExplainRule::Result::Number),
                               std::move(parts));
    }
    // Hours required: the whole part of the amount over the hourly production, plus one.
    static ExplainPtr required(double h, const ExplainPtr& amount, const ExplainPtr& production)
    {
        if (production->value == 0.0)
            return node(QStringLiteral("Hours required"), h, Rule::Formula, QStringLiteral("no production: 0 hours"), {});
        return node(QStringLiteral("Hours required"), h, Rule::Formula,
                    QStringLiteral("whole part of %1 / %2, plus one"), {amount, production});
    }
    ExplainPtr factor(double value) const
    {
        std::vector<ExplainPtr> f;
        for (const char* name : {"OpFact", "MatFact", "EffFact", "GradeFact", "WeiFact", "ProdFact", "Visibil", "Elevation"})
            f.push_back(in(name));
        return node(QStringLiteral("Operating factor"), value, Rule::Product,
                    QStringLiteral("%1 x %2 x %3 x %4 x %5 x %6 x %7 x %8"), f);
    }

private:
    const std::vector<HoursRead>& reads_;
    const DataSet& row_;
};

const double kAcresPerMileFoot = 5280.0 / 43560.0;

}  // namespace

ExplainPtr explainHours(int kind, const EquipCalcResults& x, double hours, const std::vector<HoursRead>& reads,
                        const DataSet& row)
{
    const Told t(reads, row);
    const auto totalWithAdded = [&](const ExplainPtr& h) {
        return Told::node(QStringLiteral("Hours"), hours, Rule::Sum, QStringLiteral("%1 + %2 added hours"),
                          {h, t.in("AddHours")});
    };
    switch (kind) {
    case kDozer: {
        const ExplainPtr f = t.factor(x.OperatingFactor);
        const ExplainPtr n = Told::node(QStringLiteral("Net hourly production"), x.NetHourlyProduction, Rule::Product,
                                        QStringLiteral("%1 x %2"), {t.in("HourProd"), f});
        return Told::required(hours, t.in("Volume"), n);
    }
    case kDozerGrading: {
        const ExplainPtr f = t.factor(x.OperatingFactor);
        const ExplainPtr p =
            Told::node(QStringLiteral("Hourly production"), x.HourlyProduction, Rule::Product,
                       QStringLiteral("%1 mph x %2 ft x %3 acres per mile-foot"),
                       {t.in("Speed"), t.in("Blade"), Told::constant(QStringLiteral("5,280 / 43,560"), kAcresPerMileFoot)});
        const ExplainPtr n = Told::node(QStringLiteral("Net hourly production"), x.NetHourlyProduction, Rule::Product,
                                        QStringLiteral("%1 x %2"), {f, p});
        return Told::required(hours, t.in("Acres"), n);
    }
    case kGrader: {
        const ExplainPtr p = Told::node(
            QStringLiteral("Hourly production"), x.HourlyProduction, Rule::Product,
            QStringLiteral("%1 mph x %2 ft x %3 x %4 acres per mile-foot"),
            {t.in("Speed"), t.in("Blade"), t.in("EffFact"), Told::constant(QStringLiteral("5,280 / 43,560"), kAcresPerMileFoot)});
        return Told::required(hours, t.in("Acres"), p);
    }
    case kRipper: {
        const ExplainPtr c = Told::node(QStringLiteral("Cycle time"), x.CycleTime, Rule::Formula,
                                        QStringLiteral("%1 / 88 + %2"), {t.in("CutL"), t.in("Turn")});
        const ExplainPtr r = Told::node(QStringLiteral("Passes per hour"), x.PassesPerHour, Rule::Formula,
                                        QStringLiteral("%1 x 60 / %2"), {t.in("EffFact"), c});
        const ExplainPtr v = Told::node(QStringLiteral("Volume per pass"), x.VolumePerPass, Rule::Formula,
                                        QStringLiteral("%1 x %2 x %3 / 27"),
                                        {t.in("ToolPenetration"), t.in("CutS"), t.in("CutL")});
        const ExplainPtr p = Told::node(QStringLiteral("Hourly production"), x.HourlyProduction, Rule::Product,
                                        QStringLiteral("%1 x %2"), {v, r});
        return Told::required(hours, t.in("Volume"), p);
    }
    case kExcavator: {
        const ExplainPtr b = Told::node(QStringLiteral("Net bucket capacity"), x.NetBucketCapacity, Rule::Product,
                                        QStringLiteral("%1 x %2"), {t.in("BuckCap"), t.in("FillFact")});
        const ExplainPtr n = Told::node(QStringLiteral("Net hourly production"), x.NetHourlyProduction, Rule::Formula,
                                        QStringLiteral("%1 x 60 / %2 x %3"), {b, t.in("CycleT"), t.in("EffFact")});
        if (x.NetHourlyProduction == 0.0)
            return Told::required(0.0, t.in("Volume"), n);
        return totalWithAdded(Told::required(x.HoursRequired, t.in("Volume"), n));
    }
    case kLoader: {
        const ExplainPtr c = Told::node(QStringLiteral("Cycle time"), x.CycleTime, Rule::Sum, QStringLiteral("%1 + %2 + %3"),
                                        {t.in("HaulT"), t.in("ReturnT"), t.in("CycleT")});
        const ExplainPtr b = Told::node(QStringLiteral("Net bucket capacity"), x.NetBucketCapacity, Rule::Formula,
                                        QStringLiteral("%1 x %2 / 100"), {t.in("BuckCap"), t.in("BuckFact")});
        const ExplainPtr n = Told::node(QStringLiteral("Net hourly production"), x.NetHourlyProduction, Rule::Formula,
                                        QStringLiteral("%1 / %2 x 60 x %3"), {b, c, t.in("EffFact")});
        if (x.NetHourlyProduction == 0.0)
            return Told::required(0.0, t.in("Volume"), n);
        return totalWithAdded(Told::required(x.HoursRequired, t.in("Volume"), n));
    }
    case kScraper: {
        const ExplainPtr c = Told::node(QStringLiteral("Cycle time"), x.CycleTime, Rule::Sum,
                                        QStringLiteral("%1 + %2 + %3 + %4"),
                                        {t.in("LoadT"), t.in("TripT"), t.in("SpreadT"), t.in("ReturnT")});
        const ExplainPtr p = Told::node(QStringLiteral("Hourly production"), x.HourlyProduction, Rule::Formula,
                                        QStringLiteral("%1 x 60 / %2 x %3"), {t.in("AdjustedLoad"), c, t.in("EffFact")});
        return Told::required(hours, t.in("Volume"), p);
    }
    case kPushDozer: {
        if (x.ScraperLoadTime == 0.0 && x.ScraperCycleTime == 0.0 && hours == 0.0)
            return Told::node(QStringLiteral("Hours"), 0.0, Rule::Formula,
                              QStringLiteral("no scraper found, or its push dozer calculation held off: 0 hours"), {});
        const ExplainPtr pc = Told::node(QStringLiteral("Pusher cycle time"), x.PusherCycleTime, Rule::Product,
                                         QStringLiteral("%1 x %2"), {t.in("LoadT", true), t.in("PusherFactor")});
        const ExplainPtr sc = Told::node(QStringLiteral("Scraper cycle time"), x.ScraperCycleTime, Rule::Sum,
                                         QStringLiteral("%1 + %2 + %3 + %4"),
                                         {t.in("LoadT", true), t.in("TripT", true), t.in("SpreadT", true),
                                          t.in("ReturnT", true)});
        const ExplainPtr s = Told::node(QStringLiteral("Scrapers per pusher"), x.ScrapersPerPusher, Rule::Formula,
                                        QStringLiteral("whole part of %1 / %2"), {sc, pc});
        if (x.ScrapersPerPusher == 0.0)
            return Told::node(QStringLiteral("Hours"), 0.0, Rule::Formula, QStringLiteral("no scraper per pusher: 0 hours"), {s});
        const ExplainPtr sp = Told::node(QStringLiteral("Scraper production"), x.ScraperProduction, Rule::Formula,
                                         QStringLiteral("%1 x 60 / %2 x %3"),
                                         {t.in("AdjustedLoad", true), sc, t.in("EffFact", true)});
        const ExplainPtr sh = Told::node(QStringLiteral("Scraper hours"), x.ScraperHours, Rule::Formula,
                                         QStringLiteral("%1 / %2"), {t.in("Volume", true), sp});
        return Told::node(QStringLiteral("Hours required"), hours, Rule::Formula,
                          QStringLiteral("whole part of %1 / %2, plus one"), {sh, s});
    }
    case kTruck: {
        if (x.NetBucketCapacity == 0.0 && x.LoaderCycleTime == 0.0 && hours == 0.0)
            return Told::node(QStringLiteral("Hours"), 0.0, Rule::Formula,
                              QStringLiteral("no loader or excavator found, or it has no bucket: 0 hours"), {});
        const bool loader = reads.end() != std::find_if(reads.begin(), reads.end(), [&](const HoursRead& r) {
                                return r.from != &row && qstrcmp(r.field, "BuckFact") == 0;
                            });
        const ExplainPtr lc =
            loader ? Told::node(QStringLiteral("Loader cycle time"), x.LoaderCycleTime, Rule::Sum,
                                QStringLiteral("%1 + %2 + %3"),
                                {t.in("HaulT", true), t.in("ReturnT", true), t.in("CycleT", true)})
                   : Told::node(QStringLiteral("Excavator cycle time"), x.LoaderCycleTime, Rule::Sum, QStringLiteral("%1"),
                                {t.in("CycleT", true)});
        const ExplainPtr b =
            loader ? Told::node(QStringLiteral("Net bucket capacity"), x.NetBucketCapacity, Rule::Formula,
                                QStringLiteral("%1 x %2 / 100"), {t.in("BuckCap", true), t.in("BuckFact", true)})
                   : Told::node(QStringLiteral("Net bucket capacity"), x.NetBucketCapacity, Rule::Product,
                                QStringLiteral("%1 x %2"), {t.in("BuckCap", true), t.in("FillFact", true)});
        const ExplainPtr n = Told::node(QStringLiteral("Passes per truck"), x.PassesPerTruck, Rule::Formula,
                                        QStringLiteral("whole part of %1 / %2"), {t.in("TruckCap"), b});
        const ExplainPtr nc = Told::node(QStringLiteral("Net truck capacity"), x.NetTruckCapacity, Rule::Product,
                                         QStringLiteral("%1 x %2"), {b, n});
        const ExplainPtr lt = Told::node(QStringLiteral("Loading time"), x.LoadingTime, Rule::Product,
                                         QStringLiteral("%1 x %2"), {n, lc});
        const ExplainPtr tc = Told::node(QStringLiteral("Truck cycle time"), x.TruckCycleTime, Rule::Sum,
                                         QStringLiteral("%1 + %2 + %3 + %4"),
                                         {t.in("HaulT"), lt, t.in("DumpT"), t.in("ReturnT")});
        const ExplainPtr k =
            x.TruckOverridden
                ? Told::node(QStringLiteral("Number of trucks"), x.NumberOfTrucks, Rule::Sum,
                             QStringLiteral("entered: %1"), {t.in("NumTrucks")})
                : Told::node(QStringLiteral("Number of trucks"), x.NumberOfTrucks, Rule::Formula,
                             QStringLiteral("%1 / %2, rounded up"), {tc, lt});
        const ExplainPtr pr = Told::node(QStringLiteral("Production rate"), x.ProductionRate, Rule::Formula,
                                         QStringLiteral("%1 x %2 / %3"), {nc, k, tc});
        const ExplainPtr np = Told::node(QStringLiteral("Net hourly production"), x.NetHourlyProduction, Rule::Product,
                                         QStringLiteral("%1 x %2 x %3"),
                                         {Told::constant(QStringLiteral("minutes per hour"), 60.0), pr, t.in("EffFact")});
        if (x.NetHourlyProduction == 0.0)
            return Told::required(0.0, t.in("Volume"), np);
        const ExplainPtr h = Told::required(x.HoursRequired, t.in("Volume"), np);
        const ExplainPtr added = t.in("AddHours");
        const ExplainPtr one = Told::node(QStringLiteral("Hours of one truck"), x.HoursRequired + added->value, Rule::Sum, QStringLiteral("%1 + %2 added hours"), {h, added});
        return Told::node(QStringLiteral("Hours"), hours, Rule::Product, QStringLiteral("%1 x %2 trucks"), {one, k});
    }
    case kUserDefined:
        return Told::node(QStringLiteral("Hours"), hours, Rule::Sum, QStringLiteral("entered: %1"), {t.in("HrsReg")});
    default: return {};
    }
}
