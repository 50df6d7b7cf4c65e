#include "Cli.h"
#include "CliParser.h"
#include "ApplicationNames.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

int main(int argc, char** argv)
{
    // Printing, and reading a help page's text, need fonts; the command line never
    // shows a window, so it draws offscreen unless told otherwise.
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    const QString command = commandOfCommandLine(words);
    const bool printing = command == QLatin1String("report") || command == QLatin1String("help");
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
