#pragma once
// "Total All Volumes": the volumes of the cross sections of one volume set,
// as the sections' calculated field holds them, and their sum.
#include <QList>
#include <QString>

class DataSet;

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
