#include "MineImport.h"

#include "CopyDataModule.h"
#include "CostHandbook.h"
#include "DataModule.h"
#include "EDatabaseError.h"
#include "MineCopy.h"
#include "Money.h"
#include "Query.h"
#include "Table.h"
#include "TableFormats.h"
#include "TableRules.h"
#include "WorksheetKinds.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <exception>

namespace {

const QString kAlias = QStringLiteral("TarvaneImport");

QString dateText(const QDate& d)
{
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("no date");
}

QString priceText(const HandbookPrice& p)
{
    return QStringLiteral("%1 (%2, %3)").arg(formatMoney(p.hourlyCost).trimmed(), dateText(p.dateOfCost), p.specifications);
}

QString rateText(const LaborRate& r)
{
    return QStringLiteral("%1 (%2)").arg(formatMoney(r.hourlyCost).trimmed(), dateText(r.dateOfCost));
}

QString feesText(const QList<FeeRow>& rows)
{
    QStringList parts;
    for (const FeeRow& r : rows)
        parts << QStringLiteral("%1: %2 %").arg(formatMoney(r.directCost).trimmed(), QString::number(r.percent));
    return parts.join(QStringLiteral("; "));
}

QString feeTableName(const QString& table)
{
    if (table == QLatin1String("GRAPH1.DB"))
        return QStringLiteral("Engineering redesign fee table");
    if (table == QLatin1String("GRAPH2.DB"))
        return QStringLiteral("Contractor profit and overhead table");
    return QStringLiteral("Project management fee table");
}

struct Machine {
    QString name;
    double laborCost = 0;
};

// The machines of a mine's worksheets, in worksheet order.
QList<Machine> machinesOf(Database& db, int mineId)
{
    QStringList selects;
    for (const WorksheetKind& k : worksheetKinds())
        if (k.hasMachines())
            selects << QStringLiteral("SELECT e.EquipmentName, e.LaborCost, e.PlanID FROM \"Equipment.DB\" e "
                                      "JOIN %1 s ON e.CostType = '%2' AND e.SheetID = s.SheetID "
                                      "JOIN \"PROJECT.DB\" p ON p.PrjID = s.PrjID WHERE p.MineID = :ID")
                           .arg(quoteIdent(QLatin1String(k.tableName)), QString(k.letter));
    Query q(db, QStringLiteral("ImportMachines"));
    q.setSql({selects.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(" ORDER BY 3")});
    q.setParam(QStringLiteral("ID"), mineId);
    q.open();
    QList<Machine> machines;
    for (q.first(); !q.eof(); q.next())
        machines << Machine{q.fields().at(0)->asString(), q.fields().at(1)->asFloat()};
    q.close();
    return machines;
}

// The record of `t` a look-up names, made when missing; its key.
int keyOf(Table& t, const QStringList& fields, const QVariantList& values, const char* key)
{
    if (!t.locate(fields, values)) {
        t.insert();
        for (int i = 0; i < fields.size(); ++i)
            t.fieldByName(fields[i]).setValue(values[i]);
        t.post();
    }
    return t.fieldByName(key).asInteger();
}

// Stands `t` on the newest of the rows `matches` accepts (the row the handbook prices by); false when none.
bool toNewest(Table& t, const std::function<bool(Table&)>& matches)
{
    std::optional<Bookmark> best;
    QDate bestDate;
    for (t.first(); !t.eof(); t.next()) {
        if (!matches(t))
            continue;
        const QDate d = t.fieldByName("DateOfCost").asDate();
        if (!best || !bestDate.isValid() || (d.isValid() && d >= bestDate)) {
            best = t.bookmark();
            bestDate = d;
        }
    }
    if (!best)
        return false;
    t.gotoBookmark(*best);
    return true;
}

void bringInPrice(Database& db, const HandbookPrice& p)
{
    Table makers(db, QStringLiteral("ImportMakers"), QStringLiteral("HCOMPANY.DB"));
    Table kinds(db, QStringLiteral("ImportKinds"), QStringLiteral("HEQUIPT.DB"));
    Table models(db, QStringLiteral("ImportModels"), QStringLiteral("HCOST.DB"));
    makers.open();
    kinds.open();
    models.open();
    const int coid = keyOf(makers, {QStringLiteral("Name")}, {p.maker}, "COID");
    const int typeId = keyOf(kinds, {QStringLiteral("COID"), QStringLiteral("Type")}, {coid, p.kind}, "ID");
    const bool held = toNewest(models, [&](Table& t) {
        return t.fieldByName("ID").asInteger() == typeId && t.fieldByName("Model").asString() == p.model;
    });
    if (held) {
        models.edit();
    } else {
        models.insert();
        models.fieldByName("ID").setAsInteger(typeId);
        models.fieldByName("Model").setAsString(p.model);
    }
    models.fieldByName("Specifications").setAsString(p.specifications);
    models.fieldByName("DateOfCost").setValue(p.dateOfCost.isValid() ? QVariant(p.dateOfCost) : QVariant());
    models.fieldByName("HourlyCost").setAsFloat(p.hourlyCost);
    models.post();
}

void bringInRate(Database& db, const LaborRate& r)
{
    Table regions(db, QStringLiteral("ImportRegions"), QStringLiteral("LaborRegion.db"));
    Table subRegions(db, QStringLiteral("ImportSubRegions"), QStringLiteral("LaborSubRegion.DB"));
    Table laborers(db, QStringLiteral("ImportLaborers"), QStringLiteral("LaborCost.db"));
    regions.open();
    subRegions.open();
    laborers.open();
    const int region = keyOf(regions, {QStringLiteral("RegionName")}, {r.region}, "RegionID");
    const int sub = keyOf(subRegions, {QStringLiteral("RegionID"), QStringLiteral("SubRegionName")}, {region, r.subRegion},
                          "SubRegionID");
    const bool held = toNewest(laborers, [&](Table& t) {
        return t.fieldByName("SubRegionID").asInteger() == sub && t.fieldByName("Laborer").asString() == r.laborer;
    });
    if (held) {
        laborers.edit();
    } else {
        laborers.insert();
        laborers.fieldByName("SubRegionID").setAsInteger(sub);
        laborers.fieldByName("Laborer").setAsString(r.laborer);
    }
    laborers.fieldByName("DateOfCost").setValue(r.dateOfCost.isValid() ? QVariant(r.dateOfCost) : QVariant());
    laborers.fieldByName("HourlyCosst").setAsFloat(r.hourlyCost);
    laborers.post();
}

void bringInFees(Database& db, const QString& table, const QList<FeeRow>& rows)
{
    Table fees(db, QStringLiteral("ImportFees"), table);
    fees.open();
    while (!fees.isEmpty()) {
        fees.first();
        fees.remove();
    }
    const QString percent = table == QLatin1String("GRAPH1.DB") ? QStringLiteral("PerCent") : QStringLiteral("Percent");
    for (const FeeRow& r : rows) {
        fees.insert();
        fees.fieldByName(QStringLiteral("DirectCost")).setAsFloat(r.directCost);
        fees.fieldByName(percent).setAsFloat(r.percent);
        fees.post();
    }
}

// Every stored field of a row but its key and the link to its master, which `link` sets.
void copyRow(Table& from, Table& to, const QString& linkField, const QVariant& link)
{
    to.insert();
    for (Field* f : from.fields()) {
        if (f->isCalculated() || f->dataType() == FieldType::AutoInc || f->fieldName() == linkField)
            continue;
        to.fieldByName(f->fieldName()).setValue(copiedValue(*f));
    }
    to.fieldByName(linkField).setValue(link);
    to.post();
}

// The volume sets (cross sections and their stations) of each copied project.
int copyVolumeSets(Database& source, Database& here, const QList<std::pair<int, int>>& projects)
{
    Table sectionsFrom(source, QStringLiteral("ImportSectionsFrom"), QStringLiteral("CrossSections.db"));
    Table stationsFrom(source, QStringLiteral("ImportStationsFrom"), QStringLiteral("Volume.db"));
    Table sectionsTo(here, QStringLiteral("ImportSectionsTo"), QStringLiteral("CrossSections.db"));
    Table stationsTo(here, QStringLiteral("ImportStationsTo"), QStringLiteral("Volume.db"));
    for (Table* t : {&sectionsFrom, &stationsFrom, &sectionsTo, &stationsTo}) {
        t->setFiltered(true);
        t->open();
    }
    int copied = 0;
    for (const auto& [from, to] : projects) {
        sectionsFrom.setFilter(QStringLiteral("(PrjID = %1)").arg(from));
        // Read first: each insert would make the source seek its place again.
        QList<int> sections;
        for (sectionsFrom.first(); !sectionsFrom.eof(); sectionsFrom.next())
            sections << sectionsFrom.fieldByName("CrossID").asInteger();
        for (int section : sections) {
            sectionsFrom.locate({QStringLiteral("CrossID")}, {section});
            copyRow(sectionsFrom, sectionsTo, QStringLiteral("PrjID"), to);
            const int newSection = sectionsTo.fieldByName("CrossID").asInteger();
            stationsFrom.setFilter(QStringLiteral("(CrossID = %1)").arg(section));
            for (stationsFrom.first(); !stationsFrom.eof(); stationsFrom.next())
                copyRow(stationsFrom, stationsTo, QStringLiteral("CrossID"), newSection);
            ++copied;
        }
    }
    return copied;
}

}  // namespace

