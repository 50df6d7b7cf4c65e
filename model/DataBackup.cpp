#include "DataBackup.h"

#include "EDatabaseError.h"
#include "OutputFile.h"
#include "DataModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <sqlite3.h>

namespace {

// The new file's connection; closed on every way out.
struct Connection {
    sqlite3* h = nullptr;
    ~Connection() { sqlite3_close(h); }
};

}  // namespace

QString backUpDataFile(DataModule& dm, const QString& target)
{
    const QString refusal = outputFileRefusal(target, dm, QStringLiteral("the backup"));
    if (!refusal.isEmpty())
        throw EDatabaseError(refusal);
    const QFileInfo info(target);
    if (!QDir().mkpath(info.absolutePath()))
        throw EDatabaseError(QStringLiteral("Cannot write the backup to %1: its folder cannot be made").arg(target));
    sqlite3* source = dm.TarvaneDatabase.handle();

    // The copy is made beside the target under a passing name, so that a failed copy leaves no file
    // at the target's name and a good one replaces it whole.
    QTemporaryFile part(QDir(info.absolutePath()).filePath(info.fileName() + QStringLiteral(".XXXXXX.part")));
    if (!part.open())
        throw EDatabaseError(QStringLiteral("Cannot write the backup to %1: %2").arg(target, part.errorString()));
    part.close();
    QString failure;
    {
        Connection copy;
        if (sqlite3_open_v2(QFile::encodeName(part.fileName()).constData(), &copy.h,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            failure = QString::fromUtf8(sqlite3_errmsg(copy.h));
        } else if (sqlite3_backup* b = sqlite3_backup_init(copy.h, "main", source, "main")) {
            // All pages in one step: the snapshot is read in one read transaction. A writer
            // holding the file's lock is waited for a while.
            int rc = SQLITE_OK;
            for (int tries = 0; tries < 100; ++tries) {
                rc = sqlite3_backup_step(b, -1);
                if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
                    break;
                sqlite3_sleep(50);
            }
            sqlite3_backup_finish(b);
            if (rc != SQLITE_DONE)
                failure = QString::fromUtf8(sqlite3_errstr(rc));
            else if (sqlite3_errcode(copy.h) != SQLITE_OK)
                failure = QString::fromUtf8(sqlite3_errmsg(copy.h));
        } else {
            failure = QString::fromUtf8(sqlite3_errmsg(copy.h));
        }
    }
    if (!failure.isEmpty())
        throw EDatabaseError(QStringLiteral("Cannot write the backup to %1: %2").arg(target, failure));
    // rename() replaces an older backup of that name in one step.
    if (std::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        throw EDatabaseError(QStringLiteral("Cannot write the backup to %1: it cannot take the name").arg(target));
    part.setAutoRemove(false);
    return info.absoluteFilePath();
}
