// The report canvas: positions, lines, pages, column stops and memos on the
// recording back end; text files and PDF files read back.
#include "BondWorksheets.h"
#include "CanvasBackends.h"
#include "DirectCostWorksheets.h"
#include "EquipmentHours.h"
#include "EquipmentWorksheets.h"
#include "ComputationFixture.h"
#include "Dialogs.h"
#include "ReportFrame.h"
#include "MineWorkbook.h"
#include "ReportJob.h"
#include "WorkbookFiles.h"

#include <algorithm>
#include <QImage>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QSet>
#include <QTest>

namespace {

using J = ReportCanvas::Justify;

RecordingCanvas letter()
{
    RecordingCanvas c;
    c.setMargins(0.75, 0.75, 0.75, 1.0);
    c.SetFont(QStringLiteral("Arial"), 10);
    return c;
}

}  // namespace

class TestReports : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void positions_data();
    void positions();
    void linesPagesAndFooter();
    void fonts();
    void columnStops();
    void memoWrapping();
    void textFileKeepsColumns();
    void pdfReadsBack();
    void jobMargins_data();
    void jobMargins();
    void headerAndFooter();
    void titleBlock();
    void memoSectionContinues();
    void tableHeadingsRepeat();
    void bondWorksheets_data();
    void bondWorksheets();
    void directCostWorksheetsAgreeWithTotals();
    void minePage();
    void productivityWorksheets();
    void productivityEdgeCases_data();
    void productivityEdgeCases();
    void choices_data();
    void choices();
    void layoutKeepsEveryTextClear_data();
    void layoutKeepsEveryTextClear();
    void mineWideHeaders();
    void printedByKeyAsShown();
};

void TestReports::positions_data()
{
    QTest::addColumn<int>("justify");
    QTest::newRow("left") << int(J::Left);
    QTest::newRow("right") << int(J::Right);
    QTest::newRow("center") << int(J::Center);
}

void TestReports::positions()
{
    QFETCH(int, justify);
    RecordingCanvas c = letter();
    const QString text = QStringLiteral("Total Bond Amount");
    const double x = 4.25;
    switch (static_cast<J>(justify)) {
    case J::Left: c.PrintLeft(text, x); break;
    case J::Right: c.PrintRight(text, x); break;
    case J::Center: c.PrintCenter(text, x); break;
    }
    const auto* op = c.findText(text);
    QVERIFY(op);
    const double width = op->x2 - op->x1;
    QVERIFY(width > 1.0 && width < 1.4);  // about 17 characters of 10-point Arial
    const double anchor = justify == int(J::Left) ? op->x1 : justify == int(J::Right) ? op->x2 : (op->x1 + op->x2) / 2;
    QVERIFY(qAbs(anchor - x) < 1e-9);
    QCOMPARE(op->y1, 0.75);  // the first body line
    QCOMPARE(op->page, 1);
}

void TestReports::linesPagesAndFooter()
{
    RecordingCanvas c = letter();
    QCOMPARE(c.lineHeight(), 10 * 1.2 / 72);
    QCOMPARE(c.LinesLeft(), 55);  // (11 - 1.0 - 0.75) / (1/6 inch)
    c.PrintLine(QStringLiteral("first"));
    c.PrintLine(QStringLiteral("second"));
    QCOMPARE(c.findText(QStringLiteral("second"))->y1, 0.75 + c.lineHeight());
    QCOMPARE(c.LinesLeft(), 53);
    c.PrintFooterLine(QStringLiteral("Tarvane Software -- 2.4.9"), J::Center);
    const auto* footer = c.findText(QStringLiteral("Tarvane Software -- 2.4.9"));
    QCOMPARE(footer->y1, 10.0 - c.lineHeight());
    QVERIFY(qAbs((footer->x1 + footer->x2) / 2 - 4.25) < 1e-9);
    QCOMPARE(c.yPos(), 0.75 + 2 * c.lineHeight());  // the footer leaves the cursor where it was
    c.NewPage();
    QCOMPARE(c.pageNumber(), 2);
    QCOMPARE(c.yPos(), 0.75);
    c.PrintLine(QStringLiteral("continued"));
    QCOMPARE(c.findText(QStringLiteral("continued"))->page, 2);
    c.SectionTop = 2.0;
    c.Home();
    QCOMPARE(c.yPos(), 2.0);
    c.ResetSection();
    QCOMPARE(c.SectionTop, 0.75);
    QCOMPARE(c.SectionRight, 7.75);
}

void TestReports::fonts()
{
    RecordingCanvas c = letter();
    c.SetBold(true);
    c.SetUnderline(true);
    c.SetFont(QStringLiteral("Times New Roman"), 0);  // changes nothing
    QVERIFY(c.font().bold);
    QCOMPARE(c.font().name, QStringLiteral("Arial"));
    c.SetFont(QStringLiteral("Times New Roman"), 14);
    QVERIFY(!c.font().bold && !c.font().underline);
    QCOMPARE(c.lineHeight(), 14 * 1.2 / 72);
    c.PrintLeft(QStringLiteral("Worksheet 16"), 1.0);
    QCOMPARE(c.findText(QStringLiteral("Worksheet 16"))->font.size, 14.0);
}

void TestReports::columnStops()
{
    RecordingCanvas c = letter();
    c.SetTab(ReportCanvas::kNextStop, J::Left, 3.0, 0.05, ReportCanvas::BoxAll, 10);
    c.SetTab(ReportCanvas::kNextStop, J::Right, 1.5, 0.05, ReportCanvas::BoxAll);
    c.SetTab(ReportCanvas::kNextStop, J::Center, 1.0);
    QCOMPARE(c.tabs()[0].x, 0.75);  // the first stop at the left margin
    QCOMPARE(c.tabs()[1].x, 3.75);
    QCOMPARE(c.tabs()[2].x, 5.25);
    c.PrintLine(QStringLiteral("Mobilization\t$165,826.47\t5.0"));
    const auto* label = c.findText(QStringLiteral("Mobilization"));
    const auto* money = c.findText(QStringLiteral("$165,826.47"));
    const auto* pct = c.findText(QStringLiteral("5.0"));
    QCOMPARE(label->x1, 0.80);
    QVERIFY(qAbs(money->x2 - 5.20) < 1e-9);
    QVERIFY(qAbs((pct->x1 + pct->x2) / 2 - 5.75) < 1e-9);
    int lines = 0, fills = 0;
    for (const auto& op : c.ops) {
        lines += op.kind == QLatin1String("line");
        fills += op.kind == QLatin1String("fill") && op.value == 10;
    }
    QCOMPARE(lines, 8);  // two boxed cells
    QCOMPARE(fills, 1);
    c.ClearTabs();
    c.PrintLine(QStringLiteral("plain\tline"));
    QVERIFY(c.findText(QStringLiteral("plain\tline")));
}

