#include "BondSummary.h"

#include "Dialogs.h"
#include "ComputeViews.h"
#include "DirectCosts.h"
#include "DataModule.h"

namespace {

using Indirect = BondSummary::IndirectFields;

// Mob, contin, eng, profit, management for the bond and each phase.
const Indirect kIndirect[3][5] = {
    {{"MobOver", "Mob", "MobDemobPercent"}, {"ContinOver", "Contin", "ContinPercent"}, {"EngOver", "Eng", "EngPercent"},
     {"ContOver", "Cont", "ProfitPercent"}, {"ManageOver", "Manage", "ManPercent"}},
    {{"MobOver1", "Mob1", "MobDemobPercentI"}, {"ContinOver1", "Contin1", "ContinPercentI"},
     {"EngOver1", "Eng1", "EngPercentI"}, {"ContOver1", "Cont1", "ProfitPercentI"},
     {"ManageOver1", "Manage1", "ManPercentI"}},
    {{"MobOver2", "Mob2", "MobDemobPercentII"}, {"ContinOver2", "Contin2", "ContinPercentII"},
     {"EngOver2", "Eng2", "EngPercentII"}, {"ContOver2", "Cont2", "ProfitPercentII"},
     {"MangeOver2", "Manage2", "ManPercentII"}},
};

}  // namespace

QString bondItemLabel(int item)
{
    static const char* labels[] = {
        "",
        "Total facility and structure removal cost",
        "Total earthmoving cost",
        "Total revegetation cost",
        "Total other reclamation cost",
        "Total direct cost",
        "Inflated direct cost",
        "Mobilization and demobilization",
        "Contingencies",
        "Engineering redesign fee",
        "Contractor profit and overhead",
        "Project management fee",
        "Total indirect cost",
        "Total bond amount",
        "Inflated direct cost after Phase I",
        "Mobilization and demobilization after Phase I",
        "Contingencies after Phase I",
        "Engineering redesign fee after Phase I",
        "Contractor profit and overhead after Phase I",
        "Project management fee after Phase I",
        "Total indirect cost after Phase I",
        "Computed amount of bond needed after Phase I release",
        "Minimum amount of bond after Phase I release",
        "Required amount of bond after Phase I release",
        "Phase I release amount",
        "Total direct cost for revegetation and other reclamation",
        "Inflated direct cost after Phase II",
        "Mobilization and demobilization after Phase II",
        "Contingencies after Phase II",
        "Engineering redesign fee after Phase II",
        "Contractor profit and overhead after Phase II",
        "Project management fee after Phase II",
        "Total indirect cost after Phase II",
        "Computed amount of bond needed after Phase II release",
        "Phase II release amount",
    };
    return item >= 1 && item <= 34 ? QString::fromLatin1(labels[item]) : QString();
}

QString BondItems::amountText(int i) const
{
    return i == 14 ? formatMoney(item14) : formatMoney(item[static_cast<size_t>(i)]);
}

QString BondItems::factorText(int which) const
{
    return formatFactor(which == 0 ? inflationFactor.toDouble() : which == 1 ? phase1Factor : phase2Factor);
}

BondSummary::IndirectFields BondSummary::indirectFields(int phase, int i)
{
    return kIndirect[phase][i];
}

BondSummary::BondSummary(DataModule& dm, DirectCosts& totals, Dialogs& dialogs, BondDisplay& display)
    : dm_(dm), totals_(totals), dialogs_(dialogs), display_(display)
{
}

// The mine record takes the looked-up percents. It is put into edit state also
// while a project is being edited: writing into a browsing record would fail.
void BondSummary::editMine()
{
    if (!dm_.MineT.isEditing())
        dm_.MineT.edit();
}

