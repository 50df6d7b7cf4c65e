#include "ReportJob.h"

#include "BondSummary.h"
#include "ComputeViews.h"
#include "Computation.h"

#include "DirectCostWorksheets.h"
#include "EquipmentWorksheets.h"
#include "ReportFrame.h"
#include "DataModule.h"
#include "WorksheetKinds.h"

namespace {

// Holds the calculated fields off for the run, as every page recomputes its own figures.
class CalcOff {
public:
    explicit CalcOff(DataModule& dm) : dm_(dm), was_(dm.CalcEnabled) { dm.CalcEnabled = false; }
    ~CalcOff() { dm_.CalcEnabled = was_; }
    CalcOff(const CalcOff&) = delete;
    CalcOff& operator=(const CalcOff&) = delete;

private:
    DataModule& dm_;
    bool was_;
};

// Counts how deep the walks are nested: only the outermost walk reports progress.
class WalkDepth {
public:
    explicit WalkDepth(int& depth) : depth_(depth) { ++depth_; }
    ~WalkDepth() { --depth_; }
    bool outermost() const { return depth_ == 1; }
    WalkDepth(const WalkDepth&) = delete;
    WalkDepth& operator=(const WalkDepth&) = delete;

private:
    int& depth_;
};

// One kind of worksheet row: its rows, their equipment, the label and item name of Worksheet 13.
struct SheetKind {
    SheetKind(ComputeViews& views, QChar letter)
        : rows(views.sheets(letter)), equipment(*views.equipment(letter)), label(worksheetKind(letter).idLabel),
          itemField(worksheetKind(letter).itemField)
    {
    }
    Table& rows;
    Table& equipment;
    const char* label;
    const char* itemField;
};

class Job {
public:
    Job(WorksheetContext& ctx, std::function<void(int, int)> progress)
        : ctx_(ctx), progress_(std::move(progress)), dm_(ctx.dm), v_(ctx.views()), demolition_(v_, QLatin1Char('D')),
          earthmoving_(v_, QLatin1Char('M')), revegetation_(v_, QLatin1Char('R'))
    {
    }

    void run(const ReportSelection& s)
    {
        switch (s.choice) {
        case 0: {
            PrintMinePage(ctx_);
            Walk walk(*this, v_.ProjectV);
            for (v_.ProjectV.first(); !v_.ProjectV.eof(); v_.ProjectV.next()) {
                projectWithAll(false);
                walk.step();
            }
            break;
        }
        case 1: PrintMinePage(ctx_); break;
        case 2:
            if (v_.ProjectV.isEmpty())
                break;
            if (s.detail)
                projectWithAll(true);
            else
                PrintProjectPage(ctx_, false);
            break;
        case 3: directCostWorksheet(demolition_, s.detail, false); break;
        case 4: equipmentPages(demolition_, false, s.detail); break;
        case 5: directCostWorksheet(earthmoving_, s.detail, false); break;
        case 6: equipmentPages(earthmoving_, false, s.detail); break;
        case 7: revegetationRows(false, s.detail); break;
        case 8: equipmentPages(revegetation_, false, s.detail); break;
        case 9:
            if (v_.OtherV.isEmpty())
                break;
            if (s.detail)
                otherRows(false);
            else
                PrintOtherWorksheet(ctx_, false);
            break;
        default: break;
        }
    }

private:
    // A walk over a table's rows; the outermost one reports each row done.
    class Walk {
    public:
        Walk(Job& job, Table& t) : job_(job), depth_(job.depth_)
        {
            if (depth_.outermost() && job_.progress_) {
                total_ = t.recordCount();
                job_.progress_(0, total_);
            }
        }
        void step()
        {
            if (depth_.outermost() && job_.progress_)
                job_.progress_(++done_, total_);
        }

    private:
        Job& job_;
        WalkDepth depth_;
        int done_ = 0, total_ = 0;
    };

    // Worksheet 13 of the current row, then with allBelow each equipment row's worksheet.
    void equipmentPages(SheetKind& k, bool newPage, bool allBelow)
    {
        ctx_.kindLabel = QLatin1String(k.label);
        PrintEquipmentCostSummary(ctx_, newPage, k.equipment,
                                  k.rows.fieldByName(QLatin1String(k.itemField)).asString());
        if (!allBelow)
            return;
        Walk walk(*this, k.equipment);
        for (k.equipment.first(); !k.equipment.eof(); k.equipment.next()) {
            PrintEquipmentWorksheet(ctx_, true, k.equipment);
            walk.step();
        }
    }

    // The equipment pages of every row that has equipment, each on a new page.
    void equipmentOfEveryRow(SheetKind& k)
    {
        Walk walk(*this, k.rows);
        for (k.rows.first(); !k.rows.eof(); k.rows.next()) {
            if (!k.equipment.isEmpty())
                equipmentPages(k, true, true);
            walk.step();
        }
    }

