#include "DirectCostWorksheets.h"

#include "BondWorksheets.h"
#include "ComputeViews.h"
#include "Computation.h"
#include "CostRules.h"
#include "EDatabaseError.h"
#include "Money.h"
#include "ReportFrame.h"
#include "RowValues.h"
#include "DataModule.h"

namespace {

using J = ReportCanvas::Justify;

using rowvalue::num;
using rowvalue::text;

void lineEnd(ReportCanvas& c, int n = 1)
{
    for (int i = 0; i < n; ++i)
        c.PrintLine(QStringLiteral(" "));
}

// hours × (equipment cost + labor cost) over the equipment rows the view shows, as the
// totals count them: a machine with a value that cannot be used adds nothing.
// The current machine of `equipment`: a view of the report's own chain, or a window's
// view that a caller names.
DirectCosts::MachineCost machineOf(WorksheetContext& ctx, QChar costType, Table& equipment)
{
    ComputeViews& views = ctx.views();
    if (&equipment == views.equipment(costType))
        return ctx.computation.totals.viewsMachineCost(views, costType);
    return ctx.computation.totals.machineCost(costType, equipment);
}

double equipmentCost(WorksheetContext& ctx, QChar costType, Table& equipment)
{
    double sum = 0;
    for (equipment.first(); !equipment.eof(); equipment.next())
        sum += machineOf(ctx, costType, equipment).cost;
    return sum;
}

// A stored amount as printed: money, or the number read when money cannot hold it.
QString storedMoney(double v)
{
    return Money::fits(v) ? formatMoney(v) : QString::number(v, 'g', 17);
}

// The amount of a row's inputs, or what stands in its place when the row is left out.
QString rowAmount(bool usable, double v)
{
    return usable ? formatMoney(v) : QStringLiteral("left out");
}

void boldRight(ReportCanvas& c, double size, const QString& label, double x)
{
    c.SetFont(QStringLiteral("Arial"), size);
    c.SetBold(true);
    c.PrintRight(label, x);
    c.SetBold(false);
}

void sectionTitle(ReportCanvas& c, const QString& caption)
{
    c.SetFont(QStringLiteral("Times New Roman"), 14);
    lineEnd(c, 2);
    c.SetBold(true);
    c.PrintLeft(caption, c.SectionLeft);
    c.SetBold(false);
    lineEnd(c, 2);
}

}  // namespace

ComputeViews& WorksheetContext::views()
{
    if (!ownViews) {
        ownViews = std::make_shared<ComputeViews>(dm.TarvaneDatabase);
        if (!rows)
            ownViews->standOnShownRows(dm);
        else if (ownViews->standOnRows(*rows) != ComputeViews::Found::All)
            throw EDatabaseError(QStringLiteral("The rows to print are not in the data file"));
    }
    return *ownViews;
}

void PrintIncompleteNote(ReportFrame& frame, const QString& continuedTitle, const LeftOutValues& values)
{
    if (values.isEmpty())
        return;
    frame.PrintMemoSection(incompleteLine(values), continuedTitle, 1, 12, leftOutLines(values).join(QLatin1Char('\n')));
}

void PrintMinePage(WorksheetContext& ctx)
{
    ReportFrame& f = ctx.frame;
    ReportCanvas& c = f.canvas();
    Table& mine = ctx.views().MineV;
    // Every page of the mine's own report holds the whole mine's figures.
    struct MineWide {
        ReportFrame& f;
        explicit MineWide(ReportFrame& frame) : f(frame) { f.setMineWide(true); }
        ~MineWide() { f.setMineWide(false); }
    } mineWide(f);
    f.setContinuation(QStringLiteral("Mine"), QStringLiteral(" "), 0);
    f.PrintTitleBlock(text(mine, "Applicant"));
    f.PrintPageFooter();
    c.SetFont(QStringLiteral("Times New Roman"), 10);
    c.Home();
    lineEnd(c);
    const double L = c.SectionLeft;
    const QString lines[] = {QStringLiteral("Report Date:         ") + f.today().toString(QStringLiteral("MM/dd/yyyy")),
                             QStringLiteral("Mine Name:          ") + text(mine, "Applicant"),
                             QStringLiteral("Permit #:              ") + text(mine, "PemitID"),
                             QStringLiteral("Permit Date:          ") + text(mine, "Date"),
                             QStringLiteral("Type of Operation: ") + text(mine, "TypeOperation"),
                             QStringLiteral("Location:               ") + text(mine, "Location"),
                             QStringLiteral("Current ENR: ") + text(mine, "ENRIndexDate") + QStringLiteral(" --  ") +
                                 text(mine, "ENRIndex"),
                             QStringLiteral("5 Year ENR:  ") + text(mine, "ENRIndexDate5") + QStringLiteral(" --  ") +
                                 text(mine, "ENRIndex5")};
    for (const QString& l : lines) {
        c.PrintLeft(l, L);
        lineEnd(c);
    }
    lineEnd(c);
    c.NewLine();
    PrintBondSummaryOf(f, ctx.computation.bond, mine.fieldByName(QStringLiteral("MineID")).value(), std::nullopt);
    f.PrintMemoSection(QStringLiteral("Discussion:"), QStringLiteral("Mine"), 0, 14, text(mine, "Memo"));
}

