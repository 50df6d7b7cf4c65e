#pragma once
// The database object: an alias naming a directory whose data file
// (TarvaneData.db) holds one SQL table per table file. It owns the connection,
// knows the table formats, checks a table's structure before a view opens it,
// runs every write in a transaction, and counts the writes to each table so
// that every view of a table sees what another view wrote.
#include "TableFormat.h"

#include <QList>
#include <QMetaObject>
#include <QString>
#include <map>
#include <memory>

struct sqlite3;
class Session;
class DataSet;

class Database {
public:
    static constexpr const char* kDataFileName = "TarvaneData.db";
    // The layout of the data file this program writes (its user_version); a file of a
    // higher number was made by a newer program. Files of earlier programs read 0.
    static constexpr int kFileFormat = 1;

    explicit Database(Session& session);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Session& session() { return session_; }
    const QString& aliasName() const { return alias_; }
    void setAliasName(const QString& a) { alias_ = a; }
    const QString& databaseName() const { return name_; }
    void setDatabaseName(const QString& n) { name_ = n; }

    // Resolves the alias and opens the data file. A missing data file is not an
    // error here: the first view that opens reports it. Nothing is written.
    void connect();
    void disconnect();  // closes every open view first
    bool connected() const { return connected_; }
    // The data file is marked read-only: it is open for reading only, and every write fails.
    bool readOnly() const { return readOnly_; }
    // Asks that the next connect opens the data file for reading only, whatever its marks:
    // another program's file read to bring an estimate in is never written.
    void setOpenForReading(bool on) { openForReading_ = on; }
    // The data file's layout number (see kFileFormat); throws EDatabaseError when it cannot be read.
    int fileFormat();
    // The first fault SQLite's structural check of the whole file finds (a damaged page,
    // a broken index); empty when the file is sound. Throws EDatabaseError when it cannot read.
    QString firstFault();
    QString directory() const { return directory_; }
    QString filePath() const;

    sqlite3* handle();  // throws EDatabaseError when the data file could not be opened

    void addFormat(const TableFormat& format);
    const TableFormat* format(const QString& tableName) const;  // nullptr when unknown
    const QList<TableFormat>& formats() const { return formats_; }

    // Throws EDatabaseError when the table is missing, its columns, key or
    // auto-increment column differ from its format, the file cannot be read
    // (damaged, locked), or its password is refused; the message names the
    // table and gives the reason.
    void checkTable(const TableFormat& format);

    // Commits of other processes since the last look count as a write to every
    // table, so every view re-reads at its next move. It looks (one cheap query)
    // only after the program has waited for events, or when forced.
    void checkExternalWrites(bool force = false);
    // Statements of the connection that are still running (each holds a read snapshot).
    int runningStatements();

    // Write counter of a table; its address stays valid for the database's life.
    const quint64* changeCounter(const QString& tableName);
    void noteWrite(const QString& tableName);

    // Runs one write statement (or a few) atomically and durably.
    class WriteScope {
    public:
        explicit WriteScope(Database& db);
        ~WriteScope();
        void commit();

    private:
        Database& db_;
        bool done_ = false;
        bool outer_;
    };

    // Multi-stage work: one transaction committed when the scope ends, also
    // when a stage failed, so what the stages already wrote stays. Nested
    // scopes join the outermost one. `AtFirstWrite` begins it with its first
    // write, so that what runs before (a question to the user) holds no lock.
    class Transaction {
    public:
        enum class Begin { Now, AtFirstWrite };
        explicit Transaction(Database& db, Begin begin = Begin::Now);
        ~Transaction();  // commits; a commit that fails is rolled back and logged
        // Ends the scope now; throws EDatabaseError when the outermost commit fails
        // (everything the transaction wrote is then rolled back).
        void commit();
        // Ends the outermost scope now, undoing everything it wrote; every view reads
        // again at its next move. A nested scope cannot undo alone: EDatabaseError.
        void rollback();

    private:
        Database& db_;
        bool done_ = false;
    };
    bool inTransaction() const { return txDepth_ > 0; }

    // A computation that reads many rows: while alive, its reads share one read
    // transaction (one snapshot and one lock) instead of taking one per statement.
    // A write, or a transaction, ends it first; the reads after that run as before.
    class ReadSnapshot {
    public:
        explicit ReadSnapshot(Database& db);
        ~ReadSnapshot();
        ReadSnapshot(const ReadSnapshot&) = delete;
        ReadSnapshot& operator=(const ReadSnapshot&) = delete;

    private:
        Database& db_;
    };

    void execSql(const QString& sql);  // for maintenance: schema and scripts

    // Creates a new data file at `path` with the given formats; fails when it exists.
    static void createDataFile(const QString& path, const QList<TableFormat>& formats, const QStringList& scripts);

    void registerDataSet(DataSet* ds);
    void unregisterDataSet(DataSet* ds);

private:
    // The savepoint of a write inside a transaction, prepared once: a copy or a cascade
    // posts thousands of rows, each in its own savepoint.
    enum class Savepoint { Begin, Release };
    void runSavepoint(Savepoint step);
    void beginTx(Transaction::Begin begin);
    void beginPendingTx();
    void endReadSnapshot();
    void endTx(bool report);
    void rollbackTx();
    qint64 readDataVersion();

    Session& session_;
    QString alias_;
    QString name_;
    QString directory_;
    bool connected_ = false;
    bool readOnly_ = false;
    bool openForReading_ = false;
    sqlite3* db_ = nullptr;
    QString openError_;
    QList<TableFormat> formats_;
    QList<QString> checked_;
    std::map<QString, std::unique_ptr<quint64>> counters_;
    QList<DataSet*> dataSets_;
    int txDepth_ = 0;
    bool txBegun_ = false;  // the outermost transaction has begun in SQLite
    int snapshotDepth_ = 0;
    bool snapshotOpen_ = false;  // a read snapshot's transaction is open in SQLite
    bool externalCheckDue_ = false;
    qint64 dataVersion_ = -1;
    QMetaObject::Connection waitHook_;
    std::unique_ptr<class Statement> savepoint_[2];
};
