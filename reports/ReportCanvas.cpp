#include "ReportCanvas.h"

#include <QRegularExpression>
#include <cmath>

ReportCanvas::ReportCanvas(double pageWidth, double pageHeight) : pageWidth_(pageWidth), pageHeight_(pageHeight)
{
    setMargins(0, 0, 0, 0);
}

ReportCanvas::~ReportCanvas() = default;

void ReportCanvas::setMargins(double left, double top, double right, double bottom)
{
    marginLeft_ = left;
    marginTop_ = top;
    marginRight_ = right;
    marginBottom_ = bottom;
    ResetSection();
    Home();
}

void ReportCanvas::ResetSection()
{
    SectionLeft = marginLeft_;
    SectionTop = marginTop_;
    SectionRight = pageWidth_ - marginRight_;
    SectionBottom = pageHeight_ - marginBottom_;
}

void ReportCanvas::Home()
{
    y_ = SectionTop;
}

void ReportCanvas::SetFont(const QString& name, double size)
{
    if (size <= 0)
        return;
    font_ = Font{name, size, false, false, false};
}

void ReportCanvas::SetBold(bool on)
{
    font_.bold = on;
}

void ReportCanvas::SetUnderline(bool on)
{
    font_.underline = on;
}

// A line is 1.2 times the point size; 72 points to the inch.
double ReportCanvas::lineHeight() const
{
    return font_.size * 1.2 / 72.0;
}

int ReportCanvas::LinesLeft() const
{
    const double h = lineHeight();
    return h > 0 ? static_cast<int>(std::floor((SectionBottom - y_) / h + 1e-9)) : 0;
}

void ReportCanvas::ensurePage()
{
    if (page_ == 0) {
        page_ = 1;
        startPage();
        notify();
    }
}

void ReportCanvas::PrintLeft(const QString& text, double x)
{
    ensurePage();
    drawText(x, y_, text, font_);
}

void ReportCanvas::PrintRight(const QString& text, double x)
{
    PrintLeft(text, x - measure(text, font_));
}

void ReportCanvas::PrintCenter(const QString& text, double x)
{
    PrintLeft(text, x - measure(text, font_) / 2);
}

void ReportCanvas::PrintLine(const QString& text)
{
    ensurePage();
    if (tabs_.isEmpty() || !text.contains(QLatin1Char('\t'))) {
        if (!text.isEmpty())
            drawText(SectionLeft, y_, text, font_);
        NewLine();
        return;
    }
    const QStringList cells = text.split(QLatin1Char('\t'));
    const double h = lineHeight();
    for (int i = 0; i < cells.size() && i < tabs_.size(); ++i) {
        const TabStop& t = tabs_[i];
        const double x2 = t.x + t.width;
        if (t.shade > 0)
            fillRect(t.x, y_, x2, y_ + h, t.shade);
        if (t.boxLines & BoxLeft)
            drawLine(t.x, y_, t.x, y_ + h);
        if (t.boxLines & BoxTop)
            drawLine(t.x, y_, x2, y_);
        if (t.boxLines & BoxRight)
            drawLine(x2, y_, x2, y_ + h);
        if (t.boxLines & BoxBottom)
            drawLine(t.x, y_ + h, x2, y_ + h);
        const QString& cell = cells[i];
        if (cell.isEmpty())
            continue;
        switch (t.justify) {
        case Justify::Left:
            drawText(t.x + t.margin, y_, cell, font_);
            break;
        case Justify::Right:
            drawText(x2 - t.margin - measure(cell, font_), y_, cell, font_);
            break;
        case Justify::Center:
            drawText(t.x + (t.width - measure(cell, font_)) / 2, y_, cell, font_);
            break;
        }
    }
    NewLine();
}

void ReportCanvas::NewLine()
{
    y_ += lineHeight();
}

void ReportCanvas::NewPage()
{
    ensurePage();
    ++page_;
    startPage();
    Home();
    notify();
}

void ReportCanvas::PrintFooterLine(const QString& text, Justify justify)
{
    const double saved = y_;
    y_ = SectionBottom - lineHeight();
    switch (justify) {
    case Justify::Left:
        PrintLeft(text, SectionLeft);
        break;
    case Justify::Center:
        PrintCenter(text, (SectionLeft + SectionRight) / 2);
        break;
    case Justify::Right:
        PrintRight(text, SectionRight);
        break;
    }
    y_ = saved;
}

void ReportCanvas::RoundRect(double x1, double y1, double x2, double y2, double corner)
{
    ensurePage();
    drawRect(x1, y1, x2, y2, corner);
}

void ReportCanvas::PrintBitmap(double x1, double y1, double x2, double y2, const QString& path)
{
    ensurePage();
    drawBitmap(x1, y1, x2, y2, path);
}

void ReportCanvas::ClearTabs()
{
    tabs_.clear();
}

void ReportCanvas::SetTab(double x, Justify justify, double width, double margin, int boxLines, int shade)
{
    if (x == kNextStop)
        x = tabs_.isEmpty() ? SectionLeft : tabs_.last().x + tabs_.last().width;
    tabs_.append({x, justify, width, margin, boxLines, shade});
}

QStringList ReportCanvas::wrapMemo(const QString& memo, double fromX, double toX) const
{
    QStringList lines;
    const double room = toX - fromX;
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    for (const QString& paragraph : memo.split(breaks)) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString tried = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (measure(tried, font_) <= room || line.isEmpty()) {
                line = tried;  // a word longer than the room stands on a line of its own
            } else {
                lines << line;
                line = word;
            }
        }
        lines << line;
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int ReportCanvas::MemoLines(const QString& memo, double fromX, double toX) const
{
    return static_cast<int>(wrapMemo(memo, fromX, toX).size());
}

void ReportCanvas::PrintMemo(const QString& memo, double fromX, double toX)
{
    const QString key = memo + QLatin1Char('\x1f') + QString::number(fromX) + QLatin1Char('|') + QString::number(toX);
    if (key != memoKey_) {
        memoKey_ = key;
        memoNext_ = 0;
    }
    const QStringList lines = wrapMemo(memo, fromX, toX);
    if (memoNext_ < lines.size())
        PrintLeft(lines[memoNext_++], fromX);
    NewLine();
}

void ReportCanvas::setStatus(const QString& line1, const QString& line2)
{
    status1_ = line1;
    status2_ = line2;
    notify();
}

void ReportCanvas::notify()
{
    if (observer)
        observer(*this);
}
