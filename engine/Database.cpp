#include "Database.h"

#include "DataSet.h"
#include "EDatabaseError.h"
#include "Session.h"
#include "Statement.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <functional>
#include <sqlite3.h>

Database::Database(Session& session) : session_(session) {}

Database::~Database()
{
    disconnect();
}

QString Database::filePath() const
{
    return directory_.isEmpty() ? QString() : QDir(directory_).filePath(QLatin1String(kDataFileName));
}

namespace {

// A data file marked read-only (no write permission for anyone), or one this process may not write.
bool dataFileReadOnly(const QString& path)
{
    const QFileInfo fi(path);
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !fi.isWritable() || !(fi.permissions() & writeBits);
}

// The open of a read-only data file. Without committed changes waiting in its write-ahead
// log the file is opened as immutable: nothing is locked and no -wal or -shm file is made
// beside it (one made now would carry the file's read-only mode and later block writing).
QByteArray readOnlyUri(const QString& path)
{
    const QFileInfo wal(path + QStringLiteral("-wal"));
    QUrl uri = QUrl::fromLocalFile(path);
    uri.setQuery(wal.exists() && wal.size() > 0 ? QStringLiteral("mode=ro") : QStringLiteral("immutable=1"));
    return uri.toString(QUrl::FullyEncoded).toUtf8();
}

// The open for reading only of a file that others may be writing meanwhile.
QByteArray readerUri(const QString& path)
{
    QUrl uri = QUrl::fromLocalFile(path);
    uri.setQuery(QStringLiteral("mode=ro"));
    return uri.toString(QUrl::FullyEncoded).toUtf8();
}

}  // namespace

void Database::connect()
{
    if (connected_)
        return;
    const QString dir = session_.aliasPath(alias_);
    if (!QFileInfo(dir).isDir())
        throw EDatabaseError(QStringLiteral("The directory of alias %1 does not exist: %2").arg(alias_, dir));
    directory_ = dir;
    openError_.clear();
    readOnly_ = false;
    const QString path = filePath();
    if (!QFileInfo::exists(path)) {
        openError_ = QStringLiteral("The data file %1 does not exist").arg(path);
    } else {
        readOnly_ = openForReading_ || dataFileReadOnly(path);
        // A file read for another's sake takes the locks of a reader: one held by a writer is seen.
        const QByteArray uri = openForReading_ && !dataFileReadOnly(path) ? readerUri(path) : readOnlyUri(path);
        const int rc = readOnly_ ? sqlite3_open_v2(uri.constData(), &db_,
                                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr)
                                 : sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            openError_ = QStringLiteral("Cannot open the data file %1: %2").arg(path, QString::fromUtf8(sqlite3_errstr(rc)));
            sqlite3_close(db_);
            db_ = nullptr;
            readOnly_ = false;
        } else {
            sqlite3_busy_timeout(db_, 5000);
            sqlite3_extended_result_codes(db_, 1);
            // Each post is on disk when it returns (these settings write nothing to the file).
            sqlite3_exec(db_, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
            // After a checkpoint the write-ahead log shrinks back to a few megabytes.
            sqlite3_exec(db_, "PRAGMA journal_size_limit=4194304", nullptr, nullptr, nullptr);
        }
    }
    checked_.clear();
    connected_ = true;
    dataVersion_ = readDataVersion();
    externalCheckDue_ = false;
    if (QCoreApplication::instance())
        if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread()))
            waitHook_ = QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, [this] { externalCheckDue_ = true; });
}

void Database::disconnect()
{
    QObject::disconnect(waitHook_);
    const QList<DataSet*> sets = dataSets_;
    for (DataSet* ds : sets)
        ds->close();
    while (txDepth_ > 0)
        endTx(false);
    endReadSnapshot();
    for (auto& st : savepoint_)
        st.reset();
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    connected_ = false;
    checked_.clear();
}

sqlite3* Database::handle()
{
    if (!connected_)
        throw EDatabaseError(QStringLiteral("Database %1 is not connected").arg(name_));
    if (!db_)
        throw EDatabaseError(openError_);
    return db_;
}

void Database::addFormat(const TableFormat& format)
{
    for (TableFormat& f : formats_)
        if (sameTableName(f.fileName, format.fileName)) {
            f = format;
            return;
        }
    formats_.append(format);
}

const TableFormat* Database::format(const QString& tableName) const
{
    for (const TableFormat& f : formats_)
        if (sameTableName(f.fileName, tableName))
            return &f;
    return nullptr;
}