void PrintProjectPage(WorksheetContext& ctx, bool newPage)
{
    ReportFrame& f = ctx.frame;
    ReportCanvas& c = f.canvas();
    Table& project = ctx.views().ProjectV;
    f.StartFramedPage(newPage, QStringLiteral("Project WorkSheet"), QStringLiteral(" "), 1);
    c.SetFont(QStringLiteral("Times New Roman"), 10);
    lineEnd(c);
    c.PrintLeft(QStringLiteral("Project Name:         ") + text(project, "ProjectName"), c.SectionLeft);
    lineEnd(c);
    c.PrintLeft(QStringLiteral("Project Date:       ") + text(project, "Date"), c.SectionLeft);
    lineEnd(c, 2);
    PrintBondSummaryOf(f, ctx.computation.bond, ctx.views().MineV.fieldByName(QStringLiteral("MineID")).value(),
                       project.fieldByName(QStringLiteral("PrjID")).value());
    f.PrintMemoSection(QStringLiteral("Discussion:"), QStringLiteral("Project"), 1, 14, text(project, "Memo"));
}

void PrintDemolitionWorksheet(WorksheetContext& ctx, bool newPage)
{
    ReportFrame& f = ctx.frame;
    ReportCanvas& c = f.canvas();
    Table& demol = ctx.views().DemolV;
    const QString title = QStringLiteral("Structure Demolition and Disposal Cost Summary");
    f.StartFramedPage(newPage, title, QStringLiteral("Worksheet 2"), 1);
    sectionTitle(c, QStringLiteral("Listing of Buildings to be Demolished:"));
    f.beginTable({{QStringLiteral("Item"), 2.0, J::Left},
                  {QStringLiteral("Type of Construction Material"), 2.5, J::Left},
                  {QStringLiteral("Volume (Cu Ft)"), 0.9, J::Right},
                  {QStringLiteral("Unit Cost Basis"), 0.9, J::Right},
                  {QStringLiteral("Demolition Cost"), 0.9, J::Right, 10}},
                 title, QStringLiteral("Worksheet 2"), 1);
    DirectCosts& totals = ctx.computation.totals;
    DirectCosts::Watch leftOut(totals);
    double subTotal = 0;
    for (demol.first(); !demol.eof(); demol.next()) {
        const DirectCosts::InputsCost in = totals.viewsInputsCost(ctx.views(), QLatin1Char('D'));
        f.tableRow({text(demol, "Item"), text(demol, "TypeMaterial"), QString::asprintf("%9.0f", num(demol, "Volume")),
                    QStringLiteral("$") + QString::asprintf("%8.2f", num(demol, "UnitCost")),
                    in.usable ? QStringLiteral("$") + QString::asprintf("%10.2f", in.cost) : QStringLiteral("left out")});
        subTotal += in.cost;
    }
    lineEnd(c);
    boldRight(c, 12, QStringLiteral("Sub-Total Demolition Cost: ") + formatMoney(subTotal), c.SectionRight);
    double equipment = 0;
    for (demol.first(); !demol.eof(); demol.next()) {
        equipment += equipmentCost(ctx, QLatin1Char('D'), ctx.views().EquipDemoV);
        f.PrintMemoSection(QStringLiteral("Description of Demolition Plan -- ") + text(demol, "Item"),
                           QStringLiteral("Demolition Description"), 1, 12, text(demol, "Memo"));
    }
    lineEnd(c, 2);
    boldRight(c, 12, QStringLiteral("Total Earthmoving Cost: ") + formatMoney(equipment), c.SectionRight);
    lineEnd(c, 2);
    boldRight(c, 14, QStringLiteral("Total Demolition Cost: ") + formatMoney(subTotal + equipment), c.SectionRight);
    PrintIncompleteNote(f, title, leftOut.values());
}

