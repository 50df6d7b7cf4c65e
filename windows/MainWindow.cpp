#include "MainWindow.h"

#include "AboutBox.h"
#include "StoredNames.h"
#include "TruckCalculatorWindow.h"
#include "DeskCalculatorWindow.h"
#include "OwnedWindow.h"
#include "VolumeCalculatorWindow.h"
#include "AppContext.h"
#include "BondPageControls.h"
#include "Computation.h"
#include "DBControls.h"
#include "DatabaseStartup.h"
#include "ReferenceEditors.h"
#include "EquipmentListWindow.h"
#include "HelpRouter.h"
#include "HelpRequest.h"
#include "Keyboard.h"
#include "Dialogs.h"
#include "Money.h"
#include "Notebook.h"
#include "ReportSelectionDialog.h"
#include "SideBar.h"
#include "DataModule.h"
#include "Version.h"
#include "WindowSettings.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

namespace {
const QString kClass = QLatin1String(storedname::MainWindow);
const QString kDefaultUrl = QStringLiteral("https://www.enr.com/economics");
}  // namespace

MainWindow::MainWindow(AppContext& ctx) : ctx_(ctx)
{
    setObjectName(QStringLiteral("MainForm"));
    title_ = QStringLiteral("Tarvane");
    setWindowTitle(title_);
    HelpContextId = 2;
    Activated = false;
    ctx_.helpFile = QCoreApplication::applicationDirPath() + QStringLiteral("/TARVANE.HLP");

    mainNotebook_ = new Notebook(this);
    mainNotebook_->setObjectName(QStringLiteral("MainOvcNotebook"));
    setCentralWidget(mainNotebook_);

    statusPanel1_ = new QLabel(this);
    statusPanel1_->setObjectName(QStringLiteral("StatusPanel1"));
    statusPanel2_ = new QLabel(this);
    statusPanel2_->setObjectName(QStringLiteral("StatusPanel2"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(statusPanel1_, 3);
    statusBar()->addWidget(statusPanel2_, 1);

    createMenus();

    resize(1280, 740);
    WindowSettings::restorePlacement(this, kClass);
    OvcURL = WindowSettings::value(kClass, QStringLiteral("OvcURL1.URL"), kDefaultUrl).toString();
    WinHelpChecked = WindowSettings::value(kClass, QStringLiteral("WinHelp1.Checked"), false).toBool();
    HTMLHelpChecked = WindowSettings::value(kClass, QStringLiteral("HTMLHelp1.Checked"), !WinHelpChecked).toBool();
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    QAction* print = file->addAction(QStringLiteral("&Print"));
    print->setObjectName(QStringLiteral("Print1"));
    connect(print, &QAction::triggered, this, &MainWindow::Print1Click);
    QAction* exportBook = file->addAction(QStringLiteral("Export to Spreadsheet..."));
    exportBook->setObjectName(QStringLiteral("ExportToSpreadsheet1"));
    connect(exportBook, &QAction::triggered, this, &MainWindow::ExportToSpreadsheet1Click);
    QAction* backup = file->addAction(QStringLiteral("Back Up Data..."));
    backup->setObjectName(QStringLiteral("BackUpData1"));
    connect(backup, &QAction::triggered, this, &MainWindow::BackUpData1Click);
    QAction* import = file->addAction(QStringLiteral("Import Mine from Data File..."));
    import->setObjectName(QStringLiteral("ImportMine1"));
    connect(import, &QAction::triggered, this, &MainWindow::ImportMine1Click);
    QAction* exit = file->addAction(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, this, &MainWindow::Exit1Click);
    createDataSetMenus(file, exit);

    QMenu* databases = menuBar()->addMenu(QStringLiteral("&Databases"));
    databases->setObjectName(QStringLiteral("Databases1"));
    const struct {
        const char* name;
        const char* text;
        void (MainWindow::*slot)();
    } editors[] = {{"EquipmentCost1", "&Equipment Cost", &MainWindow::EquipmentCost1Click},
                   {"LaborCost1", "&Labor Cost", &MainWindow::LaborCost1Click},
                   {"ProfitandOverhead1", "&Profit and Overhead", &MainWindow::ProfitandOverhead1Click},
                   {"ReclamationManagementFee1", "&Reclamation Management Fee", &MainWindow::ReclamationManagementFee1Click},
                   {"EfficiencyFactor1", "Efficiency Factor", &MainWindow::EfficiencyFactor1Click}};
    for (const auto& e : editors) {
        QAction* a = databases->addAction(QString::fromLatin1(e.text));
        a->setObjectName(QString::fromLatin1(e.name));
        connect(a, &QAction::triggered, this, e.slot);
    }

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    QAction* volume = tools->addAction(QStringLiteral("&Volume Calculator"));
    volume->setObjectName(QStringLiteral("VolumeCalculator1"));
    connect(volume, &QAction::triggered, this, &MainWindow::VolumeCalculator1Click);
    QAction* calculator = tools->addAction(QStringLiteral("Calculator"));
    calculator->setObjectName(QStringLiteral("Calculator1"));
    connect(calculator, &QAction::triggered, this, &MainWindow::Calculator1Click);
    QAction* url = tools->addAction(QStringLiteral("Change URL for Web Site"));
    url->setObjectName(QStringLiteral("ChangeURL1"));
    connect(url, &QAction::triggered, this, &MainWindow::ChangeURL1Click);
    QAction* eventLog = tools->addAction(QStringLiteral("Event Log"));
    eventLog->setObjectName(QStringLiteral("EventLog1"));
    connect(eventLog, &QAction::triggered, this, &MainWindow::EventLog1Click);
    QAction* trucks = tools->addAction(QStringLiteral("&Optimal # Truck Calculator"));
    trucks->setObjectName(QStringLiteral("OptimalTruckCalculator1"));
    connect(trucks, &QAction::triggered, this, &MainWindow::OptimalTruckCalculator1Click);

    createHelpMenu();
}

void MainWindow::createHelpMenu()
{
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    const struct {
        const char* name;
        const char* text;
        void (MainWindow::*slot)();
    } items[] = {{"Introduction1", "&Introduction", &MainWindow::Introduction1Click},
                 {"HelpThisForm1", "Help This Form", &MainWindow::HelpThisForm1Click},
                 {"SearchHelp1", "&Search Help", &MainWindow::SearchHelp1Click},
                 {"HelpOnHelp1", "Help-on-Help", &MainWindow::HelpOnHelp1Click}};
    for (const auto& item : items) {
        QAction* a = help->addAction(QString::fromLatin1(item.text));
        a->setObjectName(QString::fromLatin1(item.name));
        connect(a, &QAction::triggered, this, item.slot);
    }
    QMenu* tutorial = help->addMenu(QStringLiteral("Tutorial"));
    tutorial->setObjectName(QStringLiteral("Tutorial1"));
    const struct {
        const char* text;
        int context;
    } lessons[] = {{"Tutorial Introduction", 23},
                   {"Adding Labor to the Database", 26},
                   {"Adding equipment to the Database", 30},
                   {"Creating a Mine", 36},
                   {"Creating a Project", 47},
                   {"Using the Demolition Worksheet", 48},
                   {"Using the Earthmoving Worksheet", 49},
                   {"Adding Equipment to the Office Area task", 50},
                   {"Adding Equipment to the Replace Topsoil task", 51},
                   {"Using the Volume Calculator", 52},
                   {"Continued -- Adding Equipment to the Replace Topsoil task", 53},
                   {"Using the Revegetation Worksheet", 54},
                   {"Using the Reclamation Estimate for a Mine", 55},
                   {"Using the Report Generator", 56},
                   {"Printing a Report", 57}};
    for (const auto& lesson : lessons) {
        QAction* a = tutorial->addAction(QString::fromLatin1(lesson.text));
        a->setObjectName(QStringLiteral("Tutorial%1").arg(lesson.context));
        a->setData(lesson.context);
        connect(a, &QAction::triggered, this, [this, a] { HelpRequest::context(this, a->data().toInt()); });
    }
    help->addSeparator();
    auto* formats = new QActionGroup(help);
    winHelp_ = help->addAction(QStringLiteral("Win Help"));
    winHelp_->setObjectName(QStringLiteral("WinHelp1"));
    htmlHelp_ = help->addAction(QStringLiteral("HTML Help"));
    htmlHelp_->setObjectName(QStringLiteral("HTMLHelp1"));
    for (QAction* a : {winHelp_, htmlHelp_}) {
        a->setCheckable(true);
        formats->addAction(a);
    }
    connect(winHelp_, &QAction::triggered, this, &MainWindow::WinHelp1Click);
    connect(htmlHelp_, &QAction::triggered, this, &MainWindow::HTMLHelp1Click);
    help->addSeparator();
    QAction* about = help->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, &MainWindow::About1Click);
}

void MainWindow::attachDataModule(DataModule& dm, Computation& computation)
{
    dm_ = &dm;
    comp_ = &computation;
    mainNotebook_->addPage(buildMinePage(), QStringLiteral("Mine"), QStringLiteral("Enter Mine Information"));
    mainNotebook_->addPage(buildProjectsPage(), QStringLiteral("Projects"),
                           QStringLiteral("Enter projects for each mine you have entered."));
    mainNotebook_->addPage(buildBondPage(0, false), QStringLiteral("Reclamation Estimate for Mine"),
                           QStringLiteral("This is the bond for the entire mine and all of its projects"));
    mainNotebook_->addPage(buildBondPage(1, false), QStringLiteral("Mine Bond Following Phase I"));
    mainNotebook_->addPage(buildBondPage(2, false), QStringLiteral("Mine Bond Following Phase II"));
    mainNotebook_->beforeChange = [this](int from, int to) { return MainNotebookBeforeChange(from, to); };
    connect(mainNotebook_, &Notebook::currentChanged, this, &MainWindow::MainNotebookChanged);
    mainNotebook_->showPage(0);
    ShowOverrideFields();
    // Messages name the fields by the captions the pages show.
    captionBoundControls(this);
    Keyboard::assignMnemonics(this);
    // Controls with a help topic of their own; every other control opens its page's.
    const struct {
        const char* control;
        int context;
    } ownTopics[] = {{"DBNavigator1", 12},        {"MineMemo", 14},          {"ProjectMemo", 14},
                     {"DemolMemo", 14},           {"MatMemo", 14},           {"RevegMemo", 14},
                     {"MemoOther", 14},           {"OtherDescriptionMemo", 14}, {"AssumptionsMemo", 14},
                     {"CostCalMemo", 14},         {"DBRadioGroup1", 41},     {"ENRIndexEdit", 42},
                     {"ENRIndexDateEdit", 42},    {"ENRYearsEdit", 42},      {"ENRIndex5Edit", 42},
                     {"ENRIndexDate5Edit", 42},   {"OvcURL1", 42},           {"MineSearchGroup", 43}};
    for (const auto& t : ownTopics)
        if (QWidget* w = findChild<QWidget*>(QString::fromLatin1(t.control)))
            HelpRequest::setContext(w, t.context);
    for (DataSource* source : {&dm.MineDS, &dm.ProjectDS, &dm.DemolDS, &dm.MatDS, &dm.RevegDS, &dm.OtherDS})
        connect(source, &DataSource::stateChanged, this, &MainWindow::showEditMark);
    // A changed figure of the mine makes the bond shown older than its inputs.
    connect(&dm.MineDS, &DataSource::fieldChanged, this, [this] { markBondOutdated(); });
}

void MainWindow::showEditMark()
{
    bool editing = false;
    for (const DataSet* t : {&dm_->MineT, &dm_->ProjectT, &dm_->DemolT, &dm_->MatT, &dm_->RevegT, &dm_->OtherT})
        editing = editing || t->isEditing();
    setWindowTitle(editing ? title_ + QStringLiteral("  * (not yet posted)") : title_);
}

void MainWindow::markBondOutdated()
{
    for (QLabel* note : outdatedNotes_)
        note->show();
}

void MainWindow::bondComputed(const BondItems* items)
{
    const bool ok = items != nullptr;
    for (QLabel* note : outdatedNotes_)
        note->hide();
    if (items)
        for (const auto& [control, text] : BondPageControls::texts(*items))
            if (QLineEdit* e = bondFields_.value(control))
                e->setText(text);
    // The note stays until a computation no longer meets the values (they were corrected).
    const LeftOutValues leftOut = items ? items->incomplete : LeftOutValues();
    const QString note = leftOut.isEmpty() ? QString()
                                           : incompleteLine(leftOut) + QStringLiteral(":\n") +
                                                 leftOutLines(leftOut).join(QLatin1Char('\n'));
    for (QLabel* label : incompleteNotes_) {
        label->setText(note);
        label->setVisible(!leftOut.isEmpty());
    }
    // A failed computation leaves no figures of an earlier one standing.
    if (!ok)
        for (QLineEdit* e : std::as_const(bondFields_))
            e->clear();
}

DatabaseStartup& MainWindow::startup()
{
    if (!startup_)
        startup_ = std::make_unique<DatabaseStartup>(*ctx_.TarvaneDataForm);
    return *startup_;
}

bool MainWindow::DatabaseOpened() const
{
    return startup_ && startup_->DatabaseOpened;
}

bool MainWindow::OpenAllTables(QString& name)
{
    return startup().OpenAllTables(name);
}

void MainWindow::CloseAllTables()
{
    startup().CloseAllTables();
}

void MainWindow::PostPendingEdits()
{
    if (startup_)
        startup_->PostPendingEdits();
}

void MainWindow::FormActivate()
{
    if (Activated || !ctx_.TarvaneDataForm)
        return;
    // The help format chosen earlier is the one in use.
    if (WinHelpChecked)
        WinHelp1Click();
    else
        HTMLHelp1Click();
    DataModule& dm = *ctx_.TarvaneDataForm;
    dm.CalcEnabled = true;
    dm.Session.setActive(true);
    title_ = QStringLiteral("Tarvane -- Version:  ") + QLatin1String(kTarvaneVersion);
    showEditMark();
    mainNotebook_->showPage(0);
    // Whatever happens below, the activation work runs once: a failure is reported once, not at every activation.
    Activated = true;
    if (comp_)
        comp_->setMayCompute(true);
    QString name;
    if (!OpenAllTables(name)) {
        failedTable_ = name;
        ctx_.dialogs.error(startup().failureMessage(name));
    }
    const QString readOnly = startup().readOnlyNotice();
    if (!readOnly.isEmpty())
        ctx_.dialogs.information(readOnly);
    RefreshStatusLine();
}

// Every open view's pending edit is posted, whichever views failed to open; when one
// post fails its message is shown and the window stays open with every view open.
bool MainWindow::FormCloseQuery()
{
    DataModule* dm = ctx_.TarvaneDataForm.get();
    if (!dm)
        return true;
    try {
        dm->postAllPendingEdits();
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
        return false;
    }
    CloseAllTables();
    dm->shutDown();
    return true;
}

bool MainWindow::event(QEvent* e)
{
    const bool r = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate && !Activated)
        FormActivate();
    return r;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e)
{
    // Leaving a field of the revegetation page posts the worksheet once the field has written its text.
    // Focus taken by another window (a message box among them) is no move of the user's: posting
    // then would show the same refusal again.
    if (e->type() == QEvent::FocusOut && watched->property("postsReveg").toBool() && dm_ &&
        static_cast<QFocusEvent*>(e)->reason() != Qt::ActiveWindowFocusReason &&
        static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (dm_->RevegT.active() && dm_->RevegT.isEditing())
                    dm_->RevegT.post();
            },
            Qt::QueuedConnection);
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    if (!FormCloseQuery()) {
        e->ignore();
        return;
    }
    WindowSettings::savePlacement(this, kClass);
    WindowSettings::setValue(kClass, QStringLiteral("OvcURL1.URL"), OvcURL);
    WindowSettings::setValue(kClass, QStringLiteral("WinHelp1.Checked"), WinHelpChecked);
    WindowSettings::setValue(kClass, QStringLiteral("HTMLHelp1.Checked"), HTMLHelpChecked);
    e->accept();
}

