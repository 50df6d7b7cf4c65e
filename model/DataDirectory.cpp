#include "DataDirectory.h"

#include "Database.h"
#include "EDatabaseError.h"
#include "EngineConfig.h"
#include "TableFormats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QStringList shippedDataScripts()
{
    QStringList out;
    for (const char* name : {":/datadir/reference.sql", ":/datadir/mines.sql"}) {
        QFile f(QString::fromLatin1(name));
        if (!f.exists())
            continue;
        if (!f.open(QIODevice::ReadOnly))
            throw EDatabaseError(QStringLiteral("Cannot read the shipped data %1").arg(QString::fromLatin1(name)));
        out << QString::fromUtf8(f.readAll());
    }
    return out;
}

void createDataDirectory(const QString& directory)
{
    if (!QDir().mkpath(directory))
        throw EDatabaseError(QStringLiteral("Cannot create the data directory %1").arg(directory));
    Database::createDataFile(QDir(directory).filePath(QLatin1String(Database::kDataFileName)), tarvaneTableFormats(),
                             shippedDataScripts());
}

bool ensureEngineConfigured(const QString& configPath)
{
    EngineConfig cfg(configPath);
    if (cfg.exists())
        return false;
    const QString dataDir = EngineConfig::defaultDataDirectory();
    if (!QFileInfo::exists(QDir(dataDir).filePath(QLatin1String(Database::kDataFileName))))
        createDataDirectory(dataDir);
    cfg.setDefaults(dataDir);
    cfg.save();
    return true;
}