void PrintEarthmovingWorksheet(WorksheetContext& ctx, bool newPage)
{
    ReportFrame& f = ctx.frame;
    ReportCanvas& c = f.canvas();
    Table& mat = ctx.views().MatV;
    const QString title = QStringLiteral("Earthmoving Plan Summary");
    f.StartFramedPage(newPage, title, QStringLiteral("Worksheet 3"), 1);
    sectionTitle(c, QStringLiteral("Listing of All Earthmoving Activities:"));
    f.beginTable({{QStringLiteral("Description"), 3.0, J::Left},
                  {QStringLiteral("Origin"), 1.5, J::Right},
                  {QStringLiteral("Destination"), 1.5, J::Right},
                  {QStringLiteral("Haul Dist"), 0.5, J::Right},
                  {QStringLiteral("Grade"), 0.5, J::Right}},
                 title, QStringLiteral("Worksheet 3"), 1);
    for (mat.first(); !mat.eof(); mat.next())
        f.tableRow({text(mat, "Description"), text(mat, "Orgin"), text(mat, "Destination"), text(mat, "HaulDist"),
                    text(mat, "Grade")});
    DirectCosts::Watch leftOut(ctx.computation.totals);
    double total = 0;
    for (mat.first(); !mat.eof(); mat.next()) {
        const double cost = equipmentCost(ctx, QLatin1Char('M'), ctx.views().EquipMatV);
        const QString description = text(mat, "Description");
        f.PrintMemoSection(QStringLiteral("Description of Earthmoving Plan -- ") + description,
                           QStringLiteral("Description"), 1, 12, text(mat, "Memo"));
        if (c.LinesLeft() < 5) {
            f.StartFramedPage(true, QStringLiteral("Description of Earthmoving Plan -- ") + description +
                                        QStringLiteral("--Continued"),
                              QStringLiteral(" "), 1);
            c.SetFont(QStringLiteral("Times New Roman"), 12);
            lineEnd(c, 2);
        }
        boldRight(c, 12, QStringLiteral("Cost: ") + formatMoney(cost), c.SectionRight);
        lineEnd(c);
        total += cost;
    }
    lineEnd(c);
    boldRight(c, 14, QStringLiteral("Total Cost: ") + formatMoney(total), c.SectionRight);
    lineEnd(c);
    PrintIncompleteNote(f, title, leftOut.values());
}

void PrintEquipmentCostSummary(WorksheetContext& ctx, bool newPage, Table& equipment, const QString& itemName)
{
    ReportFrame& f = ctx.frame;
    ReportCanvas& c = f.canvas();
    const QString title = QStringLiteral("Summary Calculation of Earthmoving Cost -- ") + ctx.kindLabel + QStringLiteral(": ");
    const QString subtitle = QStringLiteral("Worksheet 13, ") + itemName;
    f.StartFramedPage(newPage, title, subtitle, 1);
    sectionTitle(c, QStringLiteral("Earthmoving Activities -- ") + itemName + QLatin1Char(':'));
    f.beginTable({{QStringLiteral("Equipment"), 3.0, J::Left, 10},
                  {QStringLiteral("Owning&Op Cost ($/hr)"), 1.3, J::Right, 10},
                  {QStringLiteral("Labor Cost ($/hr)"), 1.0, J::Right, 10},
                  {QStringLiteral("Hours Req`d"), 0.8, J::Right, 10},
                  {QStringLiteral("Cost"), 0.8, J::Right, 10}},
                 title, subtitle, 1, true, 2);
    DirectCosts::Watch leftOut(ctx.computation.totals);
    double subTotal = 0;
    for (equipment.first(); !equipment.eof(); equipment.next()) {
        const QString costType = text(equipment, "CostType");
        const DirectCosts::MachineCost m =
            machineOf(ctx, costType.isEmpty() ? QLatin1Char('M') : costType.at(0), equipment);
        f.tableRow({text(equipment, "EquipmentName"), storedMoney(num(equipment, "OperatCost")),
                    storedMoney(num(equipment, "LaborCost")), formatFactor(m.hours), rowAmount(m.usable, m.cost)});
        subTotal += m.cost;
    }
    lineEnd(c);
    boldRight(c, 12, QStringLiteral("Sub-Total Earthmoving Cost: ") + formatMoney(subTotal), c.SectionRight);
    PrintIncompleteNote(f, title, leftOut.values());
}