void MainWindow::OptimalTruckCalculator1Click()
{
    showTruckCalculator(this);
}

void MainWindow::Calculator1Click()
{
    showDeskCalculator(this);
}

void MainWindow::VolumeCalculator1Click()
{
    showVolumeCalculator(this);
}

void MainWindow::showVolumeCalculator(QWidget* owner)
{
    OwnedWindow::showOwned(ctx_.VolumeForm.get(), owner);
}

void MainWindow::showDeskCalculator(QWidget* owner)
{
    OwnedWindow::showOwned(ctx_.CalculatorForm.get(), owner);
}

void MainWindow::showTruckCalculator(QWidget* owner)
{
    if (!ctx_.TruckCalForm)
        return;
    // Owned by the window it is opened from, so that it stands over that window.
    OwnedWindow::setOwner(ctx_.TruckCalForm.get(), owner);
    ctx_.TruckCalForm->exec();
}

bool MainWindow::closeSideWindows()
{
    // Each mark is set after the close, which clears it.
    const bool volume = ctx_.VolumeForm && ctx_.VolumeForm->isVisible();
    if (volume && !ctx_.VolumeForm->close())
        return false;  // its refused post was reported; the window stays with the record
    ReopenVolume = volume;
    const bool calculator = ctx_.CalculatorForm && ctx_.CalculatorForm->isVisible();
    if (calculator)
        ctx_.CalculatorForm->close();
    ReopenCalculator = calculator;
    return true;
}

