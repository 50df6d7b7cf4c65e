// Start-up and shut-down of the desktop program on real data files and real
// (offscreen) windows, and the command line's check.
#include "WindowSettings.h"
#include <QScreen>
#include "AppContext.h"
#include "TruckCalculatorWindow.h"
#include "DatabaseStartup.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "MainWindow.h"
#include "ReportSelectionDialog.h"
#include "Notebook.h"
#include "SplashWindow.h"
#include "StartUp.h"
#include "DataModule.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QSettings>
#include <QTabWidget>
#include <sys/stat.h>
#include <QTimer>
#include <memory>

namespace {

// The program's windows and data module on a data directory.
struct ProgramOn {
    ScriptedDialogs dialogs;
    AppContext ctx;
    explicit ProgramOn(const QString& configPath) : ctx(dialogs, configPath)
    {
        ctx.create([](const QString&) {}, [](int) {});
    }
    MainWindow& main() { return *ctx.MainForm; }
    DataModule& dm() { return *ctx.TarvaneDataForm; }
};

struct HasData {
    TempData data;
};

// The program on a data directory of its own.
struct Program : HasData, ProgramOn {
    Program() : ProgramOn(data.configPath) {}
};

// Damages the data file in one of the ways a user may meet.
void damage(const TempData& data, const QString& how)
{
    QFile f(data.dataFile());
    if (how == QLatin1String("truncated")) {
        QVERIFY(f.resize(f.size() / 4));
    } else if (how == QLatin1String("garbled")) {
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.write(QByteArray(100, '#'));
    } else if (how == QLatin1String("foreign")) {
        QVERIFY(f.remove());
        sqlite3* h = nullptr;
        sqlite3_open(data.dataFile().toUtf8().constData(), &h);
        sqlite3_exec(h, "CREATE TABLE Invoices (Number INTEGER, Customer TEXT)", nullptr, nullptr, nullptr);
        sqlite3_close(h);
    } else if (how == QLatin1String("missing column")) {
        data.sql(QStringLiteral("ALTER TABLE \"MINE.DB\" DROP COLUMN ENRYearsII"));
    }
}

// Another program holding the data file locked, until the holder is destroyed.
struct LockHolder {
    QProcess process;
    explicit LockHolder(const QString& file)
    {
        process.start(QStringLiteral(LOCK_HOLDER), {file});
        QVERIFY(process.waitForReadyRead(30000));
        QCOMPARE(process.readLine().trimmed(), QByteArray("locked"));
    }
    ~LockHolder()
    {
        process.closeWriteChannel();
        process.waitForFinished(30000);
    }
};

QString readConfig(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void progressReaches100AfterDataModule();
    void firstActivationOpensTablesOnce();
    void failingViewIsNamedAndOthersStayOpen();
    void closePostsPendingMineEdit();
    void closeStaysOpenWhenPostFails();
    void badDataFileSaysWhy_data();
    void badDataFileSaysWhy();
    void readOnlyDataFile();
    void editKeptAfterFailedStartUp();
    void enableLocalShare_data();
    void enableLocalShare();
    void missingLocalShareEntryOpensNothing();
    void settingsRestored();
    void settingsOfTheEarlierNamesRead();
    void aboutBox();
    void commandLineCheck();
};

void TestStartup::initTestCase()
{
    static QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QStandardPaths::setTestModeEnabled(true);
}

void TestStartup::progressReaches100AfterDataModule()
{
    TempData data;
    ScriptedDialogs dialogs;
    AppContext ctx(dialogs, data.configPath);
    SplashWindow splash;
    QCOMPARE(splash.windowTitle(), QStringLiteral("Tarvane"));
    auto* bar = splash.findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
    QVERIFY(bar);
    QCOMPARE(bar->maximum(), 100);
    QStringList seen;
    connect(bar, &QProgressBar::valueChanged, this, [&](int v) {
        seen << QStringLiteral("%1 %2 %3").arg(v).arg(splash.status()).arg(ctx.TarvaneDataForm ? "data" : "-");
    });
    createApplicationWindows(ctx, splash);
    QCOMPARE(seen.first(), QStringLiteral("10 TARVANE.HLP -"));
    QCOMPARE(seen.at(1), QStringLiteral("25 Application Title -"));
    QCOMPARE(seen.last(), QStringLiteral("100 Create Tarvane Data Form data"));
    QCOMPARE(splash.status(), QStringLiteral("Create Euqip wiz Form"));  // the last step, which adds nothing
    QVERIFY(ctx.EquipLaborForm);
    QVERIFY(ctx.TruckCalForm);
    QCOMPARE(ctx.TruckCalForm->parentWidget(), ctx.MainForm.get());
    QCOMPARE(bar->value(), 100);
    QVERIFY(ctx.MainForm);
    QCOMPARE(ctx.MainForm->windowTitle(), QStringLiteral("Tarvane"));
    QVERIFY(!ctx.MainForm->Activated);
    QCOMPARE(ctx.MainForm->HelpContextId, 2);
    QVERIFY(!ctx.TarvaneDataForm->MineT.active());  // no table work before the first activation
}

void TestStartup::firstActivationOpensTablesOnce()
{
    Program p;
    p.main().show();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&p.main(), &activate);
    QVERIFY(p.main().Activated);
    QVERIFY(p.main().DatabaseOpened());
    QCOMPARE(p.main().windowTitle(), QStringLiteral("Tarvane -- Version:  2.4.9"));
    auto* notebook = p.main().findChild<Notebook*>(QStringLiteral("MainOvcNotebook"));
    QVERIFY(notebook);
    QCOMPARE(notebook->currentIndex(), 0);  // the Mine page
    for (const auto& step : p.dm().openingSteps())
        QVERIFY2(step.view->active(), qPrintable(step.label));
    QVERIFY(!p.dm().HCompanyT.active());  // the handbook opens with its editor
    QVERIFY(p.dm().Session.active());
    QVERIFY(p.dm().CalcEnabled);
    QVERIFY(readConfig(p.data.configPath).contains(QStringLiteral("LOCAL SHARE=TRUE")));
    // A second activation does nothing: the tables are not reopened.
    p.dm().MineT.close();
    QApplication::sendEvent(&p.main(), &activate);
    p.main().FormActivate();
    QVERIFY(!p.dm().MineT.active());
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestStartup::failingViewIsNamedAndOthersStayOpen()
{
    Program p;
    p.data.sql(QStringLiteral("DROP TABLE \"GRAPH2.DB\""));
    p.main().FormActivate();
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Database did NOT open -- Error in table:  Graph 2 Table\nData file: ") +
                                            p.data.dataFile() + QStringLiteral("\nTable GRAPH2.DB: no such table")});
    QCOMPARE(p.dialogs.shown.first().type, MsgType::Error);
    QCOMPARE(p.dialogs.shown.first().buttons, MsgButtons::Ok);
    QVERIFY(!p.main().DatabaseOpened());
    QVERIFY(p.main().Activated);
    const auto steps = p.dm().openingSteps();
    for (int i = 0; i < steps.size(); ++i)
        QCOMPARE(steps[i].view->active(), i < 11);  // up to and including the first fee table
    p.main().FormActivate();  // reported once
    QCOMPARE(p.dialogs.shown.size(), 1);
    QVERIFY(p.main().close());  // nothing posted or closed, the window closes
}

