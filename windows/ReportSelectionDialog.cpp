#include "ReportSelectionDialog.h"

#include "HelpRequest.h"
#include "Computation.h"
#include "Dialogs.h"
#include "PaperSize.h"
#include "ReportJob.h"
#include "DataModule.h"
#include "StoredNames.h"
#include "WindowSettings.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kClass = QLatin1String(storedname::ReportSelectionDialog);
const QString kValueError = QStringLiteral("Error in value you entered\nUsing orginal value!");

const char* const kChoices[] = {"Entire Report for Selected Mine",
                                "Selected Mine Summary",
                                "Selected Project Summary",
                                "Demolition for Project",
                                "Equipment for Demolition",
                                "Material Handling for Project",
                                "Equipment for Material Handling",
                                "Revegetation Plan for Project",
                                "Equipment for Revegetation",
                                "Other Reclamation Cost"};

// A margin option as the job uses it: text that does not read as a number is 1 inch.
double marginInches(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 1.0;
}

QGroupBox* radioGroup(QWidget* parent, const QString& name, const QString& title, const QStringList& items,
                      QButtonGroup*& group)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        b->setObjectName(name + QString::number(i));
        group->addButton(b, i);
        layout->addWidget(b);
    }
    group->button(0)->setChecked(true);
    return box;
}

ReportOutput storedOutput()
{
    ReportOutput o;
    const int d = WindowSettings::value(kClass, QStringLiteral("Output"), 0).toInt();
    if (d >= 0 && d <= static_cast<int>(ReportDestination::Text))
        o.destination = static_cast<ReportDestination>(d);
    o.path = WindowSettings::value(kClass, QStringLiteral("Output File")).toString();
    const QString paper = WindowSettings::value(kClass, QStringLiteral("Paper Size")).toString();
    o.paper = paperNames().contains(paper) ? paper : QString::fromLatin1(kDefaultPaper);
    return o;
}

}  // namespace

ReportSelectionDialog::ReportSelectionDialog(DataModule& dm, Computation& computation, Dialogs& dialogs,
                                     QWidget* parent)
    : QDialog(parent), dm_(dm), comp_(computation), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("SelectReportForm"));
    setWindowTitle(QStringLiteral("Select Report"));
    auto* layout = new QVBoxLayout(this);

    auto* menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    QMenu* options = menus->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("Options1"));
    const struct {
        const char* name;
        const char* text;
        void (ReportSelectionDialog::*slot)();
    } items[] = {{"MainTitle1", "&Main Title", &ReportSelectionDialog::MainTitle1Click},
                 {"MainTitleSize1", "&Main Title Size", &ReportSelectionDialog::MainTitleSize1Click},
                 {"TopMargin1", "&Top Margin", &ReportSelectionDialog::TopMargin1Click},
                 {"BottomMargin1", "&Bottom Margin", &ReportSelectionDialog::BottomMargin1Click},
                 {"LeftMargin1", "&Left Margin", &ReportSelectionDialog::LeftMargin1Click},
                 {"RightMargin1", "&Right Margin", &ReportSelectionDialog::RightMargin1Click},
                 {"PathforBitmap1", "&Path for Bitmap", &ReportSelectionDialog::PathforBitmap1Click}};
    for (const auto& item : items) {
        QAction* a = options->addAction(QString::fromLatin1(item.text));
        a->setObjectName(QString::fromLatin1(item.name));
        connect(a, &QAction::triggered, this, item.slot);
    }
    QAction* closeItem = menus->addAction(QStringLiteral("&Close"));
    closeItem->setObjectName(QStringLiteral("Close1"));
    connect(closeItem, &QAction::triggered, this, &QDialog::close);
    QAction* helpItem = menus->addAction(QStringLiteral("&Help"));
    helpItem->setObjectName(QStringLiteral("Help1"));
    connect(helpItem, &QAction::triggered, this, [this] { HelpRequest::context(this, kHelpMenuContext); });

    auto* explain = new QLabel(
        QStringLiteral("To print a report for a mine, select 'Report for Mine'.  To print a portion of a report first "
                       "select the item from the Tarvane Main Form then from this form select what you want "
                       "printed.  "),
        this);
    explain->setObjectName(QStringLiteral("ExplainLabel1"));
    explain->setWordWrap(true);
    layout->addWidget(explain);

    reportFor_ = new QLabel(this);
    reportFor_->setObjectName(QStringLiteral("ReportForLabel"));
    layout->addWidget(reportFor_);

    auto* groups = new QHBoxLayout;
    QStringList choiceTexts;
    for (const char* c : kChoices)
        choiceTexts << QString::fromLatin1(c);
    choices_ = radioGroup(this, QStringLiteral("ReportRG"), QStringLiteral("Report Selection:"), choiceTexts,
                          choiceGroup_);
    groups->addWidget(choices_);
    auto* details = new QVBoxLayout;
    auto* explainDetail =
        new QLabel(QStringLiteral("Next highlight only selected page or the selected page and all of its sub-parts."),
                   this);
    explainDetail->setObjectName(QStringLiteral("ExplainLabel2"));
    explainDetail->setWordWrap(true);
    details->addWidget(explainDetail);
    detail_ = radioGroup(this, QStringLiteral("DetailRG"), QStringLiteral("Report Detail"),
                         {QStringLiteral("Only Selected Page"), QStringLiteral("Page and All Pages Below")},
                         detailGroup_);
    details->addWidget(detail_);
    otherDetail_ = radioGroup(this, QStringLiteral("OtherDetailRG"), QStringLiteral("Report Detail for Other Rec Costs"),
                              {QStringLiteral("One Item"), QStringLiteral("All Items")}, otherDetailGroup_);
    details->addWidget(otherDetail_);
    details->addStretch(1);
    groups->addLayout(details);
    layout->addLayout(groups);
    connect(choiceGroup_, &QButtonGroup::idClicked, this, [this] { ReportRGClick(); });

    auto* buttons = new QHBoxLayout;
    paper_ = new QLabel(this);
    paper_->setObjectName(QStringLiteral("PaperLabel"));
    buttons->addWidget(paper_);
    buttons->addStretch(1);
    print_ = new QPushButton(QStringLiteral("Print"), this);
    print_->setObjectName(QStringLiteral("PrintBtn"));
    print_->setDefault(true);
    buttons->addWidget(print_);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(print_, &QPushButton::clicked, this, &ReportSelectionDialog::PrintBtnClick);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    WindowSettings::restorePlacement(this, kClass);
    readOptions();
    lastOutput_ = storedOutput();
    showPaper();
}