void TestReports::memoWrapping()
{
    RecordingCanvas c = letter();
    const QString memo = QStringLiteral("Volume is the enclosed volume in cubic feet. Light steel structure at "
                                        "$0.45 per cubic foot, salvage not credited.\nSecond paragraph.");
    const int n = c.MemoLines(memo, 1.0, 3.0);
    QVERIFY(n >= 4);
    for (int i = 0; i < n; ++i)
        c.PrintMemo(memo, 1.0, 3.0);
    QStringList printed = c.texts();
    QCOMPARE(printed.size(), n);
    QCOMPARE(printed.last(), QStringLiteral("Second paragraph."));
    for (const auto& op : c.ops)
        if (op.kind == QLatin1String("text"))
            QVERIFY2(op.x2 <= 3.0 + 1e-9, qPrintable(op.text));
    QCOMPARE(printed.join(QLatin1Char(' ')).remove(QLatin1Char(' ')),
             QString(memo).replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char(' ')));
    // A word wider than the room breaks where it no longer fits, every letter kept.
    const QString word = QStringLiteral("Supercalifragilisticexpialidocious");
    const QStringList pieces = c.wrapMemo(word, 1.0, 1.6);
    QVERIFY(pieces.size() > 1);
    QCOMPARE(pieces.join(QString()), word);
    for (const QString& piece : pieces)
        QVERIFY2(c.textWidth(piece) <= 0.6 + 1e-9, qPrintable(piece));
}

void TestReports::textFileKeepsColumns()
{
    TextCanvas c;
    c.setMargins(0.5, 0.5, 0.5, 0.5);
    c.SetFont(QStringLiteral("Arial"), 10);
    c.PrintLine(QStringLiteral(" "));  // a line end draws nothing over the next text
    c.PrintLeft(QStringLiteral("Report Date:  12/10/2026"), 0.5);
    c.PrintRight(QStringLiteral("$1,234.56"), 7.5);
    c.PrintLeft(QStringLiteral("Cost"), 4.0);
    c.NewLine();
    c.SetFont(QStringLiteral("Times New Roman"), 8);  // rows closer than six to the inch
    for (const char* row : {"Row one", "Row two", "Row three"})
        c.PrintLine(QString::fromLatin1(row));
    // Apart on paper, but wider than their room in text columns.
    c.SetFont(QStringLiteral("Arial"), 10);
    c.PrintLeft(QStringLiteral("10. Contractor Profit and Overhead at 12.5000% (overridden)"), 1.25);
    c.PrintRight(QStringLiteral("$1,234,567.89"), 6.25);
    c.NewPage();
    c.PrintLine(QStringLiteral("Page two"));
    const QStringList pages = c.text().split(QLatin1Char('\f'));
    QCOMPARE(pages.size(), 2);
    const QStringList lines = pages[0].split(QLatin1Char('\n'));
    const auto lineWith = [&](const QString& text) {
        const QStringList found = lines.filter(text);
        return found.size() == 1 ? found.first() : QString();
    };
    const QString first = lineWith(QStringLiteral("Report Date:  12/10/2026"));
    QVERIFY(first.indexOf(QStringLiteral("Cost")) > first.indexOf(QStringLiteral("12/10/2026")));
    QCOMPARE(first.indexOf(QStringLiteral("$1,234.56")) + 9, 90);  // ends at 7.5 inches, twelve to the inch
    int previous = lines.indexOf(first);
    for (const char* row : {"Row one", "Row two", "Row three"}) {
        const int at = lines.indexOf(lineWith(QString::fromLatin1(row)));
        QVERIFY2(at > previous, row);
        QCOMPARE(lines[at].trimmed(), QString::fromLatin1(row));
        previous = at;
    }
    QVERIFY(lineWith(QStringLiteral("(overridden) $1,234,567.89")).startsWith(QStringLiteral("               10. ")));
    QVERIFY(pages[1].contains(QStringLiteral("Page two")));
    QTemporaryDir dir;
    QVERIFY(c.save(dir.filePath(QStringLiteral("report.txt"))));
}

void TestReports::pdfReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    {
        PdfCanvas c(path);
        QCOMPARE(c.pageWidth(), 8.5);
        QCOMPARE(c.pageHeight(), 11.0);
        c.setMargins(0.75, 0.75, 0.75, 1.0);
        c.SetFont(QStringLiteral("Arial"), 12);
        c.PrintCenter(QStringLiteral("Reclamation Bond Summary"), 4.25);
        c.NewLine();
        c.RoundRect(0.75, 0.75, 7.75, 1.5, 0.1);
        c.PrintLine(QStringLiteral("Total bond amount $4,808,967.67"));
        c.PrintFooterLine(QStringLiteral("Page 1"), J::Right);
        c.NewPage();
        c.PrintLine(QStringLiteral("Second page text"));
        QVERIFY(c.commit());
    }
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[0].contains(QStringLiteral("Reclamation Bond Summary")));
    QVERIFY(pages[0].contains(QStringLiteral("Total bond amount $4,808,967.67")));
    QVERIFY(pages[0].contains(QStringLiteral("Page 1")));
    QVERIFY(pages[1].contains(QStringLiteral("Second page text")));
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {path});
    QVERIFY(fonts.waitForFinished(30000));
    const QString list = QString::fromUtf8(fonts.readAllStandardOutput());
    QVERIFY2(list.contains(QStringLiteral("yes")), qPrintable(list));  // the font is embedded
}

namespace {

struct Framed {
    RecordingCanvas canvas;
    ScriptedDialogs dialogs;
    ReportOptions options;
    ReportFrame frame{canvas, options, dialogs};
    Framed(const ReportOptions& o = {}) : options(o), frame(canvas, options, dialogs)
    {
        frame.mineName = [] { return QStringLiteral("Laurel Ridge Coal Company"); };
        frame.projectName = [] { return QStringLiteral("North Pit"); };
        frame.projectDate = [] { return QStringLiteral("07/01/2024"); };
        frame.today = [] { return QDate(2026, 12, 9); };
        frame.startJob({0.25, 0.25, 0.25, 0.25});
    }
    int pagesWith(const QString& text) const
    {
        QSet<int> pages;
        for (const auto& op : canvas.ops)
            if (op.kind == QLatin1String("text") && op.text == text)
                pages.insert(op.page);
        return static_cast<int>(pages.size());
    }
};

}  // namespace

