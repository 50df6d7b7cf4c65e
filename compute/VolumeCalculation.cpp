#include "VolumeCalculation.h"

#include "DataSet.h"
#include "TableRules.h"

#include <cmath>

VolumeSetTotal TotalAllVolumes(DataSet& sections)
{
    VolumeSetTotal result;
    if (!sections.active() || sections.isEmpty())
        return result;
    const Bookmark here = sections.bookmark();
    double sum = 0;
    for (sections.first(); !sections.eof(); sections.next()) {
        SectionVolume s;
        s.name = sections.fieldByName(QStringLiteral("CrossSectionName")).asString();
        s.volume = sections.fieldByName(QStringLiteral("Volume")).asFloat();
        sum += s.volume;
        result.sections << s;
    }
    // Every term has two decimals, so the sum has too; rounding drops the binary remainder.
    result.total = std::round(sum * 100.0) / 100.0;
    if (sections.bookmarkValid(here))
        sections.gotoBookmark(here);
    return result;
}

VolumeSetViews::VolumeSetViews(Database& db, TableRules& rules)
    : ProjectV(db, QStringLiteral("VolumeProjectV"), QStringLiteral("PROJECT.DB")),
      SetsV(db, QStringLiteral("VolumeSetsV"), QStringLiteral("CrossSections.db")),
      SectionsV(db, QStringLiteral("VolumeSectionsV"), QStringLiteral("Volume.db")),
      ProjectDS_(QStringLiteral("VolumeProjectVDS"), &ProjectV),
      SetsDS_(QStringLiteral("VolumeSetsVDS"), &SetsV)
{
    SetsV.setIndexName(QStringLiteral("PrjID"));
    SetsV.setMasterSource(&ProjectDS_, {QStringLiteral("PrjID")});
    SectionsV.setIndexName(QStringLiteral("CrossID"));
    SectionsV.setMasterSource(&SetsDS_, {QStringLiteral("CrossID")});
    rules.calculateSectionVolumes(SectionsV);
}

bool VolumeSetViews::standOnProject(const QVariant& projectId)
{
    for (Table* t : {&ProjectV, &SetsV, &SectionsV})
        if (!t->active())
            t->open();
    return projectId.isValid() && ProjectV.locate({QStringLiteral("PrjID")}, {projectId});
}
