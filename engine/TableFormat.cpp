#include "TableFormat.h"

#include "FieldValue.h"

int TableFormat::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TableFormat::autoIncIndex() const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].type == FieldType::AutoInc)
            return i;
    return -1;
}

const IndexDef* TableFormat::index(const QString& name) const
{
    for (const IndexDef& ix : indexes)
        if (ix.name.compare(name, Qt::CaseInsensitive) == 0)
            return &ix;
    return nullptr;
}

QStringList TableFormat::keyOrder() const
{
    if (!keyFields.isEmpty())
        return keyFields;
    const int ai = autoIncIndex();
    return ai >= 0 ? QStringList{fields[ai].name} : QStringList{};
}

QString sqlTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::Boolean:
        return QStringLiteral("INTEGER");
    case FieldType::Float:
    case FieldType::Currency:
        return QStringLiteral("REAL");
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Date:
    case FieldType::DateTime:
        return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String: return QStringLiteral("string");
    case FieldType::Integer: return QStringLiteral("integer");
    case FieldType::AutoInc: return QStringLiteral("auto-increment");
    case FieldType::Float: return QStringLiteral("float");
    case FieldType::Currency: return QStringLiteral("currency");
    case FieldType::Date: return QStringLiteral("date");
    case FieldType::DateTime: return QStringLiteral("date-time");
    case FieldType::Boolean: return QStringLiteral("boolean");
    case FieldType::Memo: return QStringLiteral("memo");
    }
    return {};
}

QString quoteIdent(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

bool sameTableName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString TableFormat::createSql() const
{
    QStringList cols;
    for (const FieldDef& f : fields) {
        QString col = quoteIdent(f.name) + QLatin1Char(' ') + sqlTypeName(f.type);
        if (f.type == FieldType::AutoInc)
            col += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        if (f.defaultValue.isValid())
            col += QStringLiteral(" DEFAULT ") + sqlLiteral(f.type, f.defaultValue);
        cols << col;
    }
    return QStringLiteral("CREATE TABLE ") + quoteIdent(fileName) + QStringLiteral(" (") + cols.join(QStringLiteral(", ")) +
           QLatin1Char(')');
}

QStringList TableFormat::createIndexSql() const
{
    QStringList out;
    auto indexSql = [this](const QString& name, const QStringList& flds, bool unique, bool nocase) {
        QStringList cols;
        for (const QString& f : flds)
            cols << quoteIdent(f) + (nocase ? QStringLiteral(" COLLATE NOCASE") : QString());
        return QStringLiteral("CREATE ") + (unique ? QStringLiteral("UNIQUE ") : QString()) + QStringLiteral("INDEX ") +
               quoteIdent(fileName + QLatin1Char('.') + name) + QStringLiteral(" ON ") + quoteIdent(fileName) +
               QStringLiteral(" (") + cols.join(QStringLiteral(", ")) + QLatin1Char(')');
    };
    if (!keyFields.isEmpty())
        out << indexSql(QStringLiteral("PrimaryKey"), keyFields, true, false);
    const int ai = autoIncIndex();
    for (const IndexDef& ix : indexes) {
        // An index on the auto-increment field alone is the table's own row order.
        if (ai >= 0 && ix.fields.size() == 1 && ix.fields[0].compare(fields[ai].name, Qt::CaseInsensitive) == 0)
            continue;
        out << indexSql(ix.name, ix.fields, false, ix.caseInsensitive);
    }
    return out;
}