void TestReports::jobMargins_data()
{
    QTest::addColumn<double>("edge");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("bottom");
    // The body ends the footer's room above the bottom margin.
    QTest::newRow("options win") << 0.25 << 1.75 << 11.0 - 1.1 - ReportFrame::kFooterRoom;
    QTest::newRow("the printer's edge wins") << 1.2 << 2.2 << 11.0 - 1.3 - ReportFrame::kFooterRoom;
}

void TestReports::jobMargins()
{
    QFETCH(double, edge);
    QFETCH(double, top);
    QFETCH(double, bottom);
    RecordingCanvas canvas;
    ScriptedDialogs dialogs;
    ReportFrame frame(canvas, ReportOptions{}, dialogs);
    frame.startJob({edge, edge, edge, edge});
    QCOMPARE(canvas.SectionTop, top);
    QCOMPARE(canvas.SectionBottom, bottom);
    QCOMPARE(canvas.SectionLeft, std::max(edge, 0.75));
    QCOMPARE(canvas.SectionRight, 8.5 - std::max(edge, 0.75));
}

void TestReports::headerAndFooter()
{
    Framed f;
    f.frame.StartFramedPage(false, QStringLiteral("Worksheet 16"), QStringLiteral("Reclamation Bond Summary"), 0);
    const auto* mine = f.canvas.findText(QStringLiteral("Mine:  Laurel Ridge Coal Company"));
    QVERIFY(mine);
    QVERIFY(qAbs(mine->x2 - (7.75 - 0.2)) < 1e-9);
    QCOMPARE(mine->y1, 0.75 + 0.3);
    QCOMPARE(mine->font.size, 9.0);
    QVERIFY(mine->font.underline);
    QVERIFY(f.canvas.findText(QStringLiteral("Project:  North Pit")));
    QVERIFY(f.canvas.findText(QStringLiteral("Project Date:  07/01/2024")));
    const auto* title = f.canvas.findText(QStringLiteral("Worksheet 16"));
    QCOMPARE(title->x1, 0.75 + 0.2);
    QCOMPARE(title->y1, 0.75 + 0.2);
    QCOMPARE(title->font.size, 14.0);
    QVERIFY(title->font.bold);
    const auto* sub = f.canvas.findText(QStringLiteral("Reclamation Bond Summary"));
    QCOMPARE(sub->x1, 0.75 + 0.4);
    QCOMPARE(sub->font.size, 8.0);
    const auto& box = *std::find_if(f.canvas.ops.begin(), f.canvas.ops.end(),
                                    [](const RecordingCanvas::Op& o) { return o.kind == QLatin1String("rect"); });
    QCOMPARE(box.y1, 0.75);
    QCOMPARE(box.y2, 1.75);
    QCOMPARE(box.value, 250);  // a quarter-inch corner
    const auto* page = f.canvas.findText(QStringLiteral("Page 1"));
    const auto* footer = f.canvas.findText(QStringLiteral("Tarvane Software -- 2.4.9"));
    const auto* date = f.canvas.findText(QStringLiteral("Date 12/9/2026"));
    QVERIFY(page && footer && date);
    QCOMPARE(footer->x1, 0.75);
    QCOMPARE(footer->font.name, QStringLiteral("Times New Roman"));
    QCOMPARE(footer->font.size, 9.0);
    QVERIFY(qAbs(date->x2 - 7.75) < 1e-9);
    QCOMPARE(f.canvas.SectionBottom, 11.0 - 1.1 - ReportFrame::kFooterRoom);
    QVERIFY(f.canvas.SectionBottom <= footer->y1);  // the body ends above the footer
    QCOMPARE(f.canvas.yPos(), 1.75);  // the first body line under the box
    f.frame.StartFramedPage(true, QStringLiteral("Worksheet 16--Continued"), QStringLiteral(" "), 1);
    QCOMPARE(f.canvas.findText(QStringLiteral("Worksheet 16--Continued"))->page, 2);
    QVERIFY(f.canvas.findText(QStringLiteral("Page 2")));
    QCOMPARE(f.canvas.findText(QStringLiteral("Worksheet 16--Continued"))->y1, 0.75 + 0.5);
}

void TestReports::titleBlock()
{
    ReportOptions gone;
    gone.bitmapPath = QStringLiteral("/nonexistent/veskor.bmp");
    Framed missing(gone);
    missing.frame.PrintTitleBlock(QStringLiteral("Laurel Ridge Coal Company"));
    QCOMPARE(missing.dialogs.texts(), QStringList{QStringLiteral("Bitmap for Page Title could not be found!")});
    QVERIFY(missing.canvas.findText(QStringLiteral("Veskor -- Bond Amount Calculations")));
    QCOMPARE(missing.canvas.findText(QStringLiteral("Laurel Ridge Coal Company"))->font.size, 18.0);

    QTemporaryDir dir;
    ReportOptions o;
    o.bitmapPath = dir.filePath(QStringLiteral("title.png"));
    QImage(60, 60, QImage::Format_RGB32).save(o.bitmapPath);
    Framed found(o);
    found.frame.PrintTitleBlock(QStringLiteral("Sage Creek Mining Company"));
    QVERIFY(found.dialogs.shown.isEmpty());
    const auto& bitmap = *std::find_if(found.canvas.ops.begin(), found.canvas.ops.end(),
                                       [](const RecordingCanvas::Op& op) { return op.kind == QLatin1String("bitmap"); });
    QCOMPARE(bitmap.x1, 0.85);
    QCOMPARE(bitmap.y2, 0.75 + 0.85);
    const auto* title = found.canvas.findText(QStringLiteral("Veskor -- Bond Amount Calculations"));
    QVERIFY(qAbs((title->x1 + title->x2) / 2 - (4.25 + 0.5)) < 1e-9);
    QCOMPARE(found.canvas.SectionTop, 1.75);  // the body again below the title block

    // An applicant of the full 65 characters prints smaller, inside the box and clear of the bitmap.
    const QString longName = QStringLiteral("Laurel Ridge Coal Company - Laurel Ridge No. 2 Mine and Loadout").leftJustified(65, QLatin1Char('X'));
    Framed wide(o);
    wide.frame.PrintTitleBlock(longName);
    const auto* sub = wide.canvas.findText(longName);
    QVERIFY(sub->font.size < 18.0);
    QVERIFY(sub->x1 >= wide.canvas.SectionLeft + 0.95 - 1e-9);
    QVERIFY(sub->x2 <= wide.canvas.SectionRight - 0.1 + 1e-9);
    QCOMPARE(wide.canvas.findText(QStringLiteral("Veskor -- Bond Amount Calculations"))->font.size, 20.0);
}

