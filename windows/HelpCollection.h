#pragma once
// The collection the help window reads the compiled help through: a copy of the
// shipped collection in the user's cache folder (it holds the full-text index, so it
// must be writable, and the program's folder is not), with the help file registered.
#include <QString>

// Empty, with `error` set, when the file cannot be used.
QString prepareHelpCollection(const QString& qch, QString& error);
