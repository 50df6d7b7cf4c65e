// Growth with the size of a mine: the bond, the full report to PDF, the copy of
// the mine and the opening of the main window (with one post of a worksheet row
// and its totals) on generated mines of 1, 4 and 16 times 50 projects × 20
// worksheets × 10 machines. Each task runs in a process of its own on the same
// data file, so that each peak memory is that task's; the table gives time and
// peak memory per row of the mine.
//
//   bench_growth [--scales 1,4,16] [--tasks bond,report,window,copy]
#include "AppContext.h"
#include "CanvasBackends.h"
#include "Computation.h"
#include "CopyDataModule.h"
#include "DatabaseStartup.h"
#include "DataDirectory.h"
#include "Dialogs.h"
#include "EngineConfig.h"
#include "MainWindow.h"
#include "MineCopy.h"
#include "ReportFrame.h"
#include "ReportJob.h"
#include "SyntheticMine.h"
#include "TarvaneApplication.h"
#include "DataModule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr qint64 kRowsAtScale1 = 10650;  // mine, projects, worksheets and machines of 50 × 20 × 10

long peakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// The data module with its rules and computations on an existing data directory.
struct Opened {
    ConsoleDialogs dialogs;
    NoBondDisplay display;
    NoMainWindow window;
    DataModule dm;
    Computation comp{dm, dialogs, display};
    DatabaseStartup startup{dm};
    explicit Opened(const QString& config) : dm(config) {}
    bool open()
    {
        comp.rules.setMainWindow(&window);
        if (!startup.ActivateDatabase().isEmpty())
            return false;
        dm.DataSetCode = 5.0;  // the user's own mines
        dm.MineT.refresh();
        return true;
    }
};

// One task in this process; prints "<ms> <peak KB>" or fails with 1.
int runTask(const QString& task, const QString& config, int mineId, const QString& dir, int argc, char** argv)
{
    QElapsedTimer t;
    double ms = 0, extra = -1;
    if (task == QLatin1String("window")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        TarvaneApplication app(argc, argv);
        ConsoleDialogs dialogs;
        app.setDialogs(&dialogs);
        t.start();
        AppContext ctx(dialogs, config);
        ctx.create([](const QString&) {}, [](int) {});
        ctx.TarvaneDataForm->DataSetCode = 5.0;
        ctx.MainForm->show();
        ctx.MainForm->FormActivate();
        QCoreApplication::processEvents();
        ms = t.nsecsElapsed() / 1e6;
        // A post of one worksheet row of the mine, with the totals it shows again.
        DataModule& dm = *ctx.TarvaneDataForm;
        dm.MineT.refresh();
        if (!dm.MineT.locate({QStringLiteral("MineID")}, {mineId}) || dm.DemolT.isEmpty())
            return 1;
        dm.DemolT.edit();
        dm.DemolT.fieldByName(QStringLiteral("Volume")).setAsFloat(dm.DemolT.fieldByName(QStringLiteral("Volume")).asFloat() + 1);
        t.restart();
        dm.DemolT.post();
        extra = t.nsecsElapsed() / 1e6;
        std::printf("%.1f %ld %.1f\n", ms, peakKb(), extra);
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Opened o(config);
    if (!o.open() || !o.dm.MineT.locate({QStringLiteral("MineID")}, {mineId}))
        return 1;
    t.start();
    if (task == QLatin1String("bond")) {
        o.comp.bond.CalcBondSummary(true);
    } else if (task == QLatin1String("report")) {
        PdfCanvas canvas(dir + QStringLiteral("/report.pdf"));
        RunReportJob(canvas, ReportOptions(), {}, o.dialogs, o.dm, o.comp, {0, true, nullptr, {}, {}});
        extra = canvas.pageNumber();
        if (!canvas.commit())
            return 1;
    } else if (task == QLatin1String("copy")) {
        CopyDataModule copyData;
        copyData.setDatabase(&o.dm.TarvaneDatabase);
        MineCopy copy(copyData, o.dialogs);
        if (!copyData.openViews() || !copy.run(mineId))
            return 1;
        copyData.closeViews();
    } else {
        return 1;
    }
    ms = t.nsecsElapsed() / 1e6;
    std::printf("%.1f %ld %.1f\n", ms, peakKb(), extra);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const auto option = [&](const char* name, const QString& fallback) {
        const int i = args.indexOf(QString::fromLatin1(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    if (args.contains(QStringLiteral("--task")))
        return runTask(option("--task", {}), option("--config", {}), option("--mine", {}).toInt(), option("--dir", {}),
                       argc, argv);

    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QStringList scales = option("--scales", QStringLiteral("1,4,16")).split(QLatin1Char(','));
    const QStringList tasks = option("--tasks", QStringLiteral("bond,report,window,copy")).split(QLatin1Char(','));
    std::printf("%5s %8s %-7s %10s %9s %9s %9s  %s\n", "scale", "rows", "task", "ms", "us/row", "peak MB", "B/row",
                "note");
    for (const QString& s : scales) {
        const int scale = s.toInt();
        QTemporaryDir dir;
        const QString dataDir = dir.path() + QStringLiteral("/Data");
        const QString config = dir.path() + QStringLiteral("/engine.cfg");
        createDataDirectory(dataDir);
        EngineConfig cfg(config);
        cfg.setDefaults(dataDir);
        cfg.save();
        int mineId = 0;
        {
            Opened o(config);
            if (!o.open())
                return 1;
            mineId = generateMine(o.dm, 50 * scale, 20, 10, 7);
        }
        const qint64 rows = kRowsAtScale1 * scale;
        for (const QString& task : tasks) {
            QProcess p;
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--task"), task, QStringLiteral("--config"), config, QStringLiteral("--mine"),
                     QString::number(mineId), QStringLiteral("--dir"), dir.path()});
            p.waitForFinished(-1);
            const QStringList out = QString::fromLatin1(p.readAllStandardOutput()).split(QLatin1Char(' '));
            if (p.exitCode() != 0 || out.size() < 3) {
                std::printf("%5d %8lld %-7s failed\n", scale, static_cast<long long>(rows), qPrintable(task));
                continue;
            }
            const double ms = out[0].toDouble(), extra = out[2].trimmed().toDouble();
            const double mb = out[1].toDouble() / 1024.0;
            QString note;
            if (task == QLatin1String("report"))
                note = QStringLiteral("%1 pages").arg(extra);
            else if (task == QLatin1String("window"))
                note = QStringLiteral("post of a demolition row with its totals: %1 ms").arg(extra, 0, 'f', 1);
            std::printf("%5d %8lld %-7s %10.1f %9.2f %9.1f %9.0f  %s\n", scale, static_cast<long long>(rows),
                        qPrintable(task), ms, ms * 1000.0 / rows, mb, out[1].toDouble() * 1024.0 / rows, qPrintable(note));
            std::fflush(stdout);
        }
    }
    return 0;
}