void PrintRevegetationWorksheet(WorksheetContext& ctx, bool newPage)
{
    ReportFrame& f = ctx.frame;
    ReportCanvas& c = f.canvas();
    Table& r = ctx.views().RevegV;
    f.StartFramedPage(newPage, QStringLiteral("Revegetation Cost -- "), QStringLiteral("Worksheet 14, ") + text(r, "Name"), 1);
    const double L = c.SectionLeft, R = c.SectionRight;
    c.SetFont(QStringLiteral("Times New Roman"), 14);
    lineEnd(c, 2);
    c.SetBold(true);
    lineEnd(c);
    c.PrintLeft(QStringLiteral("Name: ") + text(r, "Name"), L);
    lineEnd(c, 2);
    c.PrintLeft(QStringLiteral("Revegetation Costs:"), L);
    c.SetBold(false);
    lineEnd(c);
    // A row whose inputs hold a value that cannot be used is left out, as the totals leave it.
    DirectCosts::Watch leftOut(ctx.computation.totals);
    const bool usable = ctx.computation.totals.viewsInputsCost(ctx.views(), QLatin1Char('R')).usable;
    c.SetFont(QStringLiteral("Arial"), 12);
    c.PrintLeft(QStringLiteral("Other Revegetation Cost:"), L + 0.1);
    lineEnd(c);
    c.PrintRight(rowAmount(usable, num(r, "OtherCost")), R);
    lineEnd(c, 2);
    double total = usable ? num(r, "OtherCost") : 0.0;
    auto f2 = [](double v) { return QString::asprintf("%8.2f", v); };
    struct Caption {
        double x;
        const char* text;
        int line;
    };
    auto block = [&](const QString& label, const QString& formula, double at, double amount, QList<Caption> captions) {
        c.PrintLeft(label, L + 0.1);
        lineEnd(c);
        c.PrintLeft(formula, L + at);
        c.PrintRight(rowAmount(usable, amount), R);
        lineEnd(c);
        c.SetFont(QStringLiteral("Arial"), 10);
        for (int line = 0; line < 3; ++line) {
            bool any = false;
            for (const Caption& cap : captions)
                if (cap.line == line) {
                    c.PrintLeft(QString::fromLatin1(cap.text), L + cap.x);
                    any = true;
                }
            if (any)
                lineEnd(c);
        }
        if (usable)
            total += amount;
        lineEnd(c);
        c.SetFont(QStringLiteral("Arial"), 12);
    };
    const std::array<double, 4> products =
        costrule::revegProducts(costrule::revegInputs([&r](const char* field) { return num(r, field); }));
    block(QStringLiteral("Initial Seeding:"),
          f2(num(r, "AcresSeed")) + QStringLiteral("  Acres  X (") + storedMoney(num(r, "CostSeedBed")) +
              QStringLiteral(" per acre + ") + storedMoney(num(r, "CostSeed")) + QStringLiteral(" per acre) = "),
          0.2, products[0],
          {{0.4, "Acres to Seeded", 0}, {1.9, "Cost of seedbed", 0}, {3.5, "Cost of seeding,", 0},
           {1.9, "preparation", 1}, {3.5, "fertilizing, and", 1}, {3.5, "mulching", 2}});
    block(QStringLiteral("Planting trees and shrubs:"),
          f2(num(r, "AcresPlant")) + QStringLiteral("  Acres  X (") + storedMoney(num(r, "CostPlant")) +
              QStringLiteral("  per acre  +  ") + storedMoney(num(r, "CostHerb")) + QStringLiteral(" per acre ) = "),
          0.2, products[1],
          {{0.4, "Acres to plant", 0}, {1.9, "Cost of planting", 0}, {3.5, "Cost of Herbicide", 0},
           {1.9, "trees and shrubs", 1}});
    block(QStringLiteral("Reseeding:"),
          f2(num(r, "RAcresSeed")) + QStringLiteral("  Acres  X ") + f2(num(r, "SeedFail")) + QStringLiteral("% X (") +
              storedMoney(num(r, "RCostSeedBed")) + QStringLiteral(" per acre + ") + storedMoney(num(r, "RCostSeed")) +
              QStringLiteral(" per acre) = "),
          0.1, products[2],
          {{0.3, "Acres to reseed", 0}, {1.9, "% Failure", 0}, {2.7, "Cost of seedbed", 0}, {4.3, "Cost of seeding,", 0},
           {2.7, "preparation", 1}, {4.3, "fertilizing, and", 1}, {4.3, "mulching", 2}});
    block(QStringLiteral("Replanting:"),
          f2(num(r, "RAcresPlant")) + QStringLiteral("  Acres  X ") + f2(num(r, "PlantFail")) + QStringLiteral("% X (") +
              storedMoney(num(r, "RCostPlant")) + QStringLiteral(" per acre + ") + storedMoney(num(r, "RCostHerb")) +
              QStringLiteral(" per acre) = "),
          0.1, products[3],
          {{0.3, "Acres to replant", 0}, {1.7, "% Failure", 0}, {2.6, "Cost of planting", 0},
           {4.2, "Cost of Herbicide,", 0}, {2.6, "trees and shrubs", 1}});
    const double equipment = equipmentCost(ctx, QLatin1Char('R'), ctx.views().EquipRevegV);
    lineEnd(c, 2);
    boldRight(c, 12, QStringLiteral("Sub-Total Earthmoving Cost This Item: $") + formatMoney(equipment), R);
    lineEnd(c);
    total += equipment;
    lineEnd(c, 2);
    boldRight(c, 14, QStringLiteral("Sub-Total All Revegetation Cost This Item: ") + formatMoney(total), R);
    lineEnd(c, 2);
    const QString continued = QStringLiteral("Revegetation Cost -- Item: ") + text(r, "SheetID");
    f.PrintMemoSection(QStringLiteral("Description of Revegetation Activities -- "), continued, 1, 12, text(r, "Memo"));
    lineEnd(c, 2);
    f.PrintMemoSection(QStringLiteral("Description of Other Reclamation Activities -- "), continued, 1, 12,
                       text(r, "MemoOther"));
    PrintIncompleteNote(f, continued, leftOut.values());
}

