#include "CliReview.h"

#include "CliOutput.h"
#include "Computation.h"
#include "EDatabaseError.h"
#include "MineComparison.h"
#include "MineImport.h"
#include "MineReprice.h"
#include "ReviewReports.h"
#include "Money.h"
#include "DataModule.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString dateText(const QDate& d)
{
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("no date");
}

QString moneyText(double v)
{
    return formatMoney(v).trimmed();
}

}  // namespace

QString comparisonJson(const MineComparison& c, int mineId, int withId)
{
    QJsonArray items;
    for (int i = 1; i <= 34; ++i) {
        const double a = c.before.amount(i), b = c.after.amount(i);
        items.append(QJsonObject{{QStringLiteral("item"), i},
                                 {QStringLiteral("label"), bondItemLabel(i)},
                                 {QStringLiteral("a"), a},
                                 {QStringLiteral("b"), b},
                                 {QStringLiteral("difference"), b - a},
                                 {QStringLiteral("percent"), a == 0.0 ? QJsonValue() : QJsonValue((b - a) / a * 100.0)},
                                 {QStringLiteral("differs"), c.itemDiffers(i)}});
    }
    QJsonArray records;
    for (const RecordDifference& d : c.records) {
        QJsonArray fields;
        for (const FieldChange& f : d.fields)
            fields.append(QJsonObject{{QStringLiteral("field"), f.field},
                                      {QStringLiteral("a"), QJsonValue::fromVariant(f.before)},
                                      {QStringLiteral("b"), QJsonValue::fromVariant(f.after)}});
        QJsonObject o{{QStringLiteral("change"), changeName(d.change)},
                      {QStringLiteral("what"), d.what},
                      {QStringLiteral("table"), d.table},
                      {QStringLiteral("key_a"), d.keyBefore ? QJsonValue(d.keyBefore) : QJsonValue()},
                      {QStringLiteral("key_b"), d.keyAfter ? QJsonValue(d.keyAfter) : QJsonValue()},
                      {QStringLiteral("fields"), fields}};
        if (d.hasCost) {
            o.insert(QStringLiteral("cost_a"), d.change == RecordDifference::Change::Added ? QJsonValue() : QJsonValue(d.costBefore));
            o.insert(QStringLiteral("cost_b"), d.change == RecordDifference::Change::Removed ? QJsonValue() : QJsonValue(d.costAfter));
        }
        records.append(o);
    }
    QJsonObject o{{QStringLiteral("mine"), mineId},
                  {QStringLiteral("with"), withId},
                  {QStringLiteral("equal"), c.equal()},
                  {QStringLiteral("items"), items},
                  {QStringLiteral("records"), records}};
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)).chopped(1) +
           incompleteMember(c.incomplete) + QStringLiteral("}");
}

void printComparison(const MineComparison& c, int mineId, int withId)
{
    out() << "Mine " << mineId << ": " << c.mineName << Qt::endl << "Mine " << withId << ": " << c.withName << Qt::endl;
    out() << QStringLiteral("%1  %2 %3 %4 %5 %6")
                 .arg(QStringLiteral("Item"), -4)
                 .arg(QStringLiteral("Description"), -58)
                 .arg(QStringLiteral("Mine %1").arg(mineId), 17)
                 .arg(QStringLiteral("Mine %1").arg(withId), 17)
                 .arg(QStringLiteral("Difference"), 17)
                 .arg(QStringLiteral("Percent"), 9)
          << Qt::endl;
    int itemsDiffering = 0;
    for (int i = 1; i <= 34; ++i) {
        const double a = c.before.amount(i), b = c.after.amount(i);
        itemsDiffering += c.itemDiffers(i);
        const QString percent = comparisonPercent(a, b);
        out() << QStringLiteral("%1  %2 %3 %4 %5 %6")
                     .arg(i, 4)
                     .arg(bondItemLabel(i), -58)
                     .arg(c.before.amountText(i).trimmed(), 17)
                     .arg(c.after.amountText(i).trimmed(), 17)
                     .arg(formatMoney(b - a).trimmed(), 17)
                     .arg(percent, 9)
              << Qt::endl;
    }
    for (const RecordDifference& d : c.records) {
        const QString parts = differenceText(d);
        out() << QStringLiteral("%1  %2").arg(changeName(d.change), -8).arg(d.what);
        if (!parts.isEmpty())
            out() << ": " << parts;
        out() << Qt::endl;
    }
    if (c.equal())
        out() << "The estimates are equal." << Qt::endl;
    else
        out() << "The estimates differ: " << itemsDiffering << " item(s), " << c.records.size() << " record(s)." << Qt::endl;
    printIncomplete(c.incomplete);
}