double BondSummary::feeFromTable(Table& table, int phase)
{
    // The amount as the bond pages show it, whole cents; without a computed bond there is none.
    double cost = -999999.99;
    if (const std::optional<Money>& compared = compared_[static_cast<size_t>(phase)])
        cost = static_cast<double>(compared->wholeCents()) / 100.0;
    else
        dialogs_.error(QStringLiteral("Error Converting String to Float"));
    double percent = 0.0;
    Field& pct = table.fieldByName(QStringLiteral("Percent"));
    Field& bound = table.fieldByName(QStringLiteral("DirectCost"));
    for (table.first(); !table.eof();) {
        percent = pct.asFloat();
        const double directCost = bound.asFloat();
        table.next();
        if (directCost >= cost)
            break;
    }
    return percent;
}

double BondSummary::ProfitPercentFromTable(int phase)
{
    return feeFromTable(dm_.Graph2T, phase);
}

double BondSummary::ManPercentFromTable(int phase)
{
    return feeFromTable(dm_.Graph3T, phase);
}

void BondSummary::AutoFeePercents()
{
    writeFeePercents(dm_.MineT);
}

void BondSummary::writeFeePercents(Table& m)
{
    if (&m == &dm_.MineT)
        editMine();
    else
        m.edit();
    m.fieldByName(QStringLiteral("ProfitPercent")).setAsFloat(ProfitPercentFromTable(0));
    m.fieldByName(QStringLiteral("ManPercent")).setAsFloat(ManPercentFromTable(0));
    m.fieldByName(QStringLiteral("ProfitPercentI")).setAsFloat(ProfitPercentFromTable(1));
    m.fieldByName(QStringLiteral("ManPercentI")).setAsFloat(ManPercentFromTable(1));
    m.fieldByName(QStringLiteral("ProfitPercentII")).setAsFloat(ProfitPercentFromTable(2));
    m.fieldByName(QStringLiteral("ManPercentII")).setAsFloat(ManPercentFromTable(2));
    m.post();
}

void BondSummary::CalcBondSummary(bool AllProjects)
{
    calculate(AllProjects, {});
}

void BondSummary::CalcBondSummaryOf(const QVariant& mineId, const std::optional<QVariant>& projectId)
{
    calculate(!projectId.has_value(), Of{mineId, projectId.value_or(QVariant())});
}

void BondSummary::calculate(bool AllProjects, const std::optional<Of>& of)
{
    // One report of unusable stored values for the whole bond; an amount beyond the
    // range of money is an error that names the item being computed.
    totals_.beginReport();
    computing_ = 0;
    compared_ = {};
    try {
        Database::ReadSnapshot snapshot(dm_.TarvaneDatabase);
        DirectCosts::Watch leftOut(totals_);
        computeBond(AllProjects, of);
        items_.incomplete = leftOut.values();
    } catch (const MoneyRangeError& e) {
        totals_.dropReport();
        compared_ = {};
        if (!of)
            display_.bondComputed(nullptr);
        const QString item = computing_ > 0 ? QStringLiteral("Item %1, %2").arg(computing_).arg(bondItemLabel(computing_))
                                            : QStringLiteral("The inflation factor");
        throw MoneyRangeError(item + QStringLiteral(": ") + e.message());
    } catch (...) {
        totals_.dropReport();
        compared_ = {};
        if (!of)
            display_.bondComputed(nullptr);
        throw;
    }
    totals_.endReport();
    // The bond of rows named by key is its caller's (a comparison, an explanation): the
    // bond pages go on showing the bond of the rows the window shows.
    if (!of)
        display_.bondComputed(&items_);
}

// The record the mine's own figures are read from and the looked-up percents written to:
// the window's while it shows the mine (what is typed there counts, and its fields follow
// the write), else the computation's own view, standing on the mine named.
Table& BondSummary::mineRecordOf(const QVariant& mineId)
{
    Table& shown = dm_.MineT;
    if (shown.active() && !shown.isEmpty() && shown.fieldByName(QStringLiteral("MineID")).value() == mineId)
        return shown;
    ComputeViews& views = totals_.views();
    if (!views.standOnMine(mineId))
        throw EDatabaseError(QStringLiteral("There is no mine %1").arg(mineId.toString()));
    return views.MineV;
}