void MainWindow::reopenSideWindows(QWidget* owner)
{
    if (ReopenVolume && ctx_.VolumeForm && !ctx_.VolumeForm->isVisible())
        OwnedWindow::showOwned(ctx_.VolumeForm.get(), owner, false);
    if (ReopenCalculator && ctx_.CalculatorForm && !ctx_.CalculatorForm->isVisible())
        OwnedWindow::showOwned(ctx_.CalculatorForm.get(), owner, false);
}

void MainWindow::volumeSetsChanged()
{
    if (ctx_.VolumeForm)
        ctx_.VolumeForm->updateControls();
}

void MainWindow::About1Click()
{
    AboutBox box(this);
    box.exec();
}

void MainWindow::EquipmentCost1Click()
{
    EquipmentCostEditor editor(*dm_, comp_->rules, ctx_.dialogs, this);
    editor.exec();
}

void MainWindow::LaborCost1Click()
{
    LaborRatesEditor editor(*dm_, comp_->rules, ctx_.dialogs, this);
    editor.exec();
}

void MainWindow::ProfitandOverhead1Click()
{
    FeeTableEditor editor(ctx_.dialogs, this);
    editor.setTable(dm_->Graph2T, QStringLiteral("Profit & Overhead Fees"));
    editor.exec();
}

