#pragma once
// Reads an XLSX file back the plain way: its parts unzipped with `unzip -p`,
// the sheet names from the workbook part, the cells of a sheet from its XML.
#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

struct XlsxCell {
    QString type;     // the t attribute: "s" a shared string, "b" a truth value, empty a number
    QString value;    // the text of <v>, a shared string resolved
    QString formula;  // the text of <f>
    QString style;    // the s attribute: the cell's format
};

class XlsxReader {
public:
    explicit XlsxReader(const QString& path) : path_(path)
    {
        QXmlStreamReader strings(part(QStringLiteral("xl/sharedStrings.xml")));
        while (!strings.atEnd())
            if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == QLatin1String("t"))
                shared_ << strings.readElementText();
    }

    QByteArray part(const QString& name) const
    {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path_, name});
        unzip.waitForFinished(30000);
        return unzip.readAllStandardOutput();
    }

    QStringList sheetNames() const
    {
        QStringList names;
        QXmlStreamReader x(part(QStringLiteral("xl/workbook.xml")));
        while (!x.atEnd())
            if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("sheet"))
                names << x.attributes().value(QLatin1String("name")).toString();
        return names;
    }

    // The cells of the n-th sheet (from 1) by reference ("C2").
    QHash<QString, XlsxCell> cells(int sheet) const
    {
        QHash<QString, XlsxCell> out;
        QXmlStreamReader x(part(QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet)));
        QString ref;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("c")) {
                ref = x.attributes().value(QLatin1String("r")).toString();
                out[ref].type = x.attributes().value(QLatin1String("t")).toString();
                out[ref].style = x.attributes().value(QLatin1String("s")).toString();
            } else if (x.isStartElement() && x.name() == QLatin1String("v")) {
                XlsxCell& c = out[ref];
                c.value = x.readElementText();
                if (c.type == QLatin1String("s"))
                    c.value = shared_.value(c.value.toInt());
            } else if (x.isStartElement() && x.name() == QLatin1String("f")) {
                out[ref].formula = x.readElementText();
            }
        }
        return out;
    }

private:
    QString path_;
    QStringList shared_;
};
