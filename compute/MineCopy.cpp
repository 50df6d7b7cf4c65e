#include "MineCopy.h"

#include "CopyDataModule.h"
#include "Database.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "DataModule.h"

#include <QSaveFile>
#include <QTextStream>
#include <exception>
#include <optional>

namespace {

QString field(const char* name)
{
    return QString::fromLatin1(name);
}

// To the first record, unless the view already stands on it (a detail lands there
// when its master moves): a walk over thousands of rows reads each block once.
void toFirst(Table& view)
{
    if (!view.bof() || view.eof())
        view.first();
}

}  // namespace

bool runMineCopy(DataModule& dm, CopyDataModule& data, MineCopy& copy, int mineId)
{
    for (Table* t : data.activationOrder())
        if (!t->active())
            t->open();
    const SuspendedCalculations suspended(dm);
    const bool copied = copy.run(mineId);
    if (!copied)
        data.closeViews();
    return copied;
}

QVariant copiedValue(const Field& from)
{
    if (from.isNull())
        return {};
    switch (from.dataType()) {
    case FieldType::String:
    case FieldType::Memo:
        return from.asString();
    case FieldType::Integer:
        return from.asInteger();
    case FieldType::Float:
    case FieldType::Currency:
        return from.asFloat();
    case FieldType::Date:
    case FieldType::DateTime:
        return from.asDateTime();
    case FieldType::Boolean:
        // The override flags and the entered-hours and truck-number flags: without
        // them a copy would show another bond than the mine it copies.
        return from.asBoolean();
    case FieldType::AutoInc:
        break;  // keys are the table's to give
    }
    return {};
}

void writeCopyLog(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw EDatabaseError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    {
        QTextStream out(&file);
        for (const QString& l : lines)
            out << l << '\n';
    }
    if (!file.commit())
        throw EDatabaseError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

SuspendedCalculations::SuspendedCalculations(DataModule& dm) : dm_(dm)
{
    dm_.CalcEnabled = false;
}

SuspendedCalculations::~SuspendedCalculations()
{
    dm_.CalcEnabled = true;
}

MineCopy::MineCopy(CopyDataModule& data, Dialogs& dialogs) : data_(data), dialogs_(dialogs) {}

void MineCopy::advance(int n)
{
    if (stepBy)
        stepBy(n);
}

bool MineCopy::run(int sourceMineId)
{
    CopyDataModule::Views& v = data_.views();
    newMineId_ = -1;
    projectKeys_.clear();
    if (!v.MineT.locate({field("MineID")}, {sourceMineId}))
        throw EDatabaseError(QStringLiteral("There is no mine %1 to copy").arg(sourceMineId));
    // One transaction for the whole copy: fast, and a failed stage still commits what was posted before it.
    Database::Transaction tx(v.MineTT.database(), Database::Transaction::Begin::AtFirstWrite);
    work_ = countWork();
    step_ = 100 / work_;
    const bool copied = copyStages();
    if (copied) {
        advance(100);
        log_.clear();
        relink(2);
        relink(8);
    }
    tx.commit();
    return copied;
}

int MineCopy::countWork()
{
    CopyDataModule::Views& v = data_.views();
    int n = 1;
    for (toFirst(v.ProjectT); !v.ProjectT.eof(); v.ProjectT.next()) {
        ++n;
        const std::pair<Table*, Table*> sheets[] = {
            {&v.MatT, &v.EquipMatT}, {&v.OtherT, nullptr}, {&v.RevegT, &v.EquipRevegT}, {&v.DemolT, &v.EquipDemoT}};
        for (auto [sheet, equipment] : sheets) {
            n += sheet->recordCount();
            if (equipment)
                for (toFirst(*sheet); !sheet->eof(); sheet->next())
                    n += equipment->recordCount();
        }
    }
    return n;
}

// Every stored field of the source except the excluded names; the target's
// link fields come from its master, its key from the table.
MineCopy::FieldMap::FieldMap(Table& source, Table& target, const QStringList& excluded)
{
    for (Field* f : source.fields()) {
        if (f->isCalculated() || f->dataType() == FieldType::AutoInc ||
            excluded.contains(f->fieldName(), Qt::CaseInsensitive))
            continue;
        from << f;
        to << &target.fieldByName(f->fieldName());
    }
}

QVector<QVariant> MineCopy::FieldMap::read() const
{
    QVector<QVariant> values;
    values.reserve(from.size());
    for (const Field* f : from)
        values << copiedValue(*f);
    return values;
}

void MineCopy::FieldMap::write(const QVector<QVariant>& values) const
{
    for (int i = 0; i < to.size(); ++i)
        to[i]->setValue(values[i]);
}

void MineCopy::copyRecord(Table& source, Table& target, const QStringList& excluded)
{
    const FieldMap map(source, target, excluded);
    map.write(map.read());
}

bool MineCopy::stage(Table& target, const char* failure, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const std::exception&) {
        try {
            if (target.active() && target.isEditing())
                target.cancel();
        } catch (const std::exception& e) {
            qWarning("Tarvane: %s: cancelling the copied record failed: %s", qPrintable(target.name()), e.what());
        }
        dialogs_.error(QString::fromLatin1(failure));
        return false;
    }
}

