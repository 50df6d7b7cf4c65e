#include "ReportOutput.h"

#include "HelpRequest.h"

#include "CanvasBackends.h"
#include "Dialogs.h"
#include "OutputFile.h"
#include "PaperSize.h"
#include "ReportFrame.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct ReportCancelled {};

const char* const kNothingToPrint = "There is nothing to print for this selection.";

UnprintableEdges edgesOf(const QPrinter& printer)
{
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Inch);
    const QMarginsF m = layout.minimumMargins();
    return {m.left(), m.top(), m.right(), m.bottom()};
}

// Runs one pass of the job on a canvas with the progress window up. The window
// is application-modal: nothing can move the tables while the job walks them.
class Pass {
public:
    Pass(QWidget* parent, const ReportBody& body) : body_(body), progress_(parent) {}

    // False when the user cancelled.
    bool run(ReportCanvas& canvas, const UnprintableEdges& edges)
    {
        progress_.show();
        QElapsedTimer shown;
        shown.start();
        canvas.observer = [&](const ReportCanvas& c) {
            // Redraw a few times a second: a page takes about a millisecond.
            if (shown.elapsed() < 40)
                return;
            shown.restart();
            progress_.showStatus(c);
            QCoreApplication::processEvents();
            if (progress_.cancelled())
                throw ReportCancelled{};
        };
        struct Unobserve {
            ReportCanvas& c;
            ~Unobserve() { c.observer = nullptr; }
        } unobserve{canvas};
        try {
            body_(canvas, edges, [this](int done, int total) { progress_.showProgress(done, total); });
        } catch (const ReportCancelled&) {
            progress_.hide();
            return false;
        }
        progress_.hide();
        return true;
    }

private:
    const ReportBody& body_;
    ReportProgressDialog progress_;
};

bool toFile(QWidget* parent, const ReportOutput& output, const ReportBody& body, Dialogs& dialogs,
            const DataModule& data)
{
    const QString refusal = outputFileRefusal(output.path, data);
    if (!refusal.isEmpty()) {
        dialogs.error(refusal);
        return false;
    }
    Pass pass(parent, body);
    // Runs the job; false when it was cancelled or printed nothing.
    const auto printed = [&](ReportCanvas& canvas) {
        if (!pass.run(canvas, {}))
            return false;
        if (canvas.pageNumber() == 0) {
            dialogs.information(QString::fromLatin1(kNothingToPrint));
            return false;
        }
        return true;
    };
    QString error;
    if (output.destination == ReportDestination::Pdf) {
        PdfCanvas canvas(output.path, paperPageSize(output.paper));
        if (!canvas.isOpen()) {
            dialogs.error(QStringLiteral("Cannot write %1").arg(output.path));
            return false;
        }
        if (!printed(canvas))
            return false;
        if (canvas.commit(&error))
            return true;
    } else {
        const QSizeF paper = paperInches(output.paper);
        TextCanvas canvas(paper.width(), paper.height());
        if (!printed(canvas))
            return false;
        if (canvas.save(output.path))
            return true;
    }
    dialogs.error(error.isEmpty() ? QStringLiteral("Cannot write %1").arg(output.path)
                                  : QStringLiteral("Cannot write %1: %2").arg(output.path, error));
    return false;
}

bool toPrinter(QWidget* parent, const ReportOutput& output, const ReportBody& body, Dialogs& dialogs)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(paperPageSize(output.paper));
    QPrintDialog ask(&printer, parent);
    if (ask.exec() != QDialog::Accepted)
        return false;
    printer.setFullPage(true);  // positions are from the paper's edges
    Pass pass(parent, body);
    PainterCanvas canvas(printer);
    if (!pass.run(canvas, edgesOf(printer))) {
        printer.abort();
        return false;
    }
    canvas.finish();
    if (canvas.pageNumber() == 0) {
        dialogs.information(QString::fromLatin1(kNothingToPrint));
        return false;
    }
    return true;
}

bool toPreview(QWidget* parent, const ReportOutput& output, const ReportBody& body, Dialogs& dialogs)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(paperPageSize(output.paper));
    printer.setFullPage(true);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Print Preview"));
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        preview.resize(screen->availableSize() * 0.8);  // a page large enough to read
    int pages = 0;
    // The preview draws the report again whenever its page set-up changes or it prints.
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        target->setFullPage(true);
        try {
            Pass pass(&preview, body);
            PainterCanvas canvas(*target);
            pass.run(canvas, edgesOf(*target));
            canvas.finish();
            pages = canvas.pageNumber();
        } catch (const std::exception& e) {
            dialogs.showException(e);
        }
    });
    preview.exec();
    return pages > 0;
}

}  // namespace

// ---------------------------------------------------------------- set-up