    // Worksheet 2 or 3, then with detail the equipment pages of its rows.
    void directCostWorksheet(SheetKind& k, bool detail, bool newPage)
    {
        ctx_.kindLabel = QLatin1String(k.label);
        {
            if (&k == &demolition_)
                PrintDemolitionWorksheet(ctx_, newPage);
            else
                PrintEarthmovingWorksheet(ctx_, newPage);
        }
        if (detail)
            equipmentOfEveryRow(k);
    }

    // Worksheet 14 for every revegetation row, the first on a new page only when asked.
    void revegetationRows(bool newPage, bool detail)
    {
        ctx_.kindLabel = QLatin1String(revegetation_.label);
        Walk walk(*this, v_.RevegV);
        bool first = true;
        for (v_.RevegV.first(); !v_.RevegV.eof(); v_.RevegV.next()) {
            PrintRevegetationWorksheet(ctx_, newPage || !first);
            first = false;
            if (detail && !v_.EquipRevegV.isEmpty())
                equipmentPages(revegetation_, true, true);
            walk.step();
        }
    }

    // Worksheet 15 for every other-cost row, the first on a new page only when asked.
    void otherRows(bool newPage)
    {
        Walk walk(*this, v_.OtherV);
        bool first = true;
        for (v_.OtherV.first(); !v_.OtherV.eof(); v_.OtherV.next()) {
            PrintOtherWorksheet(ctx_, newPage || !first);
            first = false;
            walk.step();
        }
    }

    // The project page and every worksheet below it.
    void projectWithAll(bool first)
    {
        ctx_.frame.canvas().setStatus(
            QStringLiteral("Project:  ") + v_.ProjectV.fieldByName(QStringLiteral("ProjectName")).asString(),
            ctx_.frame.canvas().statusLine2());
        PrintProjectPage(ctx_, !first);
        if (!v_.DemolV.isEmpty())
            directCostWorksheet(demolition_, true, true);
        if (!v_.MatV.isEmpty())
            directCostWorksheet(earthmoving_, true, true);
        revegetationRows(true, true);
        otherRows(true);
    }

    WorksheetContext& ctx_;
    std::function<void(int, int)> progress_;
    int depth_ = 0;
    DataModule& dm_;
    ComputeViews& v_;  // the report's own views, which the pages are printed from
    SheetKind demolition_, earthmoving_, revegetation_;
};

}  // namespace

void PrintReport(WorksheetContext& ctx, const ReportSelection& selection)
{
    CalcOff calcOff(ctx.dm);
    // The pages are printed from the report's own views, standing first on the rows the
    // windows show; the windows' views are not moved.
    ctx.views();
    // One message at the end for the stored values the pages leave out; each page lists its own.
    DirectCosts& totals = ctx.computation.totals;
    totals.beginReport();
    try {
        DataSet* equipment = selection.equipment;
        if (!equipment && ctx.rows && ctx.rows->plan.isValid())
            equipment = ctx.views().equipment(ctx.rows->kind);
        if (equipment)
            PrintEquipmentWorksheet(ctx, false, *equipment);
        else
            Job(ctx, selection.progress).run(selection);
    } catch (...) {
        totals.dropReport();
        throw;
    }
    totals.endReport();
}

void BindFrameToViews(ReportFrame& frame, ComputeViews& views)
{
    frame.mineName = [&views] { return views.MineV.fieldByName(QStringLiteral("Applicant")).asString(); };
    frame.projectName = [&views] { return views.ProjectV.fieldByName(QStringLiteral("ProjectName")).asString(); };
    frame.projectDate = [&views] { return views.ProjectV.fieldByName(QStringLiteral("Date")).asString(); };
    frame.mineDate = [&views] { return views.MineV.fieldByName(QStringLiteral("Date")).asString(); };
}

void RunReportJob(ReportCanvas& canvas, const ReportOptions& options, const UnprintableEdges& edges, Dialogs& dialogs,
                  DataModule& dm, Computation& computation, const ReportSelection& selection)
{
    ReportFrame frame(canvas, options, dialogs);
    WorksheetContext ctx{frame, dm, computation, QLatin1String(worksheetKind(QLatin1Char('M')).idLabel), {}, selection.rows};
    // The header lines name the mine and project the pages are printed from.
    BindFrameToViews(frame, ctx.views());
    frame.startJob(edges);
    Table& mine = ctx.views().MineV;
    canvas.setDocumentInfo(QStringLiteral("Bond Amount Calculations -- ") +
                               mine.fieldByName(QStringLiteral("Applicant")).asString(),
                           mine.fieldByName(QStringLiteral("PreparedBy")).asString());
    PrintReport(ctx, selection);
}