void MainWindow::ReclamationManagementFee1Click()
{
    FeeTableEditor editor(ctx_.dialogs, this);
    editor.setTable(dm_->Graph3T, QStringLiteral("Reclamation Management Fees"));
    editor.exec();
}

void MainWindow::EfficiencyFactor1Click()
{
    EfficiencyFactorEditor editor(*dm_, ctx_.dialogs, this);
    editor.exec();
}

void MainWindow::Exit1Click()
{
    close();
}

void MainWindow::Introduction1Click()
{
    HelpRequest::context(this, 1);
}

void MainWindow::HelpThisForm1Click()
{
    HelpRequest::context(this, HelpContextId);
}

void MainWindow::SearchHelp1Click()
{
    HelpRequest::finder(this);
}

void MainWindow::HelpOnHelp1Click()
{
    HelpRequest::helpOnHelp(this);
}

void MainWindow::WinHelp1Click()
{
    ctx_.Help->selectFormat(HelpFormat::WinHelp);
    WinHelpChecked = true;
    HTMLHelpChecked = false;
    winHelp_->setChecked(true);
}

void MainWindow::HTMLHelp1Click()
{
    ctx_.Help->selectFormat(HelpFormat::HtmlHelp);
    WinHelpChecked = false;
    HTMLHelpChecked = true;
    htmlHelp_->setChecked(true);
}

