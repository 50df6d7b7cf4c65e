#pragma once
// The operations printed worksheets draw with, in inches from the page's left
// and top edges: fonts, text at positions, lines of text with column stops,
// boxes, bitmaps, memo text wrapped between two positions, pages. A back end
// supplies the page and the drawing: a painter (printer, preview, PDF), a
// plain-text page, or a recording for tests.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class ReportCanvas {
public:
    enum class Justify { Left, Center, Right };
    // Box lines of a column stop (combine with |).
    enum BoxLine { BoxNone = 0, BoxLeft = 1, BoxTop = 2, BoxRight = 4, BoxBottom = 8, BoxAll = 15 };
    static constexpr double kNextStop = -1.0;  // SetTab's x: right after the previous stop

    struct Font {
        QString name = QStringLiteral("Arial");
        double size = 10;
        bool bold = false;
        bool italic = false;
        bool underline = false;
    };
    struct TabStop {
        double x;
        Justify justify;
        double width;
        double margin;  // inner margin on each side
        int boxLines;
        int shade;      // percent of black behind the cell, 0 none
    };

    ReportCanvas(double pageWidth, double pageHeight);
    virtual ~ReportCanvas();

    double pageWidth() const { return pageWidth_; }
    double pageHeight() const { return pageHeight_; }
    int pageNumber() const { return page_; }

    // The body area, initially the margins.
    void setMargins(double left, double top, double right, double bottom);
    double SectionLeft = 0, SectionRight = 0, SectionTop = 0, SectionBottom = 0;
    void ResetSection();
    void Home();  // the cursor to the first body line

    void SetFont(const QString& name, double size);
    void SetBold(bool on);
    void SetUnderline(bool on);
    const Font& font() const { return font_; }
    double lineHeight() const;  // of the current font

    double yPos() const { return y_; }
    void SetYPos(double y) { y_ = y; }
    int LinesLeft() const;

    void PrintLeft(const QString& text, double x);
    void PrintRight(const QString& text, double x);
    void PrintCenter(const QString& text, double x);
    // Text at the cursor, then the next line; tab-separated cells go into the column stops.
    void PrintLine(const QString& text);
    void NewLine();
    void NewPage();
    void PrintFooterLine(const QString& text, Justify justify);
    void RoundRect(double x1, double y1, double x2, double y2, double corner);
    void PrintBitmap(double x1, double y1, double x2, double y2, const QString& path);

    void ClearTabs();
    void SetTab(double x, Justify justify, double width, double margin = 0.05, int boxLines = BoxNone, int shade = 0);
    const QList<TabStop>& tabs() const { return tabs_; }

    // The memo wrapped between two positions: how many lines, and the next line printed per call.
    QStringList wrapMemo(const QString& memo, double fromX, double toX) const;
    int MemoLines(const QString& memo, double fromX, double toX) const;
    void PrintMemo(const QString& memo, double fromX, double toX);

    double textWidth(const QString& text) const { return measure(text, font_); }
    double textWidth(const QString& text, const Font& font) const { return measure(text, font); }
    // Where the ink of a text placed at x starts and ends: blanks at either end have none.
    QPair<double, double> inkOf(const QString& text, double x, const Font& font) const;
    // The text broken into lines no wider than the room: at blanks, and a word
    // wider than the room at the letter where it no longer fits.
    QStringList wrapToWidth(const QString& text, double room, const Font& font) const;
    // The height PrintLine gives a line: a row of cells grows to its tallest cell.
    double rowHeight(const QString& text) const;

    // Told when the next line would pass the body's bottom, so that it goes on a
    // continuation page instead (the page frame starts one); a fresh page always
    // takes the line.
    std::function<void()> onBodyFull;
    // While alive, the page frame draws its header, footer or title block: texts
    // go exactly where they are put, with no room check and no move.
    class FrameDrawing {
    public:
        explicit FrameDrawing(ReportCanvas& c) : c_(c), was_(c.framing_) { c_.framing_ = true; }
        ~FrameDrawing() { c_.framing_ = was_; }
        FrameDrawing(const FrameDrawing&) = delete;
        FrameDrawing& operator=(const FrameDrawing&) = delete;

    private:
        ReportCanvas& c_;
        bool was_;
    };
    // The two status lines shown while a job runs ("Printing Page %p", then line 1, then line 2).
    void setStatus(const QString& line1, const QString& line2);
    void setStatusLine2(const QString& line2) { setStatus(status1_, line2); }
    const QString& statusLine1() const { return status1_; }
    const QString& statusLine2() const { return status2_; }
    // Told of every page started and every status change while a job runs; it may
    // throw to stop the job (the job's tables come back to their rows as it unwinds).
    std::function<void(const ReportCanvas&)> observer;
    // Ends the last page; nothing is drawn afterwards.
    virtual void finish() {}
    // The document's title and author, for outputs that carry them (a PDF file's information).
    virtual void setDocumentInfo(const QString& title, const QString& author) {}

protected:
    // How the text being drawn was placed: its justification and the x it is
    // placed by, the cell it belongs to, and whether it is a footer line.
    struct Placement {
        Justify justify = Justify::Left;
        double anchorX = 0;
        bool inCell = false;
        double cellLeft = 0, cellRight = 0;
        bool footer = false;
    };
    const Placement& placement() const { return placement_; }

    virtual void startPage() = 0;
    virtual double measure(const QString& text, const Font& font) const = 0;
    virtual void drawText(double x, double top, const QString& text, const Font& font) = 0;
    virtual void drawRect(double x1, double y1, double x2, double y2, double corner) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void fillRect(double x1, double y1, double x2, double y2, int shadePercent) = 0;
    virtual void drawBitmap(double x1, double y1, double x2, double y2, const QString& path) = 0;

private:
    struct Ink {
        double x1, y1, x2, y2;
    };
    void ensurePage();
    void pageStarted();
    // A text on the current line by its justification: wrapped when wider than
    // the body, moved down a line while it would overprint a text already drawn.
    void place(const QString& text, double anchorX, Justify justify);
    void placeLine(const QString& text, double anchorX, Justify justify);
    void ensureRoom(double height);
    bool overprints(const Ink& ink) const;
    struct CellText {
        Font font;
        QStringList lines;
    };
    CellText fitCell(const QString& text, double room) const;
    void printCells(const QString& text);
    bool framing_ = false;
    bool breaking_ = false;
    Placement placement_;
    QVector<Ink> pageInk_;
    double pageWidth_, pageHeight_;
    double marginLeft_ = 0, marginTop_ = 0, marginRight_ = 0, marginBottom_ = 0;
    double y_ = 0;
    int page_ = 0;
    Font font_;
    QList<TabStop> tabs_;
    void notify();
    QString status1_, status2_;
    QString memoKey_;
    int memoNext_ = 0;
};
