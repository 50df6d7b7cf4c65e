#include "CanvasBackends.h"

#include "ReportFrame.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace {

QFont makeFont(const ReportCanvas::Font& f)
{
    QFont q(f.name);
    q.setPointSizeF(f.size);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    return q;
}

}  // namespace

double printedWidth(const QString& text, const ReportCanvas::Font& font)
{
    // The metrics of each font in use, made once: a report measures every text it places.
    struct Metrics {
        QFontMetricsF metrics;
        double perInch;
    };
    static QHash<QString, std::shared_ptr<const Metrics>> cache;
    const QString key = font.name + QLatin1Char('|') + QString::number(font.size) + QLatin1Char('|') +
                        QLatin1Char(font.bold ? 'b' : '-') + QLatin1Char(font.italic ? 'i' : '-');
    std::shared_ptr<const Metrics> m = cache.value(key);
    if (!m) {
        QFont q = makeFont(font);
        q.setUnderline(false);
        q.setPointSizeF(font.size * 10);  // measured ten times larger for precision
        const QFontMetricsF metrics(q);
        m = std::make_shared<const Metrics>(Metrics{metrics, 10.0 * metrics.fontDpi()});
        cache.insert(key, m);
    }
    return m->metrics.horizontalAdvance(text) / m->perInch;
}

// ---------------------------------------------------------------- painter

PainterCanvas::PainterCanvas(QPagedPaintDevice& device)
    : ReportCanvas(device.pageLayout().fullRect(QPageLayout::Inch).width(),
                   device.pageLayout().fullRect(QPageLayout::Inch).height()),
      device_(device), dpiX_(device.logicalDpiX()), dpiY_(device.logicalDpiY())
{
}

PainterCanvas::~PainterCanvas()
{
    finish();
}

void PainterCanvas::finish()
{
    if (painter_ && painter_->isActive())
        painter_->end();
}

QFont PainterCanvas::qfont(const Font& f) const
{
    return makeFont(f);
}

void PainterCanvas::startPage()
{
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&device_);
        return;
    }
    device_.newPage();
}

double PainterCanvas::measure(const QString& text, const Font& font) const
{
    return printedWidth(text, font);
}

void PainterCanvas::drawText(double x, double top, const QString& text, const Font& font)
{
    const QFont f = qfont(font);
    painter_->setFont(f);
    painter_->setPen(Qt::black);
    const QFontMetricsF m(f, &device_);
    painter_->drawText(QPointF(x * dpiX_, top * dpiY_ + m.ascent()), text);
}

void PainterCanvas::drawRect(double x1, double y1, double x2, double y2, double corner)
{
    painter_->setPen(QPen(Qt::black, dpiX_ / 72.0));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRoundedRect(QRectF(QPointF(x1 * dpiX_, y1 * dpiY_), QPointF(x2 * dpiX_, y2 * dpiY_)),
                              corner * dpiX_, corner * dpiY_);
}

void PainterCanvas::drawLine(double x1, double y1, double x2, double y2)
{
    painter_->setPen(QPen(Qt::black, dpiX_ / 100.0));
    painter_->drawLine(QPointF(x1 * dpiX_, y1 * dpiY_), QPointF(x2 * dpiX_, y2 * dpiY_));
}

void PainterCanvas::fillRect(double x1, double y1, double x2, double y2, int shadePercent)
{
    const int grey = 255 - std::clamp(shadePercent, 0, 100) * 255 / 100;
    painter_->fillRect(QRectF(QPointF(x1 * dpiX_, y1 * dpiY_), QPointF(x2 * dpiX_, y2 * dpiY_)), QColor(grey, grey, grey));
}

void PainterCanvas::drawBitmap(double x1, double y1, double x2, double y2, const QString& path)
{
    const QImage image(path);
    if (image.isNull())
        return;  // a missing picture leaves its place empty
    painter_->drawImage(QRectF(QPointF(x1 * dpiX_, y1 * dpiY_), QPointF(x2 * dpiX_, y2 * dpiY_)), image);
}

// Passes what the PDF writer writes on to the file and keeps the end of it,
// where the document's trailer is, for the information added at the end.
class PdfFileDevice : public QIODevice {
public:
    explicit PdfFileDevice(QSaveFile& file) : file_(file) { open(QIODevice::WriteOnly); }
    QByteArray tail;
    qint64 written = 0;
    bool failed = false;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 n = file_.isOpen() ? file_.write(data, size) : -1;
        if (n != size) {
            failed = true;
            return -1;
        }
        written += n;
        // The trailer is in the last few hundred bytes; small copies keep the heap quiet.
        constexpr qint64 kKept = 4096;
        if (n >= kKept) {
            tail = QByteArray(data + n - kKept, kKept);
        } else {
            tail.append(data, static_cast<qsizetype>(n));
            if (tail.size() > 2 * kKept)
                tail = tail.right(kKept);
        }
        return n;
    }

