#include "LeftOutValue.h"

QString LeftOutValue::line() const
{
    return QStringLiteral("%1, %2 %3: %4 = %5").arg(table, keyField).arg(key).arg(field, value);
}

QString incompleteLine(const LeftOutValues& values)
{
    return QStringLiteral("Incomplete: %1 stored value(s) left out").arg(values.size());
}

QStringList leftOutLines(const LeftOutValues& values)
{
    QStringList out;
    for (const LeftOutValue& v : values)
        out << v.line();
    return out;
}

void addLeftOut(LeftOutValues& into, const LeftOutValues& values)
{
    for (const LeftOutValue& v : values)
        if (!into.contains(v))
            into << v;
}