void TestStartup::closePostsPendingMineEdit()
{
    Program p;
    p.main().show();
    p.main().FormActivate();
    DataModule& dm = p.dm();
    dm.MineT.insert();
    dm.MineT.fieldByName(QStringLiteral("Applicant")).setAsString(QStringLiteral("Pending Mine"));
    dm.MineT.fieldByName(QStringLiteral("PemitID")).setAsString(QStringLiteral("PA-1"));
    dm.MineT.fieldByName(QStringLiteral("Date")).setAsString(QStringLiteral("7/1/2024"));
    dm.MineT.fieldByName(QStringLiteral("PreparedBy")).setAsString(QStringLiteral("Reviewer"));
    dm.MineT.fieldByName(QStringLiteral("ENRIndex")).setAsFloat(13600);
    dm.MineT.fieldByName(QStringLiteral("ENRIndexDate")).setAsString(QStringLiteral("7/1/2024"));
    QVERIFY(p.main().close());
    QVERIFY(!p.main().isVisible());
    QCOMPARE(p.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE Applicant = 'Pending Mine'")), 1);
    for (const auto& step : dm.openingSteps())
        QVERIFY(!step.view->active());
    QVERIFY(!dm.TarvaneDatabase.connected());
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestStartup::closeStaysOpenWhenPostFails()
{
    Program p;
    p.main().show();
    p.main().FormActivate();
    DataModule& dm = p.dm();
    dm.MineT.insert();
    dm.MineT.fieldByName(QStringLiteral("PemitID")).setAsString(QStringLiteral("PA-2"));
    QVERIFY(!p.main().close());
    QVERIFY(p.main().isVisible());
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Field 'Applicant Name' must have a value")});
    QCOMPARE(dm.MineT.state(), DataSetState::Insert);
    QVERIFY(dm.EventLogT.active());
    dm.MineT.cancel();
    QVERIFY(p.main().close());
}

void TestStartup::badDataFileSaysWhy_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("reason");
    QTest::newRow("truncated") << "truncated" << "Event Log" << "Table EventLog.db: database disk image is malformed";
    QTest::newRow("garbled") << "garbled" << "Event Log" << "Table EventLog.db: file is not a database";
    QTest::newRow("foreign") << "foreign" << "Event Log" << "Table EventLog.db: no such table";
    QTest::newRow("missing column") << "missing column" << "Mine Table" << "Table MINE.DB: missing column ENRYearsII";
    QTest::newRow("locked") << "locked" << "Event Log" << "Table EventLog.db: database is locked";
}

// The window and the command line's check both name the table, the data file and the engine's reason.
void TestStartup::badDataFileSaysWhy()
{
    QFETCH(QString, how);
    QFETCH(QString, table);
    QFETCH(QString, reason);
    Program p;
    damage(p.data, how);
    std::unique_ptr<LockHolder> lock;
    if (how == QLatin1String("locked"))
        lock = std::make_unique<LockHolder>(p.data.dataFile());
    const QString expected = QStringLiteral("Database did NOT open -- Error in table:  ") + table +
                             QStringLiteral("\nData file: ") + p.data.dataFile() + QLatin1Char('\n') + reason;
    p.main().FormActivate();
    QCOMPARE(p.dialogs.texts(), QStringList{expected});
    QVERIFY(!p.main().DatabaseOpened());
    QVERIFY(p.main().close());

    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), p.data.configPath);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(TARVANE_CLI), {QStringLiteral("check"), QStringLiteral("--data"), p.data.dataDir});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardError()), QStringLiteral("error: ") + expected + QLatin1Char('\n'));
}

