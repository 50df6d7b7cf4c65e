#include "DataModule.h"

#include "TableFormats.h"

#include <QStandardPaths>
#include <algorithm>

namespace {

const QString kEquipment = QStringLiteral("Equipment.DB");

// The fields a worksheet's equipment view exposes: every stored field but the
// stored hours, whose place the calculated hours take.
QStringList worksheetEquipmentFields(const Database& db)
{
    QStringList out;
    for (const FieldDef& f : db.format(kEquipment)->fields)
        if (f.name != QLatin1String("HrsReq"))
            out << f.name;
    return out;
}

// Stored fields 1 to 57: all but the two truck-override fields.
QStringList equipStuffFields(const Database& db)
{
    QStringList out;
    const auto& fields = db.format(kEquipment)->fields;
    for (int i = 0; i < 57 && i < fields.size(); ++i)
        out << fields[i].name;
    return out;
}

}  // namespace

DataModule::Formats::Formats(Database& db)
{
    for (const TableFormat& f : tarvaneTableFormats())
        db.addFormat(f);
}

DataModule::DataModule(const QString& configPath)
    : EventLogT(TarvaneDatabase, QStringLiteral("EventLogT"), QStringLiteral("EventLog.db")),
      MineT(TarvaneDatabase, QStringLiteral("MineT"), QStringLiteral("MINE.DB")),
      ProjectT(TarvaneDatabase, QStringLiteral("ProjectT"), QStringLiteral("PROJECT.DB")),
      DemolT(TarvaneDatabase, QStringLiteral("DemolT"), QStringLiteral("DEMOL.DB")),
      MatT(TarvaneDatabase, QStringLiteral("MatT"), QStringLiteral("MATERIAL.DB")),
      RevegT(TarvaneDatabase, QStringLiteral("RevegT"), QStringLiteral("REVEG.DB")),
      OtherT(TarvaneDatabase, QStringLiteral("OtherT"), QStringLiteral("OTHERREC.DB")),
      EquipDemoT(TarvaneDatabase, QStringLiteral("EquipDemoT"), kEquipment, worksheetEquipmentFields(TarvaneDatabase)),
      EquipMatT(TarvaneDatabase, QStringLiteral("EquipMatT"), kEquipment, worksheetEquipmentFields(TarvaneDatabase)),
      EquipRevegT(TarvaneDatabase, QStringLiteral("EquipRevegT"), kEquipment, worksheetEquipmentFields(TarvaneDatabase)),
      Graph1T(TarvaneDatabase, QStringLiteral("Graph1T"), QStringLiteral("GRAPH1.DB")),
      Graph2T(TarvaneDatabase, QStringLiteral("Graph2T"), QStringLiteral("GRAPH2.DB")),
      Graph3T(TarvaneDatabase, QStringLiteral("Graph3T"), QStringLiteral("GRAPH3.DB")),
      CrossSecT(TarvaneDatabase, QStringLiteral("CrossSecT"), QStringLiteral("CrossSections.db")),
      VolT(TarvaneDatabase, QStringLiteral("VolT"), QStringLiteral("Volume.db")),
      EquipStuff1T(TarvaneDatabase, QStringLiteral("EquipStuff1T"), QStringLiteral("Equipment.db")),
      EquipStuffT(TarvaneDatabase, QStringLiteral("EquipStuffT"), kEquipment, equipStuffFields(TarvaneDatabase)),
      LaborRegionT(TarvaneDatabase, QStringLiteral("LaborRegionT"), QStringLiteral("LaborRegion.db")),
      LaborSubRegionT(TarvaneDatabase, QStringLiteral("LaborSubRegionT"), QStringLiteral("LaborSubRegion.DB")),
      LaborCostT(TarvaneDatabase, QStringLiteral("LaborCostT"), QStringLiteral("LaborCost.db")),
      EffFactorT(TarvaneDatabase, QStringLiteral("EffFactorT"), QStringLiteral("EffFactor.DB")),
      EquipTypeT(TarvaneDatabase, QStringLiteral("EquipTypeT"), QStringLiteral("EQUIP.DB")),
      HCompanyT(TarvaneDatabase, QStringLiteral("HCompanyT"), QStringLiteral("HCOMPANY.DB")),
      HEquipT(TarvaneDatabase, QStringLiteral("HEquipT"), QStringLiteral("HEQUIPT.DB")),
      HCostT(TarvaneDatabase, QStringLiteral("HCostT"), QStringLiteral("HCOST.DB")),
      HCompanyQ(TarvaneDatabase, QStringLiteral("HCompanyQ")),
      HEquipQ(TarvaneDatabase, QStringLiteral("HEquipQ")),
      HCostQ(TarvaneDatabase, QStringLiteral("HCostQ")),
      MineDS(QStringLiteral("MineDS"), &MineT),
      ProjectDS(QStringLiteral("ProjectDS"), &ProjectT),
      DemolDS(QStringLiteral("DemolDS"), &DemolT),
      MatDS(QStringLiteral("MatDS"), &MatT),
      RevegDS(QStringLiteral("RevegDS"), &RevegT),
      OtherDS(QStringLiteral("OtherDS"), &OtherT),
      CrossSecDS(QStringLiteral("CrossSecDS"), &CrossSecT),
      VolDS(QStringLiteral("VolDS"), &VolT),
      EquipDemoDS(QStringLiteral("EquipDemoDS"), &EquipDemoT),
      EquipMatDS(QStringLiteral("EquipMatDS"), &EquipMatT),
      EquipRevegDS(QStringLiteral("EquipRevegDS"), &EquipRevegT),
      HCompanyDS(QStringLiteral("HCompanyDS"), &HCompanyT),
      HEquipDS(QStringLiteral("HEquipDS"), &HEquipT),
      HCostDS(QStringLiteral("HCostDS"), &HCostT),
      HCompanyQDS(QStringLiteral("HCompanyQDS"), &HCompanyQ),
      HEquipQDS(QStringLiteral("HEquipQDS"), &HEquipQ),
      HCostQDS(QStringLiteral("HCostQDS"), &HCostQ),
      LaborRegionDS(QStringLiteral("LaborRegionDS"), &LaborRegionT),
      LaborSubRegionDS(QStringLiteral("LaborSubRegionDS"), &LaborSubRegionT),
      LaborCostDS(QStringLiteral("LaborCostDS"), &LaborCostT),
      EffFactorDS(QStringLiteral("EffFactorDS"), &EffFactorT),
      EventLogDS(QStringLiteral("EventLogDS"), &EventLogT)
{
    TarvaneDatabase.setAliasName(QStringLiteral("TarvaneDB"));
    TarvaneDatabase.setDatabaseName(QStringLiteral("TarvaneDataDB"));
    Session.setConfigPath(configPath);
    // The session's start-up sets its private directory; the engine's temporary files go there.
    Session.onStartup = [](class Session& s) {
        s.setPrivateDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/Priv"));
    };
    // Protected tables: register the stored password and let the request continue.
    Session.onPassword = [](class Session& s, bool& continueRequest) {
        s.addPassword(QString::fromLatin1(kTablePassword));
        continueRequest = true;
    };
    declareViews();
}