namespace {

// Runs one reading statement; `row` sees each result row. Returns the engine's reason
// when it fails, empty on success.
QString readRows(sqlite3* h, const QString& sql, const std::function<void(sqlite3_stmt*)>& row)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    int rc = sqlite3_prepare_v2(h, utf8.constData(), static_cast<int>(utf8.size()), &st, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(st);
        if (rc == SQLITE_ROW)
            row(st);
    }
    const QString reason = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(h));
    sqlite3_finalize(st);
    return reason;
}

QString columnText(sqlite3_stmt* st, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
}

}  // namespace

// The reasons name the table and say what differs; the caller names the data file.
void Database::checkTable(const TableFormat& format)
{
    const QString key = format.fileName.toLower();
    if (checked_.contains(key))
        return;
    sqlite3* h = handle();
    const QString table = format.fileName;
    auto fail = [&](const QString& reason) { throw EDatabaseError(QStringLiteral("Table %1: %2").arg(table, reason)); };
    struct Column {
        QString name, type;
        bool key;
    };
    QList<Column> columns;
    QString reason = readRows(h, QStringLiteral("PRAGMA table_info(") + quoteIdent(table) + QLatin1Char(')'),
                              [&](sqlite3_stmt* st) {
                                  columns.append({columnText(st, 1), columnText(st, 2), sqlite3_column_int(st, 5) > 0});
                              });
    if (!reason.isEmpty())
        fail(reason);
    if (columns.isEmpty())
        fail(QStringLiteral("no such table"));
    auto columnIndex = [&](const QString& name) {
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    for (const FieldDef& f : format.fields)
        if (columnIndex(f.name) < 0)
            fail(QStringLiteral("missing column %1").arg(f.name));
    for (const Column& c : columns)
        if (format.fieldIndex(c.name) < 0)
            fail(QStringLiteral("column %1 is not in the table format").arg(c.name));
    for (int i = 0; i < columns.size(); ++i) {
        const FieldDef& f = format.fields[i];
        if (columns[i].name.compare(f.name, Qt::CaseInsensitive) != 0)
            fail(QStringLiteral("column %1 is %2 where the format has %3").arg(i + 1).arg(columns[i].name, f.name));
        if (columns[i].type.compare(sqlTypeName(f.type), Qt::CaseInsensitive) != 0)
            fail(QStringLiteral("column %1 is of type %2 where the format has %3").arg(f.name, columns[i].type, sqlTypeName(f.type)));
        const bool autoInc = f.type == FieldType::AutoInc;
        if (columns[i].key != autoInc)
            fail(autoInc ? QStringLiteral("column %1 is not the auto-increment key").arg(f.name)
                         : QStringLiteral("column %1 is a key column where the format has none").arg(f.name));
    }
    // An auto-increment key never gives a number twice: the table must be declared AUTOINCREMENT.
    if (format.autoIncIndex() >= 0) {
        QString sql;
        reason = readRows(h, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = '%1'")
                                 .arg(QString(table).replace(QLatin1Char('\''), QStringLiteral("''"))),
                          [&](sqlite3_stmt* st) { sql = columnText(st, 0); });
        if (!reason.isEmpty())
            fail(reason);
        if (!sql.contains(QStringLiteral("AUTOINCREMENT"), Qt::CaseInsensitive))
            fail(QStringLiteral("column %1 is not auto-increment").arg(format.fields[format.autoIncIndex()].name));
    }
    // The primary key: a unique index on exactly the key fields.
    if (!format.keyFields.isEmpty()) {
        QStringList uniqueIndexes;
        reason = readRows(h, QStringLiteral("PRAGMA index_list(") + quoteIdent(table) + QLatin1Char(')'),
                          [&](sqlite3_stmt* st) {
                              if (sqlite3_column_int(st, 2))
                                  uniqueIndexes << columnText(st, 1);
                          });
        bool found = false;
        for (const QString& ix : uniqueIndexes) {
            QStringList fields;
            reason += readRows(h, QStringLiteral("PRAGMA index_info(") + quoteIdent(ix) + QLatin1Char(')'),
                               [&](sqlite3_stmt* st) { fields << columnText(st, 2); });
            found = found || fields.join(QLatin1Char(',')).compare(format.keyFields.join(QLatin1Char(',')),
                                                                   Qt::CaseInsensitive) == 0;
        }
        if (!reason.isEmpty())
            fail(reason);
        if (!found)
            fail(QStringLiteral("missing primary key (%1)").arg(format.keyFields.join(QStringLiteral(", "))));
    }
    if (!format.password.isEmpty() && !session_.requestPassword(table, format.password))
        fail(QStringLiteral("password refused"));
    checked_.append(key);
}

const quint64* Database::changeCounter(const QString& tableName)
{
    auto& slot = counters_[tableName.toLower()];
    if (!slot)
        slot = std::make_unique<quint64>(0);
    return slot.get();
}

void Database::checkExternalWrites(bool force)
{
    if (!(externalCheckDue_ || force) || !db_ || txDepth_ > 0)
        return;
    externalCheckDue_ = false;
    const qint64 v = readDataVersion();
    if (v < 0 || v == dataVersion_)
        return;
    const bool first = dataVersion_ < 0;
    dataVersion_ = v;
    if (!first)
        for (auto& c : counters_)
            ++*c.second;
}

int Database::runningStatements()
{
    int n = 0;
    for (sqlite3_stmt* st = db_ ? sqlite3_next_stmt(db_, nullptr) : nullptr; st; st = sqlite3_next_stmt(db_, st))
        if (sqlite3_stmt_busy(st))
            ++n;
    return n;
}

// SQLite's count of commits by other connections; -1 when it cannot be read.
qint64 Database::readDataVersion()
{
    sqlite3_stmt* st = nullptr;
    if (!db_ || sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &st, nullptr) != SQLITE_OK)
        return -1;
    const qint64 v = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
    sqlite3_finalize(st);
    return v;
}

