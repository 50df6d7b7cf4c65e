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
    c_.onBodyFull = [this] { continueOnNewPage(); };
}

void ReportFrame::setContinuation(const QString& title, const QString& subtitle, int sizeCode)
{
    contTitle_ = title;
    contSubtitle_ = subtitle;
    contSize_ = sizeCode;
}

// A line that does not fit goes on a framed continuation page; the text it
// belongs to goes on in the font and column stops it had.
void ReportFrame::continueOnNewPage()
{
    const ReportCanvas::Font font = c_.font();
    const QList<ReportCanvas::TabStop> tabs = c_.tabs();
    const QString title = contTitle_.endsWith(QLatin1String("Continued")) ? contTitle_
                                                                          : contTitle_ + QStringLiteral("--Continued");
    StartFramedPage(true, title, contSubtitle_, contSize_);
    c_.SetFont(font.name, font.size);
    c_.SetBold(font.bold);
    c_.SetUnderline(font.underline);
    c_.ClearTabs();
    for (const ReportCanvas::TabStop& t : tabs)
        c_.SetTab(t.x, t.justify, t.width, t.margin, t.boxLines, t.shade);
}

void ReportFrame::startJob(const UnprintableEdges& edges)
{
    c_.setStatus(QString(), QString());
    const double left = std::max(edges.left, options_.leftMargin);
    const double right = std::max(edges.right, options_.rightMargin);
    const double top = std::max(edges.top, options_.topMargin) + 1.0;  // room for the header box
    bottom_ = std::max(edges.bottom, options_.bottomMargin) + 0.1;
    c_.setMargins(left, top, right, bottom_ + kFooterRoom);
}

