// The full report (every section, every page below) of a generated mine of
// 50 projects × 20 worksheets × 10 equipment rows, written as a PDF file.
#include "BenchComputation.h"
#include "CanvasBackends.h"
#include "ReportFrame.h"
#include "ReportJob.h"
#include "SyntheticMine.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    BenchComputation b;
    if (!b.open())
        return 1;
    DataModule& dm = b.dm;
    const int mineId = generateMine(dm, 50, 20, 10, 7);
    if (!dm.MineT.locate({QStringLiteral("MineID")}, {mineId}))
        return 1;

    const QString pdf = b.data.dir.filePath(QStringLiteral("report.pdf"));
    QElapsedTimer t;
    t.start();
    int pages = 0;
    {
        PdfCanvas canvas(pdf);
        // Default options: the title bitmap installed next to the program.
        RunReportJob(canvas, ReportOptions(), {}, b.dialogs, dm, b.comp, {0, true, nullptr, {}, {}});
        pages = canvas.pageNumber();
        if (!canvas.commit())
            return 1;
    }
    const double seconds = t.nsecsElapsed() / 1e9;
    std::printf("pages: %d, PDF size: %.1f MB\n", pages, QFileInfo(pdf).size() / 1e6);
    std::printf("full report to PDF:  %8.2f s\n", seconds);
    std::printf("pages per second:    %8.1f (aim: at least 100)\n", pages / seconds);
    return 0;
}