void PrintOtherWorksheet(WorksheetContext& ctx, bool newPage)
{
    ReportFrame& f = ctx.frame;
    ReportCanvas& c = f.canvas();
    Table& o = ctx.views().OtherV;
    f.StartFramedPage(newPage, QStringLiteral("Other Reclamation Activities Cost"),
                      QStringLiteral("Worksheet 15, ") + text(o, "Name"), 1);
    lineEnd(c);
    DirectCosts::Watch leftOut(ctx.computation.totals);
    const DirectCosts::InputsCost in = ctx.computation.totals.viewsInputsCost(ctx.views(), QLatin1Char('O'));
    boldRight(c, 12,
              QStringLiteral("Other Reclamation Cost: ") +
                  (in.usable ? formatMoney(num(o, "TotalCost"))
                             : storedMoney(num(o, "TotalCost")) + QStringLiteral(" (left out)")),
              c.SectionRight - 0.2);
    const struct {
        const char* caption;
        const char* field;
    } memos[] = {{"Description of Reclamation Activity:", "Description"},
                 {"Assumptions:", "Assumptions"},
                 {"Cost Estimate Calculations:", "CostCal"}};
    for (const auto& m : memos)
        f.PrintMemoSection(QString::fromLatin1(m.caption), QStringLiteral("Other Reclamation"), 1, 14, text(o, m.field));
    lineEnd(c, 2);
    PrintIncompleteNote(f, QStringLiteral("Other Reclamation"), leftOut.values());
}