void TestReports::memoSectionContinues()
{
    Framed f;
    f.frame.StartFramedPage(false, QStringLiteral("Mine Page"), QStringLiteral(" "), 0);
    QString memo;
    for (int i = 1; i <= 80; ++i)
        memo += QStringLiteral("Line %1 of the reclamation discussion.\n").arg(i);
    f.frame.PrintMemoSection(QStringLiteral("Discussion:"), QStringLiteral("Mine Page"), 0, 12, memo);
    QVERIFY(f.canvas.pageNumber() >= 3);
    QCOMPARE(f.pagesWith(QStringLiteral("Mine Page--Continued")), f.canvas.pageNumber() - 1);
    QVERIFY(f.canvas.findText(QStringLiteral("Line 80 of the reclamation discussion.")));
    for (const auto& op : f.canvas.ops)
        if (op.kind == QLatin1String("text") && op.text.startsWith(QStringLiteral("Line ")))
            QVERIFY2(op.y1 + f.canvas.lineHeight() <= 11.0 - 1.1 + 1e-9, qPrintable(op.text));
    QCOMPARE(f.canvas.findText(QStringLiteral("Discussion:"))->font.bold, true);
}

void TestReports::tableHeadingsRepeat()
{
    Framed f;
    f.frame.StartFramedPage(false, QStringLiteral("Worksheet 2"), QStringLiteral("Demolition"), 1);
    f.canvas.SetFont(QStringLiteral("Arial"), 10);
    f.frame.beginTable({{QStringLiteral("Item"), 2.0, ReportCanvas::Justify::Left},
                        {QStringLiteral("Cost"), 1.5, ReportCanvas::Justify::Right, 10}},
                       QStringLiteral("Worksheet 2"), QStringLiteral("Demolition"), 1);
    for (int i = 0; i < 120; ++i)
        f.frame.tableRow({QStringLiteral("Row %1").arg(i), QStringLiteral("$%1.00").arg(i * 10)});
    const int pages = f.canvas.pageNumber();
    QVERIFY(pages >= 3);
    QCOMPARE(f.pagesWith(QStringLiteral("Item")), pages);  // the headings on every page
    QCOMPARE(f.pagesWith(QStringLiteral("Worksheet 2")), pages);
    const auto* cost = f.canvas.findText(QStringLiteral("$50.00"));
    QVERIFY(qAbs(cost->x2 - (0.75 + 3.5 - 0.05)) < 1e-9);
    QVERIFY(f.canvas.findText(QStringLiteral("Item"))->font.bold);
    QCOMPARE(f.canvas.findText(QStringLiteral("Item"))->font.size, 8.0);
    QCOMPARE(f.canvas.findText(QStringLiteral("Row 0"))->font.size, 8.0);
    QCOMPARE(f.canvas.findText(QStringLiteral("Row 119"))->font.size, 10.0);  // rows of continuation pages
}

void TestReports::bondWorksheets_data()
{
    QTest::addColumn<bool>("mine");
    QTest::newRow("mine") << true;
    QTest::newRow("project") << false;
}

void TestReports::bondWorksheets()
{
    QFETCH(bool, mine);
    World w;
    QVERIFY(w.selectExampleMine());
    Framed f;
    f.frame.StartFramedPage(false, QStringLiteral("Mine Page"), QStringLiteral(" "), 0);
    PrintBondSummary(f.frame, w.comp.bond, mine);
    const BondItems& b = w.comp.bond.items();
    const QString W = mine ? QStringLiteral("Mine ") : QStringLiteral("Project ");
    QCOMPARE(f.canvas.findText(W + QStringLiteral("Reclamation Bond Summary Worksheet 16:"))->page, 1);
    QCOMPARE(f.canvas.findText(W + QStringLiteral("Remaining Bond Following Phase I Release:"))->page, 2);
    QCOMPARE(f.canvas.findText(W + QStringLiteral("Remaining Bond Following Phase II Release:"))->page, 3);
    QCOMPARE(f.canvas.findText(QStringLiteral("Mine Reclamation Bond Summary  -- Continued"))->page, 2);
    QCOMPARE(f.canvas.findText(QStringLiteral("Mine Reclamation Bond Summary -- Continued"))->page, 3);
    QVERIFY(f.canvas.findText(QStringLiteral("Worksheet 17")));

    // Item 1: the label at L + 0.5, its amount ending at R - 1.5 on the same line, as the bond page shows it.
    const auto* label = f.canvas.findText(QStringLiteral("1.  Total Facility and Stucture Removal Cost"));
    const auto* amount = f.canvas.findText(formatMoney(b.item[1]).trimmed());
    QVERIFY(label && amount);
    QCOMPARE(label->x1, 0.75 + 0.5);
    QVERIFY(qAbs(amount->x2 - (7.75 - 1.5)) < 1e-9);
    QCOMPARE(amount->y1, label->y1);
    QVERIFY(f.canvas.findText(QStringLiteral("7.  Mobilization and Demobilization at 5.0000%")));
    QVERIFY(f.canvas.findText(QStringLiteral("16. Contingencies at 10.0000% (overridden)")));
    QVERIFY(f.canvas.findText(QStringLiteral("$25,000.00")));
    const auto* total = f.canvas.findText(mine ? QStringLiteral("13. Total Bond Amount") : QStringLiteral("Project Bond Amount"));
    QVERIFY(total);
    QVERIFY(total->font.bold);
    QCOMPARE(total->font.size, 12.0);
    QVERIFY(f.canvas.findText(mine ? QStringLiteral("21. Mine Bond Amount Needed after Phase I Release")
                                   : QStringLiteral("21. Project Bond Amount Needed after Phase I Release")));
    QVERIFY(f.canvas.findText(QStringLiteral("6. Inflated Direct Cost     factor:      1.190")));
    QVERIFY(f.canvas.findText(formatMoney(b.item[34]).trimmed()));
}

