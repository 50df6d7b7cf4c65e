#pragma once
// The back ends of the report canvas: a painter on a printer or PDF file, a
// plain-text page that keeps the line structure and the order of columns, and
// a recording of every operation for tests.
#include "ReportCanvas.h"

#include <QFont>
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

// The PDF writer and the file it fills, made before the canvas that draws on it.
struct PdfWriterHolder {
    explicit PdfWriterHolder(const QString& path);
    ~PdfWriterHolder();
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<QPdfWriter> writer;
};

// A PDF file on a US letter page, fonts embedded. The file takes the place of
// an earlier one only when committed: a job that fails or is cancelled leaves
// the earlier file as it was.
class PdfCanvas : private PdfWriterHolder, public PainterCanvas {
public:
    explicit PdfCanvas(const QString& path);
    ~PdfCanvas() override;
    bool isOpen() const;
    // Ends the last page and puts the file in place; false with the reason when it cannot.
    bool commit(QString* error = nullptr);
};

// Plain text: ten characters to the inch, six lines to the inch; pages end with a form feed.
class TextCanvas : public ReportCanvas {
public:
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
    QVector<QVector<QString>> pages_;
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
