#pragma once
// A backup of the data file while the program uses it: SQLite's online backup
// copies a consistent snapshot of the committed data, page by page, into a new
// file that then takes the backup's name in one rename.
#include <QString>

class DataModule;

// Writes the copy of the data module's data file to `target` (its folder is made
// when missing) and returns the copy's path. Throws EDatabaseError, having written
// nothing at `target`, when the path is refused as a report output is (the live
// data file, its -wal, -shm or -journal file, the engine configuration, a
// directory, not a regular file) or when the copy fails.
QString backUpDataFile(DataModule& dm, const QString& target);
