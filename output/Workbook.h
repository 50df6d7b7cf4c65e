#pragma once
// A workbook as the spreadsheet outputs write it: named sheets, each a header
// row of column titles and rows of cells. A cell keeps its value as a number,
// text, date or truth value and says how a number is shown; a cell may also
// carry a formula whose result is its value.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

enum class CellStyle { Text, Integer, Number, Money, Factor, Percent, Hours, Date };

struct Cell {
    QVariant value;  // invalid: an empty cell
    CellStyle style = CellStyle::Text;
    QString formula;  // "=G2*(I2+J2)", or empty
};

struct Sheet {
    QString name;
    QStringList columns;
    QList<QList<Cell>> rows;
};

struct Workbook {
    QList<Sheet> sheets;
};

// The column letters of a zero-based column: 0 "A", 25 "Z", 26 "AA".
QString columnLetters(int column);