ReportSetupDialog::ReportSetupDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReportSetupDialog"));
    setWindowTitle(QStringLiteral("Print Report"));
    // F1 here opens the topic on printing.
    HelpRequest::setContext(this, 34);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Send the report to:"), this));
    destinations_ = new QButtonGroup(this);
    const struct {
        ReportDestination d;
        const char* name;
        const char* text;
    } choices[] = {{ReportDestination::Preview, "PreviewRB", "Print &preview on screen"},
                   {ReportDestination::Printer, "PrinterRB", "P&rinter"},
                   {ReportDestination::Pdf, "PdfRB", "P&DF file"},
                   {ReportDestination::Text, "TextRB", "&Text file"}};
    for (const auto& c : choices) {
        auto* b = new QRadioButton(QString::fromLatin1(c.text), this);
        b->setObjectName(QString::fromLatin1(c.name));
        destinations_->addButton(b, static_cast<int>(c.d));
        layout->addWidget(b);
    }
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("File:"), this));
    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("PathEdit"));
    path_->setMinimumWidth(320);
    fileRow->addWidget(path_, 1);
    browse_ = new QPushButton(QStringLiteral("&Browse..."), this);
    browse_->setObjectName(QStringLiteral("BrowseBtn"));
    fileRow->addWidget(browse_);
    layout->addLayout(fileRow);
    auto* paperRow = new QHBoxLayout;
    auto* paperLabel = new QLabel(QStringLiteral("P&aper:"), this);
    paperRow->addWidget(paperLabel);
    paper_ = new QComboBox(this);
    paper_->setObjectName(QStringLiteral("PaperCB"));
    for (const QString& name : paperNames())
        paper_->addItem(paperDescription(name), name);
    paperLabel->setBuddy(paper_);
    paperRow->addWidget(paper_);
    paperRow->addStretch(1);
    layout->addLayout(paperRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("SetupButtons"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReportSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ReportSetupDialog::reject);
    connect(browse_, &QPushButton::clicked, this, &ReportSetupDialog::browse);
    connect(destinations_, &QButtonGroup::idClicked, this, &ReportSetupDialog::destinationChanged);
    setOutput({});
}

ReportOutput ReportSetupDialog::output() const
{
    return {static_cast<ReportDestination>(destinations_->checkedId()), path_->text().trimmed(),
            paper_->currentData().toString()};
}

void ReportSetupDialog::setOutput(const ReportOutput& output)
{
    destinations_->button(static_cast<int>(output.destination))->setChecked(true);
    path_->setText(output.path);
    const int paper = paper_->findData(paperNames().contains(output.paper) ? output.paper : QString::fromLatin1(kDefaultPaper));
    paper_->setCurrentIndex(std::max(0, paper));
    destinationChanged();
}

void ReportSetupDialog::destinationChanged()
{
    const ReportDestination d = output().destination;
    const bool file = d == ReportDestination::Pdf || d == ReportDestination::Text;
    path_->setEnabled(file);
    browse_->setEnabled(file);
    if (!file)
        return;
    // The file's suffix follows the kind of file chosen.
    const QString suffix = d == ReportDestination::Pdf ? QStringLiteral("pdf") : QStringLiteral("txt");
    const QString path = path_->text().trimmed();
    if (!path.isEmpty()) {
        const QFileInfo info(path);
        path_->setText(info.path() == QLatin1String(".") && !path.startsWith(QLatin1Char('.'))
                           ? info.completeBaseName() + QLatin1Char('.') + suffix
                           : info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('.') + suffix);
    }
}

void ReportSetupDialog::browse()
{
    const bool pdf = output().destination == ReportDestination::Pdf;
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Report File"), path_->text(),
        pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("Text (*.txt)"));
    if (path.isEmpty())
        return;
    path_->setText(path);
    destinationChanged();
}

void ReportSetupDialog::accept()
{
    const ReportOutput o = output();
    const bool file = o.destination == ReportDestination::Pdf || o.destination == ReportDestination::Text;
    if (file && o.path.isEmpty()) {
        path_->setFocus();
        return;
    }
    QDialog::accept();
}

// ---------------------------------------------------------------- progress

ReportProgressDialog::ReportProgressDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReportProgress"));
    setWindowTitle(QStringLiteral("Printing"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    page_ = new QLabel(this);
    page_->setObjectName(QStringLiteral("PageLabel"));
    line1_ = new QLabel(this);
    line1_->setObjectName(QStringLiteral("StatusLine1"));
    line2_ = new QLabel(this);
    line2_->setObjectName(QStringLiteral("StatusLine2"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setRange(0, 0);  // busy until the job says how much there is
    for (QLabel* l : {page_, line1_, line2_}) {
        l->setMinimumWidth(320);
        layout->addWidget(l);
    }
    layout->addWidget(bar_);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(cancel, &QPushButton::clicked, this, &ReportProgressDialog::reject);
    layout->addWidget(cancel, 0, Qt::AlignRight);
}

void ReportProgressDialog::showStatus(const ReportCanvas& canvas)
{
    page_->setText(QStringLiteral("Printing Page %1").arg(canvas.pageNumber()));
    line1_->setText(canvas.statusLine1());
    line2_->setText(canvas.statusLine2());
}

void ReportProgressDialog::showProgress(int done, int total)
{
    if (total <= 0)
        return;
    bar_->setRange(0, total);
    bar_->setValue(done);
}

void ReportProgressDialog::reject()
{
    cancelled_ = true;
}

// ---------------------------------------------------------------- run

bool RunReport(QWidget* parent, const ReportOutput& output, const ReportBody& body, Dialogs& dialogs,
               const DataModule& data)
{
    try {
        switch (output.destination) {
        case ReportDestination::Preview: return toPreview(parent, output, body, dialogs);
        case ReportDestination::Printer: return toPrinter(parent, output, body, dialogs);
        case ReportDestination::Pdf:
        case ReportDestination::Text: return toFile(parent, output, body, dialogs, data);
        }
    } catch (const std::exception& e) {
        dialogs.showException(e);
    }
    return false;
}
