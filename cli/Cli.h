#pragma once
// tarvane-cli: batch use of the program's data module and rules.
#include <QStringList>

// Runs one command; returns the process exit status. Output goes to stdout,
// messages to stderr.
int runCli(const QStringList& args);
