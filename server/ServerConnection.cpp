#include "ServerConnection.h"

#include "EDatabaseError.h"

#include <libpq-fe.h>
#include <vector>

ServerResult::~ServerResult()
{
    if (r_)
        PQclear(r_);
}

ServerResult& ServerResult::operator=(ServerResult&& o) noexcept
{
    if (this != &o) {
        if (r_)
            PQclear(r_);
        r_ = o.r_;
        o.r_ = nullptr;
    }
    return *this;
}

int ServerResult::rows() const
{
    return r_ ? PQntuples(r_) : 0;
}

int ServerResult::columns() const
{
    return r_ ? PQnfields(r_) : 0;
}

bool ServerResult::isNull(int row, int column) const
{
    return PQgetisnull(r_, row, column) != 0;
}

QString ServerResult::text(int row, int column) const
{
    return QString::fromUtf8(PQgetvalue(r_, row, column), PQgetlength(r_, row, column));
}

QString serverReason(pg_result* r)
{
    if (!r)
        return QStringLiteral("no answer from the server");
    const char* primary = PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY);
    if (primary)
        return QString::fromUtf8(primary);
    return QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
}

QString ServerConnection::connectionString(const QString& name)
{
    if (name.startsWith(QLatin1String("postgresql://")) || name.startsWith(QLatin1String("postgres://")))
        return name;
    // A service name of pg_service.conf; quoted as libpq's key=value strings quote.
    QString quoted = name;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QStringLiteral("service='%1'").arg(quoted);
}

ServerConnection::ServerConnection(const QString& name)
{
    conn_ = PQconnectdb(connectionString(name).toUtf8().constData());
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        const QString reason = conn_ ? QString::fromUtf8(PQerrorMessage(conn_)).trimmed() : QStringLiteral("out of memory");
        if (conn_)
            PQfinish(conn_);
        conn_ = nullptr;
        throw EDatabaseError(QStringLiteral("Cannot connect to the server database %1: %2").arg(name, reason));
    }
    PQsetClientEncoding(conn_, "UTF8");
    // Notices (a table already there, ...) are the program's to tell, not libpq's to print.
    PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
}

ServerConnection::~ServerConnection()
{
    if (conn_)
        PQfinish(conn_);
}

ServerResult ServerConnection::check(pg_result* r, const QString& what)
{
    const ExecStatusType s = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK)
        return ServerResult(r);
    const QString reason = r ? serverReason(r) : QString::fromUtf8(PQerrorMessage(conn_)).trimmed();
    // A refusal of the server carries its SQLSTATE; an error without one is libpq's own: the connection.
    const bool fromServer = r && PQresultErrorField(r, PG_DIAG_SQLSTATE) != nullptr;
    if (r)
        PQclear(r);
    if (PQstatus(conn_) != CONNECTION_OK || !fromServer)
        throw EDatabaseError(QStringLiteral("The connection to the server database was lost: %1").arg(reason));
    throw EDatabaseError(QStringLiteral("The server refused %1: %2").arg(what, reason));
}

namespace {

struct Params {
    explicit Params(const QList<ServerParam>& params)
    {
        for (const ServerParam& p : params) {
            values.push_back(p ? p->constData() : nullptr);
            lengths.push_back(p ? static_cast<int>(p->size()) : 0);
        }
    }
    std::vector<const char*> values;
    std::vector<int> lengths;
};

QString statementName(const QString& sql)
{
    return QStringLiteral("\"%1\"").arg(sql.simplified().left(60));
}

}  // namespace

ServerResult ServerConnection::exec(const QString& sql, const QList<ServerParam>& params)
{
    const Params p(params);
    return check(PQexecParams(conn_, sql.toUtf8().constData(), static_cast<int>(params.size()), nullptr,
                              p.values.data(), p.lengths.data(), nullptr, 0),
                 statementName(sql));
}

void ServerConnection::execScript(const QString& sql)
{
    check(PQexec(conn_, sql.toUtf8().constData()), statementName(sql));
}

void ServerConnection::prepare(const QByteArray& name, const QString& sql, int parameters)
{
    check(PQprepare(conn_, name.constData(), sql.toUtf8().constData(), parameters, nullptr), statementName(sql));
}

ServerResult ServerConnection::execPrepared(const QByteArray& name, const QList<ServerParam>& params)
{
    const Params p(params);
    return check(PQexecPrepared(conn_, name.constData(), static_cast<int>(params.size()), p.values.data(),
                                p.lengths.data(), nullptr, 0),
                 QString::fromLatin1(name));
}

QString ServerConnection::user() const
{
    return QString::fromUtf8(PQuser(conn_));
}

QString ServerConnection::describe() const
{
    const QString host = QString::fromUtf8(PQhost(conn_));
    return QStringLiteral("%1 on %2:%3 as %4")
        .arg(QString::fromUtf8(PQdb(conn_)), host.isEmpty() ? QStringLiteral("local socket") : host,
             QString::fromUtf8(PQport(conn_)), user());
}