void TestReports::directCostWorksheetsAgreeWithTotals()
{
    World w;
    QVERIFY(w.selectExampleMine());
    Framed f;
    // A report stands on the rows the windows show when it starts: each print below is one,
    // with views of its own made anew.
    WorksheetContext ctx{f.frame, w.dm, w.comp, QStringLiteral("MAT-ID"), {}, {}};
    QVERIFY(w.dm.ProjectT.locate({QStringLiteral("PrjID")}, {2}));  // the plant area: demolition
    const double demolition = w.comp.totals.TotalDemoCost();
    PrintDemolitionWorksheet(ctx, false);
    QVERIFY(f.canvas.findText(QStringLiteral("Total Demolition Cost: ") + formatMoney(demolition)));
    QVERIFY(f.canvas.findText(QStringLiteral("Volume (Cu Ft)")));
    QVERIFY(f.canvas.findText(QStringLiteral("Description of Demolition Plan -- Preparation Plant")));
    QVERIFY(f.canvas.findText(QStringLiteral("$  81000.00")));  // 180,000 cu ft at $0.45, "%10.2f"

    QVERIFY(w.dm.ProjectT.locate({QStringLiteral("PrjID")}, {1}));  // the North Pit: earthmoving
    const double earthmoving = w.comp.totals.TotalMatCost();
    ctx.ownViews.reset();
    PrintEarthmovingWorksheet(ctx, true);
    QVERIFY(f.canvas.findText(QStringLiteral("Total Cost: ") + formatMoney(earthmoving)));
    QCOMPARE(f.canvas.findText(QStringLiteral("Earthmoving Plan Summary"))->page, 2);

    w.dm.MatT.first();
    w.dm.MatT.next();  // the spoil haul: a loader and its trucks
    const QString item = w.dm.MatT.fieldByName(QStringLiteral("Description")).asString();
    ctx.ownViews.reset();
    PrintEquipmentCostSummary(ctx, true, w.dm.EquipMatT, item);
    QVERIFY(f.canvas.findText(QStringLiteral("Summary Calculation of Earthmoving Cost -- MAT-ID: ")));
    QVERIFY(f.canvas.findText(QStringLiteral("Worksheet 13, ") + item));
    QVERIFY(f.canvas.findText(formatFactor(2700).trimmed()));  // the truck: 900 hours by 3 trucks

    w.dm.RevegT.first();
    ctx.ownViews.reset();
    PrintRevegetationWorksheet(ctx, true);
    QVERIFY(f.canvas.findText(QStringLiteral("Reseeding:")));
    QVERIFY(f.canvas.findText(QStringLiteral("Acres to reseed")));
    w.dm.OtherT.first();
    ctx.ownViews.reset();
    PrintOtherWorksheet(ctx, true);
    QVERIFY(f.canvas.findText(QStringLiteral("Other Reclamation Cost: ") +
                              formatMoney(w.dm.OtherT.fieldByName(QStringLiteral("TotalCost")).asFloat())));
    QVERIFY(f.canvas.findText(QStringLiteral("Cost Estimate Calculations:")));
}

void TestReports::minePage()
{
    World w;
    w.dm.DataSetCode = 2;  // the tutorial mine
    w.dm.MineT.refresh();
    Framed f;
    WorksheetContext ctx{f.frame, w.dm, w.comp, QString(), {}, {}};
    PrintMinePage(ctx);
    QVERIFY(f.canvas.findText(QStringLiteral("Report Date:         12/09/2026")));
    QVERIFY(f.canvas.findText(QStringLiteral("Mine Name:          ") +
                              w.dm.MineT.fieldByName(QStringLiteral("Applicant")).asString()));
    QVERIFY(f.canvas.findText(QStringLiteral("Mine Reclamation Bond Summary Worksheet 16:")));
    QVERIFY(f.canvas.findText(QStringLiteral("Discussion:")));
    // The title bitmap installed next to the program is the default.
    QVERIFY(f.dialogs.texts().isEmpty());
    QVERIFY(std::any_of(f.canvas.ops.begin(), f.canvas.ops.end(), [](const auto& op) {
        return op.kind == QLatin1String("bitmap") && op.text == installedBitmapPath();
    }));
}


namespace {

// The texts printed on one page of the recording, in order.
QStringList pageTexts(const RecordingCanvas& c, int page)
{
    QStringList out;
    for (const auto& op : c.ops)
        if (op.kind == QLatin1String("text") && op.page == page)
            out << op.text;
    return out;
}

// The texts recorded from operation `from` on.
QStringList textsSince(const RecordingCanvas& c, qsizetype from)
{
    QStringList out;
    for (qsizetype i = from; i < c.ops.size(); ++i)
        if (c.ops[i].kind == QLatin1String("text"))
            out << c.ops[i].text;
    return out;
}

QString f4(double v)
{
    return QString::asprintf("%8.4f", v);
}

}  // namespace

