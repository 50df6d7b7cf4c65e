#include "Cli.h"

#include "DataDirectory.h"
#include "DatabaseStartup.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "EngineConfig.h"
#include "TarvaneData.h"

#include <QDir>
#include <QTextStream>
#include <cstdio>

namespace {

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

int usage()
{
    std::fputs("usage: tarvane-cli init DIR\n"
               "       tarvane-cli check [--data DIR]\n",
               stderr);
    return 2;
}

// The value after `flag`, or empty; removes both from args.
QString takeOption(QStringList& args, const QString& flag)
{
    const int i = static_cast<int>(args.indexOf(flag));
    if (i < 0 || i + 1 >= args.size())
        return {};
    const QString v = args[i + 1];
    args.remove(i, 2);
    return v;
}

// Opens the data module as the desktop program's start-up does.
class OpenedData {
public:
    OpenedData(Dialogs& dialogs, const QString& dataDir)
        : config_(EngineConfig::defaultPath()), dm_((ensureEngineConfigured(config_), config_)), startup_(dm_)
    {
        if (!dataDir.isEmpty())
            dm_.Session.addAlias(QStringLiteral("TarvaneDB"), QDir(dataDir).absolutePath());
        failure_ = startup_.ActivateDatabase();
        if (!failure_.isEmpty())
            dialogs.error(failure_);
    }
    ~OpenedData()
    {
        startup_.CloseAllTables();
        dm_.TarvaneDatabase.disconnect();
    }
    bool ok() const { return failure_.isEmpty(); }
    TTarvaneDataForm& dm() { return dm_; }

private:
    QString config_;
    TTarvaneDataForm dm_;
    DatabaseStartup startup_;
    QString failure_;
};

int cmdInit(QStringList args)
{
    if (args.size() != 1)
        return usage();
    createDataDirectory(args[0]);
    out() << "Created " << QDir(args[0]).absoluteFilePath(QLatin1String(Database::kDataFileName)) << Qt::endl;
    return 0;
}

int cmdCheck(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    if (!args.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    TTarvaneDataForm& dm = data.dm();
    out() << "Data file: " << dm.TarvaneDatabase.filePath() << Qt::endl;
    for (const auto& step : dm.openingSteps())
        out() << "  " << step.label << ": " << step.view->recordCount() << " records shown" << Qt::endl;
    return 0;
}

}  // namespace

int runCli(const QStringList& argList)
{
    QStringList args = argList;
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    ConsoleDialogs dialogs;
    try {
        if (command == QLatin1String("init"))
            return cmdInit(args);
        if (command == QLatin1String("check"))
            return cmdCheck(args, dialogs);
    } catch (const std::exception& e) {
        dialogs.showException(e);
        return 1;
    }
    return usage();
}
