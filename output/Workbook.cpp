#include "Workbook.h"

QString columnLetters(int column)
{
    QString out;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        out.prepend(QChar(u'A' + (c - 1) % 26));
    return out;
}
