#pragma once
// The engine's persistent configuration: a text file of sections (configuration
// paths such as "\SYSTEM\INIT\") holding ordered "name=value" entries. It keeps
// the database aliases and the engine's start-up entries.
#include <QList>
#include <QPair>
#include <QString>

class EngineConfig {
public:
    struct Entry {
        QString name;
        QString value;
    };
    struct Section {
        QString path;
        QList<Entry> entries;
    };

    // TARVANE_ENGINE_CFG when set, else the per-user configuration folder.
    static QString defaultPath();
    // Where a first start puts the user's data directory.
    static QString defaultDataDirectory();
    static QString aliasSection(const QString& alias);

    explicit EngineConfig(QString filePath);

    const QString& filePath() const { return path_; }
    bool exists() const;
    void load();        // throws EDatabaseError when the file cannot be read
    void save() const;  // atomic replace; throws EDatabaseError on failure

    QList<Section>& sections() { return sections_; }
    const QList<Section>& sections() const { return sections_; }
    Section* section(const QString& path);
    QString value(const QString& path, const QString& name) const;
    void setValue(const QString& path, const QString& name, const QString& value);

    QString aliasPath(const QString& alias) const;
    void setAliasPath(const QString& alias, const QString& directory);

    // The configuration a first start writes: the alias and the start-up entries.
    void setDefaults(const QString& dataDirectory);

private:
    QString path_;
    QList<Section> sections_;
};