DataModule::~DataModule()
{
    shutDown();
}

void DataModule::postAllPendingEdits()
{
    for (DataSet* ds : allDataSets())
        if (ds->active() && ds->isEditing())
            ds->post();
}

void DataModule::closeAllViews() noexcept
{
    const QList<DataSet*> views = allDataSets();
    for (auto it = views.crbegin(); it != views.crend(); ++it) {
        DataSet* ds = *it;
        try {
            if (ds->active() && ds->isEditing())
                ds->cancel();
        } catch (const std::exception& e) {
            qWarning("Tarvane: %s: cancelling the pending edit failed: %s", qPrintable(ds->name()), e.what());
        }
    }
    for (DataSet* ds : views) {
        try {
            ds->close();
        } catch (const std::exception& e) {
            qWarning("Tarvane: %s: closing failed: %s", qPrintable(ds->name()), e.what());
        }
    }
}

void DataModule::shutDown() noexcept
{
    closeAllViews();
    try {
        TarvaneDatabase.disconnect();
    } catch (const std::exception& e) {
        qWarning("Tarvane: disconnecting the database failed: %s", e.what());
    }
}

void DataModule::declareViews()
{
    const QStringList prj{QStringLiteral("PrjID")};
    ProjectT.setIndexName(QStringLiteral("MineID"));
    ProjectT.setMasterSource(&MineDS, {QStringLiteral("MineID")});
    for (Table* t : {&DemolT, &MatT, &RevegT, &OtherT, &CrossSecT}) {
        t->setIndexName(QStringLiteral("PrjID"));
        t->setMasterSource(&ProjectDS, prj);
    }
    VolT.setIndexName(QStringLiteral("CrossID"));
    VolT.setMasterSource(&CrossSecDS, {QStringLiteral("CrossID")});

    const QStringList sheetLink{QStringLiteral("CostType"), QStringLiteral("SheetID")};
    const std::pair<Table*, DataSource*> equipment[] = {
        {&EquipDemoT, &DemolDS}, {&EquipMatT, &MatDS}, {&EquipRevegT, &RevegDS}};
    for (auto [t, master] : equipment) {
        t->setIndexName(QStringLiteral("CostTypeSheetID"));
        t->setMasterSource(master, sheetLink);
        t->addCalculatedField(QStringLiteral("EquipName"), FieldType::String, 75);
        t->addCalculatedField(QStringLiteral("TotalCost"), FieldType::Currency);
        t->addCalculatedField(QStringLiteral("HrsReq"), FieldType::Float);
        t->addLookupField(QStringLiteral("EffFactorStr"), FieldType::String, 45,
                          {QStringLiteral("EffFact"), QStringLiteral("EffFactor.DB"), QStringLiteral("Factor"),
                           QStringLiteral("Desc")});
    }
    EquipStuffT.setIndexName(QStringLiteral("PlanIDIndex"));


    Field& demoCost = DemolT.addCalculatedField(QStringLiteral("DemoCost"), FieldType::Currency);
    demoCost.setReadOnly(true);
    DemolT.fieldByName(QStringLiteral("Volume")).displayFormat = QStringLiteral("###,###,###,###,###,###,###.##");
    VolT.addCalculatedField(QStringLiteral("Volume"), FieldType::Float);

    HEquipT.setIndexName(QStringLiteral("COID"));
    HEquipT.setMasterSource(&HCompanyDS, {QStringLiteral("COID")});
    HCostT.setIndexName(QStringLiteral("ID"));
    HCostT.setMasterSource(&HEquipDS, {QStringLiteral("ID")});
    LaborSubRegionT.setIndexName(QStringLiteral("RegionID"));
    LaborSubRegionT.setMasterSource(&LaborRegionDS, {QStringLiteral("RegionID")});
    LaborCostT.setIndexName(QStringLiteral("SubRegionID"));
    LaborCostT.setMasterSource(&LaborSubRegionDS, {QStringLiteral("SubRegionID")});

    // Only the mines of the current data set show; the kind view shows one kind.
    MineT.setOnFilterRecord([this](DataSet& ds) {
        return ds.fieldByName(QStringLiteral("RevegYears")).asFloat() == DataSetCode;
    });
    MineT.setFiltered(true);
    // A new efficiency factor takes the next free ID: the editor shows only its description and factor.
    EffFactorT.onNewRecord = [](DataSet& ds) {
        qint64 top = 0;
        for (const auto& v : ds.fieldValues(QStringLiteral("ID")))
            top = std::max<qint64>(top, v.first.toLongLong());
        ds.fieldByName(QStringLiteral("ID")).setValue(top + 1);
    };
    EquipTypeT.setOnFilterRecord([this](DataSet& ds) {
        return ds.fieldByName(QStringLiteral("EquipCode")).asInteger() == EquipCodeFilter;
    });

    // The handbook cascade of lists: makers by name, their kinds, the kind's models.
    const auto def = [](const char* n, FieldType t, int size = 0) {
        return FieldDef{QString::fromLatin1(n), t, size, false, {}};
    };
    HCompanyQ.setSql({QStringLiteral("SELECT COID, Name"), QStringLiteral("FROM \"HCompany.DB\" Company"),
                      QStringLiteral("ORDER BY Company.Name")});
    HCompanyQ.addFieldDef(def("COID", FieldType::Integer));
    HCompanyQ.addFieldDef(def("Name", FieldType::String, 30));
    HEquipQ.setSql({QStringLiteral("SELECT COID, ID, Type"), QStringLiteral("FROM \"HEQUIPT.DB\" Equip"),
                    QStringLiteral("WHERE Equip.COID=:COID"), QStringLiteral("ORDER BY Type")});
    HEquipQ.addFieldDef(def("COID", FieldType::Integer));
    HEquipQ.addFieldDef(def("ID", FieldType::Integer));
    HEquipQ.addFieldDef(def("Type", FieldType::String, 30));
    HEquipQ.setParamSource(&HCompanyQDS);
    HCostQ.setSql({QStringLiteral("SELECT * "), QStringLiteral("FROM 'HCost.DB'  HCost"),
                   QStringLiteral("WHERE HCost.ID=:ID "), QStringLiteral("ORDER BY Model  Desc")});
    HCostQ.addFieldDef(def("ID", FieldType::Integer));
    HCostQ.addFieldDef(def("Item", FieldType::Integer));
    HCostQ.addFieldDef(def("Model", FieldType::String, 30));
    HCostQ.addFieldDef(def("Specifications", FieldType::String, 30));
    HCostQ.addFieldDef(def("DateOfCost", FieldType::Date));
    HCostQ.addFieldDef(def("HourlyCost", FieldType::Currency));
    HCostQ.setParamSource(&HEquipQDS);
    for (Query* q : {&HCompanyQ, &HEquipQ, &HCostQ})
        q->setRequestLive(true);

    // Column titles where a list shows these fields.
    const std::pair<DataSet*, const char*> titles[] = {
        {&HCostT, "DateOfCost"}, {&HCostQ, "DateOfCost"}, {&LaborCostT, "DateOfCost"}};
    for (const auto& [ds, field] : titles)
        ds->fieldByName(QLatin1String(field)).displayLabel = QStringLiteral("Date of Cost");
    HCostT.fieldByName(QStringLiteral("HourlyCost")).displayLabel = QStringLiteral("Hourly Cost");
    HCostQ.fieldByName(QStringLiteral("HourlyCost")).displayLabel = QStringLiteral("Hourly Cost");
    LaborCostT.fieldByName(QStringLiteral("HourlyCosst")).displayLabel = QStringLiteral("Hourly Cost");
    LaborRegionT.fieldByName(QStringLiteral("RegionName")).displayLabel = QStringLiteral("Region Name");
    LaborSubRegionT.fieldByName(QStringLiteral("SubRegionName")).displayLabel = QStringLiteral("Sub-Region Name");
    for (Table* fees : {&Graph2T, &Graph3T})
        fees->fieldByName(QStringLiteral("DirectCost")).displayLabel = QStringLiteral("Direct Cost");
    EffFactorT.fieldByName(QStringLiteral("Desc")).displayLabel = QStringLiteral("Description");

    // Money shows as money wherever a view's fields are listed.
    for (DataSet* ds : allDataSets())
        for (Field* f : ds->fields())
            if (f->dataType() == FieldType::Currency && f->displayFormat.isEmpty())
                f->displayFormat = QStringLiteral("$#,##0.00");
}

