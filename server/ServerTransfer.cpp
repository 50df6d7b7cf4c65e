#include "ServerTransfer.h"

#include "Database.h"
#include "DataDirectory.h"
#include "EDatabaseError.h"
#include "FieldValue.h"
#include "MineImport.h"
#include "ServerConnection.h"
#include "ServerSchema.h"
#include "Statement.h"
#include "TableFormats.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <sqlite3.h>

namespace {

using Row = QVector<QVariant>;  // canonical values, in the format's field order

const char* const kRowId = kServerRowId;

int autoIncColumn(const TableFormat& t)
{
    for (int i = 0; i < t.fields.size(); ++i)
        if (t.fields[i].type == FieldType::AutoInc)
            return i;
    return -1;
}

// The order rows are read and written in: the key, else the row's place in the data file.
QString orderColumn(const TableFormat& t)
{
    const int key = autoIncColumn(t);
    return key >= 0 ? quoteIdent(t.fields[key].name) : QString::fromLatin1(kRowId);
}

QString columnList(const TableFormat& t)
{
    QStringList c;
    for (const FieldDef& f : t.fields)
        c << quoteIdent(f.name);
    return c.join(QStringLiteral(", "));
}

QString place(const TableFormat& t, const Row& row, qint64 rowNumber, int field)
{
    const int key = autoIncColumn(t);
    const QString where = key >= 0 ? QStringLiteral("%1 %2").arg(t.fields[key].name, row[key].toString())
                                   : QStringLiteral("row %1").arg(rowNumber);
    return QStringLiteral("%1, %2, %3").arg(t.fileName, where, t.fields[field].name);
}

// A canonical value as the server is given it.
ServerParam serverText(FieldType type, const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    switch (type) {
    case FieldType::String:
    case FieldType::Memo: return v.toString().toUtf8();
    case FieldType::Integer:
    case FieldType::AutoInc: return QByteArray::number(v.toLongLong());
    case FieldType::Float:
    case FieldType::Currency: {
        const double d = v.toDouble();
        if (std::isnan(d))
            return QByteArray("NaN");
        if (std::isinf(d))
            return QByteArray(d > 0 ? "Infinity" : "-Infinity");
        return QByteArray::number(d, 'g', 17);
    }
    case FieldType::Date: return v.toDate().toString(Qt::ISODate).toUtf8();
    case FieldType::DateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toUtf8();
    case FieldType::Boolean: return QByteArray(v.toBool() ? "t" : "f");
    }
    return std::nullopt;
}

// The server's text read back as the canonical value of the field type.
QVariant fromServerText(FieldType type, const QString& text)
{
    switch (type) {
    case FieldType::String:
    case FieldType::Memo: return text;
    case FieldType::Integer: return static_cast<int>(text.toLongLong());
    case FieldType::AutoInc: return text.toLongLong();
    case FieldType::Float:
    case FieldType::Currency:
        if (text == QLatin1String("NaN"))
            return std::nan("");
        if (text == QLatin1String("Infinity"))
            return HUGE_VAL;
        if (text == QLatin1String("-Infinity"))
            return -HUGE_VAL;
        return text.toDouble();
    case FieldType::Date: return QDate::fromString(text, Qt::ISODate);
    case FieldType::DateTime: {
        QString t = text;
        t.replace(QLatin1Char(' '), QLatin1Char('T'));
        QDateTime dt = QDateTime::fromString(t, Qt::ISODateWithMs);
        return dt.isValid() ? dt : QDateTime::fromString(t, Qt::ISODate);
    }
    case FieldType::Boolean: return text == QLatin1String("t");
    }
    return text;
}

bool sameValue(FieldType type, const QVariant& a, const QVariant& b)
{
    const bool nullA = !a.isValid() || a.isNull(), nullB = !b.isValid() || b.isNull();
    if (nullA || nullB)
        return nullA == nullB;
    switch (type) {
    case FieldType::Float:
    case FieldType::Currency: {
        const double x = a.toDouble(), y = b.toDouble();
        return std::memcmp(&x, &y, sizeof x) == 0 || (std::isnan(x) && std::isnan(y));
    }
    case FieldType::Integer:
    case FieldType::AutoInc: return a.toLongLong() == b.toLongLong();
    case FieldType::Date: return a.toDate() == b.toDate();
    case FieldType::DateTime: return a.toDateTime() == b.toDateTime();
    case FieldType::Boolean: return a.toBool() == b.toBool();
    case FieldType::String:
    case FieldType::Memo: return a.toString() == b.toString();
    }
    return a == b;
}

// Every row of a data file's table, in its order, as canonical values; a stored value the
// field type cannot read is named.
QList<Row> fileRows(sqlite3* h, const TableFormat& t)
{
    Statement st(h, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                        .arg(columnList(t), quoteIdent(t.fileName),
                             autoIncColumn(t) >= 0 ? quoteIdent(t.fields[autoIncColumn(t)].name) : QStringLiteral("rowid")));
    QList<Row> rows;
    while (st.step()) {
        Row row(t.fields.size());
        for (int i = 0; i < t.fields.size(); ++i) {
            const QVariant stored = st.value(i);
            row[i] = fromStorage(t.fields[i].type, stored);
            const bool keptNull = !row[i].isValid() || row[i].isNull();
            if (keptNull && stored.isValid() && !stored.isNull() && !stored.toString().isEmpty())
                throw EDatabaseError(QStringLiteral("%1: the stored value '%2' is no %3 and cannot be moved; nothing was written")
                                         .arg(place(t, row, rows.size() + 1, i), stored.toString(),
                                              serverType(t.fields[i]).section(QLatin1Char(' '), 0, 0)));
        }
        rows << row;
    }
    return rows;
}

QList<Row> serverRows(ServerConnection& server, const TableFormat& t)
{
    const ServerResult r =
        server.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(columnList(t), quoteIdent(t.fileName), orderColumn(t)));
    QList<Row> rows;
    for (int i = 0; i < r.rows(); ++i) {
        Row row(t.fields.size());
        for (int c = 0; c < t.fields.size(); ++c)
            if (!r.isNull(i, c))
                row[c] = fromServerText(t.fields[c].type, r.text(i, c));
        rows << row;
    }
    return rows;
}

