// The main window's File menu entries that write files beside the data: the
// workbook of a mine or project, and a backup of the data file.
#include "MainWindow.h"

#include "AppContext.h"
#include "Computation.h"
#include "DataBackup.h"
#include "Dialogs.h"
#include "MineWorkbook.h"
#include "Notebook.h"
#include "DataModule.h"
#include "WorkbookFiles.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>

namespace {

// The save dialog of a file to write; empty when cancelled.
QString askSavePath(QWidget* parent, const QString& caption, const QString& filter, const QString& suffix,
                    const QString& suggested)
{
    QFileDialog ask(parent, caption, QDir::homePath(), filter);
    ask.setObjectName(QStringLiteral("SaveDialog1"));
    ask.setAcceptMode(QFileDialog::AcceptSave);
    ask.setFileMode(QFileDialog::AnyFile);
    ask.setDefaultSuffix(suffix);
    ask.selectFile(suggested);
    if (ask.exec() != QDialog::Accepted || ask.selectedFiles().isEmpty())
        return {};
    return ask.selectedFiles().first();
}

}  // namespace

void MainWindow::ExportToSpreadsheet1Click()
{
    if (!dm_ || !tablesOpenFor(comp_->viewsOfBond()))
        return;
    try {
        PostPendingEdits();
        if (dm_->MineT.isEmpty()) {
            ctx_.dialogs.information(QStringLiteral("There is no mine to export."));
            return;
        }
        const bool oneProject = mainNotebook_->currentIndex() == 1 && !dm_->ProjectT.isEmpty();
        const QString name = oneProject ? dm_->ProjectT.fieldByName(QStringLiteral("ProjectName")).asString()
                                        : dm_->MineT.fieldByName(QStringLiteral("Applicant")).asString();
        const QString path = askSavePath(this, QStringLiteral("Export to Spreadsheet"),
                                         QStringLiteral("Excel Workbook (*.xlsx)"), QStringLiteral("xlsx"), name + QStringLiteral(".xlsx"));
        if (path.isEmpty())
            return;
        writeXlsxWorkbook(buildMineWorkbook(*dm_, *comp_, oneProject), path, *dm_);
        ctx_.dialogs.information(QStringLiteral("The workbook of %1 is written to %2.").arg(name, QDir::toNativeSeparators(path)));
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
    }
}

void MainWindow::BackUpData1Click()
{
    if (!dm_ || !dm_->TarvaneDatabase.connected())
        return;
    try {
        PostPendingEdits();
        const QString path = askSavePath(
            this, QStringLiteral("Back Up Data"), QStringLiteral("Tarvane Data (*.db)"), QStringLiteral("db"),
            QStringLiteral("TarvaneData-%1.db").arg(QDate::currentDate().toString(Qt::ISODate)));
        if (path.isEmpty())
            return;
        const QString copy = backUpDataFile(*dm_, path);
        ctx_.dialogs.information(QStringLiteral("The data is backed up to %1.").arg(QDir::toNativeSeparators(copy)));
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
    }
}
