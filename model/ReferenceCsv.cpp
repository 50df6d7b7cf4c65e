#include "ReferenceCsv.h"

#include "Csv.h"
#include "Database.h"
#include "EDatabaseError.h"
#include "FieldValue.h"
#include "OutputFile.h"
#include "Session.h"
#include "Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSaveFile>
#include <QSet>

namespace {

struct RefTable {
    const char* table;
    const char* key;
    const char* parent;  // the parent table, whose key the child row names in the field of that name
};

// Parents before their children.
const RefTable kTables[] = {{"HCOMPANY.DB", "COID", nullptr},
                            {"HEQUIPT.DB", "ID", "HCOMPANY.DB"},
                            {"HCOST.DB", "Item", "HEQUIPT.DB"},
                            {"LaborRegion.db", "RegionID", nullptr},
                            {"LaborSubRegion.DB", "SubRegionID", "LaborRegion.db"},
                            {"LaborCost.db", "LaborID", "LaborSubRegion.DB"},
                            {"EffFactor.DB", "ID", nullptr},
                            {"GRAPH1.DB", "DirectCost", nullptr},
                            {"GRAPH2.DB", "DirectCost", nullptr},
                            {"GRAPH3.DB", "DirectCost", nullptr},
                            {"EQUIP.DB", "EquipCode", nullptr}};

const RefTable& refTable(const QString& name)
{
    for (const RefTable& t : kTables)
        if (name == QLatin1String(t.table))
            return t;
    throw EDatabaseError(QStringLiteral("%1 is not a reference table").arg(name));
}

// The key of the table's parent, which is also the name of the child's link field.
QString parentKey(const RefTable& t)
{
    return t.parent ? QString::fromLatin1(refTable(QString::fromLatin1(t.parent)).key) : QString();
}

QString csvText(FieldType type, const QVariant& v)
{
    if (!v.isValid())
        return {};
    if (type == FieldType::Float || type == FieldType::Currency)
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return toStorage(type, v).toString();
}

// Empty text and an empty field are the same value.
bool sameValue(const QVariant& a, const QVariant& b)
{
    const bool emptyA = !a.isValid() || (a.typeId() == QMetaType::QString && a.toString().isEmpty());
    const bool emptyB = !b.isValid() || (b.typeId() == QMetaType::QString && b.toString().isEmpty());
    if (emptyA || emptyB)
        return emptyA == emptyB;
    return a == b;
}

QString keyText(const QVariant& v)
{
    return v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17) : v.toString();
}

// A view of its own on one table of the data file, for reading or writing every row.
struct View {
    Table table;
    View(Database& db, const QString& name) : table(db, QStringLiteral("Reference") + name, name) { table.open(); }
    ~View() { table.close(); }
};

}  // namespace

QStringList referenceTableNames()
{
    QStringList out;
    for (const RefTable& t : kTables)
        out << QString::fromLatin1(t.table);
    return out;
}

QString referenceCsvFileName(const QString& tableName)
{
    return tableName.section(QLatin1Char('.'), 0, 0) + QStringLiteral(".csv");
}

QStringList exportReferenceData(Database& db, const QString& directory, const QStringList& tables)
{
    if (!QDir().mkpath(directory))
        throw EDatabaseError(QStringLiteral("Cannot make the directory %1").arg(directory));
    QStringList paths, names;
    for (const QString& name : referenceTableNames()) {
        if (!tables.contains(name))
            continue;
        names << name;
        const QString path = QDir(directory).filePath(referenceCsvFileName(name));
        const QString refusal =
            outputFileRefusal(path, db.filePath(), db.session().configPath(), QStringLiteral("the reference data"));
        if (!refusal.isEmpty())
            throw EDatabaseError(refusal);
        paths << path;
    }
    for (int i = 0; i < paths.size(); ++i) {
        View v(db, names[i]);
        const TableFormat& format = v.table.format();
        QStringList header;
        for (const FieldDef& f : format.fields)
            header << f.name;
        QString text = csvLine(header);
        for (v.table.first(); !v.table.eof(); v.table.next()) {
            QStringList fields;
            for (const FieldDef& f : format.fields)
                fields << csvText(f.type, v.table.fieldByName(f.name).value());
            text += csvLine(fields);
        }
        QSaveFile file(paths[i]);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
            throw EDatabaseError(QStringLiteral("Cannot write %1: %2").arg(paths[i], file.errorString()));
    }
    return paths;
}

