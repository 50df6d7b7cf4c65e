#include "Cli.h"
#include "TarvaneApplication.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

int main(int argc, char** argv)
{
    // Printing needs fonts and a paint device; the command line never shows a
    // window, so it draws offscreen unless told otherwise.
    const bool printing = argc > 1 && qstrcmp(argv[1], "report") == 0;
    if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (printing)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    setTarvaneApplicationNames();
    return runCli(app->arguments().mid(1));
}