// The two sides hold the same rows, value for value; else the first difference is thrown.
void checkSame(const TableFormat& t, const QList<Row>& written, const QList<Row>& read, const QString& side)
{
    if (written.size() != read.size())
        throw EDatabaseError(QStringLiteral("%1: %2 rows written, %3 read back from %4; nothing was written")
                                 .arg(t.fileName)
                                 .arg(written.size())
                                 .arg(read.size())
                                 .arg(side));
    for (int r = 0; r < written.size(); ++r)
        for (int c = 0; c < t.fields.size(); ++c)
            if (!sameValue(t.fields[c].type, written[r][c], read[r][c]))
                throw EDatabaseError(QStringLiteral("%1: %2 keeps '%3' as '%4', not exactly; nothing was written")
                                         .arg(place(t, written[r], r + 1, c), side,
                                              fieldValueText(t.fields[c].type, written[r][c]),
                                              fieldValueText(t.fields[c].type, read[r][c])));
}

void createServerTables(ServerConnection& server)
{
    for (const TableFormat& t : tarvaneTableFormats()) {
        for (const QString& s : serverTableStatements(t))
            server.execScript(s);
    }
    for (const QString& s : serverRoleStatements(tarvaneTableFormats()))
        server.execScript(s);
}

// Copies the rows of an open data file into the server's empty tables, then reads them back.
QList<TransferCount> copyRows(sqlite3* h, ServerConnection& server)
{
    QList<TransferCount> counts;
    for (const TableFormat& t : tarvaneTableFormats()) {
        const QList<Row> rows = fileRows(h, t);
        QString columns = columnList(t);
        const bool ordered = autoIncColumn(t) < 0;
        if (ordered)
            columns += QStringLiteral(", ") + QString::fromLatin1(kRowId);
        const int width = static_cast<int>(t.fields.size()) + (ordered ? 1 : 0);
        // Many rows to a statement (one round trip each), within the server's limit of parameters.
        const int batch = std::max(1, std::min(500, 30000 / width));
        const auto insertOf = [&](int rowCount) {
            QStringList tuples;
            for (int r = 0; r < rowCount; ++r) {
                QStringList marks;
                for (int c = 0; c < width; ++c)
                    marks << QStringLiteral("$%1").arg(r * width + c + 1);
                tuples << QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
            }
            return QStringLiteral("INSERT INTO %1 (%2) VALUES %3").arg(quoteIdent(t.fileName), columns, tuples.join(QStringLiteral(", ")));
        };
        const QByteArray name = "tarvane_push_" + t.fileName.toUtf8().toHex();
        bool prepared = false;
        QList<ServerParam> params;
        int pending = 0;
        qint64 n = 0;
        const auto send = [&] {
            if (pending == batch) {
                if (!prepared) {
                    server.prepare(name, insertOf(batch), batch * width);
                    prepared = true;
                }
                server.execPrepared(name, params);
            } else if (pending > 0) {
                server.exec(insertOf(pending), params);
            }
            params.clear();
            pending = 0;
        };
        for (const Row& row : rows) {
            for (int i = 0; i < t.fields.size(); ++i)
                params << serverText(t.fields[i].type, row[i]);
            if (ordered)
                params << QByteArray::number(++n);
            if (++pending == batch)
                send();
        }
        send();
        if (prepared)
            server.execScript(QStringLiteral("DEALLOCATE %1").arg(QString::fromLatin1(name)));
        // The next key the server gives is the next the data file would have given.
        const QString keyColumn = ordered ? QString::fromLatin1(kRowId) : t.fields[autoIncColumn(t)].name;
        server.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence($1, $2), COALESCE((SELECT max(%1) FROM %2), 0) + 1, false)")
                        .arg(ordered ? keyColumn : quoteIdent(keyColumn), quoteIdent(t.fileName)),
                    {quoteIdent(t.fileName).toUtf8(), keyColumn.toUtf8()});
        checkSame(t, rows, serverRows(server, t), QStringLiteral("the server"));
        counts << TransferCount{t.fileName, rows.size()};
    }
    return counts;
}

