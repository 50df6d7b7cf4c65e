#pragma once
// Making data directories: a new directory from the table formats and the
// shipped rows, and the engine configuration a first start writes.
#include <QString>
#include <QStringList>

// The SQL text of the shipped rows (reference tables, example and tutorial mines), in loading order.
QStringList shippedDataScripts();

// Creates `directory` (when missing) holding a new data file. Refuses to write
// over an existing data file.
void createDataDirectory(const QString& directory);

// First start: when the configuration file does not exist, writes it with the
// TarvaneDB alias pointing at the per-user data directory, and fills that
// directory from the shipped data when it holds no data file. Returns true
// when this was a first start.
bool ensureEngineConfigured(const QString& configPath);
