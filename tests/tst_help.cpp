// The help: every context number a window can request has a topic in both
// formats; the router opens it in the chosen format; the stored format; F1,
// "What's this?", the Help menus; missing files; tarvane-cli help.
#include "HelpRouter.h"
#include "CopyDataModule.h"
#include "CopyBondDialog.h"
#include "ReferenceEditors.h"
#include "EquipmentListWindow.h"
#include "CostWizard.h"
#include "HelpRecorder.h"
#include "HelpWindow.h"
#include "MainWindowFixture.h"
#include "ReportSelectionDialog.h"
#include "TruckCalculatorWindow.h"
#include "VolumeCalculatorWindow.h"
#include "Computation.h"

#include <QContextMenuEvent>
#include <QDialog>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

namespace {

const QString kHelpDir = QStringLiteral(TARVANE_HELP_DIR);

// Takes the addresses the program hands to the web browser.
class Browser : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

QString stripped(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

std::unique_ptr<HelpBook> book(HelpFormat format)
{
    return HelpBook::open(format, kHelpDir + QLatin1Char('/') + HelpBook::fileName(format));
}

// The help window's text, once a request has opened it.
QString helpWindowText(HelpRouter& help)
{
    HelpWindow* w = help.helpWindow();
    return w ? w->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"))->toPlainText() : QString();
}

// The main window with a mine and a project, its help files the built ones.
struct HelpWindowFixture : Window {
    HelpWindowFixture()
    {
        ctx.Help->setProgramDir(kHelpDir);
        addMineWithProject();
    }
    QAction* action(const QString& name) { return find<QAction>(name); }
};

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT
    Browser browser_;

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* scheme : {"file", "http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &browser_, "open");
    }
    void cleanupTestCase()
    {
        for (const char* scheme : {"file", "http", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    void init()
    {
        browser_.opened.clear();
        QSettings(QStringLiteral("Veskor"), QStringLiteral("Tarvane")).clear();
    }
    void everyRequestedNumberHasATopic();
    void tutorialMenu();
    void storedFormatSurvivesRestart();
    void helpThisFormFollowsThePage_data();
    void helpThisFormFollowsThePage();
    void f1AndWhatsThis();
    void notices_data();
    void notices();
    void commandLine();
};

// Walks the windows and gathers every number they can request: the pages of the main
// window, its controls, its Help menu, the wizard's steps, the list, the tools, the
// editors and the report window.
void TestHelp::everyRequestedNumberHasATopic()
{
    HelpWindowFixture w;
    HelpRecorder asked;
    QSet<int> numbers;
    auto own = [&](QWidget* root) {
        for (QWidget* c : root->findChildren<QWidget*>())
            if (c->property("helpContext").toInt() > 0)
                numbers << c->property("helpContext").toInt();
        if (root->property("helpContext").toInt() > 0)
            numbers << root->property("helpContext").toInt();
    };
    auto helpMenuOf = [&](QWidget* root) {
        for (QMenuBar* bar : root->findChildren<QMenuBar*>())
            for (QAction* a : bar->actions())
                if (stripped(a->text()) == QLatin1String("Help")) {
                    if (a->menu()) {
                        for (QAction* item : a->menu()->actions())
                            if (item->menu())
                                for (QAction* sub : item->menu()->actions())
                                    sub->trigger();
                            else if (!item->isSeparator() && !item->isCheckable() &&
                                     stripped(item->text()) != QLatin1String("About"))
                                item->trigger();
                    } else {
                        a->trigger();
                    }
                }
    };
    Notebook* main = w.main().MainOvcNotebook();
    for (int page = 0; page < main->count(); ++page) {
        QVERIFY(main->setCurrentIndex(page));
        numbers << w.main().property("helpContext").toInt();
    }
    QVERIFY(main->setCurrentIndex(1));
    for (int page = 0; page < w.main().ProjCostOvcNotebook()->count(); ++page) {
        w.main().ProjCostOvcNotebook()->showPage(page);
        numbers << w.main().property("helpContext").toInt();
    }
    own(&w.main());
    helpMenuOf(&w.main());

    // The wizard, step by step, on a new loader of an earthmoving worksheet.
    w.dm().MatT.insert();
    w.dm().MatT.fieldByName(QStringLiteral("Description")).setAsString(QStringLiteral("Replace Topsoil"));
    w.dm().MatT.post();
    EquipmentListWindow& list = *w.ctx.EquipLaborForm;
    list.setDataSet(&w.dm().EquipMatT);
    list.SetCostType = QStringLiteral("M");
    list.SetSheetID = w.dm().MatT.fieldByName(QStringLiteral("SheetID")).asInteger();
    own(&list);
    helpMenuOf(&list);
    int steps = 0;
    QTimer::singleShot(0, [&] {
        CostWizard& wiz = list.wizard();
        for (int i = 0; i < 5; ++i) {
            own(&wiz);
            helpMenuOf(&wiz);
            ++steps;
            wiz.RightBtnClick();
        }
        if (wiz.isVisible())
            wiz.close();
    });
    list.AddEquipment(EquipKind::kLoader);
    QCOMPARE(steps, 5);

    ReportSelectionDialog report(w.dm(), *w.ctx.Computations, w.dialogs);
    own(&report);
    helpMenuOf(&report);
    for (QWidget* tool : std::initializer_list<QWidget*>{w.ctx.TruckCalForm.get(), w.ctx.VolumeForm.get(),
                                                         w.ctx.Copy1Form.get()}) {
        own(tool);
        helpMenuOf(tool);
    }
    w.ctx.Copy1Form->findChild<QPushButton*>(QStringLiteral("HelpBtn"))->click();
    EquipmentCostEditor cost(w.dm(), w.ctx.Computations->rules, w.dialogs);
    LaborRatesEditor labor(w.dm(), w.ctx.Computations->rules, w.dialogs);
    EfficiencyFactorEditor factors(w.dm(), w.dialogs);
    FeeTableEditor fees(w.dialogs);
    for (QWidget* editor : std::initializer_list<QWidget*>{&cost, &labor, &factors, &fees}) {
        own(editor);
        helpMenuOf(editor);
    }
    for (int n : asked.contexts())
        numbers << n;
    numbers.remove(0);
    // Every window and page named above gave its number.
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 14, 18, 19, 23, 28, 33, 34, 37, 38, 39, 41, 42, 43, 44, 45, 46, 57, 59, 60, 61})
        QVERIFY2(numbers.contains(n), qPrintable(QString::number(n)));

    for (HelpFormat format : {HelpFormat::HtmlHelp, HelpFormat::WinHelp}) {
        auto b = book(format);
        QCOMPARE(b->error(), QString());
        for (int n : numbers) {
            const HelpBook::Topic topic = b->topicFor(n);
            const QString where = QStringLiteral("context %1 in %2").arg(n).arg(b->file());
            QVERIFY2(!topic.page.isEmpty(), qPrintable(where));
            QVERIFY2(!topic.title.isEmpty(), qPrintable(where));
            QVERIFY2(!b->data(topic.page).isEmpty(), qPrintable(where));
            QVERIFY2(b->plainText(topic.page).size() > 200, qPrintable(where));
            QVERIFY2(!b->popupFor(n).isEmpty(), qPrintable(where));
        }
        for (const QString& page : {HelpBook::kContents, HelpBook::kHelpOnHelp})
            QVERIFY2(b->plainText(page).size() > 200, qPrintable(page));
    }
    // Both formats are made of the same topics.
    auto compiled = book(HelpFormat::HtmlHelp);
    auto plain = book(HelpFormat::WinHelp);
    for (int n : numbers) {
        QCOMPARE(compiled->topicFor(n).page, plain->topicFor(n).page);
        QCOMPARE(compiled->plainText(compiled->topicFor(n).page), plain->plainText(plain->topicFor(n).page));
    }
}

void TestHelp::tutorialMenu()
{
    HelpWindowFixture w;
    QMenu* tutorial = w.find<QMenu>(QStringLiteral("Tutorial1"));
    QStringList captions;
    for (QAction* a : tutorial->actions())
        captions << stripped(a->text());
    QCOMPARE(captions, (QStringList{"Tutorial Introduction", "Adding Labor to the Database", "Adding equipment to the Database",
                                    "Creating a Mine", "Creating a Project", "Using the Demolition Worksheet",
                                    "Using the Earthmoving Worksheet", "Adding Equipment to the Office Area task",
                                    "Adding Equipment to the Replace Topsoil task", "Using the Volume Calculator",
                                    "Continued -- Adding Equipment to the Replace Topsoil task",
                                    "Using the Revegetation Worksheet", "Using the Reclamation Estimate for a Mine",
                                    "Using the Report Generator", "Printing a Report"}));
    HelpRecorder asked;
    for (QAction* a : tutorial->actions())
        a->trigger();
    QCOMPARE(asked.contexts(), (QList<int>{23, 26, 30, 36, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57}));
    // Each lesson opens the topic of its number, whose title is the lesson's caption.
    auto b = book(HelpFormat::HtmlHelp);
    for (int i = 0; i < captions.size(); ++i)
        QCOMPARE(b->topicFor(asked.contexts()[i]).title, captions[i]);
    QCOMPARE(w.ctx.Help->helpWindow()->currentUrl(), b->urlOf(b->topicFor(57).page));
}

// Nothing stored: HTML Help, the compiled file of the program's folder. Win Help chosen
// is still chosen after a restart, and help then opens the plain help folder.
void TestHelp::storedFormatSurvivesRestart()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    {
        Window w;
        QVERIFY(w.find<QAction>(QStringLiteral("HTMLHelp1"))->isChecked());
        QVERIFY(!w.find<QAction>(QStringLiteral("WinHelp1"))->isChecked());
        QCOMPARE(w.ctx.Help->format(), HelpFormat::HtmlHelp);
        QCOMPARE(w.ctx.Help->file(), programDir + QStringLiteral("/Tarvane.qch"));
        w.find<QAction>(QStringLiteral("WinHelp1"))->trigger();
        QVERIFY(!w.find<QAction>(QStringLiteral("HTMLHelp1"))->isChecked());
        QCOMPARE(w.ctx.Help->file(), programDir + QStringLiteral("/Tarvane-html"));
        QVERIFY(w.main().close());
    }
    {
        Window w;
        QVERIFY(w.find<QAction>(QStringLiteral("WinHelp1"))->isChecked());
        QVERIFY(!w.find<QAction>(QStringLiteral("HTMLHelp1"))->isChecked());
        QCOMPARE(w.ctx.Help->format(), HelpFormat::WinHelp);
        QCOMPARE(w.ctx.Help->file(), programDir + QStringLiteral("/Tarvane-html"));
        w.ctx.Help->setProgramDir(kHelpDir);
        w.find<QAction>(QStringLiteral("Introduction1"))->trigger();
        QCOMPARE(browser_.opened.size(), 1);
        QCOMPARE(browser_.opened[0], book(HelpFormat::WinHelp)->urlOf(book(HelpFormat::WinHelp)->topicFor(1).page));
        w.find<QAction>(QStringLiteral("HTMLHelp1"))->trigger();
        QVERIFY(w.main().close());
    }
    Window w;
    QVERIFY(w.find<QAction>(QStringLiteral("HTMLHelp1"))->isChecked());
    QCOMPARE(w.ctx.Help->file(), programDir + QStringLiteral("/Tarvane.qch"));
}

// The rows of the tests run in both formats.
static void bothFormats()
{
    QTest::addColumn<bool>("winHelp");
    QTest::newRow("HTML Help") << false;
    QTest::newRow("Win Help") << true;
}

void TestHelp::helpThisFormFollowsThePage_data()
{
    bothFormats();
}

// On the Materials page "Help This Form" opens 5; on "Reclamation Estimate for Mine", 7.
void TestHelp::helpThisFormFollowsThePage()
{
    QFETCH(bool, winHelp);
    HelpWindowFixture w;
    w.action(winHelp ? QStringLiteral("WinHelp1") : QStringLiteral("HTMLHelp1"))->trigger();
    auto b = book(winHelp ? HelpFormat::WinHelp : HelpFormat::HtmlHelp);
    QSignalSpy shown(w.ctx.Help.get(), &HelpRouter::topicShown);
    HelpRecorder asked;
    w.main().ProjCostOvcNotebook()->showPage(2);
    w.action(QStringLiteral("HelpThisForm1"))->trigger();
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    w.action(QStringLiteral("HelpThisForm1"))->trigger();
    QCOMPARE(asked.contexts(), (QList<int>{5, 7}));
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0][0].toUrl(), b->urlOf(b->topicFor(5).page));
    QCOMPARE(shown[1][0].toUrl(), b->urlOf(b->topicFor(7).page));
    if (winHelp) {
        QCOMPARE(browser_.opened, (QList<QUrl>{b->urlOf(b->topicFor(5).page), b->urlOf(b->topicFor(7).page)}));
        QVERIFY(!w.ctx.Help->helpWindow());
    } else {
        HelpWindow* help = w.ctx.Help->helpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentUrl(), b->urlOf(b->topicFor(7).page));
        QVERIFY(helpWindowText(*w.ctx.Help).contains(b->topicFor(7).title));
        QVERIFY(browser_.opened.isEmpty());
        // Search Help: the contents page beside the search.
        w.action(QStringLiteral("SearchHelp1"))->trigger();
        QCOMPARE(help->currentUrl(), b->urlOf(HelpBook::kContents));
        QCOMPARE(help->findChild<QTabWidget*>(QStringLiteral("HelpTabs"))->currentIndex(), 2);
        // Back returns to the topic seen before.
        help->findChild<QAction*>(QStringLiteral("HelpBack"))->trigger();
        QCOMPARE(help->currentUrl(), b->urlOf(b->topicFor(7).page));
    }
    w.action(QStringLiteral("HelpOnHelp1"))->trigger();
    QCOMPARE(shown.last()[0].toUrl(), b->urlOf(HelpBook::kHelpOnHelp));
}

