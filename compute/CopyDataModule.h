#pragma once
// CopyDataModule: the views the copy of a mine walks, outside the table rules.
// Two parallel chains over the same tables, the source (the mine copied, its
// projects, worksheets and equipment) and the target (where the copy goes),
// and EquipT, the whole equipment table, for looking partners up while the
// copy relinks trucks and push dozers.
//
// The views are built on the main data module's database object, so that
// both modules share one connection and one set of change counters: a row the
// copy posts is seen by the main views at their next move or refresh, and the
// copy runs in the same transaction scope as everything else. The data module
// is made at start-up before the main one exists; it gets its database when
// the main module is made (setDatabase), as a view names its database only
// when it opens.
#include "DataSource.h"
#include "Table.h"

#include <QList>
#include <memory>

class Database;

class CopyDataModule {
public:
    CopyDataModule();
    ~CopyDataModule();
    CopyDataModule(const CopyDataModule&) = delete;
    CopyDataModule& operator=(const CopyDataModule&) = delete;

    struct Views {
        explicit Views(Database& db) : Views(db, db) {}
        // The source chain reads `source`; the target chain and EquipT write `target`.
        Views(Database& source, Database& target);
        Table MineT, ProjectT, DemolT, MatT, RevegT, OtherT, EquipDemoT, EquipMatT, EquipRevegT;
        Table MineTT, ProjectTT, DemolTT, MatTT, RevegTT, OtherTT, EquipDemoTT, EquipMatTT, EquipRevegTT;
        Table EquipT;
        DataSource MineDS, ProjectDS, DemolDS, MatDS, RevegDS;
        DataSource MineTDS, ProjectTDS, DemolTDS, MatTDS, RevegTDS;
    };

    // Builds the views on `db` (the main data module's database); null removes them.
    void setDatabase(Database* db);
    // The source chain on another data file (an estimate brought in), the target on this one.
    void setDatabases(Database& source, Database& target);
    bool hasDatabase() const { return static_cast<bool>(views_); }
    // Throws EDatabaseError when the module has no database yet.
    Views& views();

    // The eighteen views the copy window opens, in their order: the targets
    // (mine, project, demolition, materials, revegetation, other, the three
    // equipment views), then the sources in the same order. EquipT is not among them.
    QList<Table*> activationOrder();
    // Opens the views of activationOrder that are not open; false when one fails
    // (the views opened before it stay open). Nothing is reported.
    bool openViews() noexcept;
    // Closes the views in activationOrder, a pending edit cancelled first; every
    // view is tried, then the first failure is thrown.
    void closeViews();

private:
    std::unique_ptr<Views> views_;
};
