#include "CliArgs.h"


// The value after `flag`, or empty; removes both from args.
QString takeOption(QStringList& args, const QString& flag)
{
    const int i = static_cast<int>(args.indexOf(flag));
    if (i < 0 || i + 1 >= args.size())
        return {};
    const QString v = args[i + 1];
    args.remove(i, 2);
    return v;
}

bool takeFlag(QStringList& args, const QString& flag)
{
    return args.removeAll(flag) > 0;
}

int takeNumber(QStringList& args, const QString& flag, bool required, int fallback)
{
    const QString v = takeOption(args, flag);
    if (v.isEmpty()) {
        if (required)
            throw CliUsageError(QStringLiteral("%1 is required").arg(flag));
        return fallback;
    }
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok)
        throw CliUsageError(QStringLiteral("%1 takes a whole number, not '%2'").arg(flag, v));
    return n;
}

double takeReal(QStringList& args, const QString& flag)
{
    const QString v = takeOption(args, flag);
    if (v.isEmpty())
        throw CliUsageError(QStringLiteral("%1 is required").arg(flag));
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw CliUsageError(QStringLiteral("%1 takes a number, not '%2'").arg(flag, v));
    return d;
}
