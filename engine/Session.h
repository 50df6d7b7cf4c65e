#pragma once
// A session of the table engine: its name, its private directory for the
// engine's temporary files, the passwords it knows, and the aliases it sees
// (those of the persistent configuration, plus aliases added for this run).
#include <QHash>
#include <QSet>
#include <QString>
#include <functional>

class EngineConfig;

class Session {
public:
    explicit Session(QString name = QStringLiteral("Default"));

    const QString& sessionName() const { return name_; }
    void setSessionName(const QString& n) { name_ = n; }

    const QString& privateDir() const { return privateDir_; }
    void setPrivateDir(const QString& dir);  // created when missing; temporary files go there

    // Path of the engine configuration file this session reads its aliases from.
    const QString& configPath() const { return configPath_; }
    void setConfigPath(const QString& path) { configPath_ = path; }

    bool active() const { return active_; }
    void setActive(bool on);  // activation runs onStartup first

    // Aliases added for this session only; they win over the configuration file.
    void addAlias(const QString& alias, const QString& directory);
    QString aliasPath(const QString& alias) const;  // throws EDatabaseError when undefined

    void addPassword(const QString& password) { passwords_.insert(password); }
    bool knowsPassword(const QString& password) const { return passwords_.contains(password); }
    // Asks the program for the password of a protected table; true when it is known afterwards.
    bool requestPassword(const QString& tableName, const QString& password);

    std::function<void(Session&)> onStartup;
    std::function<void(Session&, bool& continueRequest)> onPassword;

private:
    QString name_;
    QString privateDir_;
    QString configPath_;
    bool active_ = false;
    QHash<QString, QString> aliases_;
    QSet<QString> passwords_;
};
