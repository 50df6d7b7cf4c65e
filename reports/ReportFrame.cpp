#include "ReportFrame.h"

#include "Dialogs.h"

#include <QCoreApplication>
#include <QImage>
#include <algorithm>

QString installedBitmapPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/veskor.bmp");
}

ReportFrame::ReportFrame(ReportCanvas& canvas, const ReportOptions& options, Dialogs& dialogs)
    : c_(canvas), options_(options), dialogs_(dialogs)
{
}

void ReportFrame::startJob(const UnprintableEdges& edges)
{
    c_.setStatus(QString(), QString());
    const double left = std::max(edges.left, options_.leftMargin);
    const double right = std::max(edges.right, options_.rightMargin);
    const double top = std::max(edges.top, options_.topMargin) + 1.0;  // room for the header box
    bottom_ = std::max(edges.bottom, options_.bottomMargin) + 0.1;
    c_.setMargins(left, top, right, bottom_);
}

void ReportFrame::PrintTitleBlock(const QString& subtitle)
{
    c_.setStatusLine2(QStringLiteral("Printing Header"));
    c_.SectionTop -= 1.0;
    const double top = c_.SectionTop;
    c_.RoundRect(c_.SectionLeft, top, c_.SectionRight, top + 1.0, 0.25);
    const double center = c_.pageWidth() / 2 + 0.5;
    // The titles stay inside the box and clear of the bitmap: one too wide for its line prints smaller.
    const double room = 2 * std::min(center - (c_.SectionLeft + 0.95), c_.SectionRight - 0.1 - center);
    const auto fit = [&](const QString& text) {
        while (c_.textWidth(text) > room && c_.font().size > 6)
            c_.SetFont(c_.font().name, c_.font().size - 0.5);
    };
    c_.SetFont(QStringLiteral("Arial"), options_.titlePoint);  // a size of 0 keeps the previous font
    c_.SetUnderline(false);
    c_.Home();
    fit(options_.mainTitle);
    c_.SetYPos(top + 0.4 - c_.lineHeight() / 2);
    c_.PrintCenter(options_.mainTitle, center);
    c_.SetFont(QStringLiteral("Arial"), options_.titlePoint - 2);
    fit(subtitle);
    c_.SetYPos(top + 0.8 - c_.lineHeight() / 2);
    c_.PrintCenter(subtitle, center);
    if (options_.bitmapPath.isEmpty() || QImage(options_.bitmapPath).isNull())
        dialogs_.information(QStringLiteral("Bitmap for Page Title could not be found!"));
    else
        c_.PrintBitmap(c_.SectionLeft + 0.1, top + 0.1, c_.SectionLeft + 0.85, top + 0.85, options_.bitmapPath);
    c_.ResetSection();
}

void ReportFrame::PrintPageHeader(const QString& title, const QString& subtitle, int sizeCode)
{
    c_.setStatusLine2(QStringLiteral("Printing Header"));
    c_.SectionTop -= 1.0;
    const double top = c_.SectionTop;
    c_.RoundRect(c_.SectionLeft, top, c_.SectionRight, top + 1.0, 0.25);
    c_.SetFont(QStringLiteral("Arial"), 9);
    c_.SetUnderline(true);
    c_.Home();
    c_.SetYPos(top + 0.3);
    for (const QString& line : {QStringLiteral("Mine:  ") + mineName(), QStringLiteral("Project:  ") + projectName(),
                                QStringLiteral("Project Date:  ") + projectDate()}) {
        c_.PrintRight(line, c_.SectionRight - 0.2);
        c_.NewLine();
    }
    double size = 10;
    switch (sizeCode) {
    case 0:
        c_.SetYPos(top + 0.2);
        size = 14;
        break;
    case 1:
        c_.SetYPos(top + 0.5);
        size = 12;
        break;
    case 2:
        c_.SetYPos(top + 0.7);
        size = 10;
        break;
    default:
        break;
    }
    c_.SetFont(QStringLiteral("Arial"), size);
    c_.SetBold(true);
    c_.PrintLeft(title, c_.SectionLeft + 0.2);
    c_.NewLine();
    c_.SetFont(QStringLiteral("Arial"), 8);
    c_.PrintLeft(subtitle, c_.SectionLeft + 0.4);
    c_.NewLine();
    c_.SetBold(false);
    c_.ResetSection();
    c_.Home();
}

