#pragma once
// Where a report goes and the run that takes it there: preview on screen, a
// printer, a PDF file or a text file. While the job runs a window shows the
// page being printed, the job's two status lines and a progress bar, and its
// "Cancel" stops the job.
#include <QDialog>
#include <functional>

class Dialogs;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class ReportCanvas;
class DataModule;
struct UnprintableEdges;

enum class ReportDestination { Preview = 0, Printer = 1, Pdf = 2, Text = 3 };

struct ReportOutput {
    ReportDestination destination = ReportDestination::Preview;
    QString path;  // the file, for PDF and text
    QString paper = QStringLiteral("Letter");  // the paper of every output (PaperSize.h)
};

// The report engine's set-up: preview, printer, PDF file or text file, and the paper.
class ReportSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReportSetupDialog(QWidget* parent = nullptr);
    ReportOutput output() const;
    void setOutput(const ReportOutput& output);
    void accept() override;

private:
    void browse();
    void destinationChanged();
    QButtonGroup* destinations_;
    QLineEdit* path_;
    QPushButton* browse_;
    QComboBox* paper_;
};

// The window shown while a job runs.
class ReportProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReportProgressDialog(QWidget* parent = nullptr);
    void showStatus(const ReportCanvas& canvas);
    void showProgress(int done, int total);
    bool cancelled() const { return cancelled_; }
    void reject() override;  // "Cancel" and Escape stop the job

private:
    QLabel* page_;
    QLabel* line1_;
    QLabel* line2_;
    QProgressBar* bar_;
    bool cancelled_ = false;
};

// One pass of the job over a canvas: its start step with the printer's
// unprintable edges, then its print step, telling `progress` how far it is.
using ReportBody = std::function<void(ReportCanvas& canvas, const UnprintableEdges& edges,
                                      const std::function<void(int done, int total)>& progress)>;

// Runs the job to the output. True when it went there whole; false when it was
// cancelled, printed nothing or failed, each shown to the user through `dialogs`.
// A PDF or text file is replaced only by a whole report, and never when it is one
// of the files of `data` (the data file and its companions, the engine configuration)
// or not a regular file: that is refused with a message before anything prints.
bool RunReport(QWidget* parent, const ReportOutput& output, const ReportBody& body, Dialogs& dialogs,
               const DataModule& data);
