#include "ReportCanvas.h"

#include <QRegularExpression>
#include <algorithm>
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
        pageStarted();
        notify();
    }
}

void ReportCanvas::pageStarted()
{
    pageInk_.clear();
    startPage();
}

namespace {

constexpr double kEps = 1e-9;
// Texts closer than this on a line, or overlapping less than this between
// lines, are taken as touching, not overprinting.
constexpr double kTouch = 0.01;

}  // namespace

QPair<double, double> ReportCanvas::inkOf(const QString& text, double x, const Font& font) const
{
    int lead = 0;
    while (lead < text.size() && text[lead].isSpace())
        ++lead;
    int end = static_cast<int>(text.size());
    while (end > lead && text[end - 1].isSpace())
        --end;
    return {x + measure(text.left(lead), font), x + measure(text.left(end), font)};
}

void ReportCanvas::PrintLeft(const QString& text, double x)
{
    place(text, x, Justify::Left);
}

void ReportCanvas::PrintRight(const QString& text, double x)
{
    place(text, x, Justify::Right);
}

void ReportCanvas::PrintCenter(const QString& text, double x)
{
    place(text, x, Justify::Center);
}

void ReportCanvas::place(const QString& text, double anchorX, Justify justify)
{
    ensurePage();
    if (text.trimmed().isEmpty())
        return;  // blanks draw nothing; PrintLine(" ") only ends the line
    if (!framing_) {
        double room = 0;
        switch (justify) {
        case Justify::Left: room = SectionRight - anchorX; break;
        case Justify::Right: room = anchorX - SectionLeft; break;
        case Justify::Center: room = 2 * std::min(anchorX - SectionLeft, SectionRight - anchorX); break;
        }
        const QString ink = text.trimmed();
        if (room > 0.25 && measure(ink, font_) > room + kEps) {
            // A little too wide: a little smaller, down to four fifths of its size.
            Font smaller = font_;
            const double least = std::max(6.0, font_.size * 0.8);
            while (smaller.size - 0.5 >= least - kEps && measure(ink, smaller) > room + kEps)
                smaller.size -= 0.5;
            if (measure(ink, smaller) <= room + kEps) {
                const Font kept = font_;
                font_ = smaller;
                placeLine(ink, anchorX, justify);
                font_ = kept;
                return;
            }
            const QStringList lines = wrapToWidth(ink, room, font_);
            for (int i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    NewLine();
                placeLine(lines[i], anchorX, justify);
            }
            return;
        }
    }
    placeLine(text, anchorX, justify);
}

void ReportCanvas::placeLine(const QString& text, double anchorX, Justify justify)
{
    const double width = measure(text, font_);
    const auto [lead, inkRight] = inkOf(text, 0, font_);
    double x = anchorX;
    Ink ink{};
    for (int moves = 0;; ++moves) {
        ensureRoom(lineHeight());
        x = justify == Justify::Left ? anchorX : justify == Justify::Right ? anchorX - width : anchorX - width / 2;
        ink = {x + lead, y_, x + inkRight, y_ + lineHeight()};
        if (framing_ || moves >= 200 || !overprints(ink))
            break;
        NewLine();
    }
    placement_ = Placement{justify, anchorX, false, 0, 0, placement_.footer};
    pageInk_.append(ink);
    drawText(x, y_, text, font_);
}

void ReportCanvas::ensureRoom(double height)
{
    if (framing_ || breaking_ || !onBodyFull)
        return;
    if (y_ + height <= SectionBottom + kEps || y_ <= SectionTop + kEps)
        return;
    breaking_ = true;
    struct Clear {
        bool& b;
        ~Clear() { b = false; }
    } clear{breaking_};
    onBodyFull();
}

bool ReportCanvas::overprints(const Ink& ink) const
{
    for (const Ink& o : pageInk_)
        if (ink.x1 < o.x2 - kTouch && o.x1 < ink.x2 - kTouch && ink.y1 < o.y2 - kTouch && o.y1 < ink.y2 - kTouch)
            return true;
    return false;
}