void ReportFrame::PrintPageFooter()
{
    c_.setStatusLine2(QStringLiteral("Printing Footer"));
    c_.SectionBottom -= 0.1;
    c_.SetFont(QStringLiteral("Times New Roman"), 8);
    c_.PrintFooterLine(QStringLiteral("Page ") + QString::number(std::max(1, c_.pageNumber())), ReportCanvas::Justify::Center);
    c_.SetFont(QStringLiteral("Times New Roman"), 9);
    c_.PrintFooterLine(QLatin1String(kReportFooter), ReportCanvas::Justify::Left);
    c_.SetFont(QStringLiteral("Times New Roman"), 8);
    c_.PrintFooterLine(QStringLiteral("Date ") + today().toString(QStringLiteral("M/d/yyyy")), ReportCanvas::Justify::Right);
    c_.ResetSection();
    c_.SectionBottom = c_.pageHeight() - bottom_;
}

void ReportFrame::StartFramedPage(bool newPage, const QString& title, const QString& subtitle, int sizeCode)
{
    if (newPage)
        c_.NewPage();
    PrintPageHeader(title, subtitle, sizeCode);
    PrintPageFooter();
    c_.Home();
    c_.ResetSection();
}

void ReportFrame::PrintMemoSection(const QString& caption, const QString& continuedTitle, int sizeCode,
                                   double captionSize, const QString& memo)
{
    auto continuation = [&] {
        StartFramedPage(true, continuedTitle + QStringLiteral("--Continued"), QStringLiteral(" "), sizeCode);
        c_.SetFont(QStringLiteral("Times New Roman"), 12);
    };
    // Room is counted in lines of the caption's font, whatever the text
    // before left set: the caption and the first memo line must fit.
    c_.SetFont(QStringLiteral("Times New Roman"), captionSize);
    if (c_.LinesLeft() < 5)
        continuation();
    c_.SetFont(QStringLiteral("Times New Roman"), captionSize);
    c_.NewLine();
    c_.NewLine();
    c_.SetBold(true);
    c_.PrintLeft(caption, c_.SectionLeft);
    c_.SetBold(false);
    c_.NewLine();
    c_.NewLine();
    c_.SetFont(QStringLiteral("Times New Roman"), 12);
    const QStringList lines = c_.wrapMemo(memo, c_.SectionLeft + 0.5, c_.SectionRight);
    for (int i = 0; i < lines.size(); ++i) {
        c_.PrintLeft(lines[i], c_.SectionLeft + 0.5);
        c_.NewLine();
        if (i + 1 < lines.size() && c_.LinesLeft() <= 1) {
            continuation();
            c_.NewLine();
            c_.NewLine();
        }
    }
}

void ReportFrame::beginTable(const QList<Column>& columns, const QString& title, const QString& subtitle, int sizeCode,
                             bool shadeHeadings, int continuationSizeCode)
{
    columns_ = columns;
    tableTitle_ = title;
    tableSubtitle_ = subtitle;
    tableSize_ = sizeCode;
    continuationSize_ = continuationSizeCode >= 0 ? continuationSizeCode : sizeCode;
    shadeHeadings_ = shadeHeadings;
    c_.SetFont(QStringLiteral("Times New Roman"), 8);
    headings();
}

void ReportFrame::headings()
{
    c_.ClearTabs();
    QStringList titles;
    for (const Column& col : columns_) {
        c_.SetTab(ReportCanvas::kNextStop, ReportCanvas::Justify::Center, col.width, 0, ReportCanvas::BoxAll,
                  shadeHeadings_ ? col.shade : 0);
        titles << col.title;
    }
    const bool bold = c_.font().bold;
    c_.SetBold(true);
    c_.PrintLine(titles.join(QLatin1Char('\t')));
    c_.SetBold(bold);
}

void ReportFrame::tableRow(const QStringList& cells)
{
    c_.ClearTabs();
    for (const Column& col : columns_)
        c_.SetTab(ReportCanvas::kNextStop, col.justify, col.width, 0.05, ReportCanvas::BoxAll, col.shade);
    c_.PrintLine(cells.join(QLatin1Char('\t')));
    if (c_.LinesLeft() < 4) {
        StartFramedPage(true, tableTitle_, tableSubtitle_, continuationSize_);
        c_.SetFont(QStringLiteral("Times New Roman"), 8);
        headings();
        c_.SetFont(QStringLiteral("Times New Roman"), 10);
    }
}
