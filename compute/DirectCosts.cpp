#include "DirectCosts.h"

#include "ComputeViews.h"
#include "CostRules.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "EquipmentHours.h"
#include "Money.h"
#include "Statement.h"
#include "DataModule.h"
#include "WorksheetKinds.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Clears CalcEnabled while a machine of a window's view is computed: its calculated
// fields need not be computed again on the way. Puts it back on every exit.
class CalcPause {
public:
    explicit CalcPause(DataModule& dm) : dm_(dm), was_(dm.CalcEnabled) { dm_.CalcEnabled = false; }
    ~CalcPause() { dm_.CalcEnabled = was_; }

private:
    DataModule& dm_;
    bool was_;
};

}  // namespace

void DirectCosts::beginReport()
{
    if (reportDepth_++ == 0)
        leftOut_.clear();
}

void DirectCosts::endReport()
{
    if (--reportDepth_ > 0 || leftOut_.isEmpty())
        return;
    const QString text = QStringLiteral("These stored values are not finite numbers or are beyond the range of money "
                                        "amounts; their rows are left out of the totals:\n") +
                         leftOutLines(leftOut_).join(QLatin1Char('\n'));
    leftOut_.clear();
    dialogs_.errorOnce(text);
}

void DirectCosts::dropReport()
{
    if (--reportDepth_ == 0)
        leftOut_.clear();
}

DirectCosts::Watch::Watch(DirectCosts& totals) : totals_(totals)
{
    totals_.watches_.push_back(this);
}

DirectCosts::Watch::~Watch()
{
    auto& w = totals_.watches_;
    w.erase(std::remove(w.begin(), w.end(), this), w.end());
}

template <class F>
double DirectCosts::reported(F compute)
{
    beginReport();
    double total = 0.0;
    try {
        Database::ReadSnapshot snapshot(dm_.TarvaneDatabase);
        total = compute();
    } catch (...) {
        dropReport();
        throw;
    }
    endReport();
    return total;
}

// What the file holds in the field: its text when it is text, else the number read.
QString DirectCosts::storedText(const QString& table, const QString& keyField, qint64 key, const QString& field,
                                double value)
{
    const QString read = QString::number(value, 'g', 17);
    if (keyField.isEmpty())
        return read;
    try {
        Statement st(dm_.TarvaneDatabase.handle(), QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?1")
                                                      .arg(quoteIdent(field), quoteIdent(table), quoteIdent(keyField)));
        st.bind(1, key);
        if (st.step() && !st.isNull(0)) {
            const QVariant v = st.value(0);
            if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray)
                return v.toString();
        }
    } catch (const EDatabaseError&) {
        // The number as read names the value well enough.
    }
    return read;
}

void DirectCosts::leftOut(Table& table, const QString& field, double value)
{
    const ExplainSource record = sourceOf(table);
    LeftOutValue v;
    v.table = record.table;
    v.keyField = record.keyField;
    v.key = record.key;
    v.field = field;
    v.value = field.contains(QLatin1Char(' ')) ? QString::number(value, 'g', 17)
                                                : storedText(v.table, v.keyField, v.key, field, value);
    if (!leftOut_.contains(v))
        leftOut_ << v;
    for (Watch* w : watches_)
        if (!w->values_.contains(v))
            w->values_ << v;
}

void DirectCosts::hoursLeftOut(Table& equipment, double hours)
{
    bool named = false;
    for (const FieldDef& f : equipment.format().fields) {
        if (f.type != FieldType::Float && f.type != FieldType::Currency && f.type != FieldType::Integer)
            continue;
        const double v = equipment.fieldByName(f.name).asFloat();
        if (!std::isfinite(v)) {
            leftOut(equipment, f.name, v);
            named = true;
        }
    }
    if (!named)
        leftOut(equipment, QStringLiteral("hours required"), hours);
}

