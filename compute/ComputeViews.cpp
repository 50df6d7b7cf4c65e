#include "ComputeViews.h"

#include "DataModule.h"
#include "EDatabaseError.h"
#include "WorksheetKinds.h"

namespace {
const QString kEquipment = QStringLiteral("Equipment.DB");
}

ComputeViews::ComputeViews(Database& db)
    : MineV(db, QStringLiteral("MineV"), QStringLiteral("MINE.DB")),
      ProjectV(db, QStringLiteral("ProjectV"), QStringLiteral("PROJECT.DB")),
      DemolV(db, QStringLiteral("DemolV"), QStringLiteral("DEMOL.DB")),
      MatV(db, QStringLiteral("MatV"), QStringLiteral("MATERIAL.DB")),
      RevegV(db, QStringLiteral("RevegV"), QStringLiteral("REVEG.DB")),
      OtherV(db, QStringLiteral("OtherV"), QStringLiteral("OTHERREC.DB")),
      EquipDemoV(db, QStringLiteral("EquipDemoV"), kEquipment),
      EquipMatV(db, QStringLiteral("EquipMatV"), kEquipment),
      EquipRevegV(db, QStringLiteral("EquipRevegV"), kEquipment),
      PartnerV(db, QStringLiteral("PartnerV"), kEquipment),
      MineDS_(QStringLiteral("MineVDS"), &MineV),
      ProjectDS_(QStringLiteral("ProjectVDS"), &ProjectV),
      DemolDS_(QStringLiteral("DemolVDS"), &DemolV),
      MatDS_(QStringLiteral("MatVDS"), &MatV),
      RevegDS_(QStringLiteral("RevegVDS"), &RevegV)
{
    linkWorksheetChain({ProjectV, DemolV, MatV, RevegV, OtherV, EquipDemoV, EquipMatV, EquipRevegV, MineDS_, ProjectDS_,
                        DemolDS_, MatDS_, RevegDS_});
    PartnerV.setIndexName(QStringLiteral("PlanIDIndex"));
}

void linkWorksheetChain(const WorksheetChain& c)
{
    c.project.setIndexName(QStringLiteral("MineID"));
    c.project.setMasterSource(&c.mine, {QStringLiteral("MineID")});
    for (Table* t : {&c.demol, &c.mat, &c.reveg, &c.other}) {
        t->setIndexName(QStringLiteral("PrjID"));
        t->setMasterSource(&c.projectDS, {QStringLiteral("PrjID")});
    }
    const std::pair<Table*, DataSource*> machines[] = {
        {&c.equipDemo, &c.demolDS}, {&c.equipMat, &c.matDS}, {&c.equipReveg, &c.revegDS}};
    for (auto [t, master] : machines) {
        t->setIndexName(QStringLiteral("CostTypeSheetID"));
        t->setMasterSource(master, {QStringLiteral("CostType"), QStringLiteral("SheetID")});
    }
}

Table& ComputeViews::sheets(QChar costType)
{
    switch (costType.toUpper().unicode()) {
    case 'D': return DemolV;
    case 'M': return MatV;
    case 'R': return RevegV;
    case 'O': return OtherV;
    default: throw EDatabaseError(QStringLiteral("There is no worksheet of kind '%1'").arg(costType));
    }
}

Table* ComputeViews::equipment(QChar costType)
{
    switch (costType.toUpper().unicode()) {
    case 'D': return &EquipDemoV;
    case 'M': return &EquipMatV;
    case 'R': return &EquipRevegV;
    default: return nullptr;
    }
}

// Opened the first time they are needed, and again after the data file was closed.
void ComputeViews::openViews()
{
    for (Table* t : {&MineV, &ProjectV, &DemolV, &MatV, &RevegV, &OtherV, &EquipDemoV, &EquipMatV, &EquipRevegV,
                     &PartnerV})
        if (!t->active())
            t->open();
}

bool ComputeViews::standOnMine(const QVariant& mineId)
{
    openViews();
    return mineId.isValid() && !mineId.isNull() && MineV.locate({QStringLiteral("MineID")}, {mineId});
}

bool ComputeViews::standOnShownProject(DataModule& dm)
{
    if (!dm.MineT.active() || dm.MineT.isEmpty() || !dm.ProjectT.active() || dm.ProjectT.isEmpty())
        return false;
    const QVariant project = dm.ProjectT.fieldByName(QStringLiteral("PrjID")).value();
    return standOnMine(dm.MineT.fieldByName(QStringLiteral("MineID")).value()) && project.isValid() &&
           ProjectV.locate({QStringLiteral("PrjID")}, {project});
}

void ComputeViews::standOnShownRows(DataModule& dm)
{
    if (!standOnShownProject(dm)) {
        if (dm.MineT.active() && !dm.MineT.isEmpty())
            standOnMine(dm.MineT.fieldByName(QStringLiteral("MineID")).value());
        return;
    }
    for (const WorksheetKind& kind : worksheetKinds()) {
        Table& shown = kind.sheetsOf(dm);
        if (!shown.active() || shown.isEmpty())
            continue;
        const QVariant sheet = shown.fieldByName(QStringLiteral("SheetID")).value();
        if (sheet.isValid())
            sheets(kind.letter).locate({QStringLiteral("SheetID")}, {sheet});
    }
}

RowKeys ComputeViews::shownRows(DataModule& dm)
{
    RowKeys keys;
    if (dm.MineT.active() && !dm.MineT.isEmpty())
        keys.mine = dm.MineT.fieldByName(QStringLiteral("MineID")).value();
    if (keys.mine.isValid() && dm.ProjectT.active() && !dm.ProjectT.isEmpty())
        keys.project = dm.ProjectT.fieldByName(QStringLiteral("PrjID")).value();
    return keys;
}

ComputeViews::Found ComputeViews::standOnRows(const RowKeys& keys)
{
    if (!standOnMine(keys.mine))
        return Found::NoMine;
    if (keys.project.isValid() && !ProjectV.locate({QStringLiteral("PrjID")}, {keys.project}))
        return Found::NoProject;
    if (keys.sheet.isValid() && !sheets(keys.kind).locate({QStringLiteral("SheetID")}, {keys.sheet}))
        return Found::NoSheet;
    if (keys.plan.isValid()) {
        Table* machines = equipment(keys.kind);
        if (!keys.sheet.isValid() || !machines || !machines->locate({QStringLiteral("PlanID")}, {keys.plan}))
            return Found::NoPlan;
    }
    return Found::All;
}