// A data file marked read-only opens for reading and says so once; a post fails with the
// engine's reason; nothing is left beside the file, so that it is writable again once unmarked.
void TestStartup::readOnlyDataFile()
{
    TempData data;
    const QString file = data.dataFile();
    const auto writable = QFile::permissions(file);
    QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QStringList beside = QDir(data.dataDir).entryList(QDir::Files);
    {
        ProgramOn p(data.configPath);
        p.main().FormActivate();
        const QString notice = QStringLiteral("The data file %1 is read-only: it is open for reading, and no change can be posted.").arg(file);
        QCOMPARE(p.dialogs.texts(), QStringList{notice});
        QCOMPARE(p.dialogs.shown.first().type, MsgType::Information);
        QVERIFY(p.main().DatabaseOpened());
        QCOMPARE(p.dm().MineT.recordCount(), 0);  // the user's data set holds no mine yet
        p.dm().DataSetCode = 1.0;
        p.dm().MineT.refresh();
        QCOMPARE(p.dm().MineT.recordCount(), 1);  // the example mine reads
        p.main().FormActivate();
        QCOMPARE(p.dialogs.shown.size(), 1);  // said once
        // The fields take no typing, and an edit is refused before anything is tried.
        auto* applicant = p.main().findChild<QLineEdit*>(QStringLiteral("ApplicantEdit"));
        QVERIFY(applicant && applicant->isReadOnly());
        QString refused;
        try {
            p.dm().MineT.edit();
        } catch (const EDatabaseError& e) {
            refused = e.message();
        }
        QCOMPARE(refused, QStringLiteral("The data file is open for reading only; no change can be made"));
        QCOMPARE(p.dm().MineT.state(), DataSetState::Browse);
        QCOMPARE(p.dm().EventLogT.state(), DataSetState::Browse);  // nothing left pending
        QVERIFY(p.main().close());
        QCOMPARE(p.dialogs.shown.size(), 1);

        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), data.configPath);
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(TARVANE_CLI), {QStringLiteral("check"), QStringLiteral("--data"), data.dataDir});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardError()), QStringLiteral("information: ") + notice + QLatin1Char('\n'));
    }
    QCOMPARE(QDir(data.dataDir).entryList(QDir::Files), beside);  // no -wal or -shm made
    QVERIFY(QFile::setPermissions(file, writable));
    ProgramOn p(data.configPath);
    p.main().FormActivate();
    QVERIFY(p.dialogs.shown.isEmpty());
    p.dm().DataSetCode = 1.0;
    p.dm().MineT.refresh();
    p.dm().MineT.edit();
    p.dm().MineT.fieldByName(QStringLiteral("Location")).setAsString(QStringLiteral("Upshur County"));
    p.dm().MineT.post();
    QVERIFY(p.main().close());
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE Location = 'Upshur County'")), 1);
}