void MainWindow::ChangeURL1Click()
{
    QString url = OvcURL;
    if (ctx_.dialogs.inputBox(QStringLiteral("Change Web Site URL"), QStringLiteral("Enter URL:"), url))
        OvcURL = url;
}

void MainWindow::OpenCostIndexSite()
{
    if (!QDesktopServices::openUrl(QUrl::fromUserInput(OvcURL)))
        ctx_.dialogs.error(QStringLiteral("No web browser could be started to show the ENR cost index page:\n") + OvcURL +
                           QStringLiteral("\nOpen this address in a web browser, or change it with Tools, "
                                          "Change URL for Web Site."));
}

// Prints only posted data: a record being edited would print what is not stored.
void MainWindow::Print1Click()
{
    if (!dm_)
        return;
    const DataSet* const views[] = {&dm_->MineT,  &dm_->ProjectT, &dm_->DemolT,      &dm_->MatT,      &dm_->RevegT,
                                    &dm_->OtherT, &dm_->EquipMatT, &dm_->EquipRevegT, &dm_->EquipDemoT};
    for (const DataSet* t : views) {
        if (t->isEditing()) {
            ctx_.dialogs.information(QStringLiteral("Post Data before printing!"));
            return;
        }
    }
    ReportSelectionDialog form(*dm_, *comp_, ctx_.dialogs, this);
    form.exec();
}

