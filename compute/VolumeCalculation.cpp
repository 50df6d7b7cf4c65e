#include "VolumeCalculation.h"

#include "DataSet.h"

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