bool DirectCosts::checkHours(Table& equipment, double hours)
{
    if (Money::fits(hours))
        return true;
    beginReport();
    hoursLeftOut(equipment, hours);
    endReport();
    return false;
}

void DirectCosts::setExplain(ExplainRecorder* recorder)
{
    explain_ = recorder;
    calc_.setExplain(recorder);
}

ExplainSource DirectCosts::sourceOf(Table& table, const QString& field)
{
    ExplainSource s;
    s.table = table.format().fileName;
    for (const FieldDef& f : table.format().fields)
        if (f.type == FieldType::AutoInc) {
            s.keyField = f.name;
            s.key = table.fieldByName(f.name).asInteger();
            break;
        }
    s.field = field;
    return s;
}

double DirectCosts::checked(Table& table, const char* field, bool& usable)
{
    const double v = table.fieldByName(field).asFloat();
    if (Money::fits(v)) {
        if (explain_)
            explain_->stored(explainName(field), v, sourceOf(table, explainName(field)), {},
                             table.fieldByName(field).dataType() == FieldType::Currency);
        return v;
    }
    leftOut(table, QLatin1String(field), v);
    if (explain_) {
        const ExplainSource s = sourceOf(table, QLatin1String(field));
        explain_->add(makeExplainNode(
            s.field, 0.0, ExplainNode::Rule::LeftOut,
            QStringLiteral("stored %1: cannot be used, left out").arg(storedText(s.table, s.keyField, s.key, s.field, v)), {},
            table.fieldByName(field).dataType() == FieldType::Currency, s));
    }
    usable = false;
    return 0.0;
}

DirectCosts::MachineCost DirectCosts::machine(const WorksheetKind& kind, Table& sheets, Table& equipment, bool bind)
{
    using Item = WorksheetKind::MachineItem;
    switch (kind.machineItem) {
    case Item::EquipmentDescription:
        calc_.ItemName = equipment.fieldByName(QStringLiteral("Description")).asString();
        break;
    case Item::WorksheetDescription:
        calc_.ItemName = sheets.fieldByName(QStringLiteral("Description")).asString();
        break;
    case Item::EquipmentName:
        calc_.ItemName = equipment.fieldByName(QStringLiteral("Name")).asString();
        break;
    case Item::None:
        break;
    }
    ExplainRecorder::Scope told(explain_);
    bool usable = true;
    ExplainRecorder::Scope hourly(explain_);
    const double operat = checked(equipment, "OperatCost", usable);
    const double labor = checked(equipment, "LaborCost", usable);
    if (explain_)
        hourly.close(QStringLiteral("Cost per hour"), operat + labor, ExplainNode::Rule::Sum,
                     ExplainRule::pattern(QStringLiteral("equipment $1 + labor $2"), ExplainRule::Result::Money));
    const int code = equipment.fieldByName("EquipCode2").asInteger();
    MachineCost m;
    m.hours = calc_.CalcEquipHours(equipment, code, false, bind);
    m.unitHours = calc_.EquipCalcResults_.UnitHours;
    if (!Money::fits(m.hours)) {
        hoursLeftOut(equipment, m.hours);
        usable = false;
    }
    m.cost = usable ? costrule::machine(m.hours, operat, labor) : 0.0;
    m.usable = usable;
    if (capture_)
        capture_->machines.insert(equipment.fieldByName("PlanID").asInteger(), m.cost);
    if (explain_) {
        const QString name = equipment.fieldByName("EquipmentName").asString();
        QString label = QStringLiteral("Machine ");
        label.reserve(name.size() + 24);
        label += QString::number(equipment.fieldByName("PlanID").asInteger()) + QStringLiteral(" (") +
                 (name.isEmpty() ? EquipmentCalculator::kindName(code) : name) + QLatin1Char(')');
        told.close(label,
                   m.cost, usable ? ExplainNode::Rule::Product : ExplainNode::Rule::LeftOut,
                   !usable ? ExplainRule(QStringLiteral("a stored value cannot be used: left out, 0"))
                   // The parts are the cost per hour and the hours: the text is put together when read.
                   : told.partCount() == 2
                       ? ExplainRule::pattern(QStringLiteral("hours x (equipment + labor cost) = %2 h x $1"),
                                              ExplainRule::Result::Money)
                       : ExplainRule(QStringLiteral("hours x (equipment + labor cost) = %1 h x %2 = %3")
                                         .arg(explainNumber(m.hours), explainMoney(operat + labor), explainMoney(m.cost))),
                   sourceOf(equipment));
    }
    return m;
}

