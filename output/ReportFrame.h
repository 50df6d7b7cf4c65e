#pragma once
// The frame every printed worksheet shares: the job's margins, the title block
// of a mine report, the page header box, the footer line, framed continuation
// pages, memo sections that continue on new pages, and boxed tables whose
// headings repeat on continuation pages.
#include "ReportCanvas.h"
#include "Version.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

class Dialogs;

// The title bitmap installed next to the program.
QString installedBitmapPath();

struct ReportOptions {
    QString mainTitle = QStringLiteral("Veskor -- Bond Amount Calculations");
    int titlePoint = 20;
    double leftMargin = 0.75, rightMargin = 0.75, topMargin = 0.75, bottomMargin = 1.0;
    QString bitmapPath = installedBitmapPath();
};

// The printer's unprintable edges, in inches.
struct UnprintableEdges {
    double left = 0, top = 0, right = 0, bottom = 0;
};

class ReportFrame {
public:
    ReportFrame(ReportCanvas& canvas, const ReportOptions& options, Dialogs& dialogs);

    // The header's lines read the current mine and project when a page is framed.
    std::function<QString()> mineName = [] { return QString(); };
    std::function<QString()> projectName = [] { return QString(); };
    std::function<QString()> projectDate = [] { return QString(); };
    std::function<QString()> mineDate = [] { return QString(); };
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // Start of the job: margins with the unprintable edges, room for the header box and the footer.
    void startJob(const UnprintableEdges& edges);
    double bottomMargin() const { return bottom_; }
    // The room the footer takes above the bottom margin: the body ends there.
    static constexpr double kFooterRoom = 0.3;

    // While set, the pages print the whole mine's figures: their headers say
    // "All projects" and carry the mine's date.
    void setMineWide(bool on) { mineWide_ = on; }
    bool mineWide() const { return mineWide_; }
    // The title, subtitle and size code of the pages a line continues on when
    // it does not fit; each worksheet's first page sets them, "--Continued" added.
    void setContinuation(const QString& title, const QString& subtitle, int sizeCode);

    void PrintTitleBlock(const QString& subtitle);
    void PrintPageHeader(const QString& title, const QString& subtitle, int sizeCode);
    void PrintPageFooter();
    void StartFramedPage(bool newPage, const QString& title, const QString& subtitle, int sizeCode);
    void PrintMemoSection(const QString& caption, const QString& continuedTitle, int sizeCode, double captionSize,
                          const QString& memo);

    // A boxed table: its columns (title, width, justification of the data), its frame for continuation pages.
    struct Column {
        QString title;
        double width;
        ReportCanvas::Justify justify;
        int shade = 0;  // percent behind the column's data cells
    };
    // Headings bold and centred in boxed cells, "Times New Roman" 8; rows continue on framed
    // pages (whose rows print in "Times New Roman" 10) with the headings again.
    void beginTable(const QList<Column>& columns, const QString& title, const QString& subtitle, int sizeCode,
                    bool shadeHeadings = false, int continuationSizeCode = -1);
    void tableRow(const QStringList& cells);

    ReportCanvas& canvas() { return c_; }

private:
    void headings();
    void continueOnNewPage();
    // Lines of a header text that fit the room: smaller down to the least size, then wrapped.
    QStringList fitHeaderText(const QString& text, const std::function<double(double height)>& roomFor, double leastSize);
    ReportCanvas& c_;
    ReportOptions options_;
    Dialogs& dialogs_;
    double bottom_ = 1.0;
    QList<Column> columns_;
    QString tableTitle_, tableSubtitle_;
    int tableSize_ = 0;
    int continuationSize_ = 0;
    bool shadeHeadings_ = false;
    bool mineWide_ = false;
    QString contTitle_, contSubtitle_ = QStringLiteral(" ");
    int contSize_ = 1;
};

inline constexpr const char* kReportFooter = "Tarvane Software -- " TARVANE_VERSION;
