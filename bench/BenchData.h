#pragma once
// A fresh data directory made by the program's own init, with an engine
// configuration whose TarvaneDB alias points at it, for a benchmark run.
#include "DataDirectory.h"
#include "EngineConfig.h"

#include <QStandardPaths>
#include <QTemporaryDir>

struct BenchData {
    QTemporaryDir dir;
    QString dataDir = dir.path() + QStringLiteral("/Data");
    QString config = dir.path() + QStringLiteral("/engine.cfg");
    QString file = dataDir + QStringLiteral("/TarvaneData.db");

    BenchData()
    {
        QStandardPaths::setTestModeEnabled(true);
        createDataDirectory(dataDir);
        EngineConfig cfg(config);
        cfg.setDefaults(dataDir);
        cfg.save();
    }
};