private:
    QSaveFile& file_;
};

PdfWriterHolder::PdfWriterHolder(const QString& path, const QPageSize& paper)
    : file(std::make_unique<QSaveFile>(path))
{
    file->open(QIODevice::WriteOnly);
    device = std::make_unique<PdfFileDevice>(*file);
    writer = std::make_unique<QPdfWriter>(device.get());
    writer->setPageSize(paper);
    writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    writer->setResolution(1200);
    writer->setCreator(QLatin1String(kReportFooter));
}

PdfWriterHolder::~PdfWriterHolder() = default;

PdfCanvas::PdfCanvas(const QString& path, const QPageSize& paper) : PdfWriterHolder(path, paper), PainterCanvas(*writer) {}

PdfCanvas::~PdfCanvas()
{
    finish();
}

bool PdfCanvas::isOpen() const
{
    return file->isOpen();
}

void PdfCanvas::setDocumentInfo(const QString& title, const QString& author)
{
    title_ = title;
    author_ = author;
}

namespace {

// A PDF text string: UTF-16 big-endian with its byte-order mark, in hex.
QByteArray pdfText(const QString& text)
{
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar ch : text) {
        bytes.append(static_cast<char>(ch.unicode() >> 8));
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

}  // namespace

// The information dictionary goes in an update appended to the document, the
// way PDF files are amended: a new object, its cross-reference section and a
// trailer that points back to the writer's own.
bool PdfCanvas::writeDocumentInfo()
{
    const QByteArray& tail = device->tail;
    static const QRegularExpression trailer(
        QStringLiteral("trailer\\s*<<(.*)>>\\s*startxref\\s*(\\d+)\\s*%%EOF\\s*$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = trailer.match(QString::fromLatin1(tail));
    if (!m.hasMatch())
        return false;
    const QString dict = m.captured(1);
    static const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression rootRe(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)"));
    const QRegularExpressionMatch size = sizeRe.match(dict), root = rootRe.match(dict);
    if (!size.hasMatch() || !root.hasMatch())
        return false;
    const qint64 object = size.captured(1).toLongLong();
    const qint64 objectAt = device->written + 1;
    QByteArray update = "\n" + QByteArray::number(object) + " 0 obj\n<<\n";
    update += "/Title " + pdfText(title_) + "\n";
    update += "/Author " + pdfText(author_) + "\n";
    update += "/Creator " + pdfText(QLatin1String(kReportFooter)) + "\n";
    update += "/Producer " + pdfText(QStringLiteral("Qt ") + QLatin1String(qVersion())) + "\n";
    update += "/CreationDate (D:" + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
              "Z)\n>>\nendobj\n";
    const qint64 xrefAt = objectAt + update.size() - 1;
    update += "xref\n" + QByteArray::number(object) + " 1\n" +
              QByteArray::number(objectAt).rightJustified(10, '0') + " 00000 n \n";
    update += "trailer\n<<\n/Size " + QByteArray::number(object + 1) + "\n/Root " + root.captured(1).toLatin1() +
              "\n/Info " + QByteArray::number(object) + " 0 R\n/Prev " + m.captured(2).toLatin1() + "\n>>\nstartxref\n" +
              QByteArray::number(xrefAt) + "\n%%EOF\n";
    return device->write(update) == update.size();
}

bool PdfCanvas::commit(QString* error)
{
    finish();
    bool ok = file->isOpen() && !device->failed;
    if (ok && !title_.isEmpty() && !writeDocumentInfo()) {
        ok = false;
        if (error)
            *error = QStringLiteral("the document information could not be added");
        file->cancelWriting();
        return false;
    }
    ok = ok && file->commit();
    if (!ok && error && error->isEmpty())
        *error = file->errorString();
    return ok;
}

// ---------------------------------------------------------------- text

TextCanvas::TextCanvas(double pageWidth, double pageHeight) : ReportCanvas(pageWidth, pageHeight) {}

void TextCanvas::startPage()
{
    pages_.append(QVector<Item>());
}

double TextCanvas::measure(const QString& text, const Font& font) const
{
    return printedWidth(text, font);
}

void TextCanvas::drawText(double x, double top, const QString& text, const Font& font)
{
    if (pages_.isEmpty() || text.trimmed().isEmpty())
        return;
    const auto [x1, x2] = inkOf(text, x, font);
    // Leading blanks give way to the column; trailing ones stay with the text.
    qsizetype lead = 0;
    while (text[lead].isSpace())
        ++lead;
    pages_.last().append({x1, x2, top, text.mid(lead), placement().justify, placement().anchorX});
}

QString TextCanvas::text() const
{
    QStringList pages;
    for (QVector<Item> items : pages_) {
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.y < b.y; });
        QStringList lines;
        int i = 0;
        while (i < items.size()) {
            // One printed line: the texts whose tops are within a hair of each other.
            const double y = items[i].y;
            int j = i;
            while (j < items.size() && items[j].y - y < 0.03)
                ++j;
            std::stable_sort(items.begin() + i, items.begin() + j,
                             [](const Item& a, const Item& b) { return a.x1 < b.x1; });
            const int row = std::max(static_cast<int>(lines.size()), static_cast<int>(std::lround(y * kLinesPerInch)));
            while (lines.size() < row)
                lines << QString();
            QString line;
            for (int k = i; k < j; ++k) {
                const Item& it = items[k];
                const int n = static_cast<int>(it.text.trimmed().size());
                int col = 0;
                switch (it.justify) {
                case Justify::Left: col = static_cast<int>(std::lround(it.x1 * kColumnsPerInch)); break;
                case Justify::Right: col = static_cast<int>(std::lround(it.x2 * kColumnsPerInch)) - n; break;
                case Justify::Center: col = static_cast<int>(std::lround((it.x1 + it.x2) / 2 * kColumnsPerInch)) - n / 2; break;
                }
                col = std::max({col, 0, line.isEmpty() ? 0 : static_cast<int>(line.size()) + 1});
                line = line.leftJustified(col, QLatin1Char(' ')) + it.text;
            }
            lines << line;
            i = j;
        }
        pages << lines.join(QLatin1Char('\n'));
    }
    return pages.join(QStringLiteral("\n\f\n")) + QLatin1Char('\n');
}

bool TextCanvas::save(const QString& path) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    f.write(text().toUtf8());
    return f.commit();
}