ReferenceImport::ReferenceImport(Database& db, const QString& directory, const QStringList& tables)
    : db_(db), directory_(directory)
{
    if (!QFileInfo(directory).isDir()) {
        errors_ << QStringLiteral("%1 is not a directory").arg(directory);
        return;
    }
    QStringList files;
    for (const QString& name : referenceTableNames()) {
        if (!tables.contains(name))
            continue;
        files << referenceCsvFileName(name);
        const QString path = QDir(directory).filePath(files.last());
        if (QFileInfo::exists(path))
            readTable(name, path);
    }
    if (tables_.isEmpty() && errors_.isEmpty())
        errors_ << QStringLiteral("%1 holds none of the files %2").arg(directory, files.join(QStringLiteral(", ")));
}

void ReferenceImport::readTable(const QString& name, const QString& path)
{
    const RefTable& ref = refTable(name);
    const QString file = QFileInfo(path).fileName();
    const auto bad = [&](int line, const QString& why) { errors_ << QStringLiteral("%1 line %2: %3").arg(file).arg(line).arg(why); };

    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        errors_ << QStringLiteral("%1: %2").arg(file, in.errorString());
        return;
    }
    QList<CsvRecord> records;
    try {
        records = parseCsv(QString::fromUtf8(in.readAll()));
    } catch (const EDatabaseError& e) {
        errors_ << QStringLiteral("%1 %2").arg(file, QString::fromUtf8(e.what()));
        return;
    }

    View view(db_, name);
    Table& t = view.table;
    const TableFormat& format = t.format();
    const int keyIndex = format.fieldIndex(QString::fromLatin1(ref.key));
    const QString linkField = parentKey(ref);
    const int linkIndex = linkField.isEmpty() ? -1 : format.fieldIndex(linkField);

    // What the table holds now, by key; and the keys of the parent table.
    QHash<QString, QVector<QVariant>> stored;
    QList<QVariant>& keys = storedKeys_[name];
    keys.clear();
    for (t.first(); !t.eof(); t.next()) {
        QVector<QVariant> values;
        for (const FieldDef& f : format.fields)
            values << t.fieldByName(f.name).value();
        keys << values[keyIndex];
        stored.insert(keyText(values[keyIndex]), values);
    }
    if (ref.parent && !storedKeys_.contains(QString::fromLatin1(ref.parent))) {
        View parent(db_, QString::fromLatin1(ref.parent));
        QList<QVariant>& parentKeys = storedKeys_[QString::fromLatin1(ref.parent)];
        for (parent.table.first(); !parent.table.eof(); parent.table.next())
            parentKeys << parent.table.fieldByName(linkField).value();
    }

    if (records.isEmpty()) {
        bad(1, QStringLiteral("there is no header row"));
        return;
    }
    // The header names every field of the table once, in any order.
    const CsvRecord header = records.takeFirst();
    QVector<int> fieldOfColumn;
    QStringList missing;
    for (const QString& column : header.fields) {
        const int i = format.fieldIndex(column.trimmed());
        if (i < 0)
            bad(header.line, QStringLiteral("%1 is not a field of %2").arg(column, name));
        else if (fieldOfColumn.contains(i))
            bad(header.line, QStringLiteral("the field %1 is named twice").arg(column));
        fieldOfColumn << i;
    }
    for (int i = 0; i < format.fields.size(); ++i)
        if (!fieldOfColumn.contains(i))
            missing << format.fields[i].name;
    if (!missing.isEmpty())
        bad(header.line, QStringLiteral("the header lacks the field(s) %1").arg(missing.join(QStringLiteral(", "))));
    if (fieldOfColumn.contains(-1) || !missing.isEmpty())
        return;

    TableImport ti{name, file, {}, 0};
    QHash<QString, int> keyLines;
    for (const CsvRecord& record : records) {
        if (record.fields.size() != header.fields.size()) {
            bad(record.line, QStringLiteral("it has %1 fields, the header %2").arg(record.fields.size()).arg(header.fields.size()));
            continue;
        }
        Row row;
        row.line = record.line;
        row.values.resize(format.fields.size());
        QStringList reasons;
        for (int c = 0; c < header.fields.size(); ++c) {
            const int i = fieldOfColumn[c];
            const FieldDef& def = t.fields()[i]->def();  // the view's: a key field is required
            try {
                const QVariant v = toFieldValue(def.type, record.fields[c], def.name);
                const QString refusal = fieldValueRefusal(def, v);
                if (!refusal.isEmpty())
                    reasons << refusal;
                row.values[i] = v;
            } catch (const EDatabaseError& e) {
                reasons << QString::fromUtf8(e.what());
            }
        }
        const QVariant key = row.values[keyIndex];
        if (key.isValid()) {
            const QString k = keyText(key);
            if (keyLines.contains(k))
                reasons << QStringLiteral("%1 %2 is given twice (also line %3)").arg(format.fields[keyIndex].name, k).arg(keyLines[k]);
            else
                keyLines.insert(k, record.line);
            fileKeys_[name] << key;
        }
        if (linkIndex >= 0) {
            const QVariant parent = row.values[linkIndex];
            const QString parentTable = QString::fromLatin1(ref.parent);
            const auto named = [&](const QList<QVariant>& keys) {
                for (const QVariant& k : keys)
                    if (keyText(k) == keyText(parent))
                        return true;
                return false;
            };
            if (!parent.isValid())
                reasons << QStringLiteral("%1 is empty: the row belongs to a row of %2").arg(linkField, parentTable);
            else if (!named(storedKeys_.value(parentTable)) && !named(fileKeys_.value(parentTable)))
                reasons << QStringLiteral("%1 %2 names no row of %3").arg(linkField, keyText(parent), parentTable);
        }
        if (!reasons.isEmpty()) {
            bad(record.line, reasons.join(QStringLiteral("; ")));
            continue;
        }
        const auto it = key.isValid() ? stored.constFind(keyText(key)) : stored.constEnd();
        if (it == stored.constEnd()) {
            row.action = Action::Add;
        } else {
            for (int i = 0; i < format.fields.size(); ++i)
                if (!sameValue(row.values[i], it.value()[i]))
                    row.differences << QStringLiteral("%1: %2 -> %3")
                                           .arg(format.fields[i].name, csvText(format.fields[i].type, it.value()[i]),
                                                csvText(format.fields[i].type, row.values[i]));
            row.action = row.differences.isEmpty() ? Action::Leave : Action::Change;
        }
        ti.rows << row;
    }
    QSet<QString> inFile;
    for (const Row& r : ti.rows)
        if (r.values[keyIndex].isValid())
            inFile.insert(keyText(r.values[keyIndex]));
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        if (!inFile.contains(it.key()))
            ++ti.kept;
    tables_ << ti;
}