// A table that failed at start-up does not stop the mine's edit from being posted at close.
void TestStartup::editKeptAfterFailedStartUp()
{
    Program p;
    p.data.sql(QStringLiteral("DROP TABLE \"GRAPH2.DB\""));
    p.main().FormActivate();
    QCOMPARE(p.dialogs.shown.size(), 1);
    p.dm().DataSetCode = 1.0;
    p.dm().MineT.refresh();
    p.dm().MineT.edit();
    p.dm().MineT.fieldByName(QStringLiteral("Location")).setAsString(QStringLiteral("Barbour County"));
    QVERIFY(p.main().close());
    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE Location = 'Barbour County'")), 1);
    QVERIFY(!p.dm().MineT.active());
    QVERIFY(!p.dm().TarvaneDatabase.connected());
}

void TestStartup::enableLocalShare_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("rewritten");
    const QString init = QStringLiteral("[\\SYSTEM\\INIT\\]\nVERSION=4.0\n");
    QTest::newRow("false becomes true") << init + "LOCAL SHARE=FALSE\n" << "\\SYSTEM\\INIT\\;LOCAL SHARE" << ""
                                        << "LOCAL SHARE=TRUE" << true;
    QTest::newRow("already true") << init + "LOCAL SHARE=TRUE\n" << "\\SYSTEM\\INIT\\;LOCAL SHARE" << ""
                                  << "LOCAL SHARE=TRUE" << false;
    QTest::newRow("name differs in case") << init + "Local Share=FALSE\n" << "\\SYSTEM\\INIT\\;LOCAL SHARE"
                                          << "\\SYSTEM\\INIT\\;LOCAL SHARE entry was not found in configuration file"
                                          << "Local Share=FALSE" << false;
    QTest::newRow("no semicolon") << init + "LOCAL SHARE=FALSE\n" << "\\SYSTEM\\INIT\\ LOCAL SHARE"
                                  << "Invalid parameter passed to function.  There must be a semi-colon delimited sting passed"
                                  << "LOCAL SHARE=FALSE" << false;
}

void TestStartup::enableLocalShare()
{
    QFETCH(QString, before);
    QFETCH(QString, request);
    QFETCH(QString, error);
    QFETCH(QString, after);
    QFETCH(bool, rewritten);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/engine.cfg");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(before.toUtf8());
    f.close();
    struct stat before_st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &before_st), 0);
    QString caught;
    try {
        EnableLocalShare(path, request);
    } catch (const EDatabaseError& e) {
        caught = e.message();
    }
    QCOMPARE(caught, error);
    QVERIFY(readConfig(path).contains(after));
    // A configuration already right is left as it is (it may not be writable).
    struct stat after_st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &after_st), 0);
    QCOMPARE(after_st.st_ino != before_st.st_ino, rewritten);
    QVERIFY(readConfig(path).contains(QStringLiteral("VERSION=4.0")));
}

void TestStartup::missingLocalShareEntryOpensNothing()
{
    Program p;
    EngineConfig cfg(p.data.configPath);
    cfg.load();
    auto& entries = cfg.section(QStringLiteral("\\SYSTEM\\INIT\\"))->entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const EngineConfig::Entry& e) { return e.name == QLatin1String("LOCAL SHARE"); }),
                  entries.end());
    cfg.save();
    QString caught;
    try {
        p.main().FormActivate();
    } catch (const EDatabaseError& e) {
        caught = e.message();
    }
    QCOMPARE(caught, QStringLiteral("\\SYSTEM\\INIT\\;LOCAL SHARE entry was not found in configuration file"));
    QVERIFY(!p.main().DatabaseOpened());
    QVERIFY(p.dm().TarvaneDatabase.connected());
    for (const auto& step : p.dm().openingSteps())
        QVERIFY(!step.view->active());
}