// ---------------------------------------------------------------- recording

RecordingCanvas::RecordingCanvas(double pageWidth, double pageHeight) : ReportCanvas(pageWidth, pageHeight) {}

void RecordingCanvas::startPage()
{
    ops.append({QStringLiteral("page"), 0, 0, 0, 0, {}, {}, pageNumber(), 0});
}

double RecordingCanvas::measure(const QString& text, const Font& font) const
{
    return printedWidth(text, font);
}

void RecordingCanvas::drawText(double x, double top, const QString& text, const Font& font)
{
    Op op{QStringLiteral("text"), x, top, x + printedWidth(text, font), top, text, font, pageNumber(), 0};
    const auto [ink1, ink2] = inkOf(text, x, font);
    op.ink1 = ink1;
    op.ink2 = ink2;
    op.inCell = placement().inCell;
    op.cellLeft = placement().cellLeft;
    op.cellRight = placement().cellRight;
    op.footer = placement().footer;
    ops.append(op);
}

void RecordingCanvas::drawRect(double x1, double y1, double x2, double y2, double corner)
{
    ops.append({QStringLiteral("rect"), x1, y1, x2, y2, {}, {}, pageNumber(), static_cast<int>(corner * 1000)});
}

void RecordingCanvas::drawLine(double x1, double y1, double x2, double y2)
{
    ops.append({QStringLiteral("line"), x1, y1, x2, y2, {}, {}, pageNumber(), 0});
}

void RecordingCanvas::fillRect(double x1, double y1, double x2, double y2, int shadePercent)
{
    ops.append({QStringLiteral("fill"), x1, y1, x2, y2, {}, {}, pageNumber(), shadePercent});
}

void RecordingCanvas::drawBitmap(double x1, double y1, double x2, double y2, const QString& path)
{
    ops.append({QStringLiteral("bitmap"), x1, y1, x2, y2, path, {}, pageNumber(), 0});
}

QStringList RecordingCanvas::texts() const
{
    QStringList out;
    for (const Op& o : ops)
        if (o.kind == QLatin1String("text"))
            out << o.text;
    return out;
}

const RecordingCanvas::Op* RecordingCanvas::findText(const QString& text) const
{
    for (const Op& o : ops)
        if (o.kind == QLatin1String("text") && o.text == text)
            return &o;
    return nullptr;
}