void Database::noteWrite(const QString& tableName)
{
    auto& slot = counters_[tableName.toLower()];
    if (!slot)
        slot = std::make_unique<quint64>(0);
    ++*slot;
}

void Database::execSql(const QString& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(handle(), sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "unknown error");
        sqlite3_free(err);
        throw EDatabaseError(msg);
    }
    // Any table may have changed: every view reads again at its next move.
    for (auto& c : counters_)
        ++*c.second;
}

void Database::beginTx(Transaction::Begin begin)
{
    if (txDepth_ == 0)
        txBegun_ = false;
    if (begin == Transaction::Begin::Now)
        beginPendingTx();
    ++txDepth_;
}

// Begins the SQLite transaction of a scope that waited for its first write.
void Database::beginPendingTx()
{
    if (txBegun_)
        return;
    endReadSnapshot();
    execSql(QStringLiteral("BEGIN IMMEDIATE"));
    txBegun_ = true;
}

void Database::endTx(bool report)
{
    if (txDepth_ == 0)
        return;
    if (--txDepth_ > 0)
        return;
    const bool begun = txBegun_;
    txBegun_ = false;
    if (!begun || !db_)
        return;
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
        return;
    const QString reason = QString::fromUtf8(sqlite3_errmsg(db_));
    if (!sqlite3_get_autocommit(db_))  // SQLite may have rolled back already (a full disk)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    if (report)
        throw EDatabaseError(QStringLiteral("Cannot commit the changes to %1: %2").arg(filePath(), reason));
    qWarning("Tarvane: commit failed: %s", qPrintable(reason));
}

void Database::rollbackTx()
{
    if (txDepth_ != 1)
        throw EDatabaseError(QStringLiteral("Only the outermost transaction can be undone"));
    txDepth_ = 0;
    const bool begun = txBegun_;
    txBegun_ = false;
    if (begun && db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    // What the views read while it ran is gone: each reads again at its next move.
    for (auto& c : counters_)
        ++*c.second;
}

int Database::fileFormat()
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(handle(), "PRAGMA user_version", -1, &st, nullptr) != SQLITE_OK)
        throw EDatabaseError(QStringLiteral("Cannot read %1: %2").arg(filePath(), QString::fromUtf8(sqlite3_errmsg(db_))));
    const int rc = sqlite3_step(st);
    const int version = rc == SQLITE_ROW ? sqlite3_column_int(st, 0) : 0;
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW)
        throw EDatabaseError(QStringLiteral("Cannot read %1: %2").arg(filePath(), QString::fromUtf8(sqlite3_errstr(rc))));
    return version;
}

QString Database::firstFault()
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(handle(), "PRAGMA quick_check(1)", -1, &st, nullptr) != SQLITE_OK)
        throw EDatabaseError(QStringLiteral("Cannot read %1: %2").arg(filePath(), QString::fromUtf8(sqlite3_errmsg(db_))));
    const int rc = sqlite3_step(st);
    QString fault;
    if (rc == SQLITE_ROW)
        fault = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    else
        fault = QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_finalize(st);
    fault.remove(QStringLiteral("*** in database main ***"));
    fault = fault.simplified();
    return fault == QLatin1String("ok") ? QString() : fault;
}

