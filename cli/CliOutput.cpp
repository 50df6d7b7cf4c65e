#include "CliOutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

QString incompleteMember(const LeftOutValues& values)
{
    if (values.isEmpty())
        return {};
    QJsonArray list;
    for (const LeftOutValue& v : values)
        list.append(QJsonObject{{QStringLiteral("table"), v.table},
                                {QStringLiteral("key_field"), v.keyField},
                                {QStringLiteral("key"), v.key},
                                {QStringLiteral("field"), v.field},
                                {QStringLiteral("value"), v.value}});
    return QStringLiteral(", \"incomplete\": ") + QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
}

void printIncomplete(const LeftOutValues& values)
{
    if (values.isEmpty())
        return;
    out() << incompleteLine(values) << Qt::endl;
    for (const QString& line : leftOutLines(values))
        out() << "  " << line << Qt::endl;
}

int doneStatus(const LeftOutValues& values)
{
    return values.isEmpty() ? 0 : 3;
}