QList<DataModule::OpeningStep> DataModule::openingSteps()
{
    return {{QStringLiteral("Event Log"), &EventLogT},
            {QStringLiteral("Mine Table"), &MineT},
            {QStringLiteral("Project Table"), &ProjectT},
            {QStringLiteral("Demo Table"), &DemolT},
            {QStringLiteral("Material Table"), &MatT},
            {QStringLiteral("Reveg Table"), &RevegT},
            {QStringLiteral("Other Table"), &OtherT},
            {QStringLiteral("Equip Demo Table"), &EquipDemoT},
            {QStringLiteral("Equip Mat Table"), &EquipMatT},
            {QStringLiteral("Equip Reveg Table"), &EquipRevegT},
            {QStringLiteral("Graph 1 Table"), &Graph1T},
            {QStringLiteral("Graph 2 Table"), &Graph2T},
            {QStringLiteral("Graph 3 Table"), &Graph3T},
            {QStringLiteral("Cross Sec Table"), &CrossSecT},
            {QStringLiteral("Volume Table"), &VolT},
            {QStringLiteral("Equip Stuff 1 Table"), &EquipStuff1T},
            {QStringLiteral("Equip Stuff Table"), &EquipStuffT},
            {QStringLiteral("Labor Region Table"), &LaborRegionT},
            {QStringLiteral("Labor Sub Regioin Table"), &LaborSubRegionT},
            {QStringLiteral("Labor Cost Table"), &LaborCostT},
            {QStringLiteral("Eff Factor Table"), &EffFactorT},
            {QStringLiteral("Equip Type Table"), &EquipTypeT}};
}

