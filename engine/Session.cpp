#include "Session.h"

#include "EDatabaseError.h"
#include "EngineConfig.h"

#include <QDir>

Session::Session(QString name) : name_(std::move(name)), configPath_(EngineConfig::defaultPath()) {}

void Session::setPrivateDir(const QString& dir)
{
    if (!dir.isEmpty() && !QDir().mkpath(dir))
        throw EDatabaseError(QStringLiteral("Cannot create the session's private directory %1").arg(dir));
    privateDir_ = dir;
}

void Session::setActive(bool on)
{
    if (on == active_)
        return;
    if (on && onStartup)
        onStartup(*this);
    active_ = on;
}

void Session::addAlias(const QString& alias, const QString& directory)
{
    aliases_.insert(alias.toLower(), directory);
}

QString Session::aliasPath(const QString& alias) const
{
    const auto it = aliases_.constFind(alias.toLower());
    if (it != aliases_.constEnd())
        return *it;
    EngineConfig cfg(configPath_);
    if (!cfg.exists())
        throw EDatabaseError(QStringLiteral("The engine configuration file %1 does not exist").arg(configPath_));
    cfg.load();
    const QString path = cfg.aliasPath(alias);
    if (path.isEmpty())
        throw EDatabaseError(
            QStringLiteral("Unknown database alias: %1 (not defined in %2)").arg(alias, configPath_));
    return path;
}

bool Session::requestPassword(const QString& tableName, const QString& password)
{
    Q_UNUSED(tableName);
    if (knowsPassword(password))
        return true;
    bool continueRequest = true;
    if (onPassword)
        onPassword(*this, continueRequest);
    return continueRequest && knowsPassword(password);
}
