#pragma once
// Comma-separated text as spreadsheets read and write it: a field is quoted
// when it holds a comma, a quote or a line break, a quote inside doubled;
// records end with CR LF or LF.
#include <QList>
#include <QString>
#include <QStringList>

QString csvLine(const QStringList& fields);  // with its line break

struct CsvRecord {
    int line = 0;  // where the record starts, from 1
    QStringList fields;
};

// The records of the text; empty lines are skipped. Throws EDatabaseError naming the
// line when a quoted field does not end.
QList<CsvRecord> parseCsv(const QString& text);