QString differenceName(ReferenceDifference::Kind kind)
{
    return kind == ReferenceDifference::Kind::Missing ? QStringLiteral("missing here") : QStringLiteral("priced differently");
}

SourceDataFile::SourceDataFile(const QString& directory, Database& here) : SourceDataFile(directory, &here) {}

SourceDataFile::SourceDataFile(const QString& directory, Database* here)
{
    const QList<TableFormat>& formats = here ? here->formats() : tarvaneTableFormats();
    const QString dir = QDir(directory).absolutePath();
    if (!QFileInfo(dir).isDir())
        throw EDatabaseError(QStringLiteral("The folder %1 does not exist").arg(QDir::toNativeSeparators(dir)));
    const QString file = QDir(dir).filePath(QLatin1String(Database::kDataFileName));
    if (!QFileInfo::exists(file))
        throw EDatabaseError(QStringLiteral("%1 holds no Tarvane data file (%2)")
                                 .arg(QDir::toNativeSeparators(dir), QLatin1String(Database::kDataFileName)));
    const QString ours = here ? QFileInfo(here->filePath()).canonicalFilePath() : QString();
    if (!ours.isEmpty() && QFileInfo(file).canonicalFilePath() == ours)
        throw EDatabaseError(QStringLiteral("%1 is the data file open here: bring an estimate in from another one")
                                 .arg(QDir::toNativeSeparators(file)));
    session_.addAlias(kAlias, dir);
    session_.addPassword(QString::fromLatin1(kTablePassword));
    session_.setActive(true);
    for (const TableFormat& f : formats)
        db_.addFormat(f);
    db_.setAliasName(kAlias);
    db_.setOpenForReading(true);
    db_.connect();
    int format = 0;
    try {
        format = db_.fileFormat();
    } catch (const EDatabaseError& e) {
        if (e.message().contains(QLatin1String("database is locked")))
            throw EDatabaseError(QStringLiteral("%1 is locked by another program that is writing it; try again when "
                                                "that program has closed it")
                                     .arg(QDir::toNativeSeparators(file)));
        throw EDatabaseError(QStringLiteral("%1 cannot be read as a Tarvane data file: %2")
                                 .arg(QDir::toNativeSeparators(file), e.message()));
    }
    if (format > Database::kFileFormat)
        throw EDatabaseError(QStringLiteral("%1 was made by a newer version of Tarvane (data file format %2; this "
                                            "program reads format %3 and older)")
                                 .arg(QDir::toNativeSeparators(file))
                                 .arg(format)
                                 .arg(Database::kFileFormat));
    const QString fault = db_.firstFault();
    if (!fault.isEmpty())
        throw EDatabaseError(QStringLiteral("%1 is damaged: %2").arg(QDir::toNativeSeparators(file), fault));
    for (const TableFormat& f : formats) {
        try {
            db_.checkTable(f);
        } catch (const EDatabaseError& e) {
            throw EDatabaseError(QStringLiteral("%1 is not a usable Tarvane data file: %2")
                                     .arg(QDir::toNativeSeparators(file), e.message()));
        }
    }
}