void ReportFrame::PrintTitleBlock(const QString& subtitle)
{
    c_.setStatusLine2(QStringLiteral("Printing Header"));
    ReportCanvas::FrameDrawing framing(c_);
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

QStringList ReportFrame::fitHeaderText(const QString& text, const std::function<double(double)>& roomFor,
                                       double leastSize)
{
    while (c_.textWidth(text) > roomFor(c_.lineHeight()) && c_.font().size - 0.5 >= leastSize) {
        const ReportCanvas::Font f = c_.font();
        c_.SetFont(f.name, f.size - 0.5);
        c_.SetBold(f.bold);
        c_.SetUnderline(f.underline);
    }
    const double room = roomFor(c_.lineHeight());
    return c_.textWidth(text) > room ? c_.wrapToWidth(text, room, c_.font()) : QStringList{text};
}

void ReportFrame::PrintPageHeader(const QString& title, const QString& subtitle, int sizeCode)
{
    c_.setStatusLine2(QStringLiteral("Printing Header"));
    ReportCanvas::FrameDrawing framing(c_);
    c_.SectionTop -= 1.0;
    const double top = c_.SectionTop;
    const double left = c_.SectionLeft, right = c_.SectionRight;
    c_.RoundRect(left, top, right, top + 1.0, 0.25);
    // The three lines on the right take at most three fifths of the box; the
    // title and subtitle beside them print smaller, or wrap, to stay clear of them.
    c_.SetFont(QStringLiteral("Arial"), 9);
    c_.SetUnderline(true);
    const QString project = mineWide_ ? QStringLiteral("All projects") : projectName();
    const QString date = mineWide_ ? mineDate() : projectDate();
    const QString block = QStringLiteral("Mine:  ") + mineName() + QLatin1Char('\n') + QStringLiteral("Project:  ") +
                          project + QLatin1Char('\n') + QStringLiteral("Project Date:  ") + date;
    const double blockRoom = (right - left - 0.4) * 0.6;
    const auto widest = [&] {
        double w = 0;
        for (const QString& line : block.split(QLatin1Char('\n')))
            w = std::max(w, c_.textWidth(line));
        return w;
    };
    while (widest() > blockRoom && c_.font().size - 0.5 >= 6) {
        c_.SetFont(QStringLiteral("Arial"), c_.font().size - 0.5);
        c_.SetUnderline(true);
    }
    c_.Home();
    c_.SetYPos(top + 0.3);
    struct Band {
        double y1, y2, left;
    };
    QList<Band> bands;  // where each line of the block stands
    for (const QString& line : block.split(QLatin1Char('\n')))
        for (const QString& part : c_.wrapToWidth(line, blockRoom, c_.font())) {
            c_.PrintRight(part, right - 0.2);
            bands.append({c_.yPos(), c_.yPos() + c_.lineHeight(), right - 0.2 - c_.textWidth(part)});
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
    // A line at the cursor, of a given height, ends 0.15 inch before the block's
    // lines beside it, or at the box's inner edge.
    const auto roomFrom = [&](double x) {
        return [&, x](double height) {
            double end = right - 0.2;
            for (const Band& b : bands)
                if (c_.yPos() < b.y2 - 0.01 && b.y1 < c_.yPos() + height - 0.01)
                    end = std::min(end, b.left - 0.15);
            return end - x;
        };
    };
    c_.SetFont(QStringLiteral("Arial"), size);
    c_.SetBold(true);
    for (const QString& line : fitHeaderText(title, roomFrom(left + 0.2), 8)) {
        c_.PrintLeft(line, left + 0.2);
        c_.NewLine();
    }
    c_.SetFont(QStringLiteral("Arial"), 8);
    for (const QString& line : fitHeaderText(subtitle, roomFrom(left + 0.4), 6)) {
        c_.PrintLeft(line, left + 0.4);
        c_.NewLine();
    }
    c_.SetBold(false);
    c_.ResetSection();
    c_.Home();
}

void ReportFrame::PrintPageFooter()
{
    c_.setStatusLine2(QStringLiteral("Printing Footer"));
    ReportCanvas::FrameDrawing framing(c_);
    c_.SectionBottom = c_.pageHeight() - bottom_ - 0.1;
    c_.SetFont(QStringLiteral("Times New Roman"), 8);
    c_.PrintFooterLine(QStringLiteral("Page ") + QString::number(std::max(1, c_.pageNumber())), ReportCanvas::Justify::Center);
    c_.SetFont(QStringLiteral("Times New Roman"), 9);
    c_.PrintFooterLine(QLatin1String(kReportFooter), ReportCanvas::Justify::Left);
    c_.SetFont(QStringLiteral("Times New Roman"), 8);
    c_.PrintFooterLine(QStringLiteral("Date ") + today().toString(QStringLiteral("M/d/yyyy")), ReportCanvas::Justify::Right);
    // The body ends above the footer's line (the job's margins leave it the room).
    c_.ResetSection();
}

void ReportFrame::StartFramedPage(bool newPage, const QString& title, const QString& subtitle, int sizeCode)
{
    if (!title.endsWith(QLatin1String("Continued")))
        setContinuation(title, subtitle, sizeCode);
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
    // A table wider than the body narrows to it, every column in proportion.
    double width = 0;
    for (const Column& col : columns_)
        width += col.width;
    const double body = c_.SectionRight - c_.SectionLeft;
    if (width > body + 1e-9)
        for (Column& col : columns_)
            col.width *= body / width;
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
    const auto dataStops = [this] {
        c_.ClearTabs();
        for (const Column& col : columns_)
            c_.SetTab(ReportCanvas::kNextStop, col.justify, col.width, 0.05, ReportCanvas::BoxAll, col.shade);
    };
    const auto continuation = [this] {
        StartFramedPage(true, tableTitle_, tableSubtitle_, continuationSize_);
        c_.SetFont(QStringLiteral("Times New Roman"), 8);
        headings();
        c_.SetFont(QStringLiteral("Times New Roman"), 10);
    };
    dataStops();
    const QString row = cells.join(QLatin1Char('\t'));
    // A row taller than the room left starts the continuation page itself.
    if (c_.yPos() + c_.rowHeight(row) > c_.SectionBottom + 1e-9) {
        continuation();
        dataStops();
    }
    c_.PrintLine(row);
    if (c_.LinesLeft() < 4)
        continuation();
}