bool MineCopy::copyStages()
{
    CopyDataModule::Views& v = data_.views();
    if (!stage(v.MineTT, "Could NOT copy mine data!", [&] {
            v.MineTT.insert();
            copyRecord(v.MineT, v.MineTT, {field("MineID")});
            v.MineTT.post();
            newMineId_ = v.MineTT.fieldByName(field("MineID")).asInteger();
            advance(step_);
        }))
        return false;
    const QStringList item{field("PrjID"), field("SheetID")};
    for (toFirst(v.ProjectT); !v.ProjectT.eof(); v.ProjectT.next()) {
        if (!stage(v.ProjectTT, "Could NOT copy project data!", [&] {
                v.ProjectTT.insert();
                copyRecord(v.ProjectT, v.ProjectTT, {field("PrjID"), field("MineID")});
                v.ProjectTT.post();
                projectKeys_.append({v.ProjectT.fieldByName(field("PrjID")).asInteger(),
                                     v.ProjectTT.fieldByName(field("PrjID")).asInteger()});
                advance(step_);
            }))
            return false;
        if (!copyItems(v.DemolT, v.DemolTT, item, "Could NOT copy Demol data!", &v.EquipDemoT, &v.EquipDemoTT,
                       "Could NOT copy EquipDemo data!") ||
            !copyItems(v.MatT, v.MatTT, item, "Could NOT copy Mat data!", &v.EquipMatT, &v.EquipMatTT,
                       "Could NOT copy EquipMat data!") ||
            !copyItems(v.RevegT, v.RevegTT, item, "Could NOT copy Reveg data!", &v.EquipRevegT, &v.EquipRevegTT,
                       "Could NOT copy EquipReveg data!") ||
            !copyItems(v.OtherT, v.OtherTT, item, "Could NOT copy Other data!", nullptr, nullptr, nullptr))
            return false;
    }
    return true;
}

bool MineCopy::copyItems(Table& source, Table& target, const QStringList& excluded, const char* failure,
                         Table* equipSource, Table* equipTarget, const char* equipFailure)
{
    // A copied machine starts unlinked (AddedEquipID of a new record) until relinking names its partner.
    const QStringList equipExcluded{field("CostType"), field("SheetID"), field("PlanID"), field("AddedEquipID")};
    const FieldMap items(source, target, excluded);
    std::optional<FieldMap> machines;
    if (equipSource)
        machines.emplace(*equipSource, *equipTarget, equipExcluded);
    for (toFirst(source); !source.eof(); source.next()) {
        if (!stage(target, failure, [&] {
                target.insert();
                items.write(items.read());
                target.post();
                if (!equipSource)
                    advance(step_);
            }))
            return false;
        if (!equipSource)
            continue;
        // The item's machines are read in one walk before the first is written: a write
        // to the equipment table would make the source view seek its place again at every step.
        QList<QVector<QVariant>> rows;
        for (toFirst(*equipSource); !equipSource->eof(); equipSource->next())
            rows << machines->read();
        for (const QVector<QVariant>& row : rows)
            if (!stage(*equipTarget, equipFailure, [&] {
                    equipTarget->insert();
                    machines->write(row);
                    equipTarget->post();
                    advance(step_);
                }))
                return false;
        advance(step_);
    }
    return true;
}

