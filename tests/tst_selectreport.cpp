// The report selection window: activation rules, choice and detail groups,
// the report options in the settings store, and printing to PDF, text and the
// preview, with cancelling and the empty report.
#include "HelpRecorder.h"
#include "ComputationFixture.h"
#include "RefusedOutputs.h"
#include "CanvasBackends.h"
#include "ReportFrame.h"
#include "ReportSelectionDialog.h"
#include "WhenShown.h"

#include <QAction>
#include <QComboBox>
#include <QRegularExpression>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfInfo(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QSettings store()
{
    return QSettings(QStringLiteral("Veskor"), QStringLiteral("Tarvane"));
}

struct Form {
    World w;
    ReportSelectionDialog form{w.dm, w.comp, w.dialogs};
    Form() { w.window.status = QStringLiteral("Mine/Project:  Laurel Ridge/North Pit"); }
    QGroupBox* group(const char* name) const { return form.findChild<QGroupBox*>(QString::fromLatin1(name)); }
    QPushButton* print() const { return form.findChild<QPushButton*>(QStringLiteral("PrintBtn")); }
    QString label() const { return form.findChild<QLabel*>(QStringLiteral("ReportForLabel"))->text(); }
    void radio(const char* name) const { form.findChild<QRadioButton*>(QString::fromLatin1(name))->click(); }
};

}  // namespace

class TestSelectReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init() { store().remove(QStringLiteral("2.0/TSelectReportForm")); }
    void activation_data();
    void activation();
    void detailGroupsFollowTheChoice_data();
    void detailGroupsFollowTheChoice();
    void optionsMenu();
    void storedOptionsMakeTheJob();
    void bitmapFromTheFileDialog();
    void printToPdfAndText();
    void printButtonAsksWhereTo();
    void previewShowsThePages();
    void emptyReportWritesNothing();
    void cancelKeepsTheEarlierFile();
    void onePaperForEveryOutput();
    void helpMenuAsksForItsTopic();
    void refusedOutputs_data() { refusedOutputRows(); }
    void refusedOutputs();
};

void TestSelectReport::initTestCase()
{
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
}

