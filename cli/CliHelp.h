#pragma once
// tarvane-cli help: a help topic's title and text, read from the program's help files.
#include <QStringList>

class Dialogs;

int cmdHelp(QStringList args, Dialogs& dialogs);
