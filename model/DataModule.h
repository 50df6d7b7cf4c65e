#pragma once
// DataModule: the one shared data-access object of the program. It owns
// the session, the database object, every table view, query and data source,
// and the flags the table rules use to keep from re-entering one another.
#include "DataSource.h"
#include "Database.h"
#include "Query.h"
#include "Session.h"
#include "Table.h"

#include <QList>
#include <QString>

class DataModule {
    // Registers the table formats before any view is built on them.
    struct Formats {
        explicit Formats(Database& db);
    };

public:
    // `configPath`: the engine configuration file the session reads its aliases from.
    explicit DataModule(const QString& configPath);
    ~DataModule();
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    class Session Session{QStringLiteral("TarvaneSession")};
    Database TarvaneDatabase{Session};

private:
    Formats formats_{TarvaneDatabase};

public:
    // Views, in the order they are declared on the data module.
    Table EventLogT, MineT, ProjectT, DemolT, MatT, RevegT, OtherT, EquipDemoT, EquipMatT, EquipRevegT, Graph1T, Graph2T,
        Graph3T, CrossSecT, VolT, EquipStuff1T, EquipStuffT, LaborRegionT, LaborSubRegionT, LaborCostT, EffFactorT,
        EquipTypeT, HCompanyT, HEquipT, HCostT;
    Query HCompanyQ, HEquipQ, HCostQ;

    DataSource MineDS, ProjectDS, DemolDS, MatDS, RevegDS, OtherDS, CrossSecDS, VolDS, EquipDemoDS, EquipMatDS,
        EquipRevegDS, HCompanyDS, HEquipDS, HCostDS, HCompanyQDS, HEquipQDS, HCostQDS, LaborRegionDS,
        LaborSubRegionDS, LaborCostDS, EffFactorDS, EventLogDS;

    // Flags of the table rules.
    bool CalcEnabled = true;
    bool MineInserted = false;
    double DataSetCode = 5.0;
    int EquipCodeFilter = 0;

    struct OpeningStep {
        QString label;
        DataSet* view;
    };
    // The views opened at start-up, in their order, with the labels that name them to the user.
    QList<OpeningStep> openingSteps();

    // The start-up label of the first of `views`, in the opening order, that is not open
    // (its table failed at start-up, or opening stopped before it), or the view's name
    // when it is not opened at start-up; empty when every one is open.
    QString closedTable(const QList<DataSet*>& views);

    // Every view and query of the module, for look-ups by name; the start-up views first, in their order.
    QList<DataSet*> allDataSets();

    // Posts the pending edit of every open view, whichever views failed to open. The first
    // post that fails throws its error and leaves that view, and those after it, in edit.
    void postAllPendingEdits();
    // Closes every open view, the start-up views in their order first. Any edit still
    // pending is cancelled beforehand (details before masters), so that closing a master
    // never posts a detail; nothing here throws, for it also runs in destructors.
    void closeAllViews() noexcept;
    // closeAllViews, then the database is disconnected; never throws.
    void shutDown() noexcept;
    DataSet* dataSetByName(const QString& name);
    DataSource* dataSourceByName(const QString& name);

private:
    void declareViews();
};