// One walk over the worksheet rows: the rows' own inputs (when the kind has any)
// and their machines, each added up in row order as two sums, inputs first.
// The walk is over the computation's own views, on the project they stand on; the hours
// read the partners, and name the mine and project, from the same chain.
double DirectCosts::walkCost(const WorksheetKind& k, double (DirectCosts::*inputs)(Table&))
{
    calc_.ActivityName = QLatin1String(k.activity);
    Table& sheets = views_.sheets(k.letter);
    Table& equipment = *views_.equipment(k.letter);
    const EquipmentCalculator::LentViews lent(calc_, {&views_.PartnerV, &views_.MineV, &views_.ProjectV});
    double inputSum = 0.0, machineSum = 0.0;
    ExplainRecorder::Scope kindTold(explain_);
    for (sheets.first(); !sheets.eof(); sheets.next()) {
        ExplainRecorder::Scope rowTold(explain_);
        double rowInputs = 0.0, rowMachines = 0.0;
        if (inputs) {
            rowInputs = (this->*inputs)(sheets);
            inputSum += rowInputs;
        }
        if (capture_)
            capture_->inputs.insert({k.letter, sheets.fieldByName("SheetID").asInteger()}, rowInputs);
        for (equipment.first(); !equipment.eof(); equipment.next()) {
            const double cost = machine(k, sheets, equipment, false).cost;
            machineSum += cost;
            rowMachines += cost;
        }
        if (explain_)
            closeRow(rowTold, k, sheets, rowInputs + rowMachines);
    }
    if (explain_)
        closeKind(kindTold, k, inputSum + machineSum);
    return inputSum + machineSum;
}

DirectCosts::MachineCost DirectCosts::machineCost(QChar costType, Table& equipment)
{
    const WorksheetKind& k = worksheetKind(costType);
    if (!k.hasMachines())
        throw EDatabaseError(QStringLiteral("Other reclamation costs have no machines"));
    calc_.ActivityName = QLatin1String(k.activity);
    CalcPause pause(dm_);
    return machine(k, k.sheetsOf(dm_), equipment, true);
}

ExplainPtr DirectCosts::explainMachineCost(QChar costType, Table& equipment)
{
    ExplainRecorder recorder;
    ExplainRecorder* const was = explain_;
    setExplain(&recorder);
    try {
        machineCost(costType, equipment);
    } catch (...) {
        setExplain(was);
        throw;
    }
    setExplain(was);
    std::vector<ExplainPtr> nodes = recorder.take();
    return nodes.empty() ? nullptr : nodes.back();
}

DirectCosts::SheetRowCost DirectCosts::viewsRowCost(ComputeViews& views, QChar costType)
{
    const WorksheetKind& k = worksheetKind(costType);
    Table& sheets = views.sheets(k.letter);
    SheetRowCost row;
    row.inputs = inputsOf(k.letter, sheets).cost;
    if (Table* equipment = views.equipment(k.letter)) {
        calc_.ActivityName = QLatin1String(k.activity);
        const EquipmentCalculator::LentViews lent(calc_, {&views.PartnerV, &views.MineV, &views.ProjectV});
        for (equipment->first(); !equipment->eof(); equipment->next())
            row.equipment += machine(k, sheets, *equipment, false).cost;
    }
    return row;
}

