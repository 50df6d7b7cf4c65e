#pragma once
// The copy of a mine's bond: a new mine with all its projects, their
// demolition, earthmoving, revegetation and other-reclamation items and the
// equipment of those items, new keys all the way down, then the links of
// push dozers to their scraper and of trucks to their loader or excavator
// made again where the copy can tell them apart, with a log of what it found.
//
// It walks the views of CopyDataModule, outside the table rules, and runs as
// one database transaction that is committed also when a stage fails: what
// the stages posted before the failure stays. Both the copy window and the
// command line run it.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <utility>

class Dialogs;
class Field;
class Table;
class CopyDataModule;
class DataModule;

// While a copy is made, the main data module's calculated equipment fields and
// cascades wait (CalcEnabled cleared); they run again when the scope ends.
class SuspendedCalculations {
public:
    explicit SuspendedCalculations(DataModule& dm);
    ~SuspendedCalculations();
    SuspendedCalculations(const SuspendedCalculations&) = delete;
    SuspendedCalculations& operator=(const SuspendedCalculations&) = delete;

private:
    DataModule& dm_;
};

class MineCopy {
public:
    MineCopy(CopyDataModule& data, Dialogs& dialogs);

    // Advances the progress bar by the given amount (the bar stops at 100).
    std::function<void(int)> stepBy;

    // Copies the mine whose MineID is given; the copy's views must be open.
    // True when every stage posted and relinking ran. A failed stage shows its
    // message, cancels the pending insert and stops: false. An error of
    // positioning or relinking is thrown.
    bool run(int sourceMineId);

    int newMineId() const { return newMineId_; }
    // 100 divided by the work counted, truncated.
    int progressStep() const { return step_; }
    int workCount() const { return work_; }
    // The copy log: cleared when the records are copied, then one line per relinking lookup.
    const QStringList& log() const { return log_; }
    // Each copied project's key in the source and in the copy, in the order copied.
    const QList<std::pair<int, int>>& projectKeys() const { return projectKeys_; }

private:
    // The fields one record gives another: every stored field but the excluded names and the key.
    struct FieldMap {
        FieldMap(Table& source, Table& target, const QStringList& excluded);
        QVector<QVariant> read() const;  // the source's current values, by the field rule
        void write(const QVector<QVariant>& values) const;
        QVector<Field*> from, to;
    };
    int countWork();
    bool copyStages();
    bool copyItems(Table& source, Table& target, const QStringList& excluded, const char* failure, Table* equipSource,
                   Table* equipTarget, const char* equipFailure);
    bool stage(Table& target, const char* failure, const std::function<void()>& work);
    void copyRecord(Table& source, Table& target, const QStringList& excluded);
    void relink(int kind);
    void relinkSheet(Table& sheet, Table& equipment, const QString& itemField, QChar letter, int kind);
    void advance(int n);

    CopyDataModule& data_;
    Dialogs& dialogs_;
    QStringList log_;
    QList<std::pair<int, int>> projectKeys_;
    int newMineId_ = -1;
    int step_ = 0;
    int work_ = 0;
};

// Opens the copy's views (an error names the view that would not open) and runs the copy of
// mine `mineId` with the data module's calculations suspended, inside whatever transaction
// the caller holds: what the import and the re-pricing build on. False when a stage failed
// (the views are closed again).
bool runMineCopy(DataModule& dm, CopyDataModule& data, MineCopy& copy, int mineId);

// The value a field gives its copy, by its type (also a yes/no value); invalid for an empty field.
QVariant copiedValue(const Field& from);

// Writes the log lines to `path` as plain text, one line per entry; throws EDatabaseError when it cannot.
void writeCopyLog(const QString& path, const QStringList& lines);
