#include "CopyDataModule.h"

#include "ComputeViews.h"
#include "Database.h"
#include "EDatabaseError.h"

#include <exception>
#include <optional>

namespace {
const QString kEquipment = QStringLiteral("Equipment.DB");
}

CopyDataModule::Views::Views(Database& source, Database& db)
    : MineT(source, QStringLiteral("MineT"), QStringLiteral("MINE.DB")),
      ProjectT(source, QStringLiteral("ProjectT"), QStringLiteral("PROJECT.DB")),
      DemolT(source, QStringLiteral("DemolT"), QStringLiteral("DEMOL.DB")),
      MatT(source, QStringLiteral("MatT"), QStringLiteral("MATERIAL.DB")),
      RevegT(source, QStringLiteral("RevegT"), QStringLiteral("REVEG.DB")),
      OtherT(source, QStringLiteral("OtherT"), QStringLiteral("OTHERREC.DB")),
      EquipDemoT(source, QStringLiteral("EquipDemoT"), kEquipment),
      EquipMatT(source, QStringLiteral("EquipMatT"), kEquipment),
      EquipRevegT(source, QStringLiteral("EquipRevegT"), kEquipment),
      MineTT(db, QStringLiteral("MineTT"), QStringLiteral("MINE.DB")),
      ProjectTT(db, QStringLiteral("ProjectTT"), QStringLiteral("PROJECT.DB")),
      DemolTT(db, QStringLiteral("DemolTT"), QStringLiteral("DEMOL.DB")),
      MatTT(db, QStringLiteral("MatTT"), QStringLiteral("MATERIAL.DB")),
      RevegTT(db, QStringLiteral("RevegTT"), QStringLiteral("REVEG.DB")),
      OtherTT(db, QStringLiteral("OtherTT"), QStringLiteral("OTHERREC.DB")),
      EquipDemoTT(db, QStringLiteral("EquipDemoTT"), kEquipment),
      EquipMatTT(db, QStringLiteral("EquipMatTT"), kEquipment),
      EquipRevegTT(db, QStringLiteral("EquipRevegTT"), kEquipment),
      EquipT(db, QStringLiteral("EquipT"), kEquipment),
      MineDS(QStringLiteral("MineDS"), &MineT),
      ProjectDS(QStringLiteral("ProjectDS"), &ProjectT),
      DemolDS(QStringLiteral("DemolDS"), &DemolT),
      MatDS(QStringLiteral("MatDS"), &MatT),
      RevegDS(QStringLiteral("RevegDS"), &RevegT),
      MineTDS(QStringLiteral("MineTDS"), &MineTT),
      ProjectTDS(QStringLiteral("ProjectTDS"), &ProjectTT),
      DemolTDS(QStringLiteral("DemolTDS"), &DemolTT),
      MatTDS(QStringLiteral("MatTDS"), &MatTT),
      RevegTDS(QStringLiteral("RevegTDS"), &RevegTT)
{
    // Both chains link as the data module's views do.
    linkWorksheetChain({ProjectT, DemolT, MatT, RevegT, OtherT, EquipDemoT, EquipMatT, EquipRevegT, MineDS, ProjectDS,
                        DemolDS, MatDS, RevegDS});
    linkWorksheetChain({ProjectTT, DemolTT, MatTT, RevegTT, OtherTT, EquipDemoTT, EquipMatTT, EquipRevegTT, MineTDS,
                        ProjectTDS, DemolTDS, MatTDS, RevegTDS});
}

CopyDataModule::CopyDataModule() = default;

CopyDataModule::~CopyDataModule()
{
    try {
        if (views_)
            closeViews();
    } catch (const std::exception& e) {
        qWarning("Tarvane: closing the copy's views failed: %s", e.what());
    }
}

void CopyDataModule::setDatabase(Database* db)
{
    views_.reset();
    if (db)
        views_ = std::make_unique<Views>(*db);
}

void CopyDataModule::setDatabases(Database& source, Database& target)
{
    views_.reset();
    views_ = std::make_unique<Views>(source, target);
}

CopyDataModule::Views& CopyDataModule::views()
{
    if (!views_)
        throw EDatabaseError(QStringLiteral("The copy's views have no database: the data module is not made yet"));
    return *views_;
}

QList<Table*> CopyDataModule::activationOrder()
{
    Views& v = views();
    return {&v.MineTT, &v.ProjectTT, &v.DemolTT, &v.MatTT, &v.RevegTT, &v.OtherTT, &v.EquipDemoTT,
            &v.EquipMatTT, &v.EquipRevegTT, &v.MineT, &v.ProjectT, &v.DemolT, &v.MatT, &v.RevegT,
            &v.OtherT, &v.EquipDemoT, &v.EquipMatT, &v.EquipRevegT};
}

bool CopyDataModule::openViews() noexcept
{
    try {
        for (Table* t : activationOrder())
            if (!t->active())
                t->open();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void CopyDataModule::closeViews()
{
    if (!views_)
        return;
    std::optional<EDatabaseError> failure;
    QList<Table*> all = activationOrder();
    all << &views_->EquipT;
    for (Table* t : all) {
        try {
            if (t->active() && t->isEditing())
                t->cancel();
            t->close();
        } catch (const EDatabaseError& e) {
            if (!failure)
                failure = e;
        } catch (const std::exception& e) {
            if (!failure)
                failure = EDatabaseError(QString::fromLocal8Bit(e.what()));
        }
    }
    if (failure)
        throw *failure;
}