DirectCosts::MachineCost DirectCosts::viewsMachineCost(ComputeViews& views, QChar costType)
{
    const WorksheetKind& k = worksheetKind(costType);
    Table* equipment = views.equipment(k.letter);
    if (!equipment)
        throw EDatabaseError(QStringLiteral("Other reclamation costs have no machines"));
    calc_.ActivityName = QLatin1String(k.activity);
    const EquipmentCalculator::LentViews lent(calc_, {&views.PartnerV, &views.MineV, &views.ProjectV});
    return machine(k, views.sheets(k.letter), *equipment, false);
}

DirectCosts::InputsCost DirectCosts::viewsInputsCost(ComputeViews& views, QChar costType)
{
    const QChar letter = worksheetKind(costType).letter;
    return inputsOf(letter, views.sheets(letter));
}

DirectCosts::InputsCost DirectCosts::inputsOf(QChar letter, Table& sheets)
{
    Watch leftOut(*this);
    InputsCost in;
    switch (letter.unicode()) {
    case 'D': in.cost = demoInputs(sheets); break;
    case 'R': in.cost = revegInputs(sheets); break;
    case 'O': in.cost = otherInputs(sheets); break;
    default: break;
    }
    in.usable = leftOut.values().isEmpty();
    return in;
}



double DirectCosts::TotalDemoCost()
{
    return total(QLatin1Char('D'));
}

double DirectCosts::TotalMatCost()
{
    return total(QLatin1Char('M'));
}

double DirectCosts::TotalRevegCost()
{
    return total(QLatin1Char('R'));
}

double DirectCosts::TotalOtherCost()
{
    return total(QLatin1Char('O'));
}

double DirectCosts::total(QChar costType)
{
    const WorksheetKind& kind = worksheetKind(costType);
    postShownEdits(kind);
    const QChar letter = kind.letter;
    return reported([this, letter] { return views_.standOnShownProject(dm_) ? kindCost(letter) : 0.0; });
}

// The totals read what is stored: a window's pending edit of the kind's rows is posted
// first (one not changed is given up), as a walk of the window's own views did.
void DirectCosts::postShownEdits(const WorksheetKind& kind)
{
    for (Table* view : {&kind.sheetsOf(dm_), kind.equipmentOf(dm_)})
        if (view && view->active())
            view->checkBrowseMode();
}

void DirectCosts::postShownEdits()
{
    for (const WorksheetKind& kind : worksheetKinds())
        postShownEdits(kind);
}

double DirectCosts::totalOfViewsProject(QChar costType)
{
    const QChar letter = worksheetKind(costType).letter;
    return reported([this, letter] { return kindCost(letter); });
}

double DirectCosts::kindCost(QChar letter)
{
    const WorksheetKind& k = worksheetKind(letter);
    switch (letter.unicode()) {
    case 'D': return walkCost(k, &DirectCosts::demoInputs);
    case 'M': return walkCost(k, nullptr);
    case 'R': return walkCost(k, &DirectCosts::revegInputs);
    default: {
        Table& others = views_.sheets(letter);
        double sum = 0.0;
        ExplainRecorder::Scope kindTold(explain_);
        for (others.first(); !others.eof(); others.next()) {
            ExplainRecorder::Scope rowTold(explain_);
            const double row = otherInputs(others);
            sum += row;
            if (capture_)
                capture_->inputs.insert({k.letter, others.fieldByName("SheetID").asInteger()}, row);
            if (explain_)
                closeRow(rowTold, k, others, row);
        }
        if (explain_)
            closeKind(kindTold, k, sum);
        return sum;
    }
    }
}

