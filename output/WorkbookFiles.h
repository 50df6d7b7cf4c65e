#pragma once
// Writing a workbook: as one XLSX file (numbers with their number formats, the
// header rows frozen, the columns sized, formulas with their results) or as
// one CSV file per sheet.
#include "Workbook.h"

class DataModule;

// Both refuse, as a report output is refused, a path that is the data file, one of its
// -wal, -shm or -journal files or the engine configuration; they throw EDatabaseError
// when the file cannot be written. A file is written whole or not at all.
void writeXlsxWorkbook(const Workbook& workbook, const QString& path, const DataModule& dm);
// Writes DIR/<sheet name>.csv for every sheet (the directory is made when missing) and
// returns the paths written.
QStringList writeCsvWorkbook(const Workbook& workbook, const QString& directory, const DataModule& dm);
