#include "TableRules.h"

#include "CostRules.h"
#include "Dialogs.h"
#include "FieldValue.h"
#include "DataModule.h"
#include "WorksheetKinds.h"

#include <QDateTime>

namespace {

double num(DataSet& ds, const char* f)
{
    return ds.fieldByName(f).asFloat();
}

}  // namespace

QString CrossSectionVolumeText(double distance, double endArea, double adjustmentFactor)
{
    return QString::asprintf("%10.2f", distance * endArea * adjustmentFactor / 27.0);
}

namespace {

// Clears CalcEnabled for a cascade and sets it again on every exit.
class CalcOff {
public:
    explicit CalcOff(DataModule& dm) : dm_(dm) { dm_.CalcEnabled = false; }
    ~CalcOff() { dm_.CalcEnabled = true; }

private:
    DataModule& dm_;
};

}  // namespace

// What a message calls the rows of a view: "the Demolition worksheet", "the machines of the
// Earthmoving worksheet", "the volume calculator's sections"; else the view's own name.
QString TableRules::recordsName(const DataSet& ds) const
{
    for (const WorksheetKind& kind : worksheetKinds()) {
        if (&ds == &kind.sheetsOf(dm_))
            return QStringLiteral("the %1 worksheet").arg(QLatin1String(kind.sheetName));
        if (&ds == kind.equipmentOf(dm_))
            return QStringLiteral("the machines of the %1 worksheet").arg(QLatin1String(kind.sheetName));
    }
    const auto* table = dynamic_cast<const Table*>(&ds);
    if (&ds == &dm_.VolT || (table && table->format().fileName == QLatin1String("Volume.db")))
        return QStringLiteral("the volume calculator's sections");
    return ds.name();
}

void TableRules::calculateSectionVolumes(Table& sections)
{
    if (sections.findField(QStringLiteral("Volume")) == nullptr)
        sections.addCalculatedField(QStringLiteral("Volume"), FieldType::Float);
    sections.onCalcFields = calculation([](DataSet& ds) {
        ds.fieldByName(QStringLiteral("Volume"))
            .setAsString(CrossSectionVolumeText(num(ds, "Distance"), num(ds, "EndArea"), num(ds, "AdjustmentFactor")));
    });
}

DataSet::Event TableRules::calculation(std::function<void(DataSet&)> compute)
{
    return [this, compute = std::move(compute)](DataSet& ds) {
        try {
            compute(ds);
        } catch (const std::exception& e) {
            // The record stays readable: its calculated fields are left empty.
            for (Field* f : ds.fields())
                if (f->kind() == FieldKind::Calculated)
                    f->clear();
            const QString reason = dynamic_cast<const EDatabaseError*>(&e)
                                       ? static_cast<const EDatabaseError&>(e).message()
                                       : QString::fromUtf8(e.what());
            dialogs_.errorOnce(QStringLiteral("The calculated fields of %1 cannot be computed for this record: %2")
                                   .arg(recordsName(ds), reason));
        }
    };
}

TableRules::TableRules(DataModule& dm, Dialogs& dialogs, RuleServices& services)
    : dm_(dm), dialogs_(dialogs), services_(services)
{
}

void TableRules::logEvent(const QString& event)
{
    logEvent(event, dm_.MineT);
}

void TableRules::logMineEdits(Table& mines)
{
    mines.beforeEdit = [this](DataSet& ds) { logEvent(QStringLiteral("Before Edit"), ds); };
    mines.afterEdit = [this](DataSet& ds) { logEvent(QStringLiteral("After Edit"), ds); };
}

void TableRules::logEvent(const QString& event, const DataSet& mineView)
{
    logEventText(event, mineView.fieldByName(QStringLiteral("Applicant")).asString());
}

void TableRules::logEventText(const QString& event, const QString& mine)
{
    Table& log = dm_.EventLogT;
    log.insert();
    log.fieldByName(QStringLiteral("Time")).setAsDateTime(QDateTime::currentDateTime());
    log.fieldByName(QStringLiteral("Event")).setAsString(event);
    log.fieldByName(QStringLiteral("MineName")).setAsString(mine);
    try {
        log.post();
    } catch (...) {
        log.cancel();  // a log row that cannot be written is not left pending to fail again at every close
        throw;
    }
}

void TableRules::deleteAll(Table& view)
{
    view.first();
    while (!view.isEmpty())
        view.remove();
}

