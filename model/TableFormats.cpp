#include "TableFormats.h"

namespace {

using T = FieldType;

FieldDef str(const char* n, int size, bool req = false) { return {QString::fromLatin1(n), T::String, size, req, {}}; }
FieldDef memo(const char* n, int size, bool req = false) { return {QString::fromLatin1(n), T::Memo, size, req, {}}; }
FieldDef integer(const char* n, bool req = false) { return {QString::fromLatin1(n), T::Integer, 0, req, {}}; }
FieldDef autoinc(const char* n) { return {QString::fromLatin1(n), T::AutoInc, 0, false, {}}; }
FieldDef flt(const char* n, bool req = false) { return {QString::fromLatin1(n), T::Float, 0, req, {}}; }
FieldDef money(const char* n, bool req = false) { return {QString::fromLatin1(n), T::Currency, 0, req, {}}; }
FieldDef date(const char* n, bool req = false) { return {QString::fromLatin1(n), T::Date, 0, req, {}}; }
FieldDef datetime(const char* n) { return {QString::fromLatin1(n), T::DateTime, 0, false, {}}; }
FieldDef boolean(const char* n) { return {QString::fromLatin1(n), T::Boolean, 0, false, {}}; }

FieldDef withDefault(FieldDef f, QVariant v)
{
    f.defaultValue = std::move(v);
    return f;
}

IndexDef index(const char* name, QStringList fields, bool nocase = false)
{
    return {QString::fromLatin1(name), std::move(fields), nocase};
}

TableFormat mine()
{
    TableFormat t;
    t.fileName = QStringLiteral("MINE.DB");
    t.fields = {autoinc("MineID"), str("Applicant", 65, true), str("PemitID", 35, true), date("Date", true),
                str("TypeOperation", 25), str("Location", 45), str("PreparedBy", 50, true), flt("MobDemobPercent"),
                flt("ContinPercent"), flt("EngPercent"), flt("ProfitPercent"), flt("ManPercent"), memo("Memo", 240),
                flt("ENRIndex", true), date("ENRIndexDate", true),
                // A new mine belongs to the user's own data set.
                withDefault(flt("RevegYears", true), 5.0), flt("ENRYears"), integer("AutoFeeCal"),
                flt("MobDemobPercentI"), flt("ContinPercentI"), flt("EngPercentI"), flt("ProfitPercentI"),
                flt("ManPercentI"), flt("MobDemobPercentII"), flt("ContinPercentII"), flt("EngPercentII"),
                flt("ProfitPercentII"), flt("ManPercentII"), flt("ENRIndex5"), date("ENRIndexDate5"), flt("ENRIndexI"),
                date("ENRIndexDateI"), flt("ENRYearsI"), flt("ENRIndexII"), date("ENRIndexDateII"), flt("ENRYearsII"),
                money("Mob"), boolean("MobOver"), money("Contin"), boolean("ContinOver"), money("Eng"),
                boolean("EngOver"), money("Cont"), boolean("ContOver"), money("Manage"), boolean("ManageOver"),
                money("Mob1"), boolean("MobOver1"), money("Contin1"), boolean("ContinOver1"), money("Eng1"),
                boolean("EngOver1"), money("Cont1"), boolean("ContOver1"), money("Manage1"), boolean("ManageOver1"),
                money("Mob2"), boolean("MobOver2"), money("Contin2"), boolean("ContinOver2"), money("Eng2"),
                boolean("EngOver2"), money("Manage2"), boolean("MangeOver2"), money("Cont2"), boolean("ContOver2")};
    t.indexes = {index("Applicant", {QStringLiteral("Applicant")}, true),
                 index("PemitID", {QStringLiteral("PemitID")}, true),
                 index("Location", {QStringLiteral("Location")}, true)};
    return t;
}

TableFormat project()
{
    TableFormat t;
    t.fileName = QStringLiteral("PROJECT.DB");
    t.fields = {integer("MineID", true), autoinc("PrjID"), str("ProjectName", 45, true), date("Date", true),
                memo("Memo", 240)};
    t.indexes = {index("MineID", {QStringLiteral("MineID")})};
    return t;
}

TableFormat demol()
{
    TableFormat t;
    t.fileName = QStringLiteral("DEMOL.DB");
    t.fields = {integer("PrjID", true), str("CostType", 1), autoinc("SheetID"), flt("Volume"), money("UnitCost"),
                memo("Memo", 240), str("Item", 25, true), str("TypeMaterial", 40, true)};
    t.indexes = {index("PrjID", {QStringLiteral("PrjID")})};
    return t;
}

TableFormat material()
{
    TableFormat t;
    t.fileName = QStringLiteral("MATERIAL.DB");
    t.fields = {integer("PrjID"), str("CostType", 1), autoinc("SheetID"), str("Description", 50, true),
                str("Orgin", 50), str("Destination", 50), flt("HaulDist"), flt("Grade"), memo("Memo", 240)};
    t.indexes = {index("PrjID", {QStringLiteral("PrjID")})};
    return t;
}

TableFormat reveg()
{
    TableFormat t;
    t.fileName = QStringLiteral("REVEG.DB");
    t.fields = {integer("PrjID"), str("CostType", 1), autoinc("SheetID"), str("Name", 25, true), flt("AcresSeed"),
                money("CostSeedBed"), money("CostSeed"), flt("AcresPlant"), money("CostPlant"), memo("Memo", 100),
                memo("MemoOther", 100), money("OtherCost"), money("CostHerb"), flt("RAcresSeed"),
                money("RCostSeedBed"), money("RCostSeed"), flt("SeedFail"), flt("RAcresPlant"), money("RCostPlant"),
                money("RCostHerb"), flt("PlantFail")};
    t.indexes = {index("PrjID", {QStringLiteral("PrjID")})};
    return t;
}

TableFormat otherrec()
{
    TableFormat t;
    t.fileName = QStringLiteral("OTHERREC.DB");
    t.fields = {integer("PrjID"), str("CostType", 1), autoinc("SheetID"), str("Name", 35), memo("Description", 240, true),
                memo("Assumptions", 240, true), memo("CostCal", 240, true), flt("TotalCost")};
    t.indexes = {index("PrjID", {QStringLiteral("PrjID")})};
    return t;
}

TableFormat crossSections()
{
    TableFormat t;
    t.fileName = QStringLiteral("CrossSections.db");
    t.fields = {integer("PrjID"), autoinc("CrossID"), str("VolumeName", 50)};
    t.indexes = {index("PrjID", {QStringLiteral("PrjID")})};
    return t;
}

TableFormat volume()
{
    TableFormat t;
    t.fileName = QStringLiteral("Volume.db");
    t.fields = {integer("CrossID"), str("CrossSectionName", 50), flt("Distance"), flt("EndArea"),
                flt("AdjustmentFactor")};
    t.indexes = {index("CrossID", {QStringLiteral("CrossID")})};
    return t;
}

TableFormat equipment()
{
    TableFormat t;
    t.fileName = QStringLiteral("Equipment.DB");
    t.fields = {str("CostType", 1), integer("SheetID"), autoinc("PlanID"), integer("EquipCode"), integer("EquipCode2"),
                money("OperatCost"), money("LaborCost"), str("EquipmentName", 75), str("Descriptions", 75),
                flt("HaulDistance"), flt("Grade"), boolean("UserEnteredHrs"), flt("UserHrs"), str("Name", 75),
                memo("Act", 240), memo("Char", 240), memo("Description", 240), flt("OpFact"), flt("MatFact"),
                flt("GradeFact"), flt("WeiFact"), flt("ProdFact"), flt("Visibil"), flt("Elevation"), flt("HourProd"),
                flt("Volume"), flt("Speed"), flt("Blade"), flt("Acres"), flt("EffFact"), flt("CutL"), flt("Turn"),
                flt("CutS"), flt("ToolPenetration"), flt("HaulT"), flt("ReturnT"), flt("LoadT"), flt("DumpT"),
                flt("CycleT"), flt("TruckCap"), integer("LoadExcavRG"),
                // A new row is linked to nothing.
                withDefault(integer("AddedEquipID"), -1), flt("AddHours"), flt("BuckCap"), flt("BuckFact"),
                flt("FillFact"), flt("TripT"), flt("SpreadT"), flt("AdjustedLoad"), integer("DozerPush"),
                str("Reference", 50), flt("HrsReq"), flt("HrsReg"), flt("PusherFactor"), integer("PusherItemIndex"),
                str("ContourNotScar", 1), str("Route", 25), flt("NumTrucks"), boolean("OverrideTruck")};
    t.indexes = {index("CostTypeSheetID", {QStringLiteral("CostType"), QStringLiteral("SheetID")}),
                 index("PlanIDIndex", {QStringLiteral("PlanID")})};
    return t;
}

TableFormat equipKinds()
{
    TableFormat t;
    t.fileName = QStringLiteral("EQUIP.DB");
    t.fields = {integer("EquipCode"), str("EquipmentName", 30)};
    t.keyFields = {QStringLiteral("EquipCode")};
    return t;
}

TableFormat effFactor()
{
    TableFormat t;
    t.fileName = QStringLiteral("EffFactor.DB");
    t.fields = {integer("ID"), str("Desc", 45), flt("Factor")};
    t.keyFields = {QStringLiteral("ID")};
    return t;
}

TableFormat graph(const char* file, const char* percentName)
{
    TableFormat t;
    t.fileName = QString::fromLatin1(file);
    t.fields = {money("DirectCost", true), flt(percentName, true)};
    t.keyFields = {QStringLiteral("DirectCost")};
    return t;
}

TableFormat hcompany()
{
    TableFormat t;
    t.fileName = QStringLiteral("HCOMPANY.DB");
    t.fields = {autoinc("COID"), str("Name", 30, true)};
    t.password = QString::fromLatin1(kTablePassword);
    return t;
}

TableFormat hequipt()
{
    TableFormat t;
    t.fileName = QStringLiteral("HEQUIPT.DB");
    t.fields = {integer("COID"), autoinc("ID"), str("Type", 30)};
    t.indexes = {index("COID", {QStringLiteral("COID")})};
    t.password = QString::fromLatin1(kTablePassword);
    return t;
}

TableFormat hcost()
{
    TableFormat t;
    t.fileName = QStringLiteral("HCOST.DB");
    t.fields = {integer("ID"), autoinc("Item"), str("Model", 30, true), str("Specifications", 30), date("DateOfCost"),
                money("HourlyCost")};
    t.indexes = {index("ID", {QStringLiteral("ID")})};
    t.password = QString::fromLatin1(kTablePassword);
    return t;
}

TableFormat laborRegion()
{
    TableFormat t;
    t.fileName = QStringLiteral("LaborRegion.db");
    t.fields = {autoinc("RegionID"), str("RegionName", 45, true)};
    t.password = QString::fromLatin1(kTablePassword);
    return t;
}

TableFormat laborSubRegion()
{
    TableFormat t;
    t.fileName = QStringLiteral("LaborSubRegion.DB");
    t.fields = {integer("RegionID"), autoinc("SubRegionID"), str("SubRegionName", 45, true)};
    t.indexes = {index("RegionID", {QStringLiteral("RegionID")})};
    t.password = QString::fromLatin1(kTablePassword);
    return t;
}

TableFormat laborCost()
{
    TableFormat t;
    t.fileName = QStringLiteral("LaborCost.db");
    t.fields = {integer("SubRegionID"), autoinc("LaborID"), str("Laborer", 45, true), date("DateOfCost"),
                money("HourlyCosst", true)};
    t.indexes = {index("SubRegionID", {QStringLiteral("SubRegionID")})};
    t.password = QString::fromLatin1(kTablePassword);
    return t;
}

TableFormat eventLog()
{
    TableFormat t;
    t.fileName = QStringLiteral("EventLog.db");
    t.fields = {autoinc("EventID"), date("Date"), str("Event", 15), str("MineName", 65), datetime("Time")};
    return t;
}

}  // namespace

const QList<TableFormat>& tarvaneTableFormats()
{
    static const QList<TableFormat> formats = {
        mine(), project(), demol(), material(), reveg(), otherrec(), crossSections(), volume(), equipment(),
        equipKinds(), effFactor(), graph("GRAPH1.DB", "PerCent"), graph("GRAPH2.DB", "Percent"),
        graph("GRAPH3.DB", "Percent"), hcompany(), hequipt(), hcost(), laborRegion(), laborSubRegion(), laborCost(),
        eventLog()};
    return formats;
}