void ReportSelectionDialog::showPaper()
{
    paper_->setText(QStringLiteral("Paper: ") + paperDescription(lastOutput_.paper));
}

ReportSelectionDialog::~ReportSelectionDialog() = default;

// ---------------------------------------------------------------- options

void ReportSelectionDialog::readOptions()
{
    const auto text = [](const char* key, const QString& fallback) {
        return WindowSettings::value(kClass, QString::fromLatin1(key), fallback).toString();
    };
    mainTitle_ = text("Main Title", ReportOptions().mainTitle);
    bool ok = false;
    const int point = WindowSettings::value(kClass, QStringLiteral("Title Point"), 20).toInt(&ok);
    titlePoint_ = ok && point >= 0 && point <= 255 ? point : 20;
    leftMargin_ = text("Left Margin", QStringLiteral("0.75"));
    rightMargin_ = text("Right Margin", QStringLiteral("0.75"));
    topMargin_ = text("Top Margin", QStringLiteral("0.75"));
    bottomMargin_ = text("Bottom Margin", QStringLiteral("1.0"));
    bitmapPath_ = text("Bitmap Path", installedBitmapPath());
}

void ReportSelectionDialog::writeOptions() const
{
    WindowSettings::setValue(kClass, QStringLiteral("Main Title"), mainTitle_);
    WindowSettings::setValue(kClass, QStringLiteral("Title Point"), titlePoint_);
    WindowSettings::setValue(kClass, QStringLiteral("Left Margin"), leftMargin_);
    WindowSettings::setValue(kClass, QStringLiteral("Right Margin"), rightMargin_);
    WindowSettings::setValue(kClass, QStringLiteral("Top Margin"), topMargin_);
    WindowSettings::setValue(kClass, QStringLiteral("Bottom Margin"), bottomMargin_);
    WindowSettings::setValue(kClass, QStringLiteral("Bitmap Path"), bitmapPath_);
}

ReportOptions ReportSelectionDialog::jobOptions() const
{
    ReportOptions o;
    o.mainTitle = mainTitle_;
    o.titlePoint = titlePoint_;
    o.leftMargin = marginInches(leftMargin_);
    o.rightMargin = marginInches(rightMargin_);
    o.topMargin = marginInches(topMargin_);
    o.bottomMargin = marginInches(bottomMargin_);
    o.bitmapPath = bitmapPath_;
    return o;
}

void ReportSelectionDialog::MainTitle1Click()
{
    QString value = mainTitle_;
    if (dialogs_.inputBox(QStringLiteral("Input Box"), QStringLiteral("Enter Title:"), value))
        mainTitle_ = value;
}

void ReportSelectionDialog::MainTitleSize1Click()
{
    QString value = QString::number(titlePoint_);
    if (!dialogs_.inputBox(QStringLiteral("Input Box"), QStringLiteral("Enter Title Size:"), value))
        return;
    bool ok = false;
    const int point = value.trimmed().toInt(&ok);
    if (!ok)
        dialogs_.error(kValueError);
    else if (point < 0 || point > 255)
        dialogs_.error(QStringLiteral("The title size must be a whole number from 0 to 255.\nUsing orginal value!"));
    else
        titlePoint_ = point;
}