void TestSelectReport::activation_data()
{
    QTest::addColumn<int>("mines");  // 0 none, 1 a mine without projects, 2 a mine with a project
    QTest::addColumn<bool>("equipmentMode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("printEnabled");
    const QString status = QStringLiteral("Report for Mine/Project:  Laurel Ridge/North Pit");
    QTest::newRow("no mine") << 0 << false << "No Mine Information to print" << "" << false;
    QTest::newRow("no project") << 1 << false << "No Project Information to print" << status << false;
    QTest::newRow("mine and project") << 2 << false << "" << status << true;
    QTest::newRow("equipment mode") << 2 << true << "" << status << true;
}

void TestSelectReport::activation()
{
    QFETCH(int, mines);
    QFETCH(bool, equipmentMode);
    QFETCH(QString, message);
    QFETCH(QString, label);
    QFETCH(bool, printEnabled);
    Form f;
    if (mines >= 1)
        f.w.addMine(QStringLiteral("Laurel Ridge"));
    if (mines == 2)
        f.w.addProject(QStringLiteral("North Pit"));
    if (equipmentMode)
        f.form.equipment = &f.w.dm.EquipMatT;
    f.form.setChoice(5);
    f.form.show();
    QTRY_COMPARE(f.form.choice(), 0);  // activation runs once the window is up
    QCOMPARE(f.w.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(f.label(), label);
    QCOMPARE(f.print()->isEnabled(), printEnabled);
    QVERIFY(!f.group("DetailRG")->isEnabled());
    QVERIFY(!f.group("OtherDetailRG")->isEnabled());
    QCOMPARE(f.group("ReportRG")->isEnabled(), !equipmentMode);
    QCOMPARE(f.form.windowTitle(), QStringLiteral("Select Report"));
    QCOMPARE(f.form.HelpContextId, 28);
}

void TestSelectReport::detailGroupsFollowTheChoice_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("detailEnabled");
    QTest::addColumn<bool>("otherEnabled");
    QTest::addColumn<bool>("detailWhenAllBelow");  // what the job gets with the second button of both groups
    QTest::newRow("entire report") << 0 << false << false << false;
    QTest::newRow("mine summary") << 1 << false << false << false;
    QTest::newRow("project summary") << 2 << true << false << true;
    QTest::newRow("demolition") << 3 << true << false << true;
    QTest::newRow("equipment for revegetation") << 8 << true << false << true;
    QTest::newRow("other reclamation cost") << 9 << false << true << true;
}

void TestSelectReport::detailGroupsFollowTheChoice()
{
    QFETCH(int, choice);
    QFETCH(bool, detailEnabled);
    QFETCH(bool, otherEnabled);
    QFETCH(bool, detailWhenAllBelow);
    Form f;
    f.radio(qPrintable(QStringLiteral("ReportRG%1").arg(choice)));
    QCOMPARE(f.form.choice(), choice);
    QCOMPARE(f.group("DetailRG")->isEnabled(), detailEnabled);
    QCOMPARE(f.group("OtherDetailRG")->isEnabled(), otherEnabled);
    QVERIFY(!f.form.detail());
    QCOMPARE(f.form.findChild<QRadioButton*>(QStringLiteral("ReportRG%1").arg(choice))->text(),
             QStringList({"Entire Report for Selected Mine", "Selected Mine Summary", "Selected Project Summary",
                          "Demolition for Project", "Equipment for Demolition", "Material Handling for Project",
                          "Equipment for Material Handling", "Revegetation Plan for Project",
                          "Equipment for Revegetation", "Other Reclamation Cost"})
                 .at(choice));
    f.form.findChild<QRadioButton*>(QStringLiteral("DetailRG1"))->setChecked(true);
    f.form.findChild<QRadioButton*>(QStringLiteral("OtherDetailRG1"))->setChecked(true);
    QCOMPARE(f.form.detail(), detailWhenAllBelow);
}

void TestSelectReport::optionsMenu()
{
    Form f;
    const ReportOptions defaults = f.form.jobOptions();
    QCOMPARE(defaults.mainTitle, QStringLiteral("Veskor -- Bond Amount Calculations"));
    QCOMPARE(defaults.titlePoint, 20);
    QCOMPARE(defaults.leftMargin, 0.75);
    QCOMPARE(defaults.bottomMargin, 1.0);
    QCOMPARE(defaults.bitmapPath, installedBitmapPath());
    QVERIFY(QFileInfo(defaults.bitmapPath).isFile());

    const QString error = QStringLiteral("Error in value you entered\nUsing orginal value!");
    f.w.dialogs.inputs = {{QStringLiteral("Cedar County Bond Review")}, {QStringLiteral("big")},
                          {QStringLiteral("300")}, {QStringLiteral("16")}, {QStringLiteral("wide")},
                          {QStringLiteral("1.25")}, {}, {QStringLiteral("0.5")}, {QStringLiteral("2")}};
    const auto trigger = [&](const char* item) { f.form.findChild<QAction*>(QString::fromLatin1(item))->trigger(); };
    trigger("MainTitle1");
    trigger("MainTitleSize1");  // not a number
    trigger("MainTitleSize1");  // out of range
    trigger("MainTitleSize1");
    trigger("TopMargin1");  // not a number
    trigger("TopMargin1");
    trigger("BottomMargin1");  // cancelled
    trigger("LeftMargin1");
    trigger("RightMargin1");
    QCOMPARE(f.w.dialogs.shown.size(), 3);
    QCOMPARE(f.w.dialogs.shown[0].text, error);
    QVERIFY(f.w.dialogs.shown[1].text.contains(QStringLiteral("0 to 255")));
    QCOMPARE(f.w.dialogs.shown[2].text, error);
    const ReportOptions o = f.form.jobOptions();
    QCOMPARE(o.mainTitle, QStringLiteral("Cedar County Bond Review"));
    QCOMPARE(o.titlePoint, 16);
    QCOMPARE(o.topMargin, 1.25);
    QCOMPARE(o.bottomMargin, 1.0);
    QCOMPARE(o.leftMargin, 0.5);
    QCOMPARE(o.rightMargin, 2.0);

    // Closing writes all seven back; a new window reads them.
    f.form.show();
    f.form.close();
    QSettings s = store();
    s.beginGroup(QStringLiteral("2.0/TSelectReportForm"));
    QCOMPARE(s.value(QStringLiteral("Main Title")).toString(), QStringLiteral("Cedar County Bond Review"));
    QCOMPARE(s.value(QStringLiteral("Title Point")).toInt(), 16);
    QCOMPARE(s.value(QStringLiteral("Top Margin")).toString(), QStringLiteral("1.25"));
    QCOMPARE(s.value(QStringLiteral("Bottom Margin")).toString(), QStringLiteral("1.0"));
    QCOMPARE(s.value(QStringLiteral("Bitmap Path")).toString(), installedBitmapPath());
    ReportSelectionDialog again(f.w.dm, f.w.comp, f.w.dialogs);
    QCOMPARE(again.jobOptions().rightMargin, 2.0);
    QCOMPARE(again.jobOptions().mainTitle, QStringLiteral("Cedar County Bond Review"));
}

void TestSelectReport::storedOptionsMakeTheJob()
{
    QSettings s = store();
    s.beginGroup(QStringLiteral("2.0/TSelectReportForm"));
    s.setValue(QStringLiteral("Left Margin"), QStringLiteral("half an inch"));
    s.setValue(QStringLiteral("Top Margin"), QStringLiteral("0.1"));
    s.setValue(QStringLiteral("Title Point"), 0);
    s.sync();
    World w;
    ReportSelectionDialog form(w.dm, w.comp, w.dialogs);
    const ReportOptions o = form.jobOptions();
    QCOMPARE(o.leftMargin, 1.0);  // not a number: one inch
    QCOMPARE(o.titlePoint, 0);
    // A top margin inside the printer's unprintable edge gives that edge plus the header's inch.
    RecordingCanvas canvas;
    ReportFrame frame(canvas, o, w.dialogs);
    frame.startJob({0.25, 0.3, 0.25, 0.25});
    QCOMPARE(canvas.SectionTop, 1.3);
    QCOMPARE(canvas.SectionLeft, 1.0);
}

void TestSelectReport::bitmapFromTheFileDialog()
{
    Form f;
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("county.bmp"));
    QVERIFY(QImage(40, 40, QImage::Format_RGB32).save(picture, "BMP"));
    bool seen = false;
    whenShown<QFileDialog>(
        [&](QFileDialog& d) {
            QCOMPARE(d.fileMode(), QFileDialog::ExistingFile);
            QVERIFY(d.nameFilters().join(QLatin1Char(';')).contains(QStringLiteral("*.bmp")));
            d.setDirectory(dir.path());
            d.selectFile(picture);
            QMetaObject::invokeMethod(&d, "accept");
        },
        &seen);
    f.form.PathforBitmap1Click();
    QVERIFY(seen);
    QCOMPARE(f.form.jobOptions().bitmapPath, picture);

    seen = false;
    whenShown<QFileDialog>([](QFileDialog& d) { d.reject(); }, &seen);
    f.form.PathforBitmap1Click();
    QVERIFY(seen);
    QCOMPARE(f.form.jobOptions().bitmapPath, picture);  // cancelling changes nothing
}

