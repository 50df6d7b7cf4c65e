#include "PaperSize.h"

namespace {

struct Paper {
    const char* name;
    QPageSize::PageSizeId id;
};

constexpr Paper kPapers[] = {{"Letter", QPageSize::Letter},
                             {"Legal", QPageSize::Legal},
                             {"Tabloid", QPageSize::Tabloid},
                             {"Executive", QPageSize::Executive},
                             {"A4", QPageSize::A4},
                             {"A3", QPageSize::A3},
                             {"A5", QPageSize::A5}};

QPageSize::PageSizeId idOf(const QString& name)
{
    for (const Paper& p : kPapers)
        if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0)
            return p.id;
    return QPageSize::Letter;
}

QString nameOf(QPageSize::PageSizeId id)
{
    for (const Paper& p : kPapers)
        if (p.id == id)
            return QString::fromLatin1(p.name);
    return QString::fromLatin1(kDefaultPaper);
}

}  // namespace

QStringList paperNames()
{
    QStringList names;
    for (const Paper& p : kPapers)
        names << QString::fromLatin1(p.name);
    return names;
}

QPageSize paperPageSize(const QString& name)
{
    return QPageSize(idOf(name));
}

QSizeF paperInches(const QString& name)
{
    return paperPageSize(name).size(QPageSize::Inch);
}

QString paperDescription(const QString& name)
{
    const QSizeF in = paperInches(name);
    return QStringLiteral("%1 (%2 x %3 in)")
        .arg(nameOf(idOf(name)), QString::number(in.width(), 'g', 4), QString::number(in.height(), 'g', 4));
}