// BEGIN ... COMMIT on the server; ROLLBACK when the work throws.
template <typename F>
auto inServerTransaction(ServerConnection& server, F work)
{
    server.execScript(QStringLiteral("BEGIN ISOLATION LEVEL SERIALIZABLE"));
    try {
        auto result = work();
        server.execScript(QStringLiteral("COMMIT"));
        return result;
    } catch (...) {
        try {
            server.execScript(QStringLiteral("ROLLBACK"));
        } catch (const std::exception&) {
            // the connection is gone: the server rolls back by itself
        }
        throw;
    }
}

void refuseUnlessEmpty(ServerConnection& server, const QStringList& present)
{
    for (const QString& table : present) {
        const ServerResult r = server.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(quoteIdent(table)));
        if (r.text(0, 0) == QLatin1String("t"))
            throw EDatabaseError(QStringLiteral("The server database %1 already holds Tarvane rows (%2): data is moved "
                                                "only into an empty one")
                                     .arg(server.describe(), table));
    }
}

}  // namespace

QList<TransferCount> initServer(ServerConnection& server)
{
    const QStringList present = serverTablesPresent(server, tarvaneTableFormats());
    if (!present.isEmpty())
        throw EDatabaseError(QStringLiteral("The server database %1 already holds Tarvane tables (%2, ...): nothing was "
                                            "written")
                                 .arg(server.describe(), present.first()));
    // The shipped rows are those of a new data directory, made by the program's own init.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw EDatabaseError(QStringLiteral("Cannot make a temporary folder for the shipped rows"));
    createDataDirectory(scratch.path());
    SourceDataFile shipped(scratch.path());
    sqlite3* h = shipped.database().handle();
    return inServerTransaction(server, [&] {
        createServerTables(server);
        return copyRows(h, server);
    });
}