QString ReferenceImport::refusal() const
{
    return QStringLiteral("The reference data of %1 is not imported; nothing was changed:\n").arg(directory_) +
           errors_.join(QLatin1Char('\n'));
}

QString ReferenceImport::outcome() const
{
    return QStringLiteral("Imported: %1 rows added, %2 rows changed").arg(added()).arg(changed());
}

int ReferenceImport::added() const
{
    int n = 0;
    for (const TableImport& t : tables_)
        for (const Row& r : t.rows)
            n += r.action == Action::Add;
    return n;
}

int ReferenceImport::changed() const
{
    int n = 0;
    for (const TableImport& t : tables_)
        for (const Row& r : t.rows)
            n += r.action == Action::Change;
    return n;
}

QStringList ReferenceImport::plan(int rowLimit) const
{
    const bool listRows = rowLimit < 0 || added() + changed() <= rowLimit;
    QStringList out;
    for (const TableImport& t : tables_) {
        int add = 0, change = 0, leave = 0;
        for (const Row& r : t.rows)
            (r.action == Action::Add ? add : r.action == Action::Change ? change : leave)++;
        out << QStringLiteral("%1 (%2): add %3, change %4, leave %5").arg(t.table, t.file).arg(add).arg(change).arg(leave) +
                   (t.kept > 0 ? QStringLiteral("; %1 rows not in the file stay").arg(t.kept) : QString());
        const TableFormat* format = db_.format(t.table);
        for (const Row& r : t.rows) {
            if (r.action == Action::Leave || !listRows)
                continue;
            if (r.action == Action::Add) {
                QStringList values;
                for (int i = 0; i < format->fields.size(); ++i)
                    if (r.values[i].isValid())
                        values << QStringLiteral("%1=%2").arg(format->fields[i].name, csvText(format->fields[i].type, r.values[i]));
                out << QStringLiteral("  add line %1: %2").arg(r.line).arg(values.join(QStringLiteral(", ")));
            } else {
                out << QStringLiteral("  change line %1: %2").arg(r.line).arg(r.differences.join(QStringLiteral(", ")));
            }
        }
    }
    if (!listRows)
        out << QStringLiteral("(%1 rows added or changed; \"tarvane-cli refdata import --dry-run\" lists them)")
                   .arg(added() + changed());
    return out;
}

