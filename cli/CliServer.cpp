#include "CliServer.h"

#include "CliArgs.h"
#include "CliOutput.h"
#include "MineImport.h"
#include "ServerConnection.h"
#include "ServerTransfer.h"

namespace {

QString takeName(QStringList& args)
{
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        throw CliUsageError(QStringLiteral("server needs the server database: a postgresql:// URI or a service name"));
    return args.takeFirst();
}

void printCounts(const QList<TransferCount>& counts)
{
    for (const TransferCount& c : counts)
        out() << "  " << c.table << ": " << c.rows << " rows" << Qt::endl;
}

}  // namespace

int runServerCommand(QStringList args, Dialogs&)
{
    if (args.isEmpty())
        throw CliUsageError(QStringLiteral("server takes init, push, pull or check"));
    const QString action = args.takeFirst();
    if (action == QLatin1String("init")) {
        const QString name = takeName(args);
        if (!args.isEmpty())
            throw CliUsageError(QStringLiteral("server init takes the server database only"));
        ServerConnection server(name);
        const QList<TransferCount> counts = initServer(server);
        out() << "Made the Tarvane tables, roles and shipped rows in " << server.describe() << Qt::endl;
        printCounts(counts);
        return 0;
    }
    if (action == QLatin1String("push")) {
        const QString dataDir = takeOption(args, QStringLiteral("--data"));
        if (dataDir.isEmpty())
            throw CliUsageError(QStringLiteral("server push needs --data DIR"));
        const QString name = takeName(args);
        if (!args.isEmpty())
            throw CliUsageError(QStringLiteral("server push takes --data DIR and the server database"));
        SourceDataFile source(dataDir);
        ServerConnection server(name);
        const QList<TransferCount> counts = pushToServer(source, server);
        out() << "Copied " << source.path() << " to " << server.describe() << ", checked row for row" << Qt::endl;
        printCounts(counts);
        return 0;
    }
    if (action == QLatin1String("pull")) {
        const QString to = takeOption(args, QStringLiteral("--to"));
        const QString name = takeName(args);
        if (to.isEmpty() || !args.isEmpty())
            throw CliUsageError(QStringLiteral("server pull takes the server database and --to DIR"));
        ServerConnection server(name);
        const QList<TransferCount> counts = pullFromServer(server, to);
        out() << "Copied " << server.describe() << " to a new data file in " << to << ", checked row for row" << Qt::endl;
        printCounts(counts);
        return 0;
    }
    if (action == QLatin1String("check")) {
        const QString name = takeName(args);
        if (!args.isEmpty())
            throw CliUsageError(QStringLiteral("server check takes the server database only"));
        ServerConnection server(name);
        const ServerCheck check = checkServer(server);
        out() << "Server database " << server.describe() << Qt::endl;
        printCounts(check.tables);
        for (const QString& p : check.problems)
            std::fprintf(stderr, "%s\n", qPrintable(p));
        return check.problems.isEmpty() ? 0 : 1;
    }
    throw CliUsageError(QStringLiteral("server takes init, push, pull or check, not '%1'").arg(action));
}
