#pragma once
// tarvane-cli server: the team database on a PostgreSQL server: init, push, pull, check.
#include <QStringList>

class Dialogs;

// `args` are what follows "server". Returns the exit status.
int runServerCommand(QStringList args, Dialogs& dialogs);