void TableRules::install()
{
    Table& mine = dm_.MineT;
    mine.beforeInsert = [this](DataSet&) {
        if (main_)
            main_->setBondPostButtonsEnabled(true);
    };
    mine.afterInsert = [this](DataSet&) { dm_.MineInserted = true; };
    mine.afterCancel = [this](DataSet&) { dm_.MineInserted = false; };  // the insert was abandoned
    mine.beforeEdit = [this](DataSet&) {
        logEvent(QStringLiteral("Before Edit"));
        if (main_)
            main_->setBondPostButtonsEnabled(true);
    };
    mine.afterEdit = [this](DataSet&) { logEvent(QStringLiteral("After Edit")); };
    mine.afterPost = [this](DataSet&) {
        if (dm_.MineInserted) {
            logEvent(QStringLiteral("After Insert"));
            dm_.MineInserted = false;
        }
        if (main_) {
            main_->RefreshStatusLine();
            main_->setBondPostButtonsEnabled(false);
        }
    };
    mine.beforeDelete = [this](DataSet&) { mineBeforeDelete(); };
    mine.afterScroll = [this](DataSet&) {
        if (main_)
            main_->RefreshStatusLine();
    };

    Table& project = dm_.ProjectT;
    project.afterPost = project.afterScroll = [this](DataSet&) {
        if (main_)
            main_->RefreshStatusLine();
    };
    project.beforeDelete = [this](DataSet&) { projectBeforeDelete(); };

    for (const WorksheetKind& kind : worksheetKinds()) {
        if (!kind.hasMachines())
            continue;  // other costs: their rules follow
        Table* sheet = &kind.sheetsOf(dm_);
        Table* equipment = kind.equipmentOf(dm_);
        const QChar type = kind.letter;
        const bool total = kind.totalAfterChange;
        sheet->beforePost = [type](DataSet& ds) { ds.fieldByName(QStringLiteral("CostType")).setAsString(QString(type)); };
        sheet->afterPost = sheet->afterDelete = [this, sheet, type, total](DataSet&) {
            worksheetAfterChange(*sheet, type, total);
        };
        sheet->beforeDelete = [this, equipment](DataSet&) { worksheetEquipmentCascade(*equipment); };
        equipment->onCalcFields = calculation([this](DataSet& ds) { equipmentCalcFields(ds); });
        equipment->beforeDelete = [this](DataSet& ds) { equipmentBeforeDelete(ds); };
    }
    dm_.DemolT.onCalcFields = calculation([](DataSet& ds) {
        ds.fieldByName(QStringLiteral("DemoCost")).setAsFloat(costrule::demolition(num(ds, "Volume"), num(ds, "UnitCost")));
    });
    dm_.RevegT.afterScroll = [this](DataSet&) { revegProducts(); };

    dm_.OtherT.beforePost = [](DataSet& ds) { ds.fieldByName(QStringLiteral("CostType")).setAsString(QStringLiteral("O")); };
    dm_.OtherT.afterPost = dm_.OtherT.afterDelete = [this](DataSet&) {
        if (main_)
            main_->setTotalText(QLatin1Char('O'), services_.totalText(QLatin1Char('O')));
    };

    dm_.CrossSecT.afterPost = [this](DataSet&) {
        if (main_)
            main_->volumeSetsChanged();
    };
    dm_.CrossSecT.beforeDelete = [this](DataSet&) { deleteAll(dm_.VolT); };
    calculateSectionVolumes(dm_.VolT);

    // Reference-editor locking: one level in edit or insert greys the other two.
    for (Table* level : {&dm_.HCompanyT, &dm_.HEquipT, &dm_.HCostT, &dm_.LaborRegionT, &dm_.LaborSubRegionT,
                         &dm_.LaborCostT}) {
        auto lock = [this](bool editing) {
            return [this, editing](DataSet& ds) {
                if (editorLock_)
                    editorLock_(ds, editing);
            };
        };
        level->beforeInsert = level->beforeEdit = lock(true);
        level->afterPost = level->afterCancel = lock(false);
    }

    dm_.HCompanyT.beforeDelete = [this](DataSet&) { deleteAll(dm_.HEquipT); };
    dm_.HEquipT.beforeDelete = [this](DataSet&) { deleteAll(dm_.HCostT); };
}

void TableRules::mineBeforeDelete()
{
    if (dialogs_.message(MsgType::Warning, QStringLiteral("Do You Really Want to DELETE a Mine?"), MsgButtons::OkNo) !=
        MsgResult::Ok)
        throw EDenyDeleteEdit(QStringLiteral("Delete Canceled!"));
    logEvent(QStringLiteral("Before Delete"));
    CalcOff off(dm_);
    try {
        deleteAll(dm_.ProjectT);
    } catch (const std::exception&) {
        dialogs_.error(QStringLiteral("Could NOT delete all project information for the mine!"));
    }
}

