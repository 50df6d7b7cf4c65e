#pragma once
// The back ends of the report canvas: a painter on a printer or PDF file, a
// plain-text page that keeps the line structure and the order of columns, and
// a recording of every operation for tests.
#include "ReportCanvas.h"

#include <QFont>
#include <QPageSize>
#include <QVector>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QSaveFile;

// Draws with a QPainter on a printer or a PDF writer.
class PainterCanvas : public ReportCanvas {
public:
    // The device's page size decides the page in inches.
    explicit PainterCanvas(QPagedPaintDevice& device);
    ~PainterCanvas() override;
    void finish() override;

protected:
    void startPage() override;
    double measure(const QString& text, const Font& font) const override;
    void drawText(double x, double top, const QString& text, const Font& font) override;
    void drawRect(double x1, double y1, double x2, double y2, double corner) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void fillRect(double x1, double y1, double x2, double y2, int shadePercent) override;
    void drawBitmap(double x1, double y1, double x2, double y2, const QString& path) override;

private:
    QFont qfont(const Font& f) const;
    QPagedPaintDevice& device_;
    std::unique_ptr<QPainter> painter_;
    double dpiX_, dpiY_;
};

class PdfFileDevice;

// The PDF writer and the file it fills, made before the canvas that draws on it.
struct PdfWriterHolder {
    PdfWriterHolder(const QString& path, const QPageSize& paper);
    ~PdfWriterHolder();
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<PdfFileDevice> device;
    std::unique_ptr<QPdfWriter> writer;
};

// A PDF file on the chosen paper (US letter unless told), fonts embedded. The
// file takes the place of an earlier one only when committed: a job that fails
// or is cancelled leaves the earlier file as it was. Its document information
// names the report, its author and the program.
class PdfCanvas : private PdfWriterHolder, public PainterCanvas {
public:
    explicit PdfCanvas(const QString& path, const QPageSize& paper = QPageSize(QPageSize::Letter));
    ~PdfCanvas() override;
    bool isOpen() const;
    void setDocumentInfo(const QString& title, const QString& author) override;
    // Ends the last page and puts the file in place; false with the reason when it cannot.
    bool commit(QString* error = nullptr);

private:
    bool writeDocumentInfo();
    QString title_, author_;
};

// Plain text. The job is laid out with the printed fonts' widths, so its lines
// and pages are the printed ones; each printed line becomes a text line (six to
// the inch where room allows, never two on one), each text at its printed
// column, twelve to the inch, by its justification, at least one blank after
// the text before it. Pages end with a form feed.
class TextCanvas : public ReportCanvas {
public:
    static constexpr double kColumnsPerInch = 12;
    static constexpr double kLinesPerInch = 6;
    TextCanvas(double pageWidth = 8.5, double pageHeight = 11.0);
    QString text() const;
    bool save(const QString& path) const;

protected:
    void startPage() override;
    double measure(const QString& text, const Font& font) const override;
    void drawText(double x, double top, const QString& text, const Font& font) override;
    void drawRect(double, double, double, double, double) override {}
    void drawLine(double, double, double, double) override {}
    void fillRect(double, double, double, double, int) override {}
    void drawBitmap(double, double, double, double, const QString&) override {}

private:
    struct Item {
        double x1, x2, y;
        QString text;
        Justify justify;
        double anchorX;
    };
    QVector<QVector<Item>> pages_;
};

// Records every drawing operation, measured with the real fonts.
class RecordingCanvas : public ReportCanvas {
public:
    struct Op {
        QString kind;  // "page", "text", "rect", "line", "fill", "bitmap"
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        QString text;
        Font font;
        int page = 0;
        int value = 0;  // shade percent
        // Texts: where the ink is (leading and trailing blanks left out), the
        // cell the text belongs to, and whether it is a footer line.
        double ink1 = 0, ink2 = 0;
        bool inCell = false;
        double cellLeft = 0, cellRight = 0;
        bool footer = false;
        double height() const { return font.size * 1.2 / 72.0; }
    };
    RecordingCanvas(double pageWidth = 8.5, double pageHeight = 11.0);
    QList<Op> ops;
    QStringList texts() const;
    const Op* findText(const QString& text) const;

protected:
    void startPage() override;
    double measure(const QString& text, const Font& font) const override;
    void drawText(double x, double top, const QString& text, const Font& font) override;
    void drawRect(double x1, double y1, double x2, double y2, double corner) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void fillRect(double x1, double y1, double x2, double y2, int shadePercent) override;
    void drawBitmap(double x1, double y1, double x2, double y2, const QString& path) override;
};

// The width in inches of text in a font, as printed.
double printedWidth(const QString& text, const ReportCanvas::Font& font);