void Database::runSavepoint(Savepoint step)
{
    auto& st = savepoint_[step == Savepoint::Begin ? 0 : 1];
    if (!st)
        st = std::make_unique<Statement>(handle(), step == Savepoint::Begin ? QStringLiteral("SAVEPOINT tarvane_write")
                                                                           : QStringLiteral("RELEASE tarvane_write"));
    st->reset();
    try {
        st->exec();
    } catch (...) {
        st->reset();
        throw;
    }
    st->reset();
}

Database::WriteScope::WriteScope(Database& db) : db_(db), outer_(db.txDepth_ > 0)
{
    if (outer_) {
        db_.beginPendingTx();
        db_.runSavepoint(Savepoint::Begin);
    } else {
        db_.endReadSnapshot();
        db_.execSql(QStringLiteral("BEGIN IMMEDIATE"));
    }
}

Database::ReadSnapshot::ReadSnapshot(Database& db) : db_(db)
{
    if (db_.snapshotDepth_++ > 0 || db_.txDepth_ > 0 || !db_.db_ || !sqlite3_get_autocommit(db_.db_))
        return;
    db_.snapshotOpen_ = sqlite3_exec(db_.db_, "BEGIN DEFERRED", nullptr, nullptr, nullptr) == SQLITE_OK;
}

Database::ReadSnapshot::~ReadSnapshot()
{
    if (--db_.snapshotDepth_ == 0)
        db_.endReadSnapshot();
}

// Ends the read transaction of a snapshot; it wrote nothing, so nothing can be lost.
void Database::endReadSnapshot()
{
    if (!snapshotOpen_)
        return;
    snapshotOpen_ = false;
    if (db_ && !sqlite3_get_autocommit(db_) && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Database::WriteScope::commit()
{
    if (outer_)
        db_.runSavepoint(Savepoint::Release);
    else
        db_.execSql(QStringLiteral("COMMIT"));
    done_ = true;
}

Database::WriteScope::~WriteScope()
{
    if (done_ || !db_.db_)
        return;
    if (outer_)
        sqlite3_exec(db_.db_, "ROLLBACK TO tarvane_write; RELEASE tarvane_write", nullptr, nullptr, nullptr);
    else
        sqlite3_exec(db_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

Database::Transaction::Transaction(Database& db, Begin begin) : db_(db)
{
    db_.beginTx(begin);
}

Database::Transaction::~Transaction()
{
    if (!done_)
        db_.endTx(false);
}

void Database::Transaction::commit()
{
    if (done_)
        return;
    done_ = true;
    db_.endTx(true);
}

void Database::Transaction::rollback()
{
    if (done_)
        return;
    db_.rollbackTx();
    done_ = true;
}

void Database::createDataFile(const QString& path, const QList<TableFormat>& formats, const QStringList& scripts)
{
    if (QFileInfo::exists(path))
        throw EDatabaseError(QStringLiteral("%1 already exists; a new data file is never written over an old one").arg(path));
    const QString building = path + QStringLiteral(".new");
    QFile::remove(building);
    sqlite3* h = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(building).constData(), &h, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(h));
        sqlite3_close(h);
        throw EDatabaseError(QStringLiteral("Cannot create %1: %2").arg(building, msg));
    }
    auto exec = [&](const QString& sql) {
        char* err = nullptr;
        if (sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            const QString msg = QString::fromUtf8(err ? err : "unknown error");
            sqlite3_free(err);
            throw EDatabaseError(msg);
        }
    };
    try {
        exec(QStringLiteral("BEGIN"));
        for (const TableFormat& f : formats) {
            exec(f.createSql());
            for (const QString& ix : f.createIndexSql())
                exec(ix);
        }
        for (const QString& s : scripts)
            exec(s);
        exec(QStringLiteral("PRAGMA user_version=%1").arg(kFileFormat));
        exec(QStringLiteral("COMMIT"));
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    } catch (...) {
        sqlite3_close(h);
        QFile::remove(building);
        throw;
    }
    sqlite3_close(h);
    if (!QFile::rename(building, path)) {
        QFile::remove(building);
        throw EDatabaseError(QStringLiteral("Cannot move the new data file into place at %1").arg(path));
    }
}

void Database::registerDataSet(DataSet* ds)
{
    dataSets_.append(ds);
}

void Database::unregisterDataSet(DataSet* ds)
{
    dataSets_.removeAll(ds);
}
