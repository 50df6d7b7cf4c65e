#pragma once
// tarvane-cli copy and log: the copy of a mine's bond, run by the same code as
// the copy window, and the event log of mines.
#include <QString>

class Dialogs;
class DataModule;

// Copies the mine (the data module stands on it); prints the new MineID and the
// copy log, or with `json` one object. `logFile`: the log lines are also written
// there. Returns the exit status: 1 when a stage failed (its message already shown).
int runCopyCommand(DataModule& dm, Dialogs& dialogs, int mineId, const QString& logFile, bool json);

// Prints the event log, oldest first; only the entries of the mine named `mineName` when it is not empty.
int runLogCommand(DataModule& dm, const QString& mineName, bool json);
