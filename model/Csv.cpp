#include "Csv.h"

#include "EDatabaseError.h"

QString csvLine(const QStringList& fields)
{
    QStringList out;
    for (const QString& f : fields) {
        if (f.contains(QLatin1Char(',')) || f.contains(QLatin1Char('"')) || f.contains(QLatin1Char('\n')) ||
            f.contains(QLatin1Char('\r'))) {
            QString q = f;
            q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            out << QLatin1Char('"') + q + QLatin1Char('"');
        } else {
            out << f;
        }
    }
    return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QList<CsvRecord> parseCsv(const QString& text)
{
    QList<CsvRecord> records;
    CsvRecord record;
    QString field;
    bool quoted = false;       // inside a quoted field
    bool anything = false;     // the record has begun
    int line = 1;
    int quoteLine = 0;
    record.line = 1;
    const auto endRecord = [&] {
        if (anything) {
            record.fields << field;
            records << record;
        }
        record = CsvRecord{};
        field.clear();
        anything = false;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
            continue;
        }
        if (!anything) {
            record.line = line;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            quoteLine = line;
            anything = true;
        } else if (c == QLatin1Char(',')) {
            record.fields << field;
            field.clear();
            anything = true;
        } else if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) {
            continue;  // the LF ends the record
        } else if (c == QLatin1Char('\n')) {
            endRecord();
            ++line;
        } else {
            field += c;
            anything = true;
        }
    }
    if (quoted)
        throw EDatabaseError(QStringLiteral("line %1: a quoted field does not end").arg(quoteLine));
    endRecord();
    // The byte-order mark a spreadsheet may put before the first field.
    if (!records.isEmpty() && !records.first().fields.isEmpty() && records.first().fields.first().startsWith(QChar(0xFEFF)))
        records.first().fields.first().remove(0, 1);
    return records;
}
