#include "ReferenceEditors.h"

#include "DBNavigator.h"
#include "DataSetModel.h"
#include "Dialogs.h"
#include "StoredNames.h"
#include "TableRules.h"
#include "DataModule.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>

namespace {

// Posts each table that is being edited or inserted, in order.
void postEach(std::initializer_list<Table*> tables)
{
    for (Table* t : tables)
        if (t->active() && t->isEditing())
            t->post();
}

}  // namespace

// ---------------------------------------------------------------- equipment cost

EquipmentCostEditor::EquipmentCostEditor(DataModule& dm, TableRules& rules, Dialogs& dialogs, QWidget* parent)
    : ReferenceEditor(QLatin1String(storedname::EquipmentCostEditor), QStringLiteral("Edit Equipment Cost"), 44, dialogs, parent), dm_(dm),
      rules_(rules)
{
    for (Table* t : {&dm_.HCompanyT, &dm_.HEquipT, &dm_.HCostT})
        t->open();
    addBand();
    auto* row = new QHBoxLayout;
    addLevel(row, QStringLiteral("Company Names"), &dm_.HCompanyDS, {QStringLiteral("Name")}, QStringLiteral("CompanyGrid"),
             QStringLiteral("CompanyNavigator"));
    addLevel(row, QStringLiteral("Equipment Type"), &dm_.HEquipDS, {QStringLiteral("Type")}, QStringLiteral("EquipGrid"),
             QStringLiteral("EquipNavigator"));
    addLevel(row, QStringLiteral("Equipment Model, Specifications, and Hourly Cost"), &dm_.HCostDS,
             {QStringLiteral("Model"), QStringLiteral("Specifications"), QStringLiteral("DateOfCost"),
              QStringLiteral("HourlyCost")},
             QStringLiteral("CostGrid"), QStringLiteral("CostNavigator"));
    body()->addLayout(row, 1);
    rules_.setEditorLock([this](const DataSet& level, bool editing) { lockOtherLevels(level, editing); });
    addFileMenu(dm_.TarvaneDatabase, {QStringLiteral("HCOMPANY.DB"), QStringLiteral("HEQUIPT.DB"), QStringLiteral("HCOST.DB")},
                {&dm_.HCompanyT, &dm_.HEquipT, &dm_.HCostT});
    fitGrids();
}

EquipmentCostEditor::~EquipmentCostEditor()
{
    rules_.setEditorLock(nullptr);
}

bool EquipmentCostEditor::canClose()
{
    postEach({&dm_.HCompanyT, &dm_.HEquipT, &dm_.HCostT});
    for (Table* t : {&dm_.HCompanyT, &dm_.HEquipT, &dm_.HCostT})
        t->close();
    return true;
}

// ---------------------------------------------------------------- labor

LaborRatesEditor::LaborRatesEditor(DataModule& dm, TableRules& rules, Dialogs& dialogs, QWidget* parent)
    : ReferenceEditor(QLatin1String(storedname::LaborRatesEditor), QStringLiteral("Labor Costs by Region"), 39, dialogs, parent), dm_(dm),
      rules_(rules)
{
    addBand();
    auto* row = new QHBoxLayout;
    addLevel(row, QStringLiteral("Region"), &dm_.LaborRegionDS, {QStringLiteral("RegionName")}, QStringLiteral("RegionGrid"),
             QStringLiteral("RegionNavigator"));
    addLevel(row, QStringLiteral("Sub-region"), &dm_.LaborSubRegionDS, {QStringLiteral("SubRegionName")},
             QStringLiteral("SubRegionGrid"), QStringLiteral("SubRegionNavigator"));
    addLevel(row, QStringLiteral("Labor type and hourly cost"), &dm_.LaborCostDS,
             {QStringLiteral("Laborer"), QStringLiteral("DateOfCost"), QStringLiteral("HourlyCosst")},
             QStringLiteral("LaborCostGrid"), QStringLiteral("LaborNavigator"));
    body()->addLayout(row, 1);
    rules_.setEditorLock([this](const DataSet& level, bool editing) { lockOtherLevels(level, editing); });
    addFileMenu(dm_.TarvaneDatabase,
                {QStringLiteral("LaborRegion.db"), QStringLiteral("LaborSubRegion.DB"), QStringLiteral("LaborCost.db")},
                {&dm_.LaborRegionT, &dm_.LaborSubRegionT, &dm_.LaborCostT});
    fitGrids();
}