// Every equipment record of the example mine gets its worksheet on a page of
// its own, with the hours the calculation gives for it.
void TestReports::productivityWorksheets()
{
    World w;
    QVERIFY(w.selectExampleMine());
    Framed f;
    WorksheetContext ctx{f.frame, w.dm, w.comp, QStringLiteral("MAT-ID"), {}, {}};
    QSet<int> kinds;
    bool first = true;
    const QPair<Table*, Table*> sheets[] = {{&w.dm.DemolT, &w.dm.EquipDemoT},
                                           {&w.dm.MatT, &w.dm.EquipMatT},
                                           {&w.dm.RevegT, &w.dm.EquipRevegT}};
    for (w.dm.ProjectT.first(); !w.dm.ProjectT.eof(); w.dm.ProjectT.next())
        for (const auto& [sheet, equipment] : sheets)
            for (sheet->first(); !sheet->eof(); sheet->next())
                for (equipment->first(); !equipment->eof(); equipment->next()) {
                    const int kind = equipment->fieldByName(QStringLiteral("EquipCode2")).asInteger();
                    const QString name = equipment->fieldByName(QStringLiteral("EquipmentName")).asString();
                    const qsizetype before = f.canvas.ops.size();
                    PrintEquipmentWorksheet(ctx, !first, *equipment);
                    first = false;
                    kinds << kind;
                    const EquipCalcResults& x = w.comp.calculator.EquipCalcResults_;
                    const bool withAdded = kind == kLoader || kind == kExcavator || kind == kTruck;
                    const double total = withAdded ? x.TotalHours : x.HoursRequired;
                    // Grading prints its hours with two decimals, every other kind with four.
                    const QString hours = kind == kDozerGrading ? QString::asprintf(" %.2f hrs", total)
                                                                : f4(total) + (kind == kPushDozer ? QStringLiteral("  hrs") : QStringLiteral(" hrs"));
                    QVERIFY(x.HoursRequired > 0);
                    const QStringList texts = textsSince(f.canvas, before);
                    QVERIFY2(texts.filter(QStringLiteral("Hours Required")).filter(hours).size() == 1,
                             qPrintable(name));
                    QVERIFY(texts.filter(name).size() >= 1);
                    QVERIFY(texts.contains(QStringLiteral("Earthmoving Activity:")));
                    QCOMPARE(texts.contains(QStringLiteral("Route: ") +
                                            equipment->fieldByName(QStringLiteral("Route")).asString()),
                             kind != kUserDefined);
                }
    QCOMPARE(kinds, QSet<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    // No text runs down into the footer, memos included.
    const auto* footerLine = f.canvas.findText(QStringLiteral("Tarvane Software -- 2.4.9"));
    QVERIFY(footerLine);
    const QRegularExpression footer(QStringLiteral("^(Tarvane Software -- |Page \\d|Date )"));
    for (const auto& op : f.canvas.ops)
        if (op.kind == QLatin1String("text") && !footer.match(op.text).hasMatch())
            QVERIFY2(op.y1 + op.font.size / 72.0 <= footerLine->y1 + 1e-9, qPrintable(op.text));  // top plus height

    const auto* truck = f.canvas.findText(QStringLiteral("Productivity and Hours Required for Truck Use -- Item: "));
    QVERIFY(truck);
    const QStringList page = pageTexts(f.canvas, truck->page);
    QVERIFY(!page.filter(QStringLiteral("Loader Name: ")).isEmpty());
    QVERIFY(page.filter(QStringLiteral("Loader Name: ")).first().size() > QStringLiteral("Loader Name: ").size());
    QVERIFY(!page.filter(QStringLiteral("Worksheet 9, ")).isEmpty());
    QVERIFY(page.contains(QStringLiteral("truck cycle time     total loading time")));
    const auto* user = f.canvas.findText(QStringLiteral("Hours Required for User Defined Use -- Item: "));
    QVERIFY(user);
    QVERIFY(pageTexts(f.canvas, user->page).filter(QStringLiteral("Worksheet")).isEmpty());
    QVERIFY(pageTexts(f.canvas, user->page).contains(
        QStringLiteral("Characterization of Equipment Used (Type and Size):")));
}

void TestReports::productivityEdgeCases_data()
{
    QTest::addColumn<int>("planId");
    QTest::addColumn<QVariantMap>("change");
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("absent");
    // PlanID 5 is the spoil haul's truck, 10 the final grading's grader.
    QTest::newRow("trucks by hand")
        << 5 << QVariantMap{{"OverrideTruck", true}, {"NumTrucks", 4.0}}
        << QStringLiteral("Number of trucks required = User Override on Number of Trucks  -- ") + f4(4)
        << QStringLiteral("truck cycle time     total loading time");
    QTest::newRow("no partner kind") << 5 << QVariantMap{{"LoadExcavRG", 5}} << QStringLiteral("Route: ")
                                     << QStringLiteral("Loader Name: ");
    QTest::newRow("scarification") << 10 << QVariantMap{{"ContourNotScar", QString()}}
                                   << QStringLiteral("Scarification") << QStringLiteral("Contour Grading");
    QTest::newRow("contour grading") << 10 << QVariantMap{{"ContourNotScar", QStringLiteral("Y")}}
                                     << QStringLiteral("Contour Grading") << QStringLiteral("Scarification");
    QTest::newRow("unknown kind") << 5 << QVariantMap{{"EquipCode2", 12}} << QString() << QStringLiteral("Hours");
}

void TestReports::productivityEdgeCases()
{
    QFETCH(int, planId);
    QFETCH(QVariantMap, change);
    QFETCH(QString, present);
    QFETCH(QString, absent);
    World w;
    QVERIFY(w.selectExampleMine());
    Table& t = w.dm.EquipMatT;
    const auto locatePlan = [&] {
        for (w.dm.ProjectT.first(); !w.dm.ProjectT.eof(); w.dm.ProjectT.next())
            for (w.dm.MatT.first(); !w.dm.MatT.eof(); w.dm.MatT.next())
                if (t.locate({QStringLiteral("PlanID")}, {planId}))
                    return true;
        return false;
    };
    QVERIFY(locatePlan());
    t.edit();
    for (auto it = change.cbegin(); it != change.cend(); ++it)
        t.fieldByName(it.key()).setValue(it.value());
    t.post();
    Framed f;
    WorksheetContext ctx{f.frame, w.dm, w.comp, QStringLiteral("MAT-ID"), {}, {}};
    PrintEquipmentWorksheet(ctx, false, t);
    const QStringList texts = textsSince(f.canvas, 0);
    if (present.isEmpty()) {
        QVERIFY(texts.isEmpty());
    } else {
        QVERIFY2(!texts.filter(present).isEmpty(), qPrintable(texts.join(QLatin1Char('|'))));
    }
    for (const QString& line : texts)
        QVERIFY2(!line.startsWith(absent) && !line.contains(QStringLiteral(" ") + absent), qPrintable(line));
}

void TestReports::choices_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("detail");
    QTest::addColumn<QString>("sections");
    // The North Pit of the example mine, on its second earthmoving row (a loader
    // and its trucks): no demolition, one revegetation plan with a tractor, one other cost.
    const QString below = QStringLiteral("P 17 18 3 13 5 13 8 9 13 11A 11B 11B 13 6 12 14 13 6 15");
    QTest::newRow("mine summary") << 1 << false << QStringLiteral("17 18");
    QTest::newRow("mine summary, detail ignored") << 1 << true << QStringLiteral("17 18");
    QTest::newRow("project page") << 2 << false << QStringLiteral("P 17 18");
    QTest::newRow("project and below") << 2 << true << below;
    QTest::newRow("demolition") << 3 << false << QStringLiteral("2");
    QTest::newRow("earthmoving") << 5 << false << QStringLiteral("3");
    QTest::newRow("earthmoving and below") << 5 << true << QStringLiteral("3 13 5 13 8 9 13 11A 11B 11B 13 6 12");
    QTest::newRow("equipment of a row") << 6 << false << QStringLiteral("13");
    QTest::newRow("equipment of a row and below") << 6 << true << QStringLiteral("13 8 9");
    QTest::newRow("revegetation") << 7 << false << QStringLiteral("14");
    QTest::newRow("revegetation and below") << 7 << true << QStringLiteral("14 13 6");
    QTest::newRow("other cost") << 9 << false << QStringLiteral("15");
    QTest::newRow("other costs, all items") << 9 << true << QStringLiteral("15");
}

