#include "CliCopy.h"

#include "CliOutput.h"
#include "CliProgress.h"
#include "CopyDataModule.h"
#include "EDatabaseError.h"
#include "MineCopy.h"
#include "OutputFile.h"
#include "DataModule.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

int runCopyCommand(DataModule& dm, Dialogs& dialogs, int mineId, const QString& logFile, bool json)
{
    if (!logFile.isEmpty()) {
        const QString refusal = outputFileRefusal(logFile, dm);
        if (!refusal.isEmpty())
            throw EDatabaseError(refusal);
    }
    CopyDataModule copyData;
    copyData.setDatabase(&dm.TarvaneDatabase);
    if (!copyData.openViews()) {
        // The window only shows "Close" here; the command says which view did not open.
        for (Table* t : copyData.activationOrder())
            if (!t->active())
                t->open();
    }
    MineCopy copy(copyData, dialogs);
    auto progress = terminalProgress(QStringLiteral("Copying (percent)"));
    if (progress) {
        copy.stepBy = [&progress, done = 0](int amount) mutable {
            done = std::min(100, done + amount);
            progress(done, 100);
        };
    }
    bool copied = false;
    {
        const SuspendedCalculations suspended(dm);  // as around the copy window
        copied = copy.run(mineId);
    }
    if (progress)
        progress(100, 100);  // the counted steps may stop short of 100
    copyData.closeViews();
    if (!copied)
        return 1;
    if (!logFile.isEmpty())
        writeCopyLog(logFile, copy.log());
    if (json) {
        // The keys in the order source, mine, log; the lines escaped as JSON strings.
        const QString lines =
            QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(copy.log())).toJson(QJsonDocument::Compact));
        out() << "{\"source\": " << mineId << ", \"mine\": " << copy.newMineId() << ", \"log\": " << lines << "}"
              << Qt::endl;
        return 0;
    }
    out() << "Copied mine " << mineId << " to mine " << copy.newMineId() << Qt::endl;
    for (const QString& line : copy.log())
        out() << line << Qt::endl;
    return 0;
}

int runLogCommand(DataModule& dm, const QString& mineName, bool json)
{
    // A view of its own, in the event log window's order; the window's stays where it is.
    Table log(dm.TarvaneDatabase, QStringLiteral("CliEventLog"), dm.EventLogT.format().fileName);
    log.open();
    QJsonArray entries;
    for (log.first(); !log.eof(); log.next()) {
        const QString mine = log.fieldByName(QStringLiteral("MineName")).asString();
        if (!mineName.isEmpty() && mine != mineName)
            continue;
        const QString time = log.fieldByName(QStringLiteral("Time")).asDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString event = log.fieldByName(QStringLiteral("Event")).asString();
        if (json) {
            QJsonObject o;
            o.insert(QStringLiteral("mine"), mine);
            o.insert(QStringLiteral("time"), time);
            o.insert(QStringLiteral("event"), event);
            entries.append(o);
        } else {
            out() << time << "  " << event.leftJustified(15) << "  " << mine << Qt::endl;
        }
    }
    if (json)
        out() << QString::fromUtf8(QJsonDocument(entries).toJson(QJsonDocument::Compact)) << Qt::endl;
    return 0;
}