// F1 opens the focused control's own topic, else its window's; "What's this?" shows the
// control's short text.
void TestHelp::f1AndWhatsThis()
{
    HelpWindowFixture w;
    w.action(QStringLiteral("WinHelp1"))->trigger();
    auto b = book(HelpFormat::WinHelp);
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(0));
    QApplication::setActiveWindow(&w.main());
    auto* enr = w.find<QLineEdit>(QStringLiteral("ENRIndexEdit"));
    enr->setFocus();
    QTest::keyClick(enr, Qt::Key_F1);
    auto* applicant = w.find<QLineEdit>(QStringLiteral("ApplicantEdit"));
    applicant->setFocus();
    QTest::keyClick(applicant, Qt::Key_F1);
    QCOMPARE(browser_.opened, (QList<QUrl>{b->urlOf(b->topicFor(42).page), b->urlOf(b->topicFor(2).page)}));
    QVERIFY(b->topicFor(42).page != b->topicFor(2).page);

    QSignalSpy popups(w.ctx.Help.get(), &HelpRouter::popupShown);
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(5, 5), enr->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(enr, &right);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("WhatsThisMenu"));
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions()[0]->text(), QStringLiteral("What's this?"));
    menu->actions()[0]->trigger();
    menu->close();
    QCOMPARE(popups.size(), 1);
    QCOMPARE(popups[0][0].toString(), b->popupFor(42));
    QVERIFY(!b->popupFor(42).isEmpty());
    bool popupUp = false;
    for (QWidget* top : QApplication::topLevelWidgets())
        popupUp |= top->isVisible() && QLatin1String(top->metaObject()->className()) == QLatin1String("QWhatsThat");
    QVERIFY(popupUp);

    // A dialog of Qt's opened over the window (a file dialog) is not the window's: its
    // controls keep their own menus and F1 opens the contents.
    QDialog files(&w.main());
    auto* name = new QLineEdit(&files);
    QCOMPARE(HelpRequest::contextOf(name), 0);
    QCOMPARE(HelpRequest::contextOf(enr), 42);
    QCOMPARE(HelpRequest::contextOf(applicant), 2);
}

