#pragma once
// The paper sizes a report can be printed on. One choice serves every output:
// the PDF file, the text file, the preview and the printer lay out the same pages.
#include <QPageSize>
#include <QSizeF>
#include <QStringList>

inline constexpr const char* kDefaultPaper = "Letter";

// The names offered, in the order shown.
QStringList paperNames();
// The named paper; Letter for a name that is not offered.
QPageSize paperPageSize(const QString& name);
// Width and height in inches.
QSizeF paperInches(const QString& name);
// "Letter (8.5 x 11 in)".
QString paperDescription(const QString& name);
