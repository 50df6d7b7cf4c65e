// Posts complete equipment records until it is killed: as fast as it can, or
// with the pause in milliseconds given after the configuration path.
#include "DatabaseStartup.h"
#include "DataModule.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    DataModule dm(app.arguments().value(1));
    DatabaseStartup startup(dm);
    if (!startup.ActivateDatabase().isEmpty())
        return 1;
    const int pauseMs = app.arguments().value(2).toInt();
    Table& t = dm.EquipStuff1T;
    for (int n = 1;; ++n) {
        t.insert();
        t.fieldByName(QStringLiteral("CostType")).setAsString(QStringLiteral("M"));
        t.fieldByName(QStringLiteral("SheetID")).setAsInteger(1);
        t.fieldByName(QStringLiteral("Descriptions")).setAsString(QStringLiteral("row %1").arg(n));
        t.fieldByName(QStringLiteral("Volume")).setAsFloat(n);
        t.fieldByName(QStringLiteral("Reference")).setAsString(QStringLiteral("handbook"));
        t.post();
        if (pauseMs > 0)
            QThread::msleep(pauseMs);
        if (n == 1) {
            std::puts("posting");
            std::fflush(stdout);
        }
    }
}
