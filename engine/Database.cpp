#include "Database.h"

#include "DataSet.h"
#include "EDatabaseError.h"
#include "Session.h"
#include "Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

void Database::connect()
{
    if (connected_)
        return;
    const QString dir = session_.aliasPath(alias_);
    if (!QFileInfo(dir).isDir())
        throw EDatabaseError(QStringLiteral("The directory of alias %1 does not exist: %2").arg(alias_, dir));
    directory_ = dir;
    openError_.clear();
    const QString path = filePath();
    if (!QFileInfo::exists(path)) {
        openError_ = QStringLiteral("The data file %1 does not exist").arg(path);
    } else {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) {
            openError_ = QStringLiteral("Cannot open the data file %1: %2").arg(path, QString::fromUtf8(sqlite3_errstr(rc)));
            sqlite3_close(db_);
            db_ = nullptr;
        } else {
            sqlite3_busy_timeout(db_, 5000);
            sqlite3_extended_result_codes(db_, 1);
            // Each post is on disk when it returns (these settings write nothing to the file).
            sqlite3_exec(db_, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        }
    }
    checked_.clear();
    connected_ = true;
}

void Database::disconnect()
{
    const QList<DataSet*> sets = dataSets_;
    for (DataSet* ds : sets)
        ds->close();
    while (txDepth_ > 0)
        endTx();
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

void Database::checkTable(const TableFormat& format)
{
    const QString key = format.fileName.toLower();
    if (checked_.contains(key))
        return;
    sqlite3* h = handle();
    QList<QPair<QString, QString>> columns;
    try {
        Statement st(h, QStringLiteral("PRAGMA table_info(") + quoteIdent(format.fileName) + QLatin1Char(')'));
        while (st.step())
            columns.append({st.text(1), st.text(2)});
    } catch (const EDatabaseError& e) {
        throw EDatabaseError(QStringLiteral("Cannot read table %1 from %2: %3").arg(format.fileName, filePath(), e.message()));
    }
    if (columns.isEmpty())
        throw EDatabaseError(QStringLiteral("Table %1 does not exist in %2").arg(format.fileName, filePath()));
    if (columns.size() != format.fields.size())
        throw EDatabaseError(QStringLiteral("Table %1 in %2 has %3 fields; its format has %4")
                                 .arg(format.fileName, filePath())
                                 .arg(columns.size())
                                 .arg(format.fields.size()));
    for (int i = 0; i < columns.size(); ++i) {
        const FieldDef& f = format.fields[i];
        if (columns[i].first.compare(f.name, Qt::CaseInsensitive) != 0 ||
            columns[i].second.compare(sqlTypeName(f.type), Qt::CaseInsensitive) != 0)
            throw EDatabaseError(QStringLiteral("Table %1 in %2 has field %3 \"%4 %5\" where its format has \"%6 %7\"")
                                     .arg(format.fileName, filePath())
                                     .arg(i + 1)
                                     .arg(columns[i].first, columns[i].second, f.name, sqlTypeName(f.type)));
    }
    if (!format.password.isEmpty() && !session_.requestPassword(format.fileName, format.password))
        throw EDatabaseError(QStringLiteral("Password refused for table %1").arg(format.fileName));
    checked_.append(key);
}

const quint64* Database::changeCounter(const QString& tableName)
{
    auto& slot = counters_[tableName.toLower()];
    if (!slot)
        slot = std::make_unique<quint64>(0);
    return slot.get();
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
}

void Database::beginTx()
{
    if (txDepth_ == 0)
        execSql(QStringLiteral("BEGIN IMMEDIATE"));
    ++txDepth_;
}

void Database::endTx(bool raise)
{
    if (txDepth_ == 0)
        return;
    if (--txDepth_ == 0 && db_) {
        if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            const QString reason = QString::fromUtf8(sqlite3_errmsg(db_));
            if (!sqlite3_get_autocommit(db_))
                sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            if (raise)
                throw EDatabaseError(QStringLiteral("Cannot write to %1: %2").arg(filePath(), reason));
            qWarning("Tarvane: commit failed: %s", qPrintable(reason));
        }
    }
}

Database::WriteScope::WriteScope(Database& db) : db_(db), outer_(db.txDepth_ > 0)
{
    db_.execSql(outer_ ? QStringLiteral("SAVEPOINT tarvane_write") : QStringLiteral("BEGIN IMMEDIATE"));
}

void Database::WriteScope::commit()
{
    db_.execSql(outer_ ? QStringLiteral("RELEASE tarvane_write") : QStringLiteral("COMMIT"));
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

Database::Transaction::Transaction(Database& db) : db_(db)
{
    db_.beginTx();
}

Database::Transaction::~Transaction()
{
    if (!done_)
        db_.endTx();
}

void Database::Transaction::commit()
{
    if (done_)
        return;
    done_ = true;
    db_.endTx(true);
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