void TableRules::projectBeforeDelete()
{
    CalcOff off(dm_);
    const struct {
        Table* view;
        const char* message;
    } steps[] = {{&dm_.DemolT, "Could NOT delete all Demolition information for the mine!"},
                 {&dm_.RevegT, "Could NOT delete all Revegation information for the mine!"},
                 {&dm_.OtherT, "Could NOT delete all Other rec information for the mine!"},
                 {&dm_.MatT, "Could NOT delete all Materials information for the mine!"},
                 {&dm_.CrossSecT, "Could NOT delete all volume cal information for the mine!"}};
    for (const auto& s : steps) {
        try {
            deleteAll(*s.view);
        } catch (const std::exception&) {
            dialogs_.error(QString::fromLatin1(s.message));
        }
    }
}

void TableRules::worksheetEquipmentCascade(Table& equipment)
{
    services_.setSuspendPusherCalc(true);
    try {
        deleteAll(equipment);
    } catch (const std::exception&) {
        dialogs_.error(QStringLiteral("Could not Delete Summary information\nContact Tarvane Database administrator"));
    }
    services_.setSuspendPusherCalc(false);
}

void TableRules::equipmentBeforeDelete(DataSet& row)
{
    CalcOff off(dm_);
    const int kind = row.fieldByName(QStringLiteral("EquipCode2")).asInteger();
    if (kind != 2 && kind != 8 && kind != 4 && kind != 6 && kind != 7)
        return;
    Table& stuff = dm_.EquipStuffT;
    const int planId = row.fieldByName(QStringLiteral("PlanID")).asInteger();
    if (kind == 4 || kind == 6) {
        // A truck that names this loader or excavator and stays (this row does not
        // name it back) keeps no hours added to match it.
        stuff.setFilter(QStringLiteral("(AddedEquipID = %1) and (EquipCode2 = 8)").arg(planId));
        stuff.setFiltered(true);
        const int served = row.fieldByName(QStringLiteral("AddedEquipID")).asInteger();
        for (stuff.first(); !stuff.eof(); stuff.next()) {
            if (stuff.fieldByName(QStringLiteral("PlanID")).asInteger() != served)
                clearAddedHours(stuff);
        }
    }
    stuff.setFilter(QStringLiteral("PlanID = ") + QString::number(row.fieldByName(QStringLiteral("AddedEquipID")).asInteger()));
    stuff.setFiltered(true);
    if (stuff.isEmpty())
        return;
    if (kind == 2 || kind == 8) {
        // The scraper, loader or excavator stays, unlinked; a loader's or excavator's
        // hours added to match the truck go with the truck.
        stuff.edit();
        stuff.fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(-1);
        if (kind == 8)
            stuff.fieldByName(QStringLiteral("AddHours")).setAsFloat(0.0);
        stuff.post();
    } else {
        stuff.remove();  // a loader's or excavator's truck goes with it
    }
}

void TableRules::clearAddedHours(Table& equipment)
{
    if (equipment.fieldByName(QStringLiteral("AddHours")).asFloat() == 0.0)
        return;
    equipment.edit();
    equipment.fieldByName(QStringLiteral("AddHours")).setAsFloat(0.0);
    equipment.post();
}

void TableRules::equipmentCalcFields(DataSet& row)
{
    if (!dm_.CalcEnabled || !activated())
        return;
    QString name = QStringLiteral("None");
    Field& kindField = row.fieldByName(QStringLiteral("EquipCode2"));
    const int kind = kindField.isNull() ? 0 : kindField.asInteger();
    const double hours = services_.equipmentHours(row, kind);
    if (!kindField.isNull() && dm_.EquipTypeT.active()) {
        dm_.EquipTypeT.setFiltered(false);
        dm_.EquipCodeFilter = kind;
        dm_.EquipTypeT.setFiltered(true);
        if (dm_.EquipTypeT.recordCount() == 1)
            name = dm_.EquipTypeT.fieldByName(QStringLiteral("EquipmentName")).asString();
    }
    row.fieldByName(QStringLiteral("TotalCost"))
        .setAsFloat(costrule::machine(hours, num(row, "OperatCost"), num(row, "LaborCost")));
    row.fieldByName(QStringLiteral("HrsReq")).setAsFloat(hours);
    row.fieldByName(QStringLiteral("EquipName")).setAsString(name);
}

void TableRules::worksheetAfterChange(Table& sheet, QChar costType, bool showTotal)
{
    if (!main_)
        return;
    main_->setEquipButtonEnabled(costType, sheet.recordCount() > 0);
    // The revegetation page's products are those of the row it shows, posted as typed.
    if (costType == QLatin1Char('R'))
        revegProducts();
    if (showTotal)
        main_->setTotalText(costType, services_.totalText(costType));
}

void TableRules::revegProducts()
{
    if (!main_)
        return;
    Table& r = dm_.RevegT;
    main_->showRevegProducts(costrule::revegProducts(costrule::revegInputs([&r](const char* f) { return num(r, f); })));
}
