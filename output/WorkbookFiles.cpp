#include "WorkbookFiles.h"

#include "Csv.h"
#include "EDatabaseError.h"
#include "OutputFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <xlsxwriter.h>

namespace {

void refuse(const QString& path, const DataModule& dm, const QString& what)
{
    const QString refusal = outputFileRefusal(path, dm, what);
    if (!refusal.isEmpty())
        throw EDatabaseError(refusal);
}

bool isNumber(const Cell& c)
{
    return c.value.isValid() && c.style != CellStyle::Text && c.style != CellStyle::Date;
}

// The cell as text: CSV fields, and the width a column needs.
QString cellText(const Cell& c)
{
    if (!c.value.isValid())
        return {};
    if (c.value.typeId() == QMetaType::Bool)
        return c.value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (c.style == CellStyle::Date)
        return c.value.toDate().toString(Qt::ISODate);
    if (c.style == CellStyle::Integer)
        return QString::number(c.value.toLongLong());
    // Fifteen digits: the figures a double holds for sure, without the noise of its last bits.
    if (isNumber(c))
        return QString::number(c.value.toDouble(), 'g', 15);
    return c.value.toString();
}

// About how many characters the cell shows in its number format.
int shownWidth(const Cell& c)
{
    if (!isNumber(c))
        return static_cast<int>(cellText(c).size());
    const QString whole = QLocale(QLocale::English).toString(static_cast<qint64>(c.value.toDouble()));
    return static_cast<int>(whole.size()) + 5;  // sign, decimals
}

const char* numberFormat(CellStyle style)
{
    switch (style) {
    case CellStyle::Integer: return "0";
    case CellStyle::Number: return "#,##0.00##";
    case CellStyle::Money: return "$#,##0.00;-$#,##0.00";
    case CellStyle::Factor: return "0.000";
    case CellStyle::Percent: return "0.0000";
    case CellStyle::Hours: return "#,##0.00";
    case CellStyle::Date: return "yyyy-mm-dd";
    case CellStyle::Text: return nullptr;
    }
    return nullptr;
}

}  // namespace

void writeXlsxWorkbook(const Workbook& workbook, const QString& path, const DataModule& dm)
{
    refuse(path, dm, QStringLiteral("the workbook"));
    const QFileInfo info(path);
    QTemporaryFile part(QDir(info.absolutePath()).filePath(info.fileName() + QStringLiteral(".XXXXXX.part")));
    if (!part.open())
        throw EDatabaseError(QStringLiteral("Cannot write %1: %2").arg(path, part.errorString()));
    part.close();
    const QByteArray partName = QFile::encodeName(part.fileName());
    lxw_workbook* book = workbook_new(partName.constData());
    if (!book)
        throw EDatabaseError(QStringLiteral("Cannot write %1: the workbook cannot be made").arg(path));

    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    format_set_bottom(header, LXW_BORDER_THIN);
    lxw_format* formats[8] = {};
    for (CellStyle s : {CellStyle::Integer, CellStyle::Number, CellStyle::Money, CellStyle::Factor, CellStyle::Percent,
                        CellStyle::Hours, CellStyle::Date}) {
        lxw_format* f = workbook_add_format(book);
        format_set_num_format(f, numberFormat(s));
        formats[static_cast<int>(s)] = f;
    }
    for (const Sheet& sheet : workbook.sheets) {
        lxw_worksheet* ws = workbook_add_worksheet(book, sheet.name.toUtf8().constData());
        std::vector<int> widths(sheet.columns.size(), 8);
        for (int c = 0; c < sheet.columns.size(); ++c) {
            worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), sheet.columns[c].toUtf8().constData(), header);
            widths[c] = std::max(widths[c], static_cast<int>(sheet.columns[c].size()) + 2);
        }
        for (int r = 0; r < sheet.rows.size(); ++r) {
            const QList<Cell>& row = sheet.rows[r];
            const auto rowNo = static_cast<lxw_row_t>(r + 1);
            for (int c = 0; c < row.size(); ++c) {
                const Cell& cell = row[c];
                const auto col = static_cast<lxw_col_t>(c);
                lxw_format* f = formats[static_cast<int>(cell.style)];
                if (c < static_cast<int>(widths.size()))
                    widths[c] = std::max(widths[c], std::min(60, shownWidth(cell) + 2));
                if (!cell.formula.isEmpty()) {
                    worksheet_write_formula_num(ws, rowNo, col, cell.formula.toUtf8().constData(), f,
                                                cell.value.toDouble());
                } else if (!cell.value.isValid()) {
                    continue;
                } else if (cell.value.typeId() == QMetaType::Bool) {
                    worksheet_write_boolean(ws, rowNo, col, cell.value.toBool(), nullptr);
                } else if (cell.style == CellStyle::Date) {
                    const QDate d = cell.value.toDate();
                    lxw_datetime dt = {d.year(), d.month(), d.day(), 0, 0, 0};
                    worksheet_write_datetime(ws, rowNo, col, &dt, f);
                } else if (isNumber(cell)) {
                    worksheet_write_number(ws, rowNo, col, cell.value.toDouble(), f);
                } else {
                    worksheet_write_string(ws, rowNo, col, cell.value.toString().toUtf8().constData(), nullptr);
                }
            }
        }
        for (int c = 0; c < static_cast<int>(widths.size()); ++c)
            worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), widths[c], nullptr);
        worksheet_freeze_panes(ws, 1, 0);
    }
    const lxw_error rc = workbook_close(book);
    if (rc != LXW_NO_ERROR)
        throw EDatabaseError(QStringLiteral("Cannot write %1: %2").arg(path, QString::fromUtf8(lxw_strerror(rc))));
    if (std::rename(partName.constData(), QFile::encodeName(path).constData()) != 0)
        throw EDatabaseError(QStringLiteral("Cannot write %1: it cannot take the name").arg(path));
    part.setAutoRemove(false);
}

QStringList writeCsvWorkbook(const Workbook& workbook, const QString& directory, const DataModule& dm)
{
    if (!QDir().mkpath(directory))
        throw EDatabaseError(QStringLiteral("Cannot make the directory %1").arg(directory));
    QStringList paths;
    for (const Sheet& sheet : workbook.sheets)
        paths << QDir(directory).filePath(sheet.name + QStringLiteral(".csv"));
    for (const QString& p : paths)
        refuse(p, dm, QStringLiteral("the sheet"));
    for (int i = 0; i < workbook.sheets.size(); ++i) {
        const Sheet& sheet = workbook.sheets[i];
        QString text = csvLine(sheet.columns);
        for (const QList<Cell>& row : sheet.rows) {
            QStringList fields;
            for (const Cell& c : row)
                fields << cellText(c);
            text += csvLine(fields);
        }
        QSaveFile file(paths[i]);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
            throw EDatabaseError(QStringLiteral("Cannot write %1: %2").arg(paths[i], file.errorString()));
    }
    return paths;
}