// ---------------------------------------------------------------- what the rules refresh

QString MainWindow::statusLineText() const
{
    return statusPanel1_->text();
}

void MainWindow::refreshBondPages()
{
    if (!dm_ || !comp_ || !dm_->closedTable(comp_->viewsOfBond()).isEmpty() || dm_->MineT.isEmpty() ||
        dm_->ProjectT.isEmpty())
        return;
    if (mainNotebook_->currentIndex() >= 2)
        comp_->bond.CalcBondSummary(true);
    else if (mainNotebook_->currentIndex() == 1 && projectNotebook_->currentIndex() >= 5)
        comp_->bond.CalcBondSummary(false);
}

void MainWindow::RefreshStatusLine()
{
    if (!dm_ || !dm_->MineT.active())
        return;
    const int page = mainNotebook_->currentIndex();
    const QString prefix = QStringLiteral("Mine/Project:  ");
    if (page == 0 || page == 2) {
        statusPanel1_->setText(dm_->MineT.isEmpty()
                                   ? prefix + QStringLiteral("None")
                                   : prefix + dm_->MineT.fieldByName(QStringLiteral("Applicant")).asString());
    } else if (page == 1) {
        const QString project = dm_->ProjectT.active() && !dm_->ProjectT.isEmpty()
                                    ? dm_->ProjectT.fieldByName(QStringLiteral("ProjectName")).asString()
                                    : QStringLiteral("None");
        statusPanel1_->setText(prefix + dm_->MineT.fieldByName(QStringLiteral("Applicant")).asString() +
                               QLatin1Char('/') + project);
    }
}

void MainWindow::setBondPostButtonsEnabled(bool on)
{
    for (QPushButton* b : postButtons_)
        b->setEnabled(on);
}

void MainWindow::setEquipButtonEnabled(QChar costType, bool on)
{
    if (QPushButton* b = equipButtons_.value(costType))
        b->setEnabled(on);
}