void TestSelectReport::printToPdfAndText()
{
    Form f;
    QVERIFY(f.w.selectExampleMine());
    QVERIFY(!f.w.dm.ProjectT.isEmpty());
    const int project = f.w.dm.ProjectT.fieldByName(QStringLiteral("PrjID")).asInteger();
    f.w.dialogs.inputs = {{QStringLiteral("Cedar County Bond Review")}};
    f.form.MainTitle1Click();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("mine.pdf"));
    f.form.setChoice(1);
    QVERIFY(f.form.print({ReportDestination::Pdf, pdf}));
    const QString text = pdfText(pdf);
    QVERIFY(text.contains(QStringLiteral("Cedar County Bond Review")));
    QVERIFY(text.contains(QStringLiteral("Mine Reclamation Bond Summary Worksheet 16:")));
    QVERIFY(f.w.dialogs.texts().isEmpty());  // the installed bitmap was found
    QVERIFY(f.w.dm.CalcEnabled);
    QCOMPARE(f.w.dm.ProjectT.fieldByName(QStringLiteral("PrjID")).asInteger(), project);

    // Choice 3 with all pages below, as text: Worksheet 2 and the equipment pages of its rows.
    const QString txt = dir.filePath(QStringLiteral("demolition.txt"));
    f.form.setChoice(3);
    f.form.findChild<QRadioButton*>(QStringLiteral("DetailRG1"))->setChecked(true);
    QVERIFY(f.form.print({ReportDestination::Text, txt}));
    const QString plain = readFile(txt);
    QVERIFY(plain.contains(QStringLiteral("Worksheet 2")));
    QVERIFY(!plain.contains(QStringLiteral("Worksheet 16")));

    // A file that cannot be written is said so, and nothing is reported as printed.
    for (const auto destination : {ReportDestination::Pdf, ReportDestination::Text}) {
        f.w.dialogs.shown.clear();
        QVERIFY(!f.form.print({destination, QStringLiteral("/nonexistent/dir/report")}));
        QCOMPARE(f.w.dialogs.shown.size(), 1);
        QCOMPARE(f.w.dialogs.shown[0].type, MsgType::Error);
        QVERIFY(f.w.dialogs.shown[0].text.startsWith(QStringLiteral("Cannot write /nonexistent/dir/report")));
    }
}

