#include "Cli.h"
#include "TarvaneApplication.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    setTarvaneApplicationNames();
    return runCli(app.arguments().mid(1));
}
