// The main window's copy of the current mine, its switching between the
// user's data, the tutorial data and the example data, and its event log.
#include "AppContext.h"
#include "CopyBondDialog.h"
#include "DataSetCodes.h"
#include "DBNavigator.h"
#include "Dialogs.h"
#include "EventLogWindow.h"
#include "MineCopy.h"
#include "MainWindow.h"
#include "Notebook.h"
#include "DataModule.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>

void MainWindow::createDataSetMenus(QMenu* file, QAction* before)
{
    copyRecord_ = new QAction(QStringLiteral("&Copy Record"), file);
    copyRecord_->setObjectName(QStringLiteral("CopyRecord1"));
    connect(copyRecord_, &QAction::triggered, this, &MainWindow::CopyRecord1Click);
    file->insertAction(file->actions().value(0), copyRecord_);

    auto* group = new QActionGroup(file);
    group->setExclusive(true);
    const struct {
        QAction*& item;
        const char* name;
        const char* text;
        void (MainWindow::*slot)();
    } items[] = {{useTutorial_, "UseTutorialDataSet1", "Use Tutorial Data Set", &MainWindow::UseTutorialDataSet1Click},
                 {useExample_, "UseFullExampleDataSet1", "Use Full Example Data Set",
                  &MainWindow::UseFullExampleDataSet1Click},
                 {useUsers_, "UseUsersData1", "Use Users Data", &MainWindow::UseUsersData1Click}};
    for (const auto& i : items) {
        i.item = new QAction(QString::fromLatin1(i.text), group);
        i.item->setObjectName(QString::fromLatin1(i.name));
        i.item->setCheckable(true);
        connect(i.item, &QAction::triggered, this, i.slot);
        file->insertAction(before, i.item);
    }
    // The program starts on the user's own data.
    useUsers_->setChecked(true);
}

void MainWindow::CopyRecord1Click()
{
    if (!dm_ || !dm_->MineT.active() || dm_->MineT.isEmpty()) {
        ctx_.dialogs.error(QStringLiteral("No records to copy!  Enter a record first!"));
        return;
    }
    const SuspendedCalculations suspended(*dm_);
    if (ctx_.Copy1Form)
        ctx_.Copy1Form->exec();
    if (auto* navigator = findChild<DBNavigator*>(QStringLiteral("DBNavigator1")))
        navigator->update();
    dm_->MineT.refresh();
}

void MainWindow::UseUsersData1Click()
{
    useUsers_->setChecked(true);
    copyRecord_->setEnabled(true);
    if (auto* navigator = findChild<DBNavigator*>(QStringLiteral("DBNavigator1")))
        navigator->setVisibleButtons(DBNavigator::allButtons());
    if (auto* label = findChild<QLabel*>(QStringLiteral("DataSetLabel")))
        label->clear();
    if (!dm_)
        return;
    dm_->DataSetCode = datasetcode::UsersData;
    dm_->MineT.refresh();  // the mine view's filter reads the code at its next fetch
    refreshShownFigures();
}

void MainWindow::UseTutorialDataSet1Click()
{
    useDataSet(useTutorial_, datasetcode::TutorialCopy, datasetcode::TutorialMaster, QStringLiteral("Tutorial Data"));
}

void MainWindow::UseFullExampleDataSet1Click()
{
    useDataSet(useExample_, datasetcode::ExampleCopy, datasetcode::ExampleMaster, QStringLiteral("Example Data"));
}

// Shows the working copy of a shipped mine; the first time, it is made with the
// copy window from the master mine and then given the working code.
void MainWindow::useDataSet(QAction* item, double working, double master, const QString& label)
{
    item->setChecked(true);
    copyRecord_->setEnabled(false);
    if (auto* navigator = findChild<DBNavigator*>(QStringLiteral("DBNavigator1"))) {
        QList<DBNavigator::Button> buttons = DBNavigator::allButtons();
        buttons.removeAll(DBNavigator::Insert);
        navigator->setVisibleButtons(buttons);
    }
    if (auto* l = findChild<QLabel*>(QStringLiteral("DataSetLabel")))
        l->setText(label);
    if (!dm_)
        return;
    showWorkingCopy(working, master);
    refreshShownFigures();
}

// The mine view on the working copy's data set, made from the master the first time.
void MainWindow::showWorkingCopy(double working, double master)
{
    Table& mines = dm_->MineT;
    dm_->DataSetCode = working;
    mines.refresh();
    if (!mines.isEmpty())
        return;  // the working copy exists
    dm_->DataSetCode = master;
    mines.refresh();
    CopyRecord1Click();
    if (mines.recordCount() > 1) {
        // The copy is the newest mine by key.
        qint64 newest = -1;
        for (const auto& [id, mark] : mines.fieldValues(QStringLiteral("MineID")))
            newest = std::max<qint64>(newest, id.toLongLong());
        mines.locate({QStringLiteral("MineID")}, {newest});
        try {
            mines.edit();
            mines.fieldByName(QStringLiteral("RevegYears")).setAsFloat(working);
            mines.post();
        } catch (const std::exception& e) {
            // The copy keeps the master's code; the view goes on showing the master's data set.
            if (mines.isEditing())
                mines.cancel();
            ctx_.dialogs.showException(e);
            return;
        }
    }
    dm_->DataSetCode = working;
    mines.refresh();
}

// The figures the page in view shows belong to the mine and project shown now: a
// worksheet page's total and its equipment button, the bond pages' items.
void MainWindow::refreshShownFigures()
{
    if (!comp_)
        return;
    if (mainNotebook_->currentIndex() == 1) {
        const int page = projectNotebook_->currentIndex();
        if (page >= 1 && page <= 4)
            ProjectNotebookChanged(page);
    }
    const bool bondShown = mainNotebook_->currentIndex() >= 2 ||
                           (mainNotebook_->currentIndex() == 1 && projectNotebook_->currentIndex() >= 5);
    if (!bondShown)
        return;
    if (dm_->MineT.isEmpty() || dm_->ProjectT.isEmpty())
        bondComputed(nullptr);  // no bond to show: no figures of the other data set stay
    else
        refreshBondPages();
}

void MainWindow::EventLog1Click()
{
    if (!dm_)
        return;
    EventLogWindow form(*dm_, ctx_.dialogs, this);
    form.exec();
}
