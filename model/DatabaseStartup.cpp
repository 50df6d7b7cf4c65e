#include "DatabaseStartup.h"

#include "EDatabaseError.h"
#include "EngineConfig.h"
#include "DataModule.h"

#include <QStandardPaths>

void EnableLocalShare(const QString& configPath, const QString& request, const QString& value)
{
    const int semi = static_cast<int>(request.indexOf(QLatin1Char(';')));
    if (semi < 0)
        throw EDatabaseError(QStringLiteral(
            "Invalid parameter passed to function.  There must be a semi-colon delimited sting passed"));
    const QString path = request.left(semi);
    const QString entry = request.mid(semi + 1);
    EngineConfig cfg(configPath);
    cfg.load();  // a read failure is the engine's own error
    if (EngineConfig::Section* s = cfg.section(path)) {
        for (EngineConfig::Entry& e : s->entries) {
            if (e.name == entry) {
                // Written only when it changes: a configuration the user cannot write that already
                // allows sharing must not keep the data from opening.
                if (e.value != value) {
                    e.value = value;
                    cfg.save();
                }
                return;
            }
        }
    }
    throw EDatabaseError(request + QStringLiteral(" entry was not found in configuration file"));
}

bool DatabaseStartup::OpenAllTables(QString& name)
{
    DatabaseOpened = true;
    FailureReason.clear();
    try {
        dm_.Session.setPrivateDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                                  QStringLiteral("/Priv"));
        dm_.TarvaneDatabase.disconnect();
        dm_.TarvaneDatabase.setAliasName(QStringLiteral("TarvaneDB"));
        dm_.TarvaneDatabase.setDatabaseName(QStringLiteral("TarvaneDataDB"));
        dm_.TarvaneDatabase.connect();
        dm_.Session.setActive(true);
        EnableLocalShare(dm_.Session.configPath());
    } catch (...) {
        DatabaseOpened = false;
        throw;
    }
    try {
        if (!dm_.Session.active()) {
            name = QStringLiteral("Session is not active");
            DatabaseOpened = false;
            return false;
        }
        if (!dm_.TarvaneDatabase.connected()) {
            name = QStringLiteral("Database not Connected");
            DatabaseOpened = false;
            return false;
        }
        for (const auto& step : dm_.openingSteps()) {
            name = step.label;
            step.view->open();
        }
    } catch (const std::exception& e) {
        FailureReason = QString::fromUtf8(e.what());
        DatabaseOpened = false;
        return false;
    }
    return true;
}

QString DatabaseStartup::failureMessage(const QString& name) const
{
    QString text = QStringLiteral("Database did NOT open -- Error in table:  ") + name;
    const QString path = dm_.TarvaneDatabase.filePath();
    if (!FailureReason.isEmpty() && !path.isEmpty())
        text += QStringLiteral("\nData file: ") + path;
    if (!FailureReason.isEmpty())
        text += QLatin1Char('\n') + FailureReason;
    return text;
}

QString DatabaseStartup::readOnlyNotice() const
{
    if (!dm_.TarvaneDatabase.connected() || !dm_.TarvaneDatabase.readOnly())
        return {};
    return QStringLiteral("The data file %1 is read-only: it is open for reading, and no change can be posted.")
        .arg(dm_.TarvaneDatabase.filePath());
}

// Also after a failed start-up: whatever did open closes, and nothing of it throws.
void DatabaseStartup::CloseAllTables()
{
    dm_.closeAllViews();
}

// Also after a failed start-up: an open view's pending edit is posted whatever failed to open.
void DatabaseStartup::PostPendingEdits()
{
    for (DataSet* t : {static_cast<DataSet*>(&dm_.MineT), static_cast<DataSet*>(&dm_.ProjectT),
                       static_cast<DataSet*>(&dm_.DemolT)})
        if (t->active() && t->isEditing())
            t->post();
}

QString DatabaseStartup::ActivateDatabase()
{
    dm_.CalcEnabled = true;
    dm_.Session.setActive(true);
    QString name;
    if (!OpenAllTables(name))
        return failureMessage(name);
    return {};
}