QList<SourceDataFile::Mine> SourceDataFile::mines()
{
    Query q(db_, QStringLiteral("ImportMines"));
    q.setSql({QStringLiteral("SELECT MineID, Applicant, PemitID FROM \"MINE.DB\" ORDER BY MineID")});
    q.open();
    QList<Mine> all;
    for (q.first(); !q.eof(); q.next())
        all << Mine{q.fields().at(0)->asInteger(), q.fields().at(1)->asString(), q.fields().at(2)->asString()};
    return all;
}

SourceDataFile::Mine SourceDataFile::mine(int id)
{
    for (const Mine& m : mines())
        if (m.id == id)
            return m;
    throw EDatabaseError(QStringLiteral("%1 holds no mine %2").arg(QDir::toNativeSeparators(path())).arg(id));
}

QList<ReferenceDifference> referenceDifferences(SourceDataFile& source, Database& here, int mineId)
{
    source.mine(mineId);
    const CostHandbook theirs(source.database()), ours(here);
    const QList<Machine> machines = machinesOf(source.database(), mineId);
    QList<ReferenceDifference> found;
    QSet<QString> seen;
    for (const Machine& m : machines) {
        const HandbookPrice* there = theirs.price(m.name);
        if (!there || seen.contains(m.name))
            continue;  // a machine with no equipment chosen names no model
        seen.insert(m.name);
        const HandbookPrice* mine = ours.price(m.name);
        if (!mine)
            found << ReferenceDifference{ReferenceDifference::Kind::Missing, QStringLiteral("HCOST.DB"), m.name, QString(),
                                         priceText(*there)};
        else if (!sameMoney(mine->hourlyCost, there->hourlyCost))
            found << ReferenceDifference{ReferenceDifference::Kind::Priced, QStringLiteral("HCOST.DB"), m.name,
                                         priceText(*mine), priceText(*there)};
    }
    for (const Machine& m : machines) {
        for (const LaborRate* there : theirs.categoriesOfRate(m.laborCost)) {
            if (seen.contains(there->category()))
                continue;
            seen.insert(there->category());
            const LaborRate* mine = ours.currentRate(there->category());
            if (!mine)
                found << ReferenceDifference{ReferenceDifference::Kind::Missing, QStringLiteral("LaborCost.db"),
                                             there->category(), QString(), rateText(*there)};
            else if (!sameMoney(mine->hourlyCost, there->hourlyCost))
                found << ReferenceDifference{ReferenceDifference::Kind::Priced, QStringLiteral("LaborCost.db"),
                                             there->category(), rateText(*mine), rateText(*there)};
        }
    }
    for (const QString& table : CostHandbook::feeTables()) {
        const QList<FeeRow> mine = ours.fees(table), there = theirs.fees(table);
        if (mine != there && !there.isEmpty())
            found << ReferenceDifference{mine.isEmpty() ? ReferenceDifference::Kind::Missing : ReferenceDifference::Kind::Priced,
                                         table, feeTableName(table), feesText(mine), feesText(there)};
    }
    return found;
}

