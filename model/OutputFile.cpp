#include "OutputFile.h"

#include "DataModule.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace {

// The path with its links resolved; the file itself need not exist (a link may
// name a file still to be made, such as a -wal file).
QString resolved(const QString& path, int depth = 0)
{
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists() && depth < 16)
        return resolved(info.symLinkTarget(), depth + 1);
    if (info.exists())
        return info.canonicalFilePath();
    const QString dir = QFileInfo(info.absolutePath()).canonicalFilePath();
    return dir.isEmpty() ? info.absoluteFilePath() : QDir(dir).filePath(info.fileName());
}

// True when the two paths name one file: the same path once links are resolved,
// or, when both exist, the same file under two names (a hard link).
bool sameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (resolved(a) == resolved(b))
        return true;
    std::error_code ec;
    return std::filesystem::equivalent(std::filesystem::path(QFile::encodeName(a).toStdString()),
                                       std::filesystem::path(QFile::encodeName(b).toStdString()), ec) &&
           !ec;
}

}  // namespace

QString outputFileRefusal(const QString& path, const DataModule& dm, const QString& what)
{
    return outputFileRefusal(path, dm.TarvaneDatabase.filePath(), dm.Session.configPath(), what);
}

QString outputFileRefusal(const QString& path, const QString& data, const QString& configFile, const QString& what)
{
    const auto refused = [&](const QString& why) {
        return QStringLiteral("Cannot write %1 to %2: %3. Choose another file.").arg(what, path, why);
    };
    if (path.trimmed().isEmpty())
        return QStringLiteral("Cannot write %1: no file is named.").arg(what);
    if (!data.isEmpty()) {
        if (sameFile(path, data))
            return refused(QStringLiteral("it is the data file"));
        for (const char* suffix : {"-wal", "-shm", "-journal"})
            if (sameFile(path, data + QLatin1String(suffix)))
                return refused(QStringLiteral("it is the data file's %1 file").arg(QLatin1String(suffix)));
    }
    if (sameFile(path, configFile))
        return refused(QStringLiteral("it is the database engine's configuration file"));
    const QFileInfo info(path);
    if (info.isDir())
        return refused(QStringLiteral("it is a directory"));
    if (info.exists() && !info.isFile())
        return refused(QStringLiteral("it is not a regular file"));
    return {};
}