// Which worksheets each choice prints, in order, and that the walked tables
// and the calculated fields are as they were afterwards.
void TestReports::choices()
{
    QFETCH(int, choice);
    QFETCH(bool, detail);
    QFETCH(QString, sections);
    World w;
    QVERIFY(w.selectExampleMine());
    QVERIFY(w.dm.ProjectT.locate({QStringLiteral("PrjID")}, {1}));
    w.dm.MatT.first();
    w.dm.MatT.next();  // the spoil haul, which the walks must come back to
    const int sheet = w.dm.MatT.fieldByName(QStringLiteral("SheetID")).asInteger();
    Framed f;
    WorksheetContext ctx{f.frame, w.dm, w.comp, QStringLiteral("MAT-ID"), {}, {}};
    PrintReport(ctx, {choice, detail, nullptr, {}, {}});

    const QRegularExpression worksheet(QStringLiteral("^Worksheet (\\d+[AB]?)"));
    QStringList printed;
    for (const auto& op : f.canvas.ops) {
        if (op.kind != QLatin1String("text"))
            continue;
        if (op.text == QLatin1String("Project WorkSheet"))
            printed << QStringLiteral("P");
        else if (const auto m = worksheet.match(op.text); m.hasMatch())
            printed << m.captured(1);
    }
    QCOMPARE(printed.join(QLatin1Char(' ')), sections);
    QVERIFY(w.dm.CalcEnabled);
    QCOMPARE(w.dm.ProjectT.fieldByName(QStringLiteral("PrjID")).asInteger(), 1);
    QCOMPARE(w.dm.MatT.fieldByName(QStringLiteral("SheetID")).asInteger(), sheet);
}


namespace {

// Words of wide letters up to a field's length, and a long discussion.
QString wide(int length, const QString& word = QStringLiteral("Wide Mountain Mining "))
{
    QString s;
    while (s.size() < length)
        s += word;
    return s.left(length).trimmed().leftJustified(length, QLatin1Char('W'));
}

QString quoted(const QString& s)
{
    return QLatin1Char('\'') + QString(s).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// The example mine with every printed text at its longest, long memos and costs in the tens of millions.
void makeTextsLong(const TempData& data)
{
    const QString memo = quoted(wide(2600, QStringLiteral("The reclamation of this disturbed area follows the approved plan. ")) +
                                QStringLiteral("\n") + wide(300, QStringLiteral("W")));
    const QString inMine = QStringLiteral("PrjID IN (SELECT PrjID FROM \"PROJECT.DB\" WHERE MineID = 1)");
    data.sql(QStringLiteral(
                 "UPDATE \"MINE.DB\" SET Applicant = %1, PemitID = %2, TypeOperation = %3, Location = %4, PreparedBy = %5, "
                 "Memo = %6 WHERE MineID = 1;"
                 "UPDATE \"PROJECT.DB\" SET ProjectName = %7, Memo = %6 WHERE MineID = 1;"
                 "UPDATE \"DEMOL.DB\" SET Item = %8, TypeMaterial = %9, Memo = %6, Volume = 25000000, UnitCost = 0.45 WHERE %10;"
                 "UPDATE \"MATERIAL.DB\" SET Description = %11, Orgin = %12, Destination = %11, HaulDist = 12345.678, "
                 "Grade = -12.345, Memo = %6 WHERE %10;"
                 "UPDATE \"REVEG.DB\" SET Name = %13, Memo = %6, MemoOther = %6, AcresSeed = 12345.67, CostSeedBed = 32190, "
                 "CostSeed = 45678.9, OtherCost = 12345678.9 WHERE %10;"
                 "UPDATE \"OTHERREC.DB\" SET Name = %14, Description = %6, Assumptions = %6, CostCal = %6, "
                 "TotalCost = 12345678.9 WHERE %10;"
                 "UPDATE \"Equipment.DB\" SET EquipmentName = %15, Descriptions = %15, Name = %15, Route = %16, "
                 "Act = %6, Char = %6, Description = %6, OperatCost = 98765.43, LaborCost = 12345.67;")
                 .arg(quoted(wide(65)), quoted(wide(35)), quoted(wide(25)), quoted(wide(45)), quoted(wide(50)), memo,
                      quoted(wide(45)), quoted(QString(25, QLatin1Char('W'))), quoted(wide(40)), inMine)
                 .arg(quoted(wide(50)), quoted(QString(50, QLatin1Char('W'))), quoted(wide(25)), quoted(wide(35)),
                      quoted(wide(75)), quoted(wide(25))));
}

// The pages' texts as a reader takes them: line by line from the top, each line from the left.
QList<QList<const RecordingCanvas::Op*>> readingOrder(const RecordingCanvas& c)
{
    QList<QList<const RecordingCanvas::Op*>> pages(c.pageNumber());
    for (const auto& op : c.ops)
        if (op.kind == QLatin1String("text") && !op.text.trimmed().isEmpty())
            pages[op.page - 1] << &op;
    for (auto& page : pages) {
        std::stable_sort(page.begin(), page.end(), [](auto* a, auto* b) { return a->y1 < b->y1; });
        for (int i = 0; i < page.size();) {
            int j = i;
            while (j < page.size() && page[j]->y1 - page[i]->y1 < 0.03)
                ++j;
            std::stable_sort(page.begin() + i, page.begin() + j, [](auto* a, auto* b) { return a->ink1 < b->ink1; });
            i = j;
        }
    }
    return pages;
}

}  // namespace

void TestReports::layoutKeepsEveryTextClear_data()
{
    QTest::addColumn<bool>("longTexts");
    QTest::addColumn<double>("bottomMargin");
    QTest::newRow("example mine") << false << 1.0;
    QTest::newRow("longest texts, bottom margin 0.2") << true << 0.2;
}

// The whole mine report: every text inside the page, above the footer, inside
// its cell or header box, clear of every other text; the text file holds every
// text of every page in reading order, and every output has the same pages.
void TestReports::layoutKeepsEveryTextClear()
{
    QFETCH(bool, longTexts);
    QFETCH(double, bottomMargin);
    World w(longTexts ? std::function<void(const TempData&)>(makeTextsLong) : nullptr);
    QVERIFY(w.selectExampleMine());
    ReportOptions options;
    options.bottomMargin = bottomMargin;
    ReportSelection everything;
    RecordingCanvas rec;
    RunReportJob(rec, options, {}, w.dialogs, w.dm, w.comp, everything);
    TextCanvas text;
    RunReportJob(text, options, {}, w.dialogs, w.dm, w.comp, everything);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("mine.pdf"));
    {
        PdfCanvas canvas(pdf);
        RunReportJob(canvas, options, {}, w.dialogs, w.dm, w.comp, everything);
        QVERIFY(canvas.commit());
    }
    QVERIFY(rec.pageNumber() > 20);