bool importMine(DataModule& dm, TableRules& rules, Dialogs& dialogs, SourceDataFile& source, int mineId,
                ReferenceChoice choice, ImportedMine& result, const std::function<void(int)>& stepBy)
{
    Database& here = dm.TarvaneDatabase;
    const SourceDataFile::Mine mine = source.mine(mineId);
    result = ImportedMine{};
    result.differences = referenceDifferences(source, here, mineId);
    Database::Transaction tx(here);
    try {
        if (choice == ReferenceChoice::Bring && !result.differences.isEmpty()) {
            const CostHandbook theirs(source.database());
            for (const ReferenceDifference& d : result.differences) {
                if (d.table == QLatin1String("HCOST.DB"))
                    bringInPrice(here, *theirs.price(d.what));
                else if (d.table == QLatin1String("LaborCost.db"))
                    bringInRate(here, *theirs.currentRate(d.what));
                else
                    bringInFees(here, d.table, theirs.fees(d.table));
            }
            result.referenceBroughtIn = true;
        }
        CopyDataModule copyData;
        copyData.setDatabases(source.database(), here);
        MineCopy copy(copyData, dialogs);
        copy.stepBy = stepBy;
        if (!runMineCopy(dm, copyData, copy, mineId)) {
            tx.rollback();
            return false;
        }
        result.mineId = copy.newMineId();
        result.copyLog = copy.log();
        result.volumeSets = copyVolumeSets(source.database(), here, copy.projectKeys());
        copyData.closeViews();
        rules.logEventText(QStringLiteral("Import"), mine.applicant);
        rules.logEventText(QStringLiteral("Imported From"), QDir::toNativeSeparators(source.path()));
        tx.commit();
    } catch (...) {
        tx.rollback();
        throw;
    }
    return true;
}
