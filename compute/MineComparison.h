#pragma once
// Two estimates side by side: the 34 items of both mines' bonds, then the projects,
// worksheet rows and machines that differ, matched by where they stand (project, kind of
// worksheet) and by their names in order: added, removed, or changed with each changed
// stored value named.
#include "BondSummary.h"

#include <QList>
#include <QString>
#include <QVariant>

class Computation;

struct FieldChange {
    QString field;
    QVariant before, after;
};

struct RecordDifference {
    enum class Change { Added, Removed, Changed };
    Change change = Change::Changed;
    QString what;   // the record's place: "Project 1: North Pit / Earthmoving row 2: ..."
    QString table;  // the table it is stored in
    qint64 keyBefore = 0, keyAfter = 0;  // its key in the first mine and in the second (0: none)
    QList<FieldChange> fields;
    double costBefore = 0, costAfter = 0;  // its cost, where it has one (a project, row or machine)
    bool hasCost = false;
};

struct MineComparison {
    QVariant mine, with;
    QString mineName, withName;
    BondItems before, after;
    QList<RecordDifference> records;
    LeftOutValues incomplete;  // the stored values either bond left out

    bool itemDiffers(int item) const;
    bool equal() const;
};

// Compares mine `mine` (before) with mine `with` (after), of any data sets. Throws
// EDatabaseError when the file holds no such mine.
MineComparison compareMines(Computation& computation, const QVariant& mine, const QVariant& with);

// "added", "removed" or "changed".
QString changeName(RecordDifference::Change change);
// A stored value as the comparison names it.
QString comparedValue(const QVariant& v);
// What differs in a record, in words: "OperatCost 195 -> 210; cost $1.00 -> $2.00".
QString differenceText(const RecordDifference& d);
