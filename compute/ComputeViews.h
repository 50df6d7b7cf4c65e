#pragma once
// The computations' own chain of views over the data module's connection: the mines,
// their projects, each project's worksheets of the four kinds with their machines, and a
// view for the partners of trucks and push dozers. The totals and the bond walk these,
// so they never move the record a window shows.
#include "DataSource.h"
#include "RowKeys.h"
#include "Table.h"

class Database;
class DataModule;

// One chain of views of a mine's estimate: links projects to their mine, worksheets to
// their project, machines to their worksheet by cost type and sheet number, each in the
// order of the data module's views. The copy's two chains and the computations' link this way.
struct WorksheetChain {
    Table &project, &demol, &mat, &reveg, &other, &equipDemo, &equipMat, &equipReveg;
    DataSource &mine, &projectDS, &demolDS, &matDS, &revegDS;
};
void linkWorksheetChain(const WorksheetChain& c);

class ComputeViews {
public:
    explicit ComputeViews(Database& db);
    ComputeViews(const ComputeViews&) = delete;
    ComputeViews& operator=(const ComputeViews&) = delete;

    Table MineV, ProjectV, DemolV, MatV, RevegV, OtherV, EquipDemoV, EquipMatV, EquipRevegV, PartnerV;

    // A kind's worksheet view and its machines' view ('D', 'M', 'R' or 'O'; other costs
    // have no machines: nullptr).
    Table& sheets(QChar costType);
    Table* equipment(QChar costType);

    // Stands on the mine; false when the file holds no such mine.
    bool standOnMine(const QVariant& mineId);
    // Stands on the mine and the project a window shows; false when the window shows none.
    bool standOnShownProject(DataModule& dm);
    // Stands on every row the windows show: the mine, the project and each kind's worksheet row.
    void standOnShownRows(DataModule& dm);
    // The keys of the rows the windows show, as standOnShownRows finds them: the mine and
    // the project (invalid when a window shows none).
    static RowKeys shownRows(DataModule& dm);

    // Stands on the rows named by key; says which of them could not be found.
    enum class Found { All, NoMine, NoProject, NoSheet, NoPlan };
    Found standOnRows(const RowKeys& keys);

private:
    void openViews();
    DataSource MineDS_, ProjectDS_, DemolDS_, MatDS_, RevegDS_;
};
