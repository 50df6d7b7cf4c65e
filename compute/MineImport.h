#pragma once
// Bringing an estimate in from another data file: the other file opened for
// reading only and checked as start-up checks a data file, the reference rows
// its mine names that this file lacks or prices differently, and the mine with
// its projects, worksheets, volume sets and machines copied in by the copy's own
// code, in one transaction that leaves nothing behind when a step fails.
#include "Database.h"
#include "Session.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class DataModule;
class Dialogs;
class TableRules;

// Another program's data directory, read and never written.
class SourceDataFile {
public:
    // Throws EDatabaseError with the user's message when the folder holds no data
    // file, the file is not one, is damaged, was made by a newer program, is the
    // file `here` works on, or is locked by another program. Without `here` the
    // file is checked against the program's own table formats.
    SourceDataFile(const QString& directory, Database& here);
    explicit SourceDataFile(const QString& directory, Database* here = nullptr);
    SourceDataFile(const SourceDataFile&) = delete;
    SourceDataFile& operator=(const SourceDataFile&) = delete;

    Database& database() { return db_; }
    QString path() const { return db_.filePath(); }

    struct Mine {
        int id = 0;
        QString applicant, permit;
    };
    QList<Mine> mines();
    // Throws EDatabaseError when the file holds no such mine.
    Mine mine(int id);

private:
    Session session_{QStringLiteral("TarvaneImport")};
    Database db_{session_};
};

// A reference row the estimate names, missing here or priced differently here.
struct ReferenceDifference {
    enum class Kind { Missing, Priced };
    Kind kind = Kind::Missing;
    QString table;  // "HCOST.DB", "LaborCost.db", "GRAPH2.DB"
    QString what;   // the machine name, the labor category or the fee table's name
    QString here, there;  // the row as each file holds it; `here` is empty when missing
};

// The reference rows mine `mineId` of `source` names: the equipment models of its
// machines, the labor categories their labor costs come from, and the fee tables.
QList<ReferenceDifference> referenceDifferences(SourceDataFile& source, Database& here, int mineId);

enum class ReferenceChoice {
    Keep,  // this file's reference rows stay as they are
    Bring  // the estimate's rows are brought in: added where missing, repriced where they differ
};

struct ImportedMine {
    int mineId = -1;              // the new mine
    QStringList copyLog;          // the relinking lines, as the copy writes them
    int volumeSets = 0;           // cross sections copied with the projects
    QList<ReferenceDifference> differences;
    bool referenceBroughtIn = false;
};

// Copies mine `mineId` of `source` into the data module's file. Returns false when a
// stage of the copy failed (its message was shown) and throws EDatabaseError on any
// other failure; either way nothing is written.
bool importMine(DataModule& dm, TableRules& rules, Dialogs& dialogs, SourceDataFile& source, int mineId,
                ReferenceChoice choice, ImportedMine& result, const std::function<void(int)>& stepBy = {});

// "missing here" or "priced differently".
QString differenceName(ReferenceDifference::Kind kind);