void MainWindow::setTotalText(QChar costType, const QString& text)
{
    if (QLineEdit* e = totals_.value(costType))
        e->setText(text);
}

// A product beyond the range of money shows empty, and one message names it; the others still show.
void MainWindow::showRevegProducts(const std::array<double, 4>& products)
{
    static const char* const names[] = {"Initial seeding cost", "Planting cost", "Reseeding cost", "Replanting cost"};
    QStringList refused;
    for (int i = 0; i < 4; ++i) {
        if (!products_[i])
            continue;
        try {
            products_[i]->setText(formatMoney(products[i]).trimmed());
        } catch (const MoneyRangeError& e) {
            products_[i]->clear();
            refused << QLatin1String(names[i]) + QStringLiteral(": ") + e.message();
        }
    }
    if (!refused.isEmpty())
        ctx_.dialogs.errorOnce(refused.join(QLatin1Char('\n')));
}

QString MainWindow::text(const QString& control) const
{
    const QLineEdit* e = bondFields_.value(control);
    return e ? e->text() : QString();
}

void MainWindow::ShowOverrideFields()
{
    for (const OverridePair& p : overrides_) {
        p.amount->setVisible(p.box->isChecked());
        p.computed->setVisible(!p.box->isChecked());
    }
}

// ---------------------------------------------------------------- page changes

bool MainWindow::MainNotebookBeforeChange(int from, int to)
{
    Q_UNUSED(from);
    if (!dm_)
        return false;
    try {
        PostPendingEdits();
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
        return false;
    }
    const bool haveMine = dm_->MineT.active() && !dm_->MineT.isEmpty();
    if (to == 1) {
        if (!haveMine) {
            ctx_.dialogs.error(QStringLiteral("Must enter Mine data before a project can be entered."));
            return false;
        }
        projectNotebook_->showPage(0);
        sideBar_->markItem(0);
        return true;
    }
    if (to >= 2) {
        ShowOverrideFields();
        if (!haveMine) {
            ctx_.dialogs.error(QStringLiteral("Must enter Mine data before a Bond can be calculated."));
            return false;
        }
        if (dm_->ProjectT.isEmpty()) {
            ctx_.dialogs.error(QStringLiteral("Must enter Project data before a Bond can be calculated."));
            return false;
        }
        if (!tablesOpenFor(comp_->viewsOfBond()))
            return false;
        comp_->bond.CalcBondSummary(true);
    }
    return true;
}

void MainWindow::MainNotebookChanged(int page)
{
    RefreshStatusLine();
    HelpContextId = page == 0 ? 2 : page == 1 ? 3 : 7;
}

void MainWindow::SideBarItemClick(int index)
{
    // Whatever is refused or fails on the way, the bar's highlight ends on the page in view.
    struct MarkPageInView {
        MainWindow* w;
        ~MarkPageInView() { w->sideBar_->markItem(w->projectNotebook_->currentIndex()); }
    } mark{this};
    PostPendingEdits();
    const bool haveProject = dm_->ProjectT.active() && !dm_->ProjectT.isEmpty();
    static const char* refusals[] = {"", "Must enter a project before entering Demolition information",
                                     "Must enter a project before entering Materials information",
                                     "Must enter a project before entering reveg information",
                                     "Must enter a project before entering other cost information"};
    if (index == 0) {
        projectNotebook_->showPage(0);
    } else if (index <= 4) {
        static const char types[] = {' ', 'D', 'M', 'R', 'O'};
        if (haveProject && !tablesOpenFor(comp_->viewsOfTotal(QLatin1Char(types[index])))) {
            projectNotebook_->showPage(0);
        } else if (haveProject) {
            projectNotebook_->showPage(index);
        } else {
            ctx_.dialogs.error(QString::fromLatin1(refusals[index]));
            projectNotebook_->showPage(0);
        }
    } else if (haveProject && !tablesOpenFor(comp_->viewsOfBond())) {
        projectNotebook_->showPage(0);
    } else if (haveProject) {
        projectNotebook_->showPage(index);
        comp_->bond.CalcBondSummary(false);
    } else {
        ctx_.dialogs.error(QStringLiteral("Must enter a project before you can calculate a bond"));
        projectNotebook_->showPage(0);
    }
}

