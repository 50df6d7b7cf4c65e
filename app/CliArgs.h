#pragma once
// Reading the command line's options: each helper takes what it read out of the list,
// so that anything left over is an unknown option.
#include <QStringList>

// The value after `flag`, or empty; removes both from args.
QString takeOption(QStringList& args, const QString& flag);
bool takeFlag(QStringList& args, const QString& flag);
// A whole number; throws when it is required and missing, or not a number.
int takeNumber(QStringList& args, const QString& flag, bool required, int fallback = 0);
// A real number, required; throws when it is missing or not a number.
double takeReal(QStringList& args, const QString& flag);