LaborRatesEditor::~LaborRatesEditor()
{
    rules_.setEditorLock(nullptr);
}

bool LaborRatesEditor::canClose()
{
    postEach({&dm_.LaborRegionT, &dm_.LaborSubRegionT, &dm_.LaborCostT});
    return true;
}

// ---------------------------------------------------------------- efficiency factors

EfficiencyFactorEditor::EfficiencyFactorEditor(DataModule& dm, Dialogs& dialogs, QWidget* parent)
    : ReferenceEditor(QLatin1String(storedname::EfficiencyFactorEditor), QStringLiteral("Efficiency Factor Database Editor"), 46, dialogs,
                      parent),
      dm_(dm)
{
    addBand();
    auto* row = new QHBoxLayout;
    addLevel(row, QStringLiteral("Efficiency Factors"), &dm_.EffFactorDS, {QStringLiteral("Desc"), QStringLiteral("Factor")},
             QStringLiteral("EffFactorGrid"), QStringLiteral("EffFactorNavigator"));
    body()->addLayout(row, 1);
    auto* note = new QLabel(
        QStringLiteral("Changing values in the Efficiency Factor Database does NOT change the values you have already "
                       "entered for a piece of equipment.  If you want to change the efficiency factors for equipment "
                       "already entered into the program you will need to edit the specfic equipment after changing "
                       "the values in the Efficienct Factor Database."),
        this);
    note->setObjectName(QStringLiteral("EffFactorNote"));
    note->setWordWrap(true);
    body()->addWidget(note);
    addFileMenu(dm_.TarvaneDatabase, {QStringLiteral("EffFactor.DB")}, {&dm_.EffFactorT});
    resize(640, 460);
}

bool EfficiencyFactorEditor::canClose()
{
    Table& t = dm_.EffFactorT;
    if (!t.active() || !t.isEditing())
        return true;
    if (dialogs().message(MsgType::Warning, QStringLiteral("Efficiency Factor Data NOT saved! Do you want to save?"),
                          MsgButtons::YesNo) == MsgResult::Yes)
        t.post();
    else
        t.cancel();
    return true;
}

// ---------------------------------------------------------------- fee schedules

FeeTableEditor::FeeTableEditor(Dialogs& dialogs, QWidget* parent)
    : ReferenceEditor(QLatin1String(storedname::FeeTableEditor), QStringLiteral("Tarvane -- Engineering Redesign Fee Database"), 10, dialogs,
                      parent),
      source_(std::make_unique<DataSource>(QStringLiteral("FeeDS")))
{
    source_->setEnabled(false);
    resize(520, 420);
}

FeeTableEditor::~FeeTableEditor() = default;

void FeeTableEditor::setTable(Table& table, const QString& title)
{
    table_ = &table;
    title_ = title;
    source_->setDataSet(&table);
    source_->setEnabled(true);
    auto* row = new QHBoxLayout;
    addLevel(row, QString(), source_.get(), {}, QStringLiteral("FeeGrid"), QStringLiteral("FeeNavigator"));
    body()->addLayout(row, 1);
    addFileMenu(table.database(), {table.format().fileName}, {&table});
}

void FeeTableEditor::showEvent(QShowEvent* e)
{
    if (!title_.isEmpty())
        setWindowTitle(title_);
    ReferenceEditor::showEvent(e);
}

bool FeeTableEditor::canClose()
{
    if (table_ && table_->active() && table_->isEditing())
        table_->post();
    return true;
}