double DirectCosts::demoInputs(Table& d)
{
    ExplainRecorder::Scope told(explain_);
    bool usable = true;
    const double volume = checked(d, "Volume", usable);
    const double unitCost = checked(d, "UnitCost", usable);
    const double cost = costrule::demolition(volume, unitCost);
    if (explain_)
        told.close(QStringLiteral("Own cost"), usable ? cost : 0.0,
                   usable ? ExplainNode::Rule::Product : ExplainNode::Rule::LeftOut,
                   usable ? ExplainRule::pattern(QStringLiteral("volume x unit cost = %1 x $2"), ExplainRule::Result::Money)
                          : ExplainRule(QStringLiteral("a stored value cannot be used: left out, 0")));
    return usable ? cost : 0.0;
}

double DirectCosts::revegInputs(Table& r)
{
    ExplainRecorder::Scope told(explain_);
    bool usable = true;
    const costrule::RevegInputs in = costrule::revegInputs([&](const char* field) { return checked(r, field, usable); });
    const double row = costrule::revegetation(in);
    if (explain_) {
        const std::array<double, 4> p = costrule::revegProducts(in);
        told.close(QStringLiteral("Own cost"), usable ? row : 0.0,
                   usable ? ExplainNode::Rule::Formula : ExplainNode::Rule::LeftOut,
                   usable ? QStringLiteral("seeding %1 x (%2 + %3) + planting %4 x (%5 + %6) + reseeding %7 x %8 % x (%9 + "
                                           "%10) + replanting %11 x %12 % x (%13 + %14) + other %15 = %16 + %17 + %18 + "
                                           "%19 + %20 = %21")
                                .arg(explainNumber(in.AcresSeed), explainMoney(in.CostSeedBed), explainMoney(in.CostSeed),
                                     explainNumber(in.AcresPlant), explainMoney(in.CostHerb), explainMoney(in.CostPlant),
                                     explainNumber(in.RAcresSeed), explainNumber(in.SeedFail), explainMoney(in.RCostSeedBed))
                                .arg(explainMoney(in.RCostSeed), explainNumber(in.RAcresPlant), explainNumber(in.PlantFail),
                                     explainMoney(in.RCostHerb), explainMoney(in.RCostPlant), explainMoney(in.OtherCost),
                                     explainMoney(p[0]), explainMoney(p[1]), explainMoney(p[2]))
                                .arg(explainMoney(p[3]), explainMoney(in.OtherCost), explainMoney(row))
                          : QStringLiteral("a stored value cannot be used: left out, 0"));
    }
    return usable ? row : 0.0;
}

double DirectCosts::otherInputs(Table& o)
{
    bool usable = true;
    const double cost = checked(o, "TotalCost", usable);
    return usable ? cost : 0.0;
}

void DirectCosts::closeRow(ExplainRecorder::Scope& told, const WorksheetKind& k, Table& sheets, double value)
{
    const QString item = sheets.fieldByName(k.itemField).asString();
    QString label = QLatin1String(k.sheetName);
    label.reserve(label.size() + item.size() + 16);
    label += QStringLiteral(" row ") + QString::number(sheets.fieldByName("SheetID").asInteger());
    if (!item.isEmpty())
        label += QStringLiteral(": ") + item;
    told.close(label,
               value, ExplainNode::Rule::Sum,
               ExplainRule::pattern(k.hasMachines() ? QStringLiteral("its own cost and its machines'")
                                                    : QStringLiteral("its total cost"),
                                    ExplainRule::Result::Money),
               sourceOf(sheets));
}

void DirectCosts::closeKind(ExplainRecorder::Scope& told, const WorksheetKind& k, double value)
{
    Table& project = views_.ProjectV;
    told.close(QStringLiteral("%1 of project %2: %3")
                   .arg(QLatin1String(k.sheetName))
                   .arg(project.fieldByName(QStringLiteral("PrjID")).asInteger())
                   .arg(project.fieldByName(QStringLiteral("ProjectName")).asString()),
               value, ExplainNode::Rule::Sum,
               ExplainRule::pattern(QStringLiteral("the sum of its worksheet rows"), ExplainRule::Result::Money),
               sourceOf(project));
}
