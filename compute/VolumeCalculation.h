#pragma once
// "Total All Volumes": the volumes of the cross sections of one volume set,
// as the sections' calculated field holds them, and their sum.
#include "DataSource.h"
#include "Table.h"

#include <QList>
#include <QString>

class Database;
class DataSet;
class TableRules;

struct SectionVolume {
    QString name;
    double volume = 0;  // cubic yards, two decimals
};

struct VolumeSetTotal {
    QList<SectionVolume> sections;
    double total = 0;  // the sum of the two-decimal section volumes
};

// Walks `sections` (the sections of the current volume set) from the first to the
// last and adds up their volumes. The view is left on the section it was on.
VolumeSetTotal TotalAllVolumes(DataSet& sections);

// A project's volume sets and their sections in views of their own, linked and calculated
// as the volume calculator's: a listing never moves the record a window shows.
class VolumeSetViews {
public:
    VolumeSetViews(Database& db, TableRules& rules);
    VolumeSetViews(const VolumeSetViews&) = delete;
    VolumeSetViews& operator=(const VolumeSetViews&) = delete;

    // Stands on the project; false when the file holds no such project.
    bool standOnProject(const QVariant& projectId);

    Table ProjectV, SetsV, SectionsV;

private:
    DataSource ProjectDS_, SetsDS_;
};
