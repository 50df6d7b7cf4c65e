#pragma once
// The commands of tarvane-cli as the command line knows them: each one's
// synopsis, what it does and its options, for parsing and for --help.
#include <QList>
#include <QString>
#include <QStringList>

struct CliOption {
    QString name;       // without the dashes: "mine"
    QString valueName;  // empty for a flag: "ID"
    QString description;
};

struct CliCommand {
    QString name;
    QString synopsis;  // what follows the command on the usage line
    QString description;
    QList<CliOption> options;
};

// Every command, in the order the usage lists them.
const QList<CliCommand>& cliCommands();
const CliCommand* findCliCommand(const QString& name);

// The option every command takes: the data directory.
CliOption dataDirOption();

// The help of the whole program (the usage lines of every command, the exit statuses),
// and of one command.
QString cliUsage();
QString cliHelp();
QString cliCommandHelp(const CliCommand& command);