void TestSelectReport::printButtonAsksWhereTo()
{
    Form f;
    QVERIFY(f.w.selectExampleMine());
    QTemporaryDir dir;
    const QString txt = dir.filePath(QStringLiteral("summary"));
    f.form.setChoice(1);
    bool seen = false;
    whenShown<ReportSetupDialog>(
        [&](ReportSetupDialog& d) {
            d.findChild<QRadioButton*>(QStringLiteral("TextRB"))->click();
            d.findChild<QLineEdit*>(QStringLiteral("PathEdit"))->setText(txt);
            d.findChild<QRadioButton*>(QStringLiteral("TextRB"))->click();  // gives the file its suffix
            d.accept();
        },
        &seen);
    f.print()->click();
    QVERIFY(seen);
    QVERIFY(readFile(txt + QStringLiteral(".txt")).contains(QStringLiteral("Worksheet 16")));
    // The next Print offers the same output again.
    seen = false;
    whenShown<ReportSetupDialog>(
        [&](ReportSetupDialog& d) {
            QCOMPARE(d.output().destination, ReportDestination::Text);
            QCOMPARE(d.output().path, txt + QStringLiteral(".txt"));
            d.reject();
        },
        &seen);
    ReportSelectionDialog again(f.w.dm, f.w.comp, f.w.dialogs);
    again.PrintBtnClick();
    QVERIFY(seen);
}

void TestSelectReport::previewShowsThePages()
{
    Form f;
    QVERIFY(f.w.selectExampleMine());
    f.form.setChoice(1);
    bool seen = false;
    int pages = 0;
    whenShown<QPrintPreviewDialog>(
        [&](QPrintPreviewDialog& d) {
            pages = d.findChild<QPrintPreviewWidget*>()->pageCount();
            d.reject();
        },
        &seen);
    QVERIFY(f.form.print({ReportDestination::Preview, {}}));
    QVERIFY(seen);
    QVERIFY(pages >= 2);  // the mine page and its bond summary continuation
}

void TestSelectReport::emptyReportWritesNothing()
{
    Form f;
    f.w.addMine(QStringLiteral("Laurel Ridge"));
    f.w.addProject(QStringLiteral("North Pit"));  // no other-cost rows
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("other.pdf"));
    f.form.setChoice(9);
    QVERIFY(!f.form.print({ReportDestination::Pdf, pdf}));
    QVERIFY(!QFileInfo::exists(pdf));
    QCOMPARE(f.w.dialogs.texts(), QStringList{QStringLiteral("There is nothing to print for this selection.")});
}

void TestSelectReport::cancelKeepsTheEarlierFile()
{
    World w;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    {
        QFile earlier(pdf);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier report");
    }
    // A job that would print far more pages than anyone waits for; Cancel stops it.
    int pages = 0;
    const ReportBody endless = [&](ReportCanvas& canvas, const UnprintableEdges&, const std::function<void(int, int)>&) {
        for (pages = 0; pages < 200000; ++pages) {
            canvas.PrintLine(QStringLiteral("Line"));
            canvas.NewPage();
        }
    };
    bool seen = false;
    QTimer::singleShot(200, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("ReportProgress") && top->isVisible()) {
                seen = true;
                top->findChild<QPushButton*>(QStringLiteral("CancelBtn"))->click();
            }
    });
    QVERIFY(!RunReport(nullptr, {ReportDestination::Pdf, pdf}, endless, w.dialogs, w.dm));
    QVERIFY(seen);
    QVERIFY(pages < 200000);
    QCOMPARE(readFile(pdf), QStringLiteral("earlier report"));
    QVERIFY(w.dialogs.texts().isEmpty());
}