void MainWindow::ProjectNotebookChanged(int page)
{
    static const int help[] = {3, 4, 5, 6, 33, 7, 7, 7};
    HelpContextId = help[std::clamp(page, 0, 7)];
    if (!dm_ || !dm_->ProjectT.active())
        return;
    const struct {
        Table* sheet;
        QChar type;
    } pages[] = {{nullptr, QChar()}, {&dm_->DemolT, QLatin1Char('D')}, {&dm_->MatT, QLatin1Char('M')},
                 {&dm_->RevegT, QLatin1Char('R')}, {&dm_->OtherT, QLatin1Char('O')}};
    if (page < 1 || page > 4)
        return;
    const auto& p = pages[page];
    if (page <= 3 && p.sheet->active())
        setEquipButtonEnabled(p.type, p.sheet->recordCount() > 0);
    setTotalText(p.type, comp_->totalText(p.type));
}

bool MainWindow::tablesOpenFor(const QList<DataSet*>& views)
{
    const QString table = dm_->closedTable(views);
    if (table.isEmpty())
        return true;
    if (failedTable_.isEmpty() || failedTable_ == table)
        ctx_.dialogs.error(QStringLiteral("This page needs the %1, which did not open at start-up.").arg(table));
    else
        ctx_.dialogs.error(QStringLiteral("This page needs the %1, which did not open: opening stopped at the %2.")
                               .arg(table, failedTable_));
    return false;
}

// The list and its cost wizard read the worksheet's equipment, the partners of trucks and
// push dozers, the kinds of equipment, the labor rates and the efficiency factors.
QList<DataSet*> MainWindow::viewsOfEquipmentList(int page) const
{
    static const char types[] = {' ', 'D', 'M', 'R'};
    QList<DataSet*> views = comp_->viewsOfTotal(QLatin1Char(types[page]));
    views << &dm_->EquipTypeT << &dm_->LaborRegionT << &dm_->LaborSubRegionT << &dm_->LaborCostT << &dm_->EffFactorT;
    return views;
}

void MainWindow::EnterEquipBtnClick()
{
    const int page = projectNotebook_->currentIndex();
    Table* sheets[] = {nullptr, &dm_->DemolT, &dm_->MatT, &dm_->RevegT};
    static const char* refusals[] = {"", "Must enter Demolition information before adding equipment",
                                     "Must enter Materials information before adding equipment",
                                     "Must enter Revegation information before adding equipment"};
    if (page < 1 || page > 3)
        return;
    Table& sheet = *sheets[page];
    if (!tablesOpenFor(viewsOfEquipmentList(page)))
        return;
    if (sheet.isEmpty()) {
        ctx_.dialogs.error(QString::fromLatin1(refusals[page]));
        return;
    }
    if (sheet.isEditing())
        sheet.post();  // its CostType and SheetID must exist before equipment can name them
    static const char* costTypes[] = {"", "D", "M", "R"};
    static const char* activities[] = {"", "Equipment for Demolition", "Equipment for Materials Handling",
                                       "Equipment for Revegetation"};
    Table* equipment[] = {nullptr, &dm_->EquipDemoT, &dm_->EquipMatT, &dm_->EquipRevegT};
    EquipmentListWindow& list = *ctx_.EquipLaborForm;
    list.setDataSet(equipment[page]);
    list.SetCostType = QString::fromLatin1(costTypes[page]);
    list.SetSheetID = sheet.fieldByName(QStringLiteral("SheetID")).asInteger();
    list.NameActivity = QString::fromLatin1(activities[page]);
    if (!closeSideWindows())
        return;
    list.exec();
    ProjectNotebookChanged(page);
}