QList<TransferCount> pushToServer(SourceDataFile& source, ServerConnection& server)
{
    sqlite3* h = source.database().handle();
    return inServerTransaction(server, [&] {
        const QStringList present = serverTablesPresent(server, tarvaneTableFormats());
        if (present.isEmpty())
            createServerTables(server);
        else if (present.size() != tarvaneTableFormats().size())
            throw EDatabaseError(QStringLiteral("The server database %1 holds some of the Tarvane tables only: nothing was written")
                                     .arg(server.describe()));
        else
            refuseUnlessEmpty(server, present);
        return copyRows(h, server);
    });
}

QList<TransferCount> pullFromServer(ServerConnection& server, const QString& directory)
{
    const QString dir = QDir(directory).absolutePath();
    const QString finalPath = QDir(dir).filePath(QLatin1String(Database::kDataFileName));
    if (QFileInfo::exists(finalPath))
        throw EDatabaseError(QStringLiteral("%1 already exists; a data file is never written over").arg(finalPath));
    if (!QDir().mkpath(dir))
        throw EDatabaseError(QStringLiteral("Cannot make the folder %1").arg(dir));
    const ServerCheck check = checkServer(server);
    if (!check.problems.isEmpty())
        throw EDatabaseError(check.problems.first());
    const QString building = finalPath + QStringLiteral(".pulling");
    QFile::remove(building);
    Database::createDataFile(building, tarvaneTableFormats(), {});
    sqlite3* h = nullptr;
    QList<TransferCount> counts;
    try {
        if (sqlite3_open_v2(QFile::encodeName(building).constData(), &h, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw EDatabaseError(QStringLiteral("Cannot open %1: %2").arg(building, QString::fromUtf8(sqlite3_errmsg(h))));
        // The server's rows in one snapshot, the data file's in one transaction.
        inServerTransaction(server, [&] {
            if (sqlite3_exec(h, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
                throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(h)));
            for (const TableFormat& t : tarvaneTableFormats()) {
                const QList<Row> rows = serverRows(server, t);
                QStringList marks;
                for (int i = 0; i < t.fields.size(); ++i)
                    marks << QStringLiteral("?");
                Statement insert(h, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                        .arg(quoteIdent(t.fileName), columnList(t), marks.join(QStringLiteral(", "))));
                for (const Row& row : rows) {
                    insert.reset();
                    for (int i = 0; i < t.fields.size(); ++i)
                        insert.bind(i + 1, toStorage(t.fields[i].type, row[i]));
                    insert.exec();
                }
                checkSame(t, rows, fileRows(h, t), QStringLiteral("the data file"));
                counts << TransferCount{t.fileName, rows.size()};
            }
            if (sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
                throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(h)));
            return 0;
        });
        sqlite3_close(h);
        h = nullptr;
        if (!QFile::rename(building, finalPath))
            throw EDatabaseError(QStringLiteral("Cannot move the data file into place at %1").arg(finalPath));
    } catch (...) {
        if (h)
            sqlite3_close(h);
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(building + suffix);
        throw;
    }
    return counts;
}

ServerCheck checkServer(ServerConnection& server)
{
    ServerCheck out;
    for (const TableFormat& t : tarvaneTableFormats()) {
        const ServerResult cols = server.exec(
            QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema = current_schema() AND "
                           "table_name = $1"),
            {t.fileName.toUtf8()});
        if (cols.rows() == 0) {
            out.problems << QStringLiteral("Database did NOT open -- Error in table:  %1 (not on the server)").arg(t.fileName);
            continue;
        }
        QStringList names;
        for (int i = 0; i < cols.rows(); ++i)
            names << cols.text(i, 0);
        bool whole = true;
        for (const FieldDef& f : t.fields)
            if (!names.contains(f.name)) {
                out.problems << QStringLiteral("Database did NOT open -- Error in table:  %1 (missing column %2)")
                                    .arg(t.fileName, f.name);
                whole = false;
                break;
            }
        if (!whole)
            continue;
        const ServerResult n = server.exec(QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdent(t.fileName)));
        out.tables << TransferCount{t.fileName, n.text(0, 0).toLongLong()};
    }
    for (const QString& role : serverRoles()) {
        const ServerResult r = server.exec(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = $1"), {role.toUtf8()});
        if (r.text(0, 0) != QLatin1String("1"))
            out.problems << QStringLiteral("The role %1 is missing").arg(role);
    }
    return out;
}
