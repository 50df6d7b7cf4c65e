#pragma once
// Opening the data module's tables when the program starts and closing them
// when it ends, in the fixed order, naming the table at which opening stopped.
#include <QString>

class DataModule;

class DatabaseStartup {
public:
    explicit DatabaseStartup(DataModule& dm) : dm_(dm) {}

    bool DatabaseOpened = false;

    // Connects and opens the views in order. On failure returns false with
    // `name` holding the label of the view that failed (or the session or
    // connection state). A failure to connect or to set the engine's
    // configuration propagates as EDatabaseError.
    bool OpenAllTables(QString& name);
    // Closes every open view in the opening order; never throws.
    void CloseAllTables();
    // Posts the mine, project and demolition views when they are being edited.
    void PostPendingEdits();

    // The activation steps of the data module: calculations enabled, session
    // active, tables opened. Returns the message to show when a table failed,
    // empty on success.
    QString ActivateDatabase();

    // The engine's reason for the last failure of OpenAllTables; empty when none was given.
    QString FailureReason;

    // The line that names the table at which opening stopped; below it, when known,
    // the data file's path and the engine's reason.
    QString failureMessage(const QString& name) const;
    // Said once when the data file opened read-only; empty otherwise.
    QString readOnlyNotice() const;

private:
    DataModule& dm_;
};

// Sets an entry of the engine's persistent configuration; `request` is the
// configuration path and the entry name separated by ';'.
void EnableLocalShare(const QString& configPath, const QString& request = QStringLiteral("\\SYSTEM\\INIT\\;LOCAL SHARE"),
                      const QString& value = QStringLiteral("TRUE"));
