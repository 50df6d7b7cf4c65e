#include "Statement.h"

#include "FieldValue.h"

#include "EDatabaseError.h"

#include <sqlite3.h>

QString sqliteMessage(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

Statement::Statement(sqlite3* db, const QString& sql) : db_(db), sql_(sql)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &st_, nullptr) != SQLITE_OK) {
        const QString msg = sqliteMessage(db_);
        sqlite3_finalize(st_);
        st_ = nullptr;
        throw EDatabaseError(msg);
    }
}

Statement::~Statement()
{
    sqlite3_finalize(st_);
}

void Statement::fail(const char* what) const
{
    throw EDatabaseError(QString::fromLatin1(what) + QStringLiteral(": ") + sqliteMessage(db_));
}

void Statement::reset()
{
    sqlite3_reset(st_);
    hasRow_ = false;
}

void Statement::bind(int index, const QVariant& v)
{
    int rc = SQLITE_OK;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(st_, index);
    } else {
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(st_, index, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(st_, index, v.toDouble());
            break;
        default: {
            const QByteArray t = v.toString().toUtf8();
            rc = sqlite3_bind_text(st_, index, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        fail("Cannot bind a value");
}

void Statement::bindAll(const QVariantList& values, int first)
{
    for (int i = 0; i < values.size(); ++i)
        bind(first + i, values[i]);
}

int Statement::parameterCount() const
{
    return sqlite3_bind_parameter_count(st_);
}

QString Statement::parameterName(int index) const
{
    const char* n = sqlite3_bind_parameter_name(st_, index);
    return n ? QString::fromUtf8(n) : QString();
}

bool Statement::step()
{
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW)
        return hasRow_ = true;
    hasRow_ = false;
    if (rc == SQLITE_DONE)
        return false;
    const QString msg = sqliteMessage(db_);
    sqlite3_reset(st_);
    throw EDatabaseError(msg);
}

void Statement::exec()
{
    while (step()) {
    }
}

int Statement::columnCount() const
{
    return sqlite3_column_count(st_);
}

QString Statement::columnName(int col) const
{
    return QString::fromUtf8(sqlite3_column_name(st_, col));
}

bool Statement::isNull(int col) const
{
    return sqlite3_column_type(st_, col) == SQLITE_NULL;
}

qint64 Statement::int64(int col) const
{
    return sqlite3_column_int64(st_, col);
}

double Statement::real(int col) const
{
    if (sqlite3_column_type(st_, col) == SQLITE_TEXT)
        return storedNumber(text(col));  // not read as 0
    return sqlite3_column_double(st_, col);
}

QString Statement::text(int col) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, col));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st_, col)) : QString();
}

QVariant Statement::value(int col) const
{
    switch (sqlite3_column_type(st_, col)) {
    case SQLITE_INTEGER:
        return static_cast<qlonglong>(sqlite3_column_int64(st_, col));
    case SQLITE_FLOAT:
        return sqlite3_column_double(st_, col);
    case SQLITE_NULL:
        return {};
    default:
        return text(col);
    }
}