void TestHelp::notices_data()
{
    bothFormats();
}

// A missing file or an unknown number is told in the help window; nothing else happens.
void TestHelp::notices()
{
    QFETCH(bool, winHelp);
    const HelpFormat format = winHelp ? HelpFormat::WinHelp : HelpFormat::HtmlHelp;
    QTemporaryDir empty;
    HelpRouter help(empty.path());
    help.selectFormat(format);
    help.showContext(5);
    QVERIFY(help.helpWindow() && help.helpWindow()->isVisible());
    QVERIFY2(helpWindowText(help).contains(QStringLiteral("Cannot find the help file ") + help.file()),
             qPrintable(helpWindowText(help)));
    help.showFinder();
    help.showHelpOnHelp();
    QVERIFY(helpWindowText(help).contains(QStringLiteral("Help file not found")));

    help.setProgramDir(kHelpDir);
    help.showContext(9999);
    QVERIFY2(helpWindowText(help).contains(QStringLiteral("has no topic for context number 9999.")),
             qPrintable(helpWindowText(help)));
    QVERIFY(browser_.opened.isEmpty());
    // The same router then opens a real topic.
    help.showContext(5);
    if (winHelp)
        QCOMPARE(browser_.opened.size(), 1);
    else
        QCOMPARE(help.helpWindow()->currentUrl(), book(format)->urlOf(book(format)->topicFor(5).page));
}

