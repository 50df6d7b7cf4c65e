#pragma once
#include <limits>
// A real data directory made by the program's own init, with an engine
// configuration whose TarvaneDB alias points at it.
#include "DataDirectory.h"
#include "Database.h"
#include "EngineConfig.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

struct TempData {
    QTemporaryDir dir;
    QString dataDir;
    QString configPath;

    TempData()
    {
        QStandardPaths::setTestModeEnabled(true);
        dataDir = dir.path() + QStringLiteral("/Data");
        configPath = dir.path() + QStringLiteral("/engine.cfg");
        createDataDirectory(dataDir);
        EngineConfig cfg(configPath);
        cfg.setDefaults(dataDir);
        cfg.save();
    }
    // Leaves the reference tables only: no mines, worksheets, equipment or log entries.
    void removeShippedMines() const
    {
        QString sql;
        for (const char* t : {"MINE.DB", "PROJECT.DB", "DEMOL.DB", "MATERIAL.DB", "REVEG.DB", "OTHERREC.DB",
                              "Equipment.DB", "CrossSections.db", "Volume.db", "EventLog.db"})
            sql += QStringLiteral("DELETE FROM \"%1\"; DELETE FROM sqlite_sequence WHERE name = '%1';").arg(QLatin1String(t));
        this->sql(sql);
    }
    QString dataFile() const { return QDir(dataDir).filePath(QStringLiteral("TarvaneData.db")); }

    // Runs SQL on the data file outside the program (damage, checks).
    void sql(const QString& text) const
    {
        sqlite3* h = nullptr;
        QVERIFY(sqlite3_open(dataFile().toUtf8().constData(), &h) == SQLITE_OK);
        char* err = nullptr;
        const int rc = sqlite3_exec(h, text.toUtf8().constData(), nullptr, nullptr, &err);
        const QString msg = err ? QString::fromUtf8(err) : QString();
        sqlite3_free(err);
        sqlite3_close(h);
        QVERIFY2(rc == SQLITE_OK, qPrintable(msg));
    }
    qint64 scalar(const QString& text) const
    {
        sqlite3* h = nullptr;
        sqlite3_open(dataFile().toUtf8().constData(), &h);
        sqlite3_stmt* st = nullptr;
        qint64 v = -1;
        if (sqlite3_prepare_v2(h, text.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            v = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        sqlite3_close(h);
        return v;
    }
    // The first column of the first row as a real number (NaN when there is no row).
    // The first column of the first row as text (empty when there is no row).
    QString text(const QString& sql) const
    {
        sqlite3* h = nullptr;
        sqlite3_open(dataFile().toUtf8().constData(), &h);
        sqlite3_stmt* st = nullptr;
        QString v;
        if (sqlite3_prepare_v2(h, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_close(h);
        return v;
    }
    double real(const QString& text) const
    {
        sqlite3* h = nullptr;
        sqlite3_open(dataFile().toUtf8().constData(), &h);
        sqlite3_stmt* st = nullptr;
        double v = std::numeric_limits<double>::quiet_NaN();
        if (sqlite3_prepare_v2(h, text.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            v = sqlite3_column_double(st, 0);
        sqlite3_finalize(st);
        sqlite3_close(h);
        return v;
    }
};