// One pass over the new mine's worksheets: kind 2 links each push dozer to the
// one scraper of its worksheet, kind 8 each truck and the one loader or excavator
// of its worksheet to each other. EquipT is open only during the pass.
void MineCopy::relink(int kind)
{
    CopyDataModule::Views& v = data_.views();
    struct Closer {
        Table& t;
        ~Closer()
        {
            try {
                if (t.active() && t.isEditing())
                    t.cancel();
                t.close();
            } catch (const std::exception& e) {
                qWarning("Tarvane: closing %s failed: %s", qPrintable(t.name()), e.what());
            }
        }
    };
    v.EquipT.open();
    Closer closer{v.EquipT};
    for (toFirst(v.ProjectTT); !v.ProjectTT.eof(); v.ProjectTT.next()) {
        relinkSheet(v.DemolTT, v.EquipDemoTT, field("Item"), QLatin1Char('D'), kind);
        relinkSheet(v.MatTT, v.EquipMatTT, field("Description"), QLatin1Char('M'), kind);
        relinkSheet(v.RevegTT, v.EquipRevegTT, field("Name"), QLatin1Char('R'), kind);
    }
}

void MineCopy::relinkSheet(Table& sheet, Table& equipment, const QString& itemField, QChar letter, int kind)
{
    Table& lookup = data_.views().EquipT;
    const QString kinds = kind == 2 ? QStringLiteral(" and (EquipCode2 = 7)")
                                    : QStringLiteral(" and ((EquipCode2 = 6) or (EquipCode2 = 4))");
    for (toFirst(sheet); !sheet.eof(); sheet.next()) {
        const QString itemName = sheet.fieldByName(itemField).asString();
        for (toFirst(equipment); !equipment.eof(); equipment.next()) {
            if (equipment.fieldByName(field("EquipCode2")).asInteger() != kind)
                continue;
            // A new filter on the filtered view applies at once: the view stands on its first match.
            lookup.setFiltered(true);
            lookup.setFilter(QStringLiteral("(SheetID = ") +
                             QString::number(equipment.fieldByName(field("SheetID")).asInteger()) + QLatin1Char(')') +
                             kinds + QStringLiteral(" and (CostType = '") + letter + QStringLiteral("')"));
            const int found = lookup.recordCount();
            if (found == 0) {
                log_ << (kind == 2 ? QStringLiteral("Error -- No Scraper for pusher for: ")
                                   : QStringLiteral("Error -- No Loader or excavator for truck for: ")) +
                            itemName;
            } else if (found == 1) {
                const int partner = lookup.fieldByName(field("PlanID")).asInteger();
                equipment.edit();
                equipment.fieldByName(field("AddedEquipID")).setAsInteger(partner);
                equipment.post();
                if (kind == 8) {
                    // The loader or excavator names the truck back; a scraper keeps no link.
                    lookup.edit();
                    lookup.fieldByName(field("AddedEquipID"))
                        .setAsInteger(equipment.fieldByName(field("PlanID")).asInteger());
                    lookup.post();
                }
                log_ << (kind == 2 ? QStringLiteral("Found Pusher and Scraper for: ")
                                   : QStringLiteral("Found Truck Loader/Excavator for: ")) +
                            itemName;
            } else {
                log_ << (kind == 2 ? QStringLiteral("Warning -- More than one Scraper for: ")
                                   : QStringLiteral("Warning -- More than one loader and/or excavator for: ")) +
                            itemName;
            }
        }
    }
}
