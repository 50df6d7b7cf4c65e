#pragma once
// A prepared statement of the data file. Reads columns straight from the
// current result row, so a cursor reads only the fields it is asked for.
#include <QString>
#include <QVariant>
#include <QVector>

struct sqlite3;
struct sqlite3_stmt;

class Statement {
public:
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const QString& sql() const { return sql_; }
    void reset();                       // ready to run again, bindings kept until rebound
    void bind(int index, const QVariant& v);  // 1-based
    void bindAll(const QVariantList& values, int first = 1);
    int parameterCount() const;
    QString parameterName(int index) const;  // 1-based, with its leading ':'
    bool step();                        // true: a row is current
    bool hasRow() const { return hasRow_; }
    void exec();                        // run to the end

    int columnCount() const;
    QString columnName(int col) const;
    bool isNull(int col) const;
    qint64 int64(int col) const;
    double real(int col) const;
    QString text(int col) const;
    QVariant value(int col) const;       // by the stored value's own type

    // For readers of many rows that take the columns straight from SQLite.
    sqlite3_stmt* handle() const { return st_; }

    // For a view's statements: the result column of each of the view's fields, -1 when not selected.
    QVector<int> fieldColumn;

private:
    [[noreturn]] void fail(const char* what) const;
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
    QString sql_;
    bool hasRow_ = false;
};

QString sqliteMessage(sqlite3* db);