QStringList ReportCanvas::wrapToWidth(const QString& text, double room, const Font& font) const
{
    if (measure(text, font) <= room)
        return {text};
    // Lines keep the blanks between their words as the text has them.
    QStringList lines;
    QString line;
    const auto breakWord = [&](QString word) {
        // A word wider than the room: as many letters as fit on each line, at least one.
        while (measure(word, font) > room && word.size() > 1) {
            int n = 1;
            while (n < word.size() && measure(word.left(n + 1), font) <= room)
                ++n;
            lines << word.left(n);
            word = word.mid(n);
        }
        return word;
    };
    static const QRegularExpression words(QStringLiteral("(\\s*)(\\S+)"));
    for (auto it = words.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString tried = line.isEmpty() ? m.captured(2) : line + m.captured(1) + m.captured(2);
        if (measure(tried, font) <= room) {
            line = tried;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line = breakWord(m.captured(2));
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

ReportCanvas::CellText ReportCanvas::fitCell(const QString& text, double room) const
{
    CellText cell{font_, {text}};
    if (text.isEmpty() || measure(text, font_) <= room + kEps)
        return cell;
    if (!text.contains(QLatin1Char(' '))) {
        // A number or a single word prints smaller rather than on two lines.
        const double smallest = std::min(font_.size, 6.0);
        while (cell.font.size - 0.5 >= smallest - kEps && measure(text, cell.font) > room + kEps)
            cell.font.size -= 0.5;
        if (measure(text, cell.font) <= room + kEps)
            return cell;
    }
    cell.lines = wrapToWidth(text, room, cell.font);
    return cell;
}

double ReportCanvas::rowHeight(const QString& text) const
{
    if (tabs_.isEmpty() || !text.contains(QLatin1Char('\t')))
        return lineHeight();
    const QStringList cells = text.split(QLatin1Char('\t'));
    double height = lineHeight();
    for (int i = 0; i < cells.size() && i < tabs_.size(); ++i) {
        const CellText fit = fitCell(cells[i].trimmed(), tabs_[i].width - 2 * tabs_[i].margin);
        height = std::max(height, fit.lines.size() * fit.font.size * 1.2 / 72.0);
    }
    return height;
}

void ReportCanvas::PrintLine(const QString& text)
{
    ensurePage();
    if (tabs_.isEmpty() || !text.contains(QLatin1Char('\t'))) {
        if (!text.isEmpty())
            place(text, SectionLeft, Justify::Left);
        NewLine();
        return;
    }
    printCells(text);
}

// A row of boxed cells: each cell's text stays inside its box, smaller or on
// more lines when it does not fit, and the row is as tall as its tallest cell.
void ReportCanvas::printCells(const QString& text)
{
    const double h = rowHeight(text);
    ensureRoom(h);
    const QStringList cells = text.split(QLatin1Char('\t'));
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
        const CellText fit = fitCell(cells[i].trimmed(), t.width - 2 * t.margin);
        const double lh = fit.font.size * 1.2 / 72.0;
        for (int k = 0; k < fit.lines.size(); ++k) {
            const QString& line = fit.lines[k];
            if (line.isEmpty())
                continue;
            const double w = measure(line, fit.font);
            double x = t.x + t.margin, anchor = x;
            switch (t.justify) {
            case Justify::Left: break;
            case Justify::Right: anchor = x2 - t.margin; x = anchor - w; break;
            case Justify::Center: anchor = t.x + t.width / 2; x = anchor - w / 2; break;
            }
            const double top = y_ + k * lh;
            placement_ = Placement{t.justify, anchor, true, t.x, x2, false};
            pageInk_.append({x, top, x + w, top + lh});
            drawText(x, top, line, fit.font);
        }
    }
    y_ += h;
}

void ReportCanvas::NewLine()
{
    y_ += lineHeight();
}

void ReportCanvas::NewPage()
{
    ensurePage();
    ++page_;
    pageStarted();
    Home();
    notify();
}

void ReportCanvas::PrintFooterLine(const QString& text, Justify justify)
{
    FrameDrawing framing(*this);
    const double saved = y_;
    placement_.footer = true;
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
    placement_.footer = false;
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
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    for (const QString& paragraph : memo.split(breaks))
        lines << wrapToWidth(paragraph, toX - fromX, font_);
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