// The paper chosen in the print set-up is said in the window and used by the
// PDF file, the text file and the preview alike; the PDF names its report.
void TestSelectReport::onePaperForEveryOutput()
{
    Form f;
    QVERIFY(f.w.selectExampleMine());
    QLabel* paper = f.form.findChild<QLabel*>(QStringLiteral("PaperLabel"));
    QCOMPARE(paper->text(), QStringLiteral("Paper: Letter (8.5 x 11 in)"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("mine.pdf"));
    bool seen = false;
    whenShown<ReportSetupDialog>(
        [&](ReportSetupDialog& d) {
            QComboBox* papers = d.findChild<QComboBox*>(QStringLiteral("PaperCB"));
            QCOMPARE(papers->currentData().toString(), QStringLiteral("Letter"));
            papers->setCurrentIndex(papers->findData(QStringLiteral("A4")));
            d.findChild<QRadioButton*>(QStringLiteral("PdfRB"))->click();
            d.findChild<QLineEdit*>(QStringLiteral("PathEdit"))->setText(pdf);
            d.accept();
        },
        &seen);
    f.print()->click();
    QVERIFY(seen);
    QCOMPARE(paper->text(), QStringLiteral("Paper: A4 (8.27 x 11.69 in)"));
    const QString info = pdfInfo(pdf);
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
    const QString applicant = f.w.dm.MineT.fieldByName(QStringLiteral("Applicant")).asString();
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Bond Amount Calculations -- ") +
                                             QRegularExpression::escape(applicant) + QLatin1Char('\n'))));
    QVERIFY(info.contains(QRegularExpression(
        QStringLiteral("Author:\\s+") +
        QRegularExpression::escape(f.w.dm.MineT.fieldByName(QStringLiteral("PreparedBy")).asString()) + QLatin1Char('\n'))));
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Creator:\\s+Tarvane Software -- 2\\.4\\.9\n"))));
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    QVERIFY(pages.hasMatch());

    const QString txt = dir.filePath(QStringLiteral("mine.txt"));
    QVERIFY(f.form.print({ReportDestination::Text, txt, QStringLiteral("A4")}));
    QCOMPARE(readFile(txt).count(QLatin1Char('\f')) + 1, pages.captured(1).toInt());
    int previewed = 0;
    seen = false;
    whenShown<QPrintPreviewDialog>(
        [&](QPrintPreviewDialog& d) {
            previewed = d.findChild<QPrintPreviewWidget*>()->pageCount();
            d.reject();
        },
        &seen);
    QVERIFY(f.form.print({ReportDestination::Preview, {}, QStringLiteral("A4")}));
    QCOMPARE(previewed, pages.captured(1).toInt());
    // Each print takes the paper it is given.
    const QString letter = dir.filePath(QStringLiteral("letter.pdf"));
    QVERIFY(f.form.print({ReportDestination::Pdf, letter, QStringLiteral("Letter")}));
    QVERIFY(pdfInfo(letter).contains(QStringLiteral("(letter)")));

    ReportSelectionDialog again(f.w.dm, f.w.comp, f.w.dialogs);
    QCOMPARE(again.findChild<QLabel*>(QStringLiteral("PaperLabel"))->text(), QStringLiteral("Paper: A4 (8.27 x 11.69 in)"));
}

void TestSelectReport::helpMenuAsksForItsTopic()
{
    Form f;
    HelpRecorder asked;
    QAction* help = f.form.findChild<QAction*>(QStringLiteral("Help1"));
    QVERIFY(help);
    QCOMPARE(help->text(), QStringLiteral("&Help"));
    help->trigger();
    QCOMPARE(asked.contexts(), QList<int>{34});
    QCOMPARE(f.form.property("helpContext").toInt(), 28);
}

void TestSelectReport::refusedOutputs()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QFETCH(bool, pdf);
    Form f;
    QVERIFY(f.w.selectExampleMine());
    f.form.setChoice(1);
    QTemporaryDir scratch;
    const QString path = refusedOutputPath(kind, f.w.data, scratch.path());
    const QString before = whatIsAt(path);
    const QString dataBefore = whatIsAt(f.w.data.dataFile());
    QVERIFY(!f.form.print({pdf ? ReportDestination::Pdf : ReportDestination::Text, path}));
    QCOMPARE(f.w.dialogs.shown.size(), 1);
    QCOMPARE(f.w.dialogs.shown[0].type, MsgType::Error);
    QCOMPARE(f.w.dialogs.shown[0].text,
             QStringLiteral("Cannot write the report to %1: %2. Choose another file.").arg(path, reason));
    QCOMPARE(whatIsAt(path), before);
    QCOMPARE(whatIsAt(f.w.data.dataFile()), dataBefore);
    QVERIFY(!f.w.dm.MineT.isEmpty());  // the data still read
}

QTEST_MAIN(TestSelectReport)
#include "tst_selectreport.moc"
