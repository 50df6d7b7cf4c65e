#pragma once
// The data module opened as start-up opens it, on a data directory that holds
// the reference tables only, so that counts and keys start from nothing.
#include "DatabaseStartup.h"
#include "DataModule.h"
#include "TestSupport.h"

struct EmptyData : TempData {
    EmptyData() { removeShippedMines(); }
};

struct Opened {
    EmptyData data;
    DataModule dm{data.configPath};
    DatabaseStartup startup{dm};
    Opened() { open(); }
    void open()
    {
        const QString failure = startup.ActivateDatabase();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
};

inline void addMine(DataModule& dm, const QString& applicant)
{
    dm.MineT.insert();
    dm.MineT.fieldByName(QStringLiteral("Applicant")).setAsString(applicant);
    dm.MineT.fieldByName(QStringLiteral("PemitID")).setAsString(QStringLiteral("P-") + applicant);
    dm.MineT.fieldByName(QStringLiteral("Date")).setAsDate(QDate(2024, 7, 1));
    dm.MineT.fieldByName(QStringLiteral("PreparedBy")).setAsString(QStringLiteral("Reviewer"));
    dm.MineT.fieldByName(QStringLiteral("ENRIndex")).setAsFloat(13600);
    dm.MineT.fieldByName(QStringLiteral("ENRIndexDate")).setAsDate(QDate(2024, 7, 1));
    dm.MineT.post();
}
