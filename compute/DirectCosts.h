#pragma once
#include <QHash>
#include <QPair>
// The direct-cost totals of the current project's worksheets of each kind.
// A stored number that cannot be used (not a finite number, or beyond the range
// of money amounts) leaves its row out of the total; the rows left out are named
// in one message at the end of the outermost computation.
#include "Explanation.h"
#include "LeftOutValue.h"

#include <QString>
#include <QStringList>
#include <vector>

class DataSet;
class Dialogs;
class EquipmentCalculator;
class ComputeViews;
class DataModule;
class Table;
struct WorksheetKind;

class DirectCosts {
public:
    // The totals walk `views`, the computation's own; a window's record never moves.
    DirectCosts(DataModule& dm, EquipmentCalculator& calc, Dialogs& dialogs, ComputeViews& views)
        : dm_(dm), calc_(calc), dialogs_(dialogs), views_(views) {}

    // The totals of the project a window shows (0 when it shows none).
    double TotalDemoCost();
    double TotalMatCost();
    double TotalRevegCost();
    double TotalOtherCost();
    // The total of the kind of the cost-type letter ('D', 'M', 'R' or 'O').
    double total(QChar costType);
    // The same for the project the computation's own views stand on (the bond's walk).
    double totalOfViewsProject(QChar costType);
    // Before the bond's walk: the windows' pending edits of every kind are posted first.
    void postShownEdits();
    ComputeViews& views() const { return views_; }
    // While set, the totals (and the hours they compute) record the tree of each amount.
    void setExplain(ExplainRecorder* recorder);
    ExplainRecorder* explain() const { return explain_; }

    // The costs a walk of the totals gave each worksheet row's own inputs (by cost type and
    // SheetID) and each machine (by PlanID), kept while set: what reads the rows afterwards
    // (a comparison) takes them instead of computing every machine's hours again.
    struct CostCapture {
        QHash<QPair<QChar, qint64>, double> inputs;
        QHash<qint64, double> machines;
    };
    void setCapture(CostCapture* capture) { capture_ = capture; }
    // The record of the table's current row, and one of its fields.
    static ExplainSource sourceOf(Table& table, const QString& field = {});

    // Rows as the totals count them, for a listing or a report that walks a chain of the
    // computations' own views ('D', 'M', 'R' or 'O' names the kind):
    // - a worksheet row with the cost of its own inputs and of its machines;
    struct SheetRowCost {
        double inputs = 0;
        double equipment = 0;
        double total() const { return inputs + equipment; }
    };
    SheetRowCost viewsRowCost(ComputeViews& views, QChar costType);
    // - a machine: hours required, hours of one machine and hours × (equipment cost + labor
    //   cost); cost 0 when a value cannot be used;
    struct MachineCost {
        double hours = 0;
        double unitHours = 0;
        double cost = 0;
        bool usable = true;  // false: a value could not be used, the cost is 0
    };
    MachineCost viewsMachineCost(ComputeViews& views, QChar costType);
    // - the cost of a worksheet row's own inputs: 0 and not usable when one cannot be used.
    struct InputsCost {
        double cost = 0;
        bool usable = true;
    };
    InputsCost viewsInputsCost(ComputeViews& views, QChar costType);
    // The current machine of a window's view of the kind's machines (a caller that names one).
    MachineCost machineCost(QChar costType, Table& equipment);
    // The same cost as the tree of what it is made of: hours x (equipment + labor cost), the
    // hours the formula of the machine's kind; null when nothing could be recorded.
    ExplainPtr explainMachineCost(QChar costType, Table& equipment);

    // A computation over several totals (the bond) reports its unusable values once:
    // begin before, end after (it shows the message), drop when the computation failed.
    void beginReport();
    void endReport();
    void dropReport();
    // The number in a field of the table's current row; when it cannot be used the
    // row is named in the report, `usable` is cleared and 0 is returned.
    double checked(Table& table, const char* field, bool& usable);

    // Whether hours computed for the equipment row can be used; when not, the row's
    // numbers that cannot be used are named in one message.
    bool checkHours(Table& equipment, double hours);

    // Collects every value left out while it lives, each once, whichever computation
    // (a total, the bond, a printed page) met it: what an output lists as left out.
    class Watch {
    public:
        explicit Watch(DirectCosts& totals);
        ~Watch();
        const LeftOutValues& values() const { return values_; }
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        friend class DirectCosts;
        DirectCosts& totals_;
        LeftOutValues values_;
    };

private:
    // The current machine of `equipment`, the current row of `sheets` its worksheet row;
    // `bind`: the hours calculator binds the equipment list to a row of the data module's.
    MachineCost machine(const WorksheetKind& kind, Table& sheets, Table& equipment, bool bind);
    // The cost of the current worksheet row's own inputs; 0 when one cannot be used.
    InputsCost inputsOf(QChar letter, Table& sheets);
    double demoInputs(Table& sheets);
    double revegInputs(Table& sheets);
    double otherInputs(Table& sheets);
    void closeRow(ExplainRecorder::Scope& told, const WorksheetKind& k, Table& sheets, double value);
    void closeKind(ExplainRecorder::Scope& told, const WorksheetKind& k, double value);
    // The rows' inputs (when given) plus hours × (equipment cost + labor cost) over
    // the machines of every row of the kind's worksheet view, in one walk.
    double walkCost(const WorksheetKind& k, double (DirectCosts::*inputs)(Table&));
    // The total of a kind on the project the computation's own views stand on.
    double kindCost(QChar letter);
    void postShownEdits(const WorksheetKind& kind);
    template <class F>
    double reported(F compute);
    void leftOut(Table& table, const QString& field, double value);
    // A row's machine hours that cannot be computed: the row's numbers that cannot be used.
    void hoursLeftOut(Table& equipment, double hours);
    QString storedText(const QString& table, const QString& keyField, qint64 key, const QString& field, double value);

    CostCapture* capture_ = nullptr;
    DataModule& dm_;
    EquipmentCalculator& calc_;
    Dialogs& dialogs_;
    ComputeViews& views_;
    ExplainRecorder* explain_ = nullptr;
    int reportDepth_ = 0;
    LeftOutValues leftOut_;
    std::vector<Watch*> watches_;
};
