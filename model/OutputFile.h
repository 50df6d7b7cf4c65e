#pragma once
// The one check every report output makes before it writes a file: a report
// never replaces the data it was printed from nor the engine's configuration.
#include <QString>

class DataModule;

// Why a report file may not be written at `path`, or an empty text when it may:
// the path is the data module's data file or one of its -wal, -shm or -journal
// files, the engine configuration file, a directory, or something that exists and
// is not a regular file (a device, a fifo, a socket). Links are followed, so a
// link to one of those is refused too.
// `what` names the output in the message ("the report", "the backup").
QString outputFileRefusal(const QString& path, const DataModule& dm, const QString& what = QStringLiteral("the report"));
// The same check against a data file and an engine configuration named outright.
QString outputFileRefusal(const QString& path, const QString& dataFile, const QString& configFile, const QString& what);