void TestHelp::commandLine()
{
    auto run = [](const QStringList& args, QString* err = nullptr) {
        QProcess p;
        p.start(QStringLiteral(TARVANE_CLI), args);
        p.waitForFinished(60000);
        if (err)
            *err = QString::fromUtf8(p.readAllStandardError());
        return qMakePair(p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()));
    };
    auto b = book(HelpFormat::HtmlHelp);
    for (const QString& format : {QStringLiteral("html"), QStringLiteral("win")}) {
        const auto [code, out] = run({QStringLiteral("help"), QStringLiteral("--context"), QStringLiteral("7"),
                                      QStringLiteral("--format"), format, QStringLiteral("--help-dir"), kHelpDir});
        QCOMPARE(code, 0);
        QCOMPARE(out.section(QLatin1Char('\n'), 0, 0), b->topicFor(7).title);
        QVERIFY(out.contains(b->plainText(b->topicFor(7).page)));
    }
    QString err;
    const auto unknown = run({QStringLiteral("help"), QStringLiteral("--context"), QStringLiteral("9999"),
                              QStringLiteral("--help-dir"), kHelpDir},
                             &err);
    QCOMPARE(unknown.first, 1);
    QVERIFY(err.contains(QStringLiteral("error: The help file ")));
    QVERIFY(err.contains(QStringLiteral("has no topic for context number 9999.")));
    QTemporaryDir empty;
    const auto missing = run({QStringLiteral("help"), QStringLiteral("--context"), QStringLiteral("7"),
                              QStringLiteral("--help-dir"), empty.path()},
                             &err);
    QCOMPARE(missing.first, 1);
    QVERIFY(err.contains(QStringLiteral("error: Cannot find the help file ")));
    // A usage error, as every command's missing option.
    QCOMPARE(run({QStringLiteral("help")}, &err).first, 2);
    QVERIFY(err.contains(QStringLiteral("tarvane-cli: --context is required")));
}

int main(int argc, char** argv)
{
    TarvaneApplication app(argc, argv);
    TestHelp t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_help.moc"