int runImportCommand(DataModule& dm, Computation& computation, Dialogs& dialogs, const QString& from, int mineId,
                     ReferenceChoice choice, bool dryRun, bool json)
{
    SourceDataFile source(from, dm.TarvaneDatabase);
    const SourceDataFile::Mine mine = source.mine(mineId);
    ImportedMine imported;
    if (dryRun)
        imported.differences = referenceDifferences(source, dm.TarvaneDatabase, mineId);
    else if (!importMine(dm, computation.rules, dialogs, source, mineId, choice, imported))
        return 1;
    const QString path = QDir::toNativeSeparators(source.path());
    if (json) {
        QJsonArray differences;
        for (const ReferenceDifference& d : imported.differences)
            differences.append(QJsonObject{{QStringLiteral("kind"), differenceName(d.kind)},
                                           {QStringLiteral("table"), d.table},
                                           {QStringLiteral("what"), d.what},
                                           {QStringLiteral("here"), d.here.isEmpty() ? QJsonValue() : QJsonValue(d.here)},
                                           {QStringLiteral("there"), d.there}});
        QJsonObject o{{QStringLiteral("from"), path},
                      {QStringLiteral("source_mine"), mineId},
                      {QStringLiteral("mine"), dryRun ? QJsonValue() : QJsonValue(imported.mineId)},
                      {QStringLiteral("reference"), choice == ReferenceChoice::Bring ? QStringLiteral("bring")
                                                                                       : QStringLiteral("keep")},
                      {QStringLiteral("differences"), differences},
                      {QStringLiteral("volume_sets"), imported.volumeSets},
                      {QStringLiteral("log"), QJsonArray::fromStringList(imported.copyLog)}};
        out() << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)) << Qt::endl;
        return 0;
    }
    out() << "Mine " << mineId << " of " << path << ": " << mine.applicant << Qt::endl;
    if (imported.differences.isEmpty()) {
        out() << "No reference row it names differs from this data file's." << Qt::endl;
    } else {
        out() << "Reference rows it names that this data file lacks or prices differently:" << Qt::endl;
        for (const ReferenceDifference& d : imported.differences) {
            out() << "  " << differenceName(d.kind).leftJustified(19) << d.table.leftJustified(13) << d.what << Qt::endl;
            if (!d.here.isEmpty())
                out() << "      here:  " << d.here << Qt::endl;
            out() << "      there: " << d.there << Qt::endl;
        }
    }
    if (dryRun) {
        out() << "Dry run: nothing was changed" << Qt::endl;
        return 0;
    }
    if (!imported.differences.isEmpty())
        out() << (imported.referenceBroughtIn ? QStringLiteral("Brought its reference rows in.")
                                              : QStringLiteral("Kept this data file's reference rows (--reference bring brings them in)."))
              << Qt::endl;
    out() << "Imported mine " << mineId << " as mine " << imported.mineId << " (" << imported.volumeSets
          << " volume set(s))" << Qt::endl;
    for (const QString& line : imported.copyLog)
        out() << line << Qt::endl;
    return 0;
}

int runRepriceCommand(DataModule& dm, Computation& computation, Dialogs& dialogs, int mineId, const CostIndex& index,
                      bool json)
{
    RepricedMine r;
    if (!repriceMine(dm, computation.rules, dialogs, mineId, index, r))
        return 1;
    const MineComparison c = compareMines(computation, mineId, r.mineId);
    int repriced = 0, kept = 0;
    for (const RepricedMachine& m : r.machines) {
        repriced += m.changed();
        kept += m.kept();
    }
    if (json) {
        QJsonArray machines;
        for (const RepricedMachine& m : r.machines) {
            QJsonObject o{{QStringLiteral("plan"), m.planId},
                          {QStringLiteral("what"), m.place},
                          {QStringLiteral("equipment_before"), m.equipmentBefore},
                          {QStringLiteral("equipment_after"), m.equipmentAfter},
                          {QStringLiteral("labor_before"), m.laborBefore},
                          {QStringLiteral("labor_after"), m.laborAfter}};
            if (!m.equipmentKept.isEmpty())
                o.insert(QStringLiteral("equipment_kept"), m.equipmentKept);
            if (!m.laborKept.isEmpty())
                o.insert(QStringLiteral("labor_kept"), m.laborKept);
            machines.append(o);
        }
        const QJsonObject o{{QStringLiteral("source"), r.source},
                            {QStringLiteral("mine"), r.mineId},
                            {QStringLiteral("index_before"), r.indexBefore},
                            {QStringLiteral("index_after"), r.indexAfter},
                            {QStringLiteral("index_date"), dateText(r.dateAfter)},
                            {QStringLiteral("machines"), machines}};
        out() << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)).chopped(1)
              << ", \"comparison\": " << comparisonJson(c, mineId, r.mineId) << "}" << Qt::endl;
        return doneStatus(c.incomplete);
    }
    out() << "Re-priced mine " << mineId << " as mine " << r.mineId << Qt::endl;
    out() << "Cost index: " << QString::number(r.indexBefore, 'f', 2) << " (" << dateText(r.dateBefore) << ") -> "
          << QString::number(r.indexAfter, 'f', 2) << " (" << dateText(r.dateAfter) << ")";
    if (!index.from.isEmpty())
        out() << ", from " << index.from;
    out() << Qt::endl;
    for (const RepricedMachine& m : r.machines) {
        if (!m.changed() && !m.kept())
            continue;
        QStringList parts;
        parts << (m.equipmentKept.isEmpty()
                      ? QStringLiteral("equipment %1 -> %2").arg(moneyText(m.equipmentBefore), moneyText(m.equipmentAfter))
                      : QStringLiteral("equipment %1 kept: %2").arg(moneyText(m.equipmentBefore), m.equipmentKept));
        parts << (m.laborKept.isEmpty()
                      ? QStringLiteral("labor %1 -> %2").arg(moneyText(m.laborBefore), moneyText(m.laborAfter))
                      : QStringLiteral("labor %1 kept: %2").arg(moneyText(m.laborBefore), m.laborKept));
        out() << (m.kept() ? QStringLiteral("kept     ") : QStringLiteral("repriced ")) << m.place << ": "
              << parts.join(QStringLiteral("; ")) << Qt::endl;
    }
    out() << repriced << " of " << r.machines.size() << " machine(s) take a newer cost; " << kept
          << " keep a stored cost (listed above with the reason)." << Qt::endl
          << Qt::endl;
    printComparison(c, mineId, r.mineId);
    return doneStatus(c.incomplete);
}