void TestStartup::settingsRestored()
{
    {
        Program p;
        p.main().FormActivate();
        p.main().OvcURL = QStringLiteral("https://example.org/cci");
        p.main().WinHelpChecked = true;
        p.main().HTMLHelpChecked = false;
        p.main().setGeometry(40, 50, 900, 640);
        QVERIFY(p.main().close());
    }
    QSettings s(QStringLiteral("Veskor"), QStringLiteral("Tarvane"));
    QCOMPARE(s.value(QStringLiteral("2.0/TMainForm/OvcURL1.URL")).toString(), QStringLiteral("https://example.org/cci"));
    Program again;
    QCOMPARE(again.main().OvcURL, QStringLiteral("https://example.org/cci"));
    QVERIFY(again.main().WinHelpChecked);
    QVERIFY(!again.main().HTMLHelpChecked);
    // The kept size, as far as the screen's free area takes it.
    const QSize room = again.main().screen()->availableGeometry().size() - WindowSettings::kFrame;
    QCOMPARE(again.main().size(), QSize(900, 640).boundedTo(room).expandedTo(again.main().minimumSize()));
}

// The window classes took role names; the settings written under the names the program
// had before (its groups `2.0/TMainForm`, `2.0/TSelectReportForm`, `2.0/TTruckCalForm`) are
// still the ones read.
void TestStartup::settingsOfTheEarlierNamesRead()
{
    {
        QSettings s(QStringLiteral("Veskor"), QStringLiteral("Tarvane"));
        s.clear();
        s.setValue(QStringLiteral("2.0/TMainForm/OvcURL1.URL"), QStringLiteral("https://example.org/earlier"));
        s.setValue(QStringLiteral("2.0/TMainForm/WinHelp1.Checked"), true);
        s.setValue(QStringLiteral("2.0/TMainForm/HTMLHelp1.Checked"), false);
        s.setValue(QStringLiteral("2.0/TSelectReportForm/Main Title"), QStringLiteral("Earlier Title"));
        s.setValue(QStringLiteral("2.0/TSelectReportForm/Title Point"), 14);
        QWidget placed;
        placed.setGeometry(30, 40, 700, 500);
        s.setValue(QStringLiteral("2.0/TTruckCalForm/Placement"), placed.saveGeometry());
    }
    Program p;
    QCOMPARE(p.main().OvcURL, QStringLiteral("https://example.org/earlier"));
    QVERIFY(p.main().WinHelpChecked);
    QVERIFY(!p.main().HTMLHelpChecked);
    ReportSelectionDialog select(p.dm(), *p.ctx.Computations, p.dialogs);
    select.readOptions();
    QCOMPARE(select.jobOptions().mainTitle, QStringLiteral("Earlier Title"));
    QCOMPARE(select.jobOptions().titlePoint, 14);
    const QSize room = p.ctx.TruckCalForm->screen()->availableGeometry().size() - WindowSettings::kFrame;
    QCOMPARE(p.ctx.TruckCalForm->size(), QSize(700, 500).boundedTo(room).expandedTo(p.ctx.TruckCalForm->minimumSize()));
}

void TestStartup::aboutBox()
{
    Program p;
    QString caption, version, product;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        version = box->findChild<QLabel*>(QStringLiteral("Version"))->text();
        product = box->findChild<QLabel*>(QStringLiteral("ProductName"))->text();
        box->accept();
    });
    p.main().About1Click();
    QCOMPARE(caption, QStringLiteral("About"));
    QCOMPARE(version, QStringLiteral("Version:  2.4.9"));
    QCOMPARE(product, QStringLiteral("Tarvane"));
}

void TestStartup::commandLineCheck()
{
    TempData data;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), data.configPath);
    auto run = [&](const QStringList& args, QString* err = nullptr) {
        QProcess cli;
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(TARVANE_CLI), args);
        cli.waitForFinished(60000);
        if (err)
            *err = QString::fromUtf8(cli.readAllStandardError());
        return cli.exitCode();
    };
    QString err;
    QCOMPARE(run({QStringLiteral("check"), QStringLiteral("--data"), data.dataDir}, &err), 0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QCOMPARE(run({QStringLiteral("check")}), 0);  // the alias of the configuration
    data.sql(QStringLiteral("DROP TABLE \"GRAPH2.DB\""));
    QCOMPARE(run({QStringLiteral("check"), QStringLiteral("--data"), data.dataDir}, &err), 1);
    QCOMPARE(err, QStringLiteral("error: Database did NOT open -- Error in table:  Graph 2 Table\nData file: ") +
                      data.dataFile() + QStringLiteral("\nTable GRAPH2.DB: no such table\n"));
    QCOMPARE(run({QStringLiteral("init"), data.dataDir}, &err), 1);  // never over an existing data file
    QVERIFY(err.contains(QStringLiteral("already exists")));
    const QString fresh = data.dir.path() + QStringLiteral("/Fresh");
    QCOMPARE(run({QStringLiteral("init"), fresh}), 0);
    QCOMPARE(run({QStringLiteral("check"), QStringLiteral("--data"), fresh}), 0);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
