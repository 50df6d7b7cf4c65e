#include "EquipmentWorksheets.h"

#include "ComputeViews.h"
#include "Computation.h"
#include "DirectCostWorksheets.h"
#include "EquipmentHours.h"
#include "Query.h"
#include "ReportFrame.h"
#include "RowValues.h"
#include "DataModule.h"
#include "WorksheetKinds.h"

#include <QLocale>
#include <optional>

namespace {

struct KindTexts {
    const char* label;         // worksheet label before EquipmentName
    const char* title;         // heading title before EquipmentName
    const char* continuation;  // memo continuation title
    const char* equipment;     // the machine named in the memo captions
};

// Indexed by EquipCode2.
const KindTexts kKinds[] = {
    {"Worksheet 5, ", "Productivity and Hours Required for Dozer Use -- Item: ", "Dozer", "Dozer"},
    {"Worksheet 6, ", "Productivity and Hours Required for Dozer Use: Grading -- Item: ", "Dozer Grading", "Dozer"},
    {"Worksheet 11B, ", "Productivity and Hours Required for Dozer Use: Pusher -- Item: ", "Dozer Pusher", "Dozer"},
    {"Worksheet 7, ", "Productivity and Hours Required for Dozer Use: Ripping -- Item: ", "Dozer Ripper", "Dozer"},
    {"Worksheet 10, ", "Productivity and Hours Required for Excavator Use -- Item: ", "Excavator", "Excavator"},
    {"Worksheet 12, ", "Productivity and Hours Required for Grader Use -- Item: ", "Grader", "Grader"},
    {"Worksheet 8, ", "Productivity and Hours Required for Loader Use -- Item: ", "Loader", "Loader"},
    {"Worksheet 11A, ", "Productivity and Hours Required for Scraper Use -- Item: ", "Scraper", "Scraper"},
    {"Worksheet 9, ", "Productivity and Hours Required for Truck Use -- Item: ", "Truck", "Truck"},
    {"", "Hours Required for User Defined Use -- Item: ", "User Defined", "Equipment"},
};

// "%8.4f", the format of every figure without its own.
QString f4(double v)
{
    return QString::asprintf("%8.4f", v);
}

// "%14.0n" and "%14.2n": thousands grouped, that many decimals, 14 wide.
QString grouped(double v, int decimals)
{
    static const QLocale us(QLocale::English, QLocale::UnitedStates);
    return us.toString(v, 'f', decimals).rightJustified(14);
}

// Writes the calculation block: each line's pieces at their offsets from the
// left margin, formula lines in 10-point and captions in 8-point Arial.
class Block {
public:
    explicit Block(ReportCanvas& c) : c_(c) {}

