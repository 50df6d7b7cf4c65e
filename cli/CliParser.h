#pragma once
// The conventional command line of tarvane-cli, read with QCommandLineParser:
// --help and --version, COMMAND --help, --data DIR before or after the command,
// an unknown option or a missing value a usage error (status 2).
#include <QString>
#include <QStringList>
#include <variant>

struct ParsedCommand {
    QString command;
    // The command's own arguments in the order given, each option and its value as two
    // words, --data DIR among them when it was given on either side of the command.
    QStringList args;
};

// The command to run, or the exit status when nothing is left to run: the help or the
// version printed on standard output (0), or a usage error told on standard error (2).
std::variant<int, ParsedCommand> parseCommandLine(const QStringList& args);

// The name of the command in a command line (the first word that is neither an option
// before it nor the value of one), or empty.
QString commandOfCommandLine(const QStringList& args);

// Tells a usage error on standard error, with the hint to the command's help; returns 2.
int reportUsageError(const QString& text, const QString& command = QString());