    constexpr double eps = 1e-6, touch = 0.01;
    const auto pages = readingOrder(rec);
    for (int p = 0; p < pages.size(); ++p) {
        const auto& page = pages[p];
        double footerTop = 11.0;
        for (const auto* op : page)
            if (op->footer)
                footerTop = std::min(footerTop, op->y1);
        QVERIFY2(footerTop < 11.0, qPrintable(QStringLiteral("page %1 has no footer").arg(p + 1)));
        const RecordingCanvas::Op* box = nullptr;
        for (const auto& op : rec.ops)
            if (op.page == p + 1 && op.kind == QLatin1String("rect"))
                box = &op;
        for (int i = 0; i < page.size(); ++i) {
            const auto* a = page[i];
            const QString where = QStringLiteral("page %1: \"%2\"").arg(p + 1).arg(a->text);
            QVERIFY2(a->ink1 >= 0.75 - eps && a->ink2 <= 8.5 - 0.75 + eps && a->y1 >= 0, qPrintable(where));
            if (!a->footer)
                QVERIFY2(a->y1 + a->height() <= footerTop + eps, qPrintable(where));
            if (a->inCell)
                QVERIFY2(a->ink1 >= a->cellLeft - eps && a->ink2 <= a->cellRight + eps, qPrintable(where));
            if (box && a->y1 >= box->y1 && a->y1 < box->y2)
                QVERIFY2(a->y1 + a->height() <= box->y2 + eps && a->ink1 >= box->x1 && a->ink2 <= box->x2,
                         qPrintable(where));
            for (int j = i + 1; j < page.size(); ++j) {
                const auto* b = page[j];
                const bool apart = a->ink2 <= b->ink1 + touch || b->ink2 <= a->ink1 + touch ||
                                   a->y1 + a->height() <= b->y1 + touch || b->y1 + b->height() <= a->y1 + touch;
                QVERIFY2(apart, qPrintable(where + QStringLiteral(" over \"%1\"").arg(b->text)));
            }
        }
    }

    const QStringList textPages = text.text().split(QLatin1Char('\f'));
    QCOMPARE(textPages.size(), rec.pageNumber());
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished());
    QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                .contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(rec.pageNumber()))));
    for (int p = 0; p < pages.size(); ++p) {
        const QString& page = textPages[p];
        qsizetype at = 0;
        for (const auto* op : pages[p]) {
            const qsizetype found = page.indexOf(op->text.trimmed(), at);
            QVERIFY2(found >= 0, qPrintable(QStringLiteral("page %1: \"%2\" missing or out of order")
                                                .arg(p + 1).arg(op->text.trimmed())));
            at = found + op->text.trimmed().size();
        }
    }
}

// The mine's own pages say they hold all projects; a project's pages name it.
void TestReports::mineWideHeaders()
{
    World w;
    QVERIFY(w.selectExampleMine());
    RecordingCanvas rec;
    ReportSelection everything;
    RunReportJob(rec, ReportOptions(), {}, w.dialogs, w.dm, w.comp, everything);
    const QString mineDate = QStringLiteral("Project Date:  ") + w.dm.MineT.fieldByName(QStringLiteral("Date")).asString();
    const auto* ws17 = rec.findText(QStringLiteral("Mine Remaining Bond Following Phase I Release:"));
    const auto* ws18 = rec.findText(QStringLiteral("Mine Remaining Bond Following Phase II Release:"));
    QVERIFY(ws17 && ws18);
    for (int page : {ws17->page, ws18->page}) {
        QVERIFY(pageTexts(rec, page).contains(QStringLiteral("Project:  All projects")));
        QVERIFY(pageTexts(rec, page).contains(mineDate));
    }
    const auto* project = rec.findText(QStringLiteral("Project Remaining Bond Following Phase I Release:"));
    QVERIFY(project);
    QVERIFY(pageTexts(rec, project->page).filter(QStringLiteral("Project:  All projects")).isEmpty());
    w.dm.ProjectT.first();
    QVERIFY(pageTexts(rec, project->page)
                .contains(QStringLiteral("Project:  ") + w.dm.ProjectT.fieldByName(QStringLiteral("ProjectName")).asString()));
}

QTEST_MAIN(TestReports)
// A mine named by key prints, and lists as a workbook, exactly as when a window shows it,
// while the windows stay on another mine.
void TestReports::printedByKeyAsShown()
{
    World w;
    w.dm.DataSetCode = 2;  // the tutorial mine, shown
    w.dm.MineT.refresh();
    w.dm.MatT.first();
    QVERIFY(!w.dm.EquipMatT.isEmpty());
    const RowKeys tutorial{w.dm.MineT.fieldByName(QStringLiteral("MineID")).value(),
                           w.dm.ProjectT.fieldByName(QStringLiteral("PrjID")).value(), QLatin1Char('M'),
                           w.dm.MatT.fieldByName(QStringLiteral("SheetID")).value(),
                           w.dm.EquipMatT.fieldByName(QStringLiteral("PlanID")).value()};
    const auto print = [&](ReportSelection s) {
        TextCanvas canvas;
        RunReportJob(canvas, ReportOptions(), {}, w.dialogs, w.dm, w.comp, s);
        canvas.finish();
        return canvas.text();
    };
    const auto list = [&](const QString& dir, const std::optional<RowKeys>& rows) {
        QStringList files;
        for (const QString& f : writeCsvWorkbook(buildMineWorkbook(w.dm, w.comp, false, {}, rows), dir, w.dm)) {
            QFile file(f);
            files << (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("unreadable"));
        }
        return files;
    };
    const QString shownMine = print({0, true, nullptr, {}, {}});
    const QString shownMachine = print({0, false, &w.dm.EquipMatT, {}, {}});
    QTemporaryDir dir;
    const QStringList shownBook = list(dir.filePath(QStringLiteral("shown")), std::nullopt);
    QVERIFY(shownMine.contains(w.dm.MineT.fieldByName(QStringLiteral("Applicant")).asString()));

    QVERIFY(w.selectExampleMine());
    const QVariant example = w.dm.MineT.fieldByName(QStringLiteral("MineID")).value();
    QVERIFY(example != tutorial.mine);
    QCOMPARE(print({0, true, nullptr, {}, RowKeys{tutorial.mine, {}, {}, {}, {}}}), shownMine);
    QCOMPARE(print({0, false, nullptr, {}, tutorial}), shownMachine);
    QCOMPARE(list(dir.filePath(QStringLiteral("keyed")), RowKeys{tutorial.mine, {}, {}, {}, {}}), shownBook);
    QCOMPARE(w.dm.MineT.fieldByName(QStringLiteral("MineID")).value(), example);

    // Rows the file does not hold print nothing and say so.
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, print({0, true, nullptr, {}, RowKeys{999999, {}, {}, {}, {}}}));
}

#include "tst_reports.moc"
