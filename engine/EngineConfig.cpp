#include "EngineConfig.h"

#include "EDatabaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

QString EngineConfig::defaultPath()
{
    const QString env = qEnvironmentVariable("TARVANE_ENGINE_CFG");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Veskor/TarvaneEngine.cfg");
}

QString EngineConfig::defaultDataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Veskor/Tarvane/Data");
}

QString EngineConfig::aliasSection(const QString& alias)
{
    return QStringLiteral("\\DATABASES\\") + alias + QStringLiteral("\\DB INFO\\");
}

EngineConfig::EngineConfig(QString filePath) : path_(std::move(filePath)) {}

bool EngineConfig::exists() const
{
    return QFileInfo::exists(path_);
}

void EngineConfig::load()
{
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw EDatabaseError(QStringLiteral("Cannot read the engine configuration file %1: %2").arg(path_, f.errorString()));
    sections_.clear();
    QTextStream in(&f);
    int lineNo = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        ++lineNo;
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            sections_.append({line.mid(1, line.size() - 2), {}});
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || sections_.isEmpty())
            throw EDatabaseError(
                QStringLiteral("The engine configuration file %1 is damaged at line %2").arg(path_).arg(lineNo));
        sections_.last().entries.append({line.left(eq), line.mid(eq + 1)});
    }
}

void EngineConfig::save() const
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        throw EDatabaseError(QStringLiteral("Cannot write the engine configuration file %1: %2").arg(path_, f.errorString()));
    QTextStream out(&f);
    out << "; Tarvane table engine configuration\n";
    for (const Section& s : sections_) {
        out << '[' << s.path << "]\n";
        for (const Entry& e : s.entries)
            out << e.name << '=' << e.value << '\n';
    }
    out.flush();
    if (!f.commit())
        throw EDatabaseError(QStringLiteral("Cannot write the engine configuration file %1: %2").arg(path_, f.errorString()));
}

EngineConfig::Section* EngineConfig::section(const QString& path)
{
    for (Section& s : sections_)
        if (s.path.compare(path, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

QString EngineConfig::value(const QString& path, const QString& name) const
{
    for (const Section& s : sections_)
        if (s.path.compare(path, Qt::CaseInsensitive) == 0)
            for (const Entry& e : s.entries)
                if (e.name == name)
                    return e.value;
    return {};
}

void EngineConfig::setValue(const QString& path, const QString& name, const QString& value)
{
    Section* s = section(path);
    if (!s) {
        sections_.append({path, {}});
        s = &sections_.last();
    }
    for (Entry& e : s->entries)
        if (e.name == name) {
            e.value = value;
            return;
        }
    s->entries.append({name, value});
}

QString EngineConfig::aliasPath(const QString& alias) const
{
    return value(aliasSection(alias), QStringLiteral("PATH"));
}

void EngineConfig::setAliasPath(const QString& alias, const QString& directory)
{
    setValue(aliasSection(alias), QStringLiteral("TYPE"), QStringLiteral("STANDARD"));
    setValue(aliasSection(alias), QStringLiteral("PATH"), directory);
}

void EngineConfig::setDefaults(const QString& dataDirectory)
{
    const QString init = QStringLiteral("\\SYSTEM\\INIT\\");
    setValue(init, QStringLiteral("VERSION"), QStringLiteral("4.0"));
    setValue(init, QStringLiteral("LOCAL SHARE"), QStringLiteral("FALSE"));
    setValue(init, QStringLiteral("MINBUFSIZE"), QStringLiteral("128"));
    setValue(init, QStringLiteral("MAXBUFSIZE"), QStringLiteral("2048"));
    setValue(init, QStringLiteral("LANGDRIVER"), QStringLiteral("UTF-8"));
    setAliasPath(QStringLiteral("TarvaneDB"), dataDirectory);
}
