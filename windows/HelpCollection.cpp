#include "HelpCollection.h"

#include "HelpBook.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QStandardPaths>

namespace {

QString cacheFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir + QStringLiteral("/help")))
        dir = QDir::tempPath() + QStringLiteral("/tarvane-help-") + qEnvironmentVariable("USER");
    QDir().mkpath(dir + QStringLiteral("/help"));
    return dir + QStringLiteral("/help");
}

}  // namespace

QString prepareHelpCollection(const QString& qch, QString& error)
{
    const QFileInfo info(qch);
    if (!info.isFile()) {
        error = HelpBook::missingFileText(qch);
        return {};
    }
    const QString ns = QHelpEngineCore::namespaceName(info.absoluteFilePath());
    if (ns.isEmpty()) {
        error = QStringLiteral("The help file %1 is damaged or is not a help file.").arg(QDir::toNativeSeparators(qch));
        return {};
    }
    // One collection per help file, so two installations never share one.
    const QString collection = cacheFolder() + QStringLiteral("/Tarvane-%1.qhc")
                                                   .arg(qHash(info.absoluteFilePath()), 8, 16, QLatin1Char('0'));
    const QString shipped = info.absolutePath() + QStringLiteral("/Tarvane.qhc");
    if (!QFileInfo::exists(collection) && QFileInfo::exists(shipped))
        QFile::copy(shipped, collection);
    QFile::setPermissions(collection, QFile::ReadOwner | QFile::WriteOwner);
    QHelpEngineCore engine(collection);
    if (!engine.setupData()) {
        error = QStringLiteral("Cannot open the help collection %1: %2").arg(QDir::toNativeSeparators(collection), engine.error());
        return {};
    }
    // The collection keeps its own list of the help file's pages: a help file that was
    // replaced (a new version of the program) is registered again, or its pages would not be found.
    const QString stamp = QStringLiteral("%1 %2 %3")
                              .arg(info.absoluteFilePath())
                              .arg(info.lastModified().toMSecsSinceEpoch())
                              .arg(info.size());
    const bool current = engine.customValue(QStringLiteral("TarvaneHelpFile")).toString() == stamp;
    for (const QString& registered : engine.registeredDocumentations())
        if (!current || engine.documentationFileName(registered) != info.absoluteFilePath())
            engine.unregisterDocumentation(registered);
    if (!engine.registeredDocumentations().contains(ns) && !engine.registerDocumentation(info.absoluteFilePath())) {
        error = QStringLiteral("Cannot open the help file %1: %2").arg(QDir::toNativeSeparators(qch), engine.error());
        return {};
    }
    engine.setCustomValue(QStringLiteral("TarvaneHelpFile"), stamp);
    return collection;
}