void ReportSelectionDialog::askMargin(const QString& prompt, QString& margin)
{
    QString value = margin;
    if (!dialogs_.inputBox(QStringLiteral("Input Box"), prompt, value))
        return;
    bool ok = false;
    value.trimmed().toDouble(&ok);
    if (ok)
        margin = value.trimmed();
    else
        dialogs_.error(kValueError);
}

void ReportSelectionDialog::TopMargin1Click()
{
    askMargin(QStringLiteral("Enter Top Margin:"), topMargin_);
}

void ReportSelectionDialog::BottomMargin1Click()
{
    askMargin(QStringLiteral("Enter Bottom Margin:"), bottomMargin_);
}

void ReportSelectionDialog::LeftMargin1Click()
{
    askMargin(QStringLiteral("Enter Left Margin:"), leftMargin_);
}

void ReportSelectionDialog::RightMargin1Click()
{
    askMargin(QStringLiteral("Enter Right Margin:"), rightMargin_);
}

void ReportSelectionDialog::PathforBitmap1Click()
{
    QFileDialog ask(this, QStringLiteral("Path for Bitmap"), QFileInfo(bitmapPath_).path(),
                    QStringLiteral("Bitmap (*.bmp)"));
    ask.setObjectName(QStringLiteral("OpenPictureDialog1"));
    ask.setFileMode(QFileDialog::ExistingFile);
    ask.setAcceptMode(QFileDialog::AcceptOpen);
    if (ask.exec() != QDialog::Accepted || ask.selectedFiles().isEmpty())
        return;
    const QString path = ask.selectedFiles().first();
    if (QFileInfo(path).isFile())
        bitmapPath_ = path;
}

// ---------------------------------------------------------------- activation and choices

void ReportSelectionDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // After the window is up, so that its messages stand over it.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            FormActivate();
    });
}

void ReportSelectionDialog::hideEvent(QHideEvent* e)
{
    writeOptions();
    WindowSettings::savePlacement(this, kClass);
    QDialog::hideEvent(e);
}

void ReportSelectionDialog::FormActivate()
{
    readOptions();
    print_->setEnabled(true);
    reportFor_->clear();
    if (dm_.MineT.isEmpty() || dm_.MineT.fieldByName(QStringLiteral("MineID")).isNull()) {
        dialogs_.information(QStringLiteral("No Mine Information to print"));
        print_->setEnabled(false);
    } else {
        MainWindowLink* main = comp_.rules.mainWindow();
        reportFor_->setText(QStringLiteral("Report for ") + (main ? main->statusLineText() : QString()));
        if (dm_.ProjectT.isEmpty() || dm_.ProjectT.fieldByName(QStringLiteral("PrjID")).isNull()) {
            dialogs_.information(QStringLiteral("No Project Information to print"));
            print_->setEnabled(false);
        }
    }
    setChoice(0);
    choices_->setEnabled(equipment == nullptr);
}

int ReportSelectionDialog::choice() const
{
    return choiceGroup_->checkedId();
}

void ReportSelectionDialog::setChoice(int choice)
{
    choiceGroup_->button(choice)->setChecked(true);
    ReportRGClick();
}

void ReportSelectionDialog::ReportRGClick()
{
    const int c = choice();
    detail_->setEnabled(c >= 2 && c <= 8);
    otherDetail_->setEnabled(c == 9);
}

bool ReportSelectionDialog::detail() const
{
    const int c = choice();
    if (c == 9)
        return otherDetailGroup_->checkedId() == 1;
    return c >= 2 && c <= 8 && detailGroup_->checkedId() == 1;
}

// ---------------------------------------------------------------- printing

void ReportSelectionDialog::PrintBtnClick()
{
    ReportSetupDialog setup(this);
    setup.setOutput(lastOutput_);
    if (setup.exec() != QDialog::Accepted)
        return;
    lastOutput_ = setup.output();
    WindowSettings::setValue(kClass, QStringLiteral("Output"), static_cast<int>(lastOutput_.destination));
    WindowSettings::setValue(kClass, QStringLiteral("Output File"), lastOutput_.path);
    WindowSettings::setValue(kClass, QStringLiteral("Paper Size"), lastOutput_.paper);
    showPaper();
    print(lastOutput_);
}

bool ReportSelectionDialog::print(const ReportOutput& output)
{
    writeOptions();
    const ReportOptions options = jobOptions();
    ReportSelection selection;
    selection.choice = choice();
    selection.detail = detail();
    selection.equipment = equipment;
    const ReportBody body = [&](ReportCanvas& canvas, const UnprintableEdges& edges,
                                const std::function<void(int, int)>& progress) {
        ReportSelection s = selection;
        s.progress = progress;
        RunReportJob(canvas, options, edges, dialogs_, dm_, comp_, s);
    };
    const bool printed = RunReport(this, output, body, dialogs_, dm_);
    // Choices 0 to 2 print bond summaries, computed through the main window's bond pages.
    MainWindowLink* main = comp_.rules.mainWindow();
    if (main && !equipment && selection.choice <= 2)
        main->refreshBondPages();
    return printed;
}
