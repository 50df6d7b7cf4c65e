#include "Main.h"

#include "About.h"
#include "AppContext.h"
#include "DatabaseStartup.h"
#include "Dialogs.h"
#include "TarvaneData.h"
#include "Version.h"
#include "WindowSettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

namespace {
const QString kClass = QStringLiteral("TMainForm");
const QString kDefaultUrl = QStringLiteral("https://www.enr.com/economics");
}  // namespace

TMainForm::TMainForm(AppContext& ctx) : ctx_(ctx)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tarvane"));
    HelpContextId = 2;
    Activated = false;
    ctx_.helpFile = QCoreApplication::applicationDirPath() + QStringLiteral("/TARVANE.HLP");

    notebook_ = new QTabWidget(this);
    notebook_->setObjectName(QStringLiteral("MainOvcNotebook"));
    setCentralWidget(notebook_);

    statusPanel1_ = new QLabel(this);
    statusPanel1_->setObjectName(QStringLiteral("StatusPanel1"));
    statusPanel2_ = new QLabel(this);
    statusPanel2_->setObjectName(QStringLiteral("StatusPanel2"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(statusPanel1_, 3);
    statusBar()->addWidget(statusPanel2_, 1);

    createMenus();

    resize(1100, 700);
    WindowSettings::restorePlacement(this, kClass);
    OvcURL = WindowSettings::value(kClass, QStringLiteral("OvcURL1.URL"), kDefaultUrl).toString();
    WinHelpChecked = WindowSettings::value(kClass, QStringLiteral("WinHelp1.Checked"), false).toBool();
    HTMLHelpChecked = WindowSettings::value(kClass, QStringLiteral("HTMLHelp1.Checked"), !WinHelpChecked).toBool();
}

TMainForm::~TMainForm() = default;

void TMainForm::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    QAction* exit = file->addAction(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, this, &TMainForm::Exit1Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    QAction* about = help->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, &TMainForm::About1Click);
}

DatabaseStartup& TMainForm::startup()
{
    if (!startup_)
        startup_ = std::make_unique<DatabaseStartup>(*ctx_.TarvaneDataForm);
    return *startup_;
}

bool TMainForm::DatabaseOpened() const
{
    return startup_ && startup_->DatabaseOpened;
}

bool TMainForm::OpenAllTables(QString& name)
{
    return startup().OpenAllTables(name);
}

void TMainForm::CloseAllTables()
{
    if (startup_)
        startup_->CloseAllTables();
}

void TMainForm::PostPendingEdits()
{
    if (startup_)
        startup_->PostPendingEdits();
}

void TMainForm::SetStatusText(const QString& text)
{
    statusPanel1_->setText(text);
}

void TMainForm::FormActivate()
{
    if (Activated || !ctx_.TarvaneDataForm)
        return;
    // The help format chosen earlier stays selected.
    HTMLHelpChecked = !WinHelpChecked;
    TTarvaneDataForm& dm = *ctx_.TarvaneDataForm;
    dm.CalcEnabled = true;
    dm.Session.setActive(true);
    setWindowTitle(QStringLiteral("Tarvane -- Version:  ") + QLatin1String(kTarvaneVersion));
    notebook_->setCurrentIndex(0);
    // Whatever happens below, the activation work runs once: a failure is reported once, not at every activation.
    Activated = true;
    QString name;
    if (!OpenAllTables(name))
        ctx_.dialogs.error(DatabaseStartup::failureMessage(name));
}

bool TMainForm::FormCloseQuery()
{
    try {
        PostPendingEdits();
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
        return false;
    }
    CloseAllTables();
    if (ctx_.TarvaneDataForm)
        ctx_.TarvaneDataForm->TarvaneDatabase.disconnect();
    return true;
}

bool TMainForm::event(QEvent* e)
{
    const bool r = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate && !Activated)
        FormActivate();
    return r;
}

void TMainForm::closeEvent(QCloseEvent* e)
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

void TMainForm::About1Click()
{
    TAboutBox box(this);
    box.exec();
}

void TMainForm::Exit1Click()
{
    close();
}