QString DataModule::closedTable(const QList<DataSet*>& views)
{
    for (const OpeningStep& step : openingSteps())
        if (views.contains(step.view) && !step.view->active())
            return step.label;
    for (DataSet* v : views)
        if (!v->active())
            return v->name();
    return {};
}

QList<DataSet*> DataModule::allDataSets()
{
    return {&EventLogT, &MineT, &ProjectT, &DemolT, &MatT, &RevegT, &OtherT, &EquipDemoT, &EquipMatT,
            &EquipRevegT, &Graph1T, &Graph2T, &Graph3T, &CrossSecT, &VolT, &EquipStuff1T, &EquipStuffT,
            &LaborRegionT, &LaborSubRegionT, &LaborCostT, &EffFactorT, &EquipTypeT, &HCompanyT, &HEquipT,
            &HCostT, &HCompanyQ, &HEquipQ, &HCostQ};
}

DataSet* DataModule::dataSetByName(const QString& name)
{
    for (DataSet* ds : allDataSets())
        if (ds->name() == name)
            return ds;
    return nullptr;
}

DataSource* DataModule::dataSourceByName(const QString& name)
{
    for (DataSource* s : {&MineDS, &ProjectDS, &DemolDS, &MatDS, &RevegDS, &OtherDS, &CrossSecDS, &VolDS,
                          &EquipDemoDS, &EquipMatDS, &EquipRevegDS, &HCompanyDS, &HEquipDS, &HCostDS,
                          &HCompanyQDS, &HEquipQDS, &HCostQDS, &LaborRegionDS, &LaborSubRegionDS, &LaborCostDS,
                          &EffFactorDS, &EventLogDS})
        if (s->objectName() == name)
            return s;
    return nullptr;
}