void BondSummary::computeBond(bool AllProjects, const std::optional<Of>& of)
{
    Table& mine = of ? mineRecordOf(of->mine) : dm_.MineT;
    Table& projects = dm_.ProjectT;
    // A mine field that cannot be used is reported and counts as 0. Explained, each read
    // is kept as it was recorded.
    ExplainRecorder* const ex = totals_.explain();
    BondParts told;
    auto mineNum = [&](const char* f) {
        bool usable = true;
        const double v = totals_.checked(mine, f, usable);
        if (ex)
            told.mineFields.emplace_back(QLatin1String(f), ex->takeLast());
        return v;
    };
    int& at = computing_;
    BondItems b;
    const double enr = mineNum("ENRIndex");
    const double enr5 = mineNum("ENRIndex5");
    // A phase factor is the index ratio when that phase's index is entered; without
    // an earlier index there is no ratio, and the factor is 1 as for item 6.
    b.phase1Factor = (mineNum("ENRIndexI") != 0.0 && enr5 != 0.0) ? enr / enr5 : 1.0;
    b.phase2Factor = (mineNum("ENRIndexII") != 0.0 && enr5 != 0.0) ? enr / enr5 : 1.0;
    b.inflationFactor = enr5 == 0.0 ? Money::fromUnits(10000) : Money::fromDouble(RoundToPlaces(2, enr / enr5));

    // The projects are walked in the computation's own views: the window's stay where they
    // are. What a window has pending is posted first, as a walk of its views did.
    if (AllProjects && projects.active())
        projects.checkBrowseMode();
    totals_.postShownEdits();
    ComputeViews& views = totals_.views();
    const auto projectTotal = [&](int item, char kind) {
        at = item;
        const double total = totals_.totalOfViewsProject(QLatin1Char(kind));
        if (ex)
            told.projectTotals[static_cast<size_t>(item - 1)].push_back(ex->takeLast());
        return total;
    };
    const auto addProject = [&] {
        b.item[1] += Money::fromDouble(projectTotal(1, 'D'));
        b.item[2] += Money::fromDouble(projectTotal(2, 'M'));
        b.item[3] += Money::fromDouble(projectTotal(3, 'R'));
        b.item[4] += Money::fromDouble(projectTotal(4, 'O'));
    };
    if (of) {
        // A mine, or one of its projects, named by key (a report walking its own views).
        if (views.standOnMine(of->mine)) {
            if (AllProjects) {
                for (views.ProjectV.first(); !views.ProjectV.eof(); views.ProjectV.next())
                    addProject();
            } else if (of->project.isValid() && views.ProjectV.locate({QStringLiteral("PrjID")}, {of->project})) {
                addProject();
            }
        }
    } else if (AllProjects) {
        if (!mine.isEmpty() && views.standOnMine(mine.fieldByName(QStringLiteral("MineID")).value()))
            for (views.ProjectV.first(); !views.ProjectV.eof(); views.ProjectV.next())
                addProject();
    } else if (views.standOnShownProject(dm_)) {
        addProject();
    }

    at = 5;
    b.item[5] = b.item[1] + b.item[2] + b.item[3] + b.item[4];
    at = 25;
    b.item[25] = b.item[3] + b.item[4];
    at = 6;
    b.item[6] = Money::product(b.item[5], b.inflationFactor);
    at = 14;
    b.item14 = b.item[5].toDouble() * b.phase1Factor;
    b.item[14] = Money::fromDouble(b.item14);
    at = 26;
    b.item[26] = Money::product(b.phase2Factor, b.item[25]);
    at = 0;
    compared_ = {b.item[6], Money::fromDouble(b.item14), b.item[26]};

    if (mine.fieldByName(QStringLiteral("AutoFeeCal")).asInteger() == 0)
        writeFeePercents(mine);

    auto indirect = [&](int phase, int first, auto base) {
        Money total;
        for (int i = 0; i < 5; ++i) {
            const Indirect& d = kIndirect[phase][i];
            at = first + i;
            Money v;
            if (mine.fieldByName(QLatin1String(d.over)).asBoolean())
                v = Money::fromDouble(mineNum(d.amount));
            else
                v = base(mineNum(d.percent) / 100.0);
            b.item[first + i] = v;
            at = first + 5;  // the phase's total indirect cost
            total += v;
        }
        return total;
    };
    b.item[12] = indirect(0, 7, [&](double q) { return Money::product(q, b.item[6]); });
    at = 13;
    b.item[13] = b.item[6] + b.item[12];
    b.item[20] = indirect(1, 15, [&](double q) { return Money::product(q, b.item14); });
    at = 21;
    b.item[21] = Money::sum(b.item14, b.item[20]);
    b.item[32] = indirect(2, 27, [&](double q) { return Money::product(q, b.item[26]); });
    at = 33;
    b.item[33] = b.item[26] + b.item[32];
    at = 22;
    b.item[22] = Money::product(0.4, b.item[13]);
    b.item[23] = b.item[22] >= b.item[21] ? b.item[22] : b.item[21];
    at = 24;
    b.item[24] = b.item[13] - b.item[23];
    at = 34;
    b.item[34] = b.item[23] - b.item[33];
    at = 0;
    for (int phase = 0; phase < 3; ++phase)
        for (int i = 0; i < 5; ++i) {
            const Indirect& d = kIndirect[phase][i];
            const size_t item = static_cast<size_t>((phase == 0 ? 7 : phase == 1 ? 15 : 27) + i);
            b.percent[item] = mine.fieldByName(QLatin1String(d.percent)).asFloat();
            b.overridden[item] = mine.fieldByName(QLatin1String(d.over)).asBoolean();
        }
    items_ = b;
    if (ex) {
        ex->take();  // what else the walk recorded is part of the items' trees already
        explained_ = explainBondItems(b, told);
    }
}