    Block& at(double x, double size, const QString& text)
    {
        c_.SetFont(QStringLiteral("Arial"), size);
        c_.PrintLeft(text, c_.SectionLeft + x);
        return *this;
    }
    void end() { c_.PrintLine(QStringLiteral(" ")); }
    void formula(double x, const QString& text) { at(x, 10, text).end(); }
    void caption(double x, const QString& text) { at(x, 8, text).end(); }
    void gap()
    {
        c_.SetFont(QStringLiteral("Arial"), 10);
        end();
    }

private:
    ReportCanvas& c_;
};

using rowvalue::num;
using rowvalue::text;

// The Name (and LoadT) of the equipment record with that PlanID; empty when none.
struct Linked {
    QString name;
    double loadTime = 0;
};

Linked linkedRecord(DataModule& dm, int planId)
{
    Query q(dm.TarvaneDatabase, QStringLiteral("LinkedEquipment"));
    q.setSql({QStringLiteral("SELECT Name, LoadT FROM \"Equipment.DB\" WHERE PlanID = :ID")});
    q.setParam(QStringLiteral("ID"), planId);
    q.open();
    Linked l;
    if (!q.isEmpty()) {
        l.name = q.fieldByName(QStringLiteral("Name")).asString();
        l.loadTime = q.fieldByName(QStringLiteral("LoadT")).asFloat();
    }
    return l;
}

// Lines 1 to 7 of the dozer and dozer grading sheets: the operating
// adjustment factor; line 8's caption differs between the two.
void operatingFactor(Block& b, DataSet& r, const EquipCalcResults& x, const QString& line8)
{
    b.formula(0.5, QStringLiteral("Operating"));
    b.at(0.5, 10, QStringLiteral("Adjustment ="))
        .at(1.5, 10,
            f4(num(r, "OpFact")) + QStringLiteral(" X ") + f4(num(r, "MatFact")) + QStringLiteral(" X ") +
                f4(num(r, "EffFact")) + QStringLiteral(" X ") + f4(num(r, "GradeFact")) + QStringLiteral(" X ") +
                f4(num(r, "WeiFact")) + QStringLiteral(" X ") + f4(num(r, "ProdFact")) + QStringLiteral(" X "))
        .end();
    b.at(0.5, 10, QStringLiteral("Factor"))
        .at(1.5, 8,
            QStringLiteral("Operating      Material        Efficiency      Grade         Weight          Production"))
        .end();
    b.caption(1.5, QStringLiteral("Factor           Factor          Factor           Factor        correction      method/blade"));
    b.caption(3.92, QStringLiteral("Factor           Factor"));
    b.gap();
    b.formula(4, f4(num(r, "Visibil")) + QStringLiteral(" X ") + f4(num(r, "Elevation")) + QStringLiteral(" = ") +
                     f4(x.OperatingFactor));
    b.caption(4, line8);
    b.gap();
}

void dozer(Block& b, DataSet& r, const EquipCalcResults& x)
{
    operatingFactor(b, r, x, QStringLiteral("Visibility    Elevation "));
    b.formula(0.5, QStringLiteral("Net Hourly Production   = ") + f4(num(r, "HourProd")) + QStringLiteral(" cu yd/hr  X  ") +
                       f4(x.OperatingFactor) + QStringLiteral(" = ") + f4(x.NetHourlyProduction) +
                       QStringLiteral(" cu yd/hr"));
    b.caption(2.45, QStringLiteral("Normal Hourly             Operating adj."));
    b.caption(2.45, QStringLiteral("Production                   Factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hours Required  =  ") + grouped(num(r, "Volume"), 0) + QStringLiteral(" cu yd   /   ") +
                       f4(x.NetHourlyProduction) + QStringLiteral(" cu yd/hr  =  ") + f4(x.HoursRequired) +
                       QStringLiteral(" hrs"));
    b.caption(2.2, QStringLiteral("Volume to be                Net hourly"));
    b.caption(2.2, QStringLiteral("Moved                         Production"));
}

void dozerGrading(Block& b, DataSet& r, const EquipCalcResults& x)
{
    operatingFactor(b, r, x, QStringLiteral("Visibility       Elevation"));
    b.formula(0.5, QStringLiteral("Hourly Production   = ") + f4(num(r, "Speed")) + QStringLiteral(" mi/hr  X  ") +
                       f4(num(r, "Blade")) + QStringLiteral(" ft  X 5280 ft/mi X 1 ac/43,560 sqft  = ") +
                       grouped(x.HourlyProduction, 2) + QStringLiteral(" ac/hr"));
    b.caption(2, QStringLiteral("Speed                     Eff Blade"));
    b.caption(3, QStringLiteral("width"));
    b.gap();
    b.formula(0.5, QStringLiteral("Net Hourly Production   = ") + f4(x.HourlyProduction) + QStringLiteral(" ac/hr  X  ") +
                       f4(x.OperatingFactor) + QStringLiteral(" = ") + grouped(x.NetHourlyProduction, 2) +
                       QStringLiteral(" ac/hr"));
    b.caption(2.45, QStringLiteral("Hourly                        Operating adj."));
    b.caption(2.45, QStringLiteral("Production                       Factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hours Required  =  ") + grouped(num(r, "Acres"), 2) + QStringLiteral(" ac   /   ") +
                       grouped(x.NetHourlyProduction, 2) + QStringLiteral(" ac/hr  =  ") + grouped(x.HoursRequired, 2) +
                       QStringLiteral(" hrs"));
}

void ripper(Block& b, DataSet& r, const EquipCalcResults& x)
{
    b.at(0.5, 10, QStringLiteral("Cycle Time ="))
        .at(1.5, 10,
            QStringLiteral("( ") + f4(num(r, "CutL")) + QStringLiteral(" ft  /  88 fpm ) +  ") + f4(num(r, "Turn")) +
                QStringLiteral(" = ") + f4(x.CycleTime) + QStringLiteral(" min/pass"))
        .end();
    b.caption(1.5, QStringLiteral("Cut Length          Speed                  Turn Time"));
    b.gap();
    b.formula(0.5, QStringLiteral("Passes/Hour = (60 min/hr / ") + f4(x.CycleTime) + QStringLiteral(" min/pass) * ") +
                       f4(num(r, "EffFact")) + QStringLiteral("  = ") + f4(x.PassesPerHour) +
                       QStringLiteral("  Passes/Hr"));
    b.caption(1.6, QStringLiteral("Work hour       Cycle time                      Efficiency factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Volume cut/pass = ") + f4(num(r, "ToolPenetration")) + QStringLiteral(" ft * ") +
                       f4(num(r, "CutS")) + QStringLiteral(" ft * ") + f4(num(r, "CutL")) +
                       QStringLiteral(" ft / 27 cu ft/cu yd = ") + f4(x.VolumePerPass) +
                       QStringLiteral("  bank cu yd/pass"));
    b.caption(1.6, QStringLiteral("Tool Penetration      Cut Spacing    Cut Length"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hourly Production = ") + f4(x.VolumePerPass) + QStringLiteral(" bank cu yd/pass * ") +
                       f4(x.PassesPerHour) + QStringLiteral(" passes/hr = ") + f4(x.HourlyProduction) +
                       QStringLiteral(" bank cu yd/hr"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hours Required  =  ") + grouped(num(r, "Volume"), 2) +
                       QStringLiteral(" bank cu yd   / ") + f4(x.HourlyProduction) + QStringLiteral(" bank cu yd/hr  = ") +
                       f4(x.HoursRequired) + QStringLiteral(" hrs"));
    b.caption(2, QStringLiteral("Volume"));
}

void pushDozer(Block& b, DataModule& dm, DataSet& r, const EquipCalcResults& x)
{
    const Linked scraper = linkedRecord(dm, r.fieldByName(QStringLiteral("AddedEquipID")).asInteger());
    b.formula(0.5, QStringLiteral("Pushes Scraper Name: ") + scraper.name);
    b.formula(1.5, QStringLiteral("Pusher Cycle Time = ") + f4(scraper.loadTime) + QStringLiteral(" min  X  ") +
                       f4(num(r, "PusherFactor")) + QStringLiteral(" = ") + f4(x.PusherCycleTime) +
                       QStringLiteral(" min"));
    b.caption(3, QStringLiteral("Scraper Load Time    Pusher Factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Scrapers/Pusher = ") + f4(x.ScraperCycleTime) + QStringLiteral(" min  / ") +
                       f4(x.PusherCycleTime) + QStringLiteral(" min  = ") + f4(x.ScrapersPerPusher));
    b.caption(1.8, QStringLiteral("Scraper Cycle time     Pusher Cycle Time"));
    b.gap();
    b.formula(0.5, QStringLiteral("Pusher Hours Required = ") + f4(x.ScraperHours) + QStringLiteral(" hrs  /   ") +
                       f4(x.ScrapersPerPusher) + QStringLiteral(" Scrapers  =  ") + f4(x.HoursRequired) +
                       QStringLiteral("  hrs"));
    b.caption(2.2, QStringLiteral("Scraper Hours        Scrapers/Pusher"));
}

void loader(Block& b, DataSet& r, const EquipCalcResults& x)
{
    b.formula(0.5, QStringLiteral("Cycle Time  =") + f4(num(r, "HaulT")) + QStringLiteral(" min +") +
                       f4(num(r, "ReturnT")) + QStringLiteral(" min +") + f4(num(r, "CycleT")) +
                       QStringLiteral(" min =") + f4(x.CycleTime) + QStringLiteral(" min"));
    b.caption(1.5, QStringLiteral("haul time          return time         basic cycle time"));
    b.gap();
    b.formula(0.5, QStringLiteral("Net Bucket Capacity  = ") + f4(num(r, "BuckCap")) + QStringLiteral(" L cu yd X") +
                       f4(num(r, "BuckFact")) + QStringLiteral(" =") + f4(x.NetBucketCapacity) +
                       QStringLiteral(" L cu yd"));
    b.caption(2, QStringLiteral("heaped bucket        bucket fill factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Net Hourly Production = ") + f4(x.NetBucketCapacity) + QStringLiteral(" L cu yd /") +
                       f4(x.CycleTime) + QStringLiteral(" min X   60 min/hr X") + f4(num(r, "EffFact")) +
                       QStringLiteral(" =") + f4(x.NetHourlyProduction) + QStringLiteral(" L cu yd/hr"));
    b.caption(2, QStringLiteral("net bucket capacity     cycle time         work hour factor    Efficiency factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hours Required  =  ( ") + grouped(num(r, "Volume"), 0) + QStringLiteral(" L cu yd /  ") +
                       f4(x.NetHourlyProduction) + QStringLiteral(" L cu yd/hr)  + ") + f4(num(r, "AddHours")) +
                       QStringLiteral(" Added Hours  = ") + f4(x.TotalHours) + QStringLiteral(" hrs"));
    b.caption(2, QStringLiteral("volume                      net hourly production"));
}

void truck(Block& b, DataSet& r, const EquipCalcResults& x)
{
    b.formula(0.5, QStringLiteral("Number of Loader passes/Truck = ") + f4(num(r, "TruckCap")) +
                       QStringLiteral(" L cu yd /") + f4(x.NetBucketCapacity) + QStringLiteral(" L cu yd  =  ") +
                       f4(x.PassesPerTruck) + QStringLiteral(" passes"));
    b.caption(2.4, QStringLiteral("truck capacity            load bucket net capacity    rounded down"));
    b.gap();
    b.formula(0.9, QStringLiteral("Net Truck Capacity = ") + f4(x.PassesPerTruck) + QStringLiteral("         *") +
                       f4(x.NetBucketCapacity) + QStringLiteral(" L cu yd  =  ") + f4(x.NetTruckCapacity) +
                       QStringLiteral(" LCY"));
    b.caption(2.4, QStringLiteral("# loader passes           load bucket net capacity"));
    b.gap();
    b.formula(0.5, QStringLiteral("Total Loading Time = ") + f4(x.LoaderCycleTime) + QStringLiteral(" min   *") +
                       f4(x.PassesPerTruck) + QStringLiteral(" passes  =  ") + f4(x.LoadingTime) +
                       QStringLiteral(" min"));
    b.caption(1.9, QStringLiteral("loader cycle time          number of loader passes"));
    b.gap();
    b.formula(0.5, QStringLiteral("Cycle Time  =") + f4(num(r, "HaulT")) + QStringLiteral(" min +") +
                       f4(num(r, "ReturnT")) + QStringLiteral(" min +") + f4(x.LoadingTime) + QStringLiteral(" min +") +
                       f4(num(r, "DumpT")) + QStringLiteral(" min =") + f4(x.TruckCycleTime) + QStringLiteral(" min"));
    b.caption(1.5, QStringLiteral("haul time            return time           loading time        dump time"));
    b.gap();
    if (x.TruckOverridden) {
        b.formula(0.5, QStringLiteral("Number of trucks required = User Override on Number of Trucks  -- ") +
                           f4(x.NumberOfTrucks));
    } else {
        b.formula(0.5, QStringLiteral("Number of trucks required = ") + f4(x.TruckCycleTime) + QStringLiteral(" min  /") +
                           f4(x.LoadingTime) + QStringLiteral(" min  =") + f4(x.NumberOfTrucks));
        b.caption(2.4, QStringLiteral("truck cycle time     total loading time"));
    }
    b.gap();
    b.formula(0.5, QStringLiteral("Production Rate = ") + f4(x.NetTruckCapacity) + QStringLiteral(" L cu yd X") +
                       f4(x.NumberOfTrucks) + QStringLiteral(" trucks /") + f4(x.TruckCycleTime) +
                       QStringLiteral(" min  =") + f4(x.ProductionRate) + QStringLiteral(" L cu yd/min"));
    b.caption(1.75, QStringLiteral("net truck capacity       # of trucks           cycle time"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hourly Production = ") + f4(x.ProductionRate) +
                       QStringLiteral(" L cu yd/min X  60 min/hr  X  ") + f4(num(r, "EffFact")) + QStringLiteral("  =") +
                       f4(x.NetHourlyProduction) + QStringLiteral(" L cu yd/hr"));
    b.caption(2, QStringLiteral("production rate       work hour factor        Efficiency factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hours Required  =  (( ") + grouped(num(r, "Volume"), 0) +
                       QStringLiteral(" L cu yd /  ") + f4(x.NetHourlyProduction) + QStringLiteral(" L cu yd/hr) + ") +
                       f4(num(r, "AddHours")) + QStringLiteral(" ) X # Trucks  = ") + f4(x.TotalHours) +
                       QStringLiteral(" hrs"));
    b.caption(2, QStringLiteral("volume                      hourly production                        added hours"));
}

void excavator(Block& b, DataSet& r, const EquipCalcResults& x)
{
    b.formula(0.5, QStringLiteral("Net Bucket Capacity  =") + f4(num(r, "BuckCap")) + QStringLiteral(" L cu yd X") +
                       f4(num(r, "FillFact")) + QStringLiteral(" =") + f4(x.NetBucketCapacity) +
                       QStringLiteral(" L cu yd"));
    b.caption(2.1, QStringLiteral("heaped bucket          fill factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Net Hourly Production = ") + f4(x.NetBucketCapacity) +
                       QStringLiteral(" L cu yd  X 60 min/hr  / ") + f4(num(r, "CycleT")) + QStringLiteral(" min  X ") +
                       f4(num(r, "EffFact")) + QStringLiteral(" = ") + f4(x.NetHourlyProduction) +
                       QStringLiteral(" L cu yd/hr"));
    b.caption(2.1, QStringLiteral("net bucket capacity     work hour factor    cycle time    Efficiency Factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hours Required  =  ( ") + grouped(num(r, "Volume"), 0) +
                       QStringLiteral(" L cu yd   /  ") + f4(x.NetHourlyProduction) + QStringLiteral(" L cu yd/hr) + ") +
                       f4(num(r, "AddHours")) + QStringLiteral(" Added Hours  = ") + f4(x.TotalHours) +
                       QStringLiteral(" hrs"));
    b.caption(2, QStringLiteral("volume                    net hourly production"));
}

void scraper(Block& b, DataSet& r, const EquipCalcResults& x)
{
    b.formula(0.5, QStringLiteral("Cycle Time  = ") + f4(num(r, "LoadT")) + QStringLiteral(" min +") +
                       f4(num(r, "TripT")) + QStringLiteral(" min +") + f4(num(r, "SpreadT")) + QStringLiteral(" min +") +
                       f4(num(r, "ReturnT")) + QStringLiteral(" min  = ") + f4(x.CycleTime) + QStringLiteral(" min"));
    b.caption(1.55, QStringLiteral("load time             loaded trip           maneuver            return"));
    b.caption(2.35, QStringLiteral("time                    spread time           trip time"));
    b.gap();
    b.formula(0.4, QStringLiteral("Hourly Production = ") + f4(num(r, "AdjustedLoad")) +
                       QStringLiteral("L cu yd X  60 min/hr  / ") + f4(x.CycleTime) + QStringLiteral(" min  *") +
                       f4(num(r, "EffFact")) + QStringLiteral("  =") + f4(x.HourlyProduction) +
                       QStringLiteral(" L cu yd/hr"));
    b.caption(2, QStringLiteral("adjusted load      work hour               cycle time       efficiency factor"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hours Required  =  ") + grouped(num(r, "Volume"), 0) + QStringLiteral(" L cu yd /  ") +
                       f4(x.HourlyProduction) + QStringLiteral(" L cu yd/hr  = ") + f4(x.HoursRequired) +
                       QStringLiteral(" hrs"));
    b.caption(2, QStringLiteral("volume                    net hourly production"));
}

void grader(Block& b, DataSet& r, const EquipCalcResults& x)
{
    b.formula(0.5, text(r, "ContourNotScar") == QLatin1String("Y") ? QStringLiteral("Contour Grading")
                                                                  : QStringLiteral("Scarification"));
    b.formula(0.5, QStringLiteral("Hourly Production  = ") + f4(num(r, "Speed")) + QStringLiteral(" mi/hr  X ") +
                       f4(num(r, "Blade")) + QStringLiteral(" X ") + f4(num(r, "EffFact")) +
                       QStringLiteral(" ft X 5280 ft/mi X 1 ac/43,560 sqft"));
    b.caption(2, QStringLiteral("speed           eff. blade width    efficiency factor "));
    b.formula(2, QStringLiteral(" =  ") + f4(x.HourlyProduction) + QStringLiteral("  acres/hr"));
    b.gap();
    b.formula(0.5, QStringLiteral("Hours Required  =  ") + grouped(num(r, "Acres"), 2) + QStringLiteral(" ac  /  ") +
                       f4(x.HourlyProduction) + QStringLiteral(" ac/hr  = ") + f4(x.HoursRequired) +
                       QStringLiteral(" hrs"));
    b.caption(2, QStringLiteral("acres                    hourly production"));
}

}  // namespace

void PrintEquipmentWorksheet(WorksheetContext& ctx, bool newPage, DataSet& r)
{
    const int kind = r.fieldByName(QStringLiteral("EquipCode2")).asInteger();
    if (kind < kDozer || kind > kUserDefined)
        return;
    const KindTexts& k = kKinds[kind];
    EquipmentCalculator& calc = ctx.computation.calculator;
    // A row of the report's own views reads its partner from the same chain.
    ComputeViews& views = ctx.views();
    std::optional<EquipmentCalculator::LentViews> lent;
    for (const WorksheetKind& k : worksheetKinds())
        if (&r == views.equipment(k.letter))
            lent.emplace(calc, EquipmentCalculator::Views{&views.PartnerV, &views.MineV, &views.ProjectV});
    const double hours = calc.CalcEquipHours(r, kind, false, false);
    const EquipCalcResults x = calc.EquipCalcResults_;
    DirectCosts::Watch leftOut(ctx.computation.totals);
    if (auto* table = dynamic_cast<Table*>(&r))
        ctx.computation.totals.checkHours(*table, hours);

    ReportFrame& f = ctx.frame;
    ReportCanvas& c = f.canvas();
    const QString name = text(r, "EquipmentName");
    f.StartFramedPage(newPage, QLatin1String(k.title), QLatin1String(k.label) + name, 2);

    const QString times = QStringLiteral("Times New Roman");
    const double L = c.SectionLeft;
    c.SetFont(times, 14);
    c.PrintLine(QStringLiteral(" "));
    c.PrintLine(QStringLiteral(" "));
    c.SetBold(true);
    c.PrintLeft(QStringLiteral("Name: "), L);
    const double after = L + c.textWidth(QStringLiteral("Name: "));
    c.SetBold(false);
    c.SetFont(times, 12);
    c.PrintLeft(text(r, "Name"), after);
    c.PrintLine(QStringLiteral(" "));
    c.PrintLine(QStringLiteral(" "));
    c.PrintLeft(text(r, "Descriptions"), L + 0.3);
    c.PrintLine(QStringLiteral(" "));
    c.PrintLeft(QStringLiteral("Haul Distance: ") + grouped(num(r, "HaulDistance"), 0) + QStringLiteral("    Grade: ") +
                    grouped(num(r, "Grade"), 0),
                L + 0.3);
    c.PrintLine(QStringLiteral(" "));
    if (kind != kUserDefined) {
        c.PrintLeft(QStringLiteral("Route: ") + text(r, "Route"), L + 0.3);
        c.PrintLine(QStringLiteral(" "));
    }
    if (kind == kTruck) {
        const int partner = r.fieldByName(QStringLiteral("LoadExcavRG")).asInteger();
        if (partner == 0 || partner == 1) {
            const QString linked = linkedRecord(ctx.dm, r.fieldByName(QStringLiteral("AddedEquipID")).asInteger()).name;
            c.PrintLeft((partner == 0 ? QStringLiteral("Loader Name: ") : QStringLiteral("Excavator Name: ")) + linked,
                        L + 0.5);
            c.PrintLine(QStringLiteral(" "));
        }
    }
    c.SetFont(times, 14);
    c.PrintLine(QStringLiteral(" "));
    c.PrintLine(QStringLiteral(" "));
    c.SetBold(true);
    c.PrintLeft(QStringLiteral("Productivity Calculations:"), L);
    c.SetBold(false);
    c.PrintLine(QStringLiteral(" "));
    c.PrintLine(QStringLiteral(" "));

    Block b(c);
    switch (kind) {
    case kDozer: dozer(b, r, x); break;
    case kDozerGrading: dozerGrading(b, r, x); break;
    case kPushDozer: pushDozer(b, ctx.dm, r, x); break;
    case kRipper: ripper(b, r, x); break;
    case kExcavator: excavator(b, r, x); break;
    case kGrader: grader(b, r, x); break;
    case kLoader: loader(b, r, x); break;
    case kScraper: scraper(b, r, x); break;
    case kTruck: truck(b, r, x); break;
    case kUserDefined:
        b.formula(0.5, QStringLiteral("Hours Required  =  ") + f4(x.HoursRequired) + QStringLiteral(" hrs"));
        b.formula(0.5, text(r, "Reference"));
        break;
    }

    const QString cont = QLatin1String(k.continuation);
    const QString machine = QLatin1String(k.equipment);
    f.PrintMemoSection(QStringLiteral("Earthmoving Activity:"), cont, 2, 14, text(r, "Act"));
    f.PrintMemoSection(QStringLiteral("Characterization of ") + machine + QStringLiteral(" Used (Type and Size):"), cont,
                       2, 14, text(r, "Char"));
    f.PrintMemoSection(QStringLiteral("Description of ") + machine +
                           QStringLiteral(" Use (origin, destination, grade, haul distance, and material):"),
                       cont, 2, 14, text(r, "Description"));
    PrintIncompleteNote(f, cont, leftOut.values());
}
