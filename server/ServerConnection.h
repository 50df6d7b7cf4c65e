#pragma once
// A connection to a PostgreSQL server database, named the PostgreSQL way: a
// postgresql:// URI, or the name of a service of pg_service.conf. Passwords come
// from ~/.pgpass or the environment, never from the program. Every statement is
// parameterised; what the server refuses is thrown as EDatabaseError with the
// server's own reason.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

struct pg_conn;
struct pg_result;

// The rows a statement returned, as the server's text.
class ServerResult {
public:
    explicit ServerResult(pg_result* r = nullptr) : r_(r) {}
    ~ServerResult();
    ServerResult(ServerResult&& o) noexcept : r_(o.r_) { o.r_ = nullptr; }
    ServerResult& operator=(ServerResult&& o) noexcept;
    ServerResult(const ServerResult&) = delete;
    ServerResult& operator=(const ServerResult&) = delete;

    int rows() const;
    int columns() const;
    bool isNull(int row, int column) const;
    QString text(int row, int column) const;

private:
    pg_result* r_;
};

using ServerParam = std::optional<QByteArray>;  // empty: SQL null

class ServerConnection {
public:
    // Connects; throws EDatabaseError "Cannot connect to the server database NAME: reason".
    explicit ServerConnection(const QString& name);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // The connection string libpq is given for a name: a URI as it is, else "service=NAME".
    static QString connectionString(const QString& name);

    ServerResult exec(const QString& sql, const QList<ServerParam>& params = {});
    // Statements without parameters, run one after the other (schema scripts).
    void execScript(const QString& sql);
    // A statement prepared once on this connection, run as often as needed.
    void prepare(const QByteArray& name, const QString& sql, int parameters);
    ServerResult execPrepared(const QByteArray& name, const QList<ServerParam>& params);

    // "database on host:port as user".
    QString describe() const;
    QString user() const;

private:
    ServerResult check(pg_result* r, const QString& what);
    pg_conn* conn_ = nullptr;
};

// The server's text of a statement that failed: its primary message.
QString serverReason(pg_result* r);