std::array<ExplainPtr, 35> BondSummary::ExplainBond(const QVariant& mineId, const std::optional<QVariant>& projectId)
{
    ExplainRecorder recorder;
    struct Recording {
        Recording(DirectCosts& t, ExplainRecorder* r) : totals(t) { totals.setExplain(r); }
        ~Recording() { totals.setExplain(nullptr); }
        DirectCosts& totals;
    } recording(totals_, &recorder);
    explained_ = {};
    CalcBondSummaryOf(mineId, projectId);
    std::array<ExplainPtr, 35> out = explained_;
    explained_ = {};
    return out;
}

void BondSummary::BondPostClick()
{
    dm_.MineT.post();
}

void BondSummary::ContracBtnClick()
{
    editMine();
    dm_.MineT.fieldByName(QStringLiteral("ProfitPercent")).setAsFloat(ProfitPercentFromTable(0));
    dm_.MineT.fieldByName(QStringLiteral("ProfitPercentI")).setAsFloat(ProfitPercentFromTable(1));
    dm_.MineT.fieldByName(QStringLiteral("ProfitPercentII")).setAsFloat(ProfitPercentFromTable(2));
    dm_.MineT.post();
    CalcBondSummary(true);
}

void BondSummary::RecBtnClick()
{
    editMine();
    dm_.MineT.fieldByName(QStringLiteral("ManPercent")).setAsFloat(ManPercentFromTable(0));
    dm_.MineT.fieldByName(QStringLiteral("ManPercentI")).setAsFloat(ManPercentFromTable(1));
    dm_.MineT.fieldByName(QStringLiteral("ManPercentII")).setAsFloat(ManPercentFromTable(2));
    dm_.MineT.post();
    CalcBondSummary(true);
}