void ReferenceImport::apply()
{
    if (!ok())
        throw EDatabaseError(refusal());
    // The new key each file key of an added row took, by table.
    QHash<QString, QHash<QString, QVariant>> newKeys;
    Database::Transaction tx(db_);
    for (const TableImport& ti : tables_) {
        const RefTable& ref = refTable(ti.table);
        View view(db_, ti.table);
        Table& t = view.table;
        const TableFormat& format = t.format();
        const int keyIndex = format.fieldIndex(QString::fromLatin1(ref.key));
        const bool autoKey = format.fields[keyIndex].type == FieldType::AutoInc;
        const QString linkField = parentKey(ref);
        const int linkIndex = linkField.isEmpty() ? -1 : format.fieldIndex(linkField);
        for (const Row& row : ti.rows) {
            if (row.action == Action::Leave)
                continue;
            QVector<QVariant> values = row.values;
            if (linkIndex >= 0) {
                const auto& renamed = newKeys.value(QString::fromLatin1(ref.parent));
                const auto it = renamed.constFind(keyText(values[linkIndex]));
                if (it != renamed.constEnd())
                    values[linkIndex] = it.value();
            }
            if (row.action == Action::Add) {
                t.insert();
                for (int i = 0; i < format.fields.size(); ++i)
                    if (!(autoKey && i == keyIndex) && values[i].isValid())
                        t.fieldByName(format.fields[i].name).setValue(values[i]);
                t.post();
                if (autoKey && values[keyIndex].isValid())
                    newKeys[ti.table].insert(keyText(values[keyIndex]), t.fieldByName(format.fields[keyIndex].name).value());
            } else {
                if (!t.locate({format.fields[keyIndex].name}, {values[keyIndex]}))
                    throw EDatabaseError(QStringLiteral("%1 line %2: the row to change is gone").arg(ti.file).arg(row.line));
                t.edit();
                for (int i = 0; i < format.fields.size(); ++i) {
                    Field& f = t.fieldByName(format.fields[i].name);
                    if (i != keyIndex && !sameValue(f.value(), values[i]))
                        f.setValue(values[i]);
                }
                t.post();
            }
        }
    }
    tx.commit();
}
