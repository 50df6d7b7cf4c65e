#pragma once
// What every command's result shares: standard output, and the values a result
// left out because their stored form cannot be used.
#include "LeftOutValue.h"

#include <QString>
#include <QTextStream>

QTextStream& out();

// The "incomplete" member of a JSON result that leaves out stored values, with its
// leading comma; empty when nothing was left out.
QString incompleteMember(const LeftOutValues& values);
// The end of a text result that leaves out stored values: the line every output carries
// and the values, one a line. The reason is on standard error.
void printIncomplete(const LeftOutValues& values);
// 0 done, 3 written but incomplete: the result leaves out stored values it could not use.
int doneStatus(const LeftOutValues& values);
