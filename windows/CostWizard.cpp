#include "CostWizard.h"

#include "HelpRequest.h"

#include "Computation.h"
#include "DBControls.h"
#include "DBNavigator.h"
#include "DataSetModel.h"
#include "Dialogs.h"
#include "ReferenceEditors.h"
#include "Keyboard.h"
#include "Money.h"
#include "ReportSelectionDialog.h"
#include "StoredNames.h"
#include "ToolWindows.h"
#include "DataModule.h"
#include "WindowSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDropEvent>
#include <QMimeData>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

struct Input {
    const char* field;
    const char* caption;
    const char* picture;
};
struct Result {
    const char* name;  // as EquipCalcResults names it
    const char* caption;
};
struct Sheet {
    const char* tab;
    const char* title;
    QList<Input> inputs;
    QList<Result> results;
    const char* production;  // the result the hours divide by; empty: none
    bool efficiency;
};

const QString kNum = QStringLiteral("###,###,###.####");

const QList<Input> kFactors = {{"OpFact", "operating factor", "###.####"},
                               {"MatFact", "material factor", "###.####"},
                               {"GradeFact", "grade factor", "###.####"},
                               {"WeiFact", "weight correction factor", "###.####"},
                               {"ProdFact", "production method/blade factor", "###.####"},
                               {"Visibil", "visibility factor", "###.####"},
                               {"Elevation", "elevation factor", "###.####"}};

const Sheet& sheetOf(int kind)
{
    static const Sheet sheets[10] = {
        {"Dozer", "Dozer Work-Sheet",
         kFactors + QList<Input>{{"HourProd", "normal hourly production", "###,###,###.##"},
                                 {"Volume", "volume to be moved", "###,###,###,###.##"}},
         {{"OperatingFactor", "Operating adjustment factor  ="}, {"NetHourlyProduction", "Net hourly production  LCY/hr  ="},
          {"HoursRequired", "Hours required  =  volume  /  net hourly production  ="}},
         "NetHourlyProduction", true},
        {"Dozer Grader", "Dozer, Grader Work-Sheet",
         kFactors + QList<Input>{{"Speed", "Average speed  mi/hr", "###.##"},
                                 {"Blade", "Effective blade width  ft", "###.##"},
                                 {"Acres", "Acres to be graded", "###,###,###.##"}},
         {{"OperatingFactor", "Operating adjustment factor  ="},
          {"HourlyProduction", "Hourly production = mi/hr  X  ft   X  5280 ft/mi   X    1 ac/43,560 sqft  ="},
          {"NetHourlyProduction", "Net hourly production  ac/hr  ="},
          {"HoursRequired", "Hours required  =  acres  /  net hourly production  ="}},
         "NetHourlyProduction", true},
        {"Dozer, Push", "Push Dozer Work-Sheet", {},
         {{"ScraperLoadTime", "Scraper load time  min"}, {"PusherCycleTime", "Pusher cycle time = load time  X  pusher factor  ="},
          {"ScrapersPerPusher", "Scrapers per pusher  =  scraper cycle time  /  pusher cycle time  ="},
          {"ScraperCycleTime", "Scraper cycle time  min"}, {"ScraperHours", "Scraper hours"},
          {"HoursRequired", "Pusher Hours Required ="}},
         "", false},
        {"Dozer Ripper", "Dozer, Ripper Work-Sheet",
         {{"Volume", "Bank Volume to be ripped", "###,###,###,###.##"}, {"CutL", "Cut Length in feet", "###,###.##"},
          {"Turn", "Turn Time in minutes", "###.##"}, {"ToolPenetration", "Tool pentration", "###.##"},
          {"CutS", "Cut spacing", "###.##"}},
         {{"CycleTime", "Cycle time  =  ( cut length  /  88  fpm )   +   turn time  ="},
          {"PassesPerHour", "Passes per hour  =  efficiency  X  60  /  cycle time  ="},
          {"VolumePerPass", "Volume cut per pass  =  penetration  X  spacing  X  length  /  27  ="},
          {"HourlyProduction", "Hourly production  BCY/hr  ="}, {"HoursRequired", "Hours required  ="}},
         "HourlyProduction", true},
        {"Excavator", "Excavator Work-Sheet",
         {{"Volume", "Volume to be handled", "###,###,###,###.##"}, {"BuckCap", "Heaped bucket capacity", "###.##"},
          {"FillFact", "Fill Factor", "#.####"}, {"CycleT", "Cycle Time", "###.####"}},
         {{"NetBucketCapacity", "Net bucket capacity  LCY  ="}, {"NetHourlyProduction", "Net hourly production  LCY/hr  ="},
          {"HoursRequired", "Hours required  ="}, {"TotalHours", "Total hours  =  hours required  +  additional hours  ="}},
         "NetHourlyProduction", true},
        {"Grader", "MotorGrader Work-Sheet",
         {{"Acres", "Area to be graded or scarified", "###,###,###.##"}, {"Speed", "Speed", "###.##"},
          {"Blade", "effective blade or scarifier width", "###.##"}},
         {{"HourlyProduction", "Hourly production = mi/hr  X  ft  X  efficiency  X  5280 ft/mi  X  1 ac/43,560 sqft  ="},
          {"HoursRequired", "Hours required  ="}},
         "HourlyProduction", true},
        {"Loader", "Loader Work-Sheet",
         {{"Volume", "Volume to be moved", "###,###,###,###.##"}, {"HaulT", "Haul time loaded min", "###.####"},
          {"ReturnT", "Return empty time min", "###.####"}, {"CycleT", "Basic Cycle time", "###.####"},
          {"BuckCap", "Heaped bucket capacity  LCY", "###.##"}, {"BuckFact", "Bucket Fill Factor", "###.##"}},
         {{"CycleTime", "Cycle time  min  ="}, {"NetBucketCapacity", "Net bucket capacity  LCY  ="},
          {"NetHourlyProduction", "Hourly production  LCY/hr  ="}, {"HoursRequired", "Hours required  ="},
          {"TotalHours", "Total hours  ="}},
         "NetHourlyProduction", true},
        {"Scraper", "Scraper Work-Sheet",
         {{"Volume", "Volume", "###,###,###,###.##"}, {"LoadT", "Load Time", "###.####"},
          {"TripT", "Load Trip Time", "###.####"}, {"SpreadT", "Maneuver and spread time", "###.####"},
          {"ReturnT", "Return Trip Time", "###.####"}, {"AdjustedLoad", "Adjusted Load", "###,###.##"}},
         {{"CycleTime", "Cycle time  min  ="}, {"HourlyProduction", "Hourly production  LCY/hr  ="},
          {"HoursRequired", "Hours required  ="}},
         "HourlyProduction", true},
        {"Truck", "Truck Work-Sheet",
         {{"Volume", "Volume", "###,###,###,###.##"}, {"HaulT", "Haul time", "###.####"},
          {"ReturnT", "Return Time", "###.####"}, {"DumpT", "Dump and maneuver time", "###.####"},
          {"TruckCap", "Truck Capacity", "###.##"}},
         {{"LoadingTime", "Total loading time for loader or excavator  min  ="},
          {"TruckCycleTime", "Truck cycle time  min  ="}, {"NumberOfTrucks", "# of trucks required  ="},
          {"ProductionRate", "Production rate  LCY/min  ="}, {"NetHourlyProduction", "Hourly production  LCY/hr  ="},
          {"HoursRequired", "Hours required  ="}, {"TotalHours", "Total hours  =  ( hours + additional )  X  trucks  ="},
          {"NetTruckCapacity", "Net truck capacity  LCY  ="}},
         "NetHourlyProduction", true},
        {"User Calculated", "User Calculated Work-Sheet",
         {{"Reference", "Reference:", ""}, {"HrsReg", "Hours Required  =", "###,###,###.####"}},
         {},
         "", false},
    };
    return sheets[kind];
}

const char* kFactorChoices[6] = {"1.5", "1.3", "1.3", "2.0", "1.5", "1.5"};

// One level of a selection page: a caption, a grid with its hint, and a navigator that only moves.
struct SelectionLevel {
    const char* caption;
    const char* hint;
    DataSource* source;
    QStringList columns;
    const char* name;
};

void addSelectionLevels(QWidget* parent, QHBoxLayout* row, std::initializer_list<SelectionLevel> levels, Dialogs& dialogs)
{
    for (const SelectionLevel& l : levels) {
        auto* col = new QVBoxLayout;
        col->addWidget(new QLabel(QString::fromLatin1(l.caption), parent));
        auto* grid = new DBGrid(l.source, l.columns, parent);
        grid->setObjectName(QString::fromLatin1(l.name));
        grid->setToolTip(QString::fromLatin1(l.hint));
        grid->setDialogs(&dialogs);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->horizontalHeader()->setStretchLastSection(true);
        grid->keepColumnWidths(QLatin1String(storedname::CostWizard));
        col->addWidget(grid, 1);
        auto* nav = new DBNavigator(l.source, dialogs, parent);
        nav->setVisibleButtons({DBNavigator::First, DBNavigator::Prior, DBNavigator::Next, DBNavigator::Last});
        col->addWidget(nav);
        row->addLayout(col, l.columns.size() > 1 ? 2 : 1);
    }
}

QList<EquipmentCalculator::Partner> unlinkedOr(const QList<EquipmentCalculator::Partner>& rows, int truck)
{
    QList<EquipmentCalculator::Partner> out;
    for (const auto& r : rows)
        if (r.addedEquipId < 0 || r.addedEquipId == truck)
            out << r;
    return out;
}

}  // namespace

CostWizard::CostWizard(DataModule& dm, Computation& computation, Dialogs& dialogs, EquipListBinding& list,
                               QWidget* parent)
    : QDialog(parent), dm_(dm), comp_(computation), dialogs_(dialogs), list_(list),
      rowSource_(std::make_unique<DataSource>(QStringLiteral("WizardRowDS")))
{
    setObjectName(QLatin1String(storedname::CostWizard));
    setWindowTitle(QStringLiteral("Equipment and Labor Cost Wizard"));
    auto* layout = new QVBoxLayout(this);
    auto* menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    print_ = menus->addAction(QStringLiteral("&Print"));
    print_->setObjectName(QStringLiteral("Print1"));
    print_->setEnabled(false);
    connect(print_, &QAction::triggered, this, &CostWizard::Print1Click);
    QMenu* toolsMenu = menus->addMenu(QStringLiteral("&Tools"));
    const struct {
        const char* caption;
        const char* name;
        void (ToolWindows::*show)(QWidget*);
    } toolItems[] = {{"&Volume Calculator", "VolumeCalculator1", &ToolWindows::showVolumeCalculator},
                     {"&Calculator", "Calculator1", &ToolWindows::showDeskCalculator},
                     {"&Optimal # Truck Calculator", "OptimalTruckCalculator1", &ToolWindows::showTruckCalculator}};
    for (const auto& item : toolItems) {
        QAction* a = toolsMenu->addAction(QString::fromLatin1(item.caption));
        a->setObjectName(QString::fromLatin1(item.name));
        connect(a, &QAction::triggered, this, [this, show = item.show] {
            if (tools)
                (tools->*show)(this);
        });
    }
    QMenu* helpMenu = menus->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("Help1"));
    QAction* intro = helpMenu->addAction(QStringLiteral("Introducion"));
    intro->setObjectName(QStringLiteral("Introduction1"));
    connect(intro, &QAction::triggered, this, [this] { HelpRequest::context(this, 1); });
    QAction* thisForm = helpMenu->addAction(QStringLiteral("Help With This Form"));
    thisForm->setObjectName(QStringLiteral("HelpWithThisForm1"));
    connect(thisForm, &QAction::triggered, this, [this] { HelpRequest::context(this, HelpContextId); });
    QAction* search = helpMenu->addAction(QStringLiteral("Search Help"));
    search->setObjectName(QStringLiteral("SearchHelp1"));
    connect(search, &QAction::triggered, this, [this] { HelpRequest::finder(this); });
    auto* bar = new QHBoxLayout;
    question_ = new QLabel(this);
    question_->setObjectName(QStringLiteral("QuestionLabel"));
    QFont f = question_->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    question_->setFont(f);
    modeText_ = new QLabel(this);
    modeText_->setObjectName(QStringLiteral("ModeLabel"));
    // Made in the order they stand, so that Tab walks them from left to right.
    back_ = new QPushButton(Keyboard::withMnemonic(QStringLiteral("<-- Back")), this);
    back_->setObjectName(QStringLiteral("BackBtn"));
    left_ = new QPushButton(this);
    left_->setObjectName(QStringLiteral("LeftBtn"));
    right_ = new QPushButton(this);
    right_->setObjectName(QStringLiteral("RightBtn"));
    cancel_ = new QPushButton(Keyboard::withMnemonic(QStringLiteral("Cancel")), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    bar->addWidget(question_, 1);
    bar->addWidget(modeText_);
    for (QPushButton* b : {back_, left_, right_, cancel_})
        bar->addWidget(b);
    layout->addLayout(bar);
    connect(left_, &QPushButton::clicked, this, &CostWizard::LeftBtnClick);
    connect(right_, &QPushButton::clicked, this, &CostWizard::RightBtnClick);
    connect(back_, &QPushButton::clicked, this, &CostWizard::BackBtnClick);
    connect(cancel_, &QPushButton::clicked, this, &CostWizard::CancelBtnClick);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("WizardNotebook"));
    for (int k = 0; k < 10; ++k) {
        auto* scroll = new QScrollArea(pages_);
        scroll->setWidgetResizable(true);
        scroll->setWidget(buildWorksheet(k));
        pages_->addWidget(scroll);
    }
    // The selection pages scroll like the worksheets when the window is smaller than their grids.
    for (QWidget* selection : {buildSelectEquipment(), buildSelectLaborer()}) {
        auto* scroll = new QScrollArea(pages_);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setWidget(selection);
        pages_->addWidget(scroll);
    }
    auto* editPage = new QWidget(pages_);
    editPage->setObjectName(QStringLiteral("EditPage"));
    pages_->addWidget(editPage);
    layout->addWidget(pages_, 1);
    resize(1000, 680);
    WindowSettings::fitScreen(this);
    // Pickers are as wide as the longest entry they offer.
    for (QComboBox* picker : findChildren<QComboBox*>())
        picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Enter presses the right-hand step button whatever has the focus; Escape cancels.
    Keyboard::keepEnterForDefault(this, right_);
    Keyboard::assignMnemonics(this, QStringLiteral("bnyfc"));
    captionBoundControls(this);
    comp_.calculator.setPage(this);
    // Every change of a field of the row shows the new results on the page.
    connect(rowSource_.get(), &DataSource::fieldChanged, this, [this](Field*) {
        if (pages_->currentIndex() < 10 && !settingUp_)
            recalculate();
    });
}

CostWizard::~CostWizard()
{
    comp_.calculator.setPage(nullptr);
}

DataSet* CostWizard::row() const
{
    return list_.dataSet();
}

// The row's productivity worksheet, as stored: a pending change is posted first.
void CostWizard::Print1Click()
{
    DataSet* r = row();
    if (!r || r->isEmpty())
        return;
    if (r->isEditing())
        r->post();
    ReportSelectionDialog form(dm_, comp_, dialogs_, this);
    form.equipment = r;
    form.exec();
}

void CostWizard::editRow()
{
    DataSet* r = row();
    if (r && !r->isEditing())
        r->edit();
}

// ---------------------------------------------------------------- pages

QWidget* CostWizard::buildWorksheet(int k)
{
    const Sheet& s = sheetOf(k);
    DataSource* src = rowSource_.get();
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Worksheet%1").arg(k));
    auto* outer = new QVBoxLayout(page);
    auto* title = new QLabel(QString::fromLatin1(s.title), page);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    title->setFont(f);
    outer->addWidget(title);
    auto* columns = new QHBoxLayout;
    auto* common = new QFormLayout;
    auto* name = new DBEdit(src, QStringLiteral("Name"), {}, page);
    name->setObjectName(QStringLiteral("NameEdit%1").arg(k));
    name->setDisplayOnly(k != kUserDefined);
    common->addRow(QStringLiteral("Name:"), name);
    auto* act = new DBMemo(src, QStringLiteral("Act"), page);
    act->setObjectName(QStringLiteral("ActMemo%1").arg(k));
    act->setMaximumHeight(60);
    common->addRow(QStringLiteral("Earthmoving Activity:"), act);
    auto* chr = new DBMemo(src, QStringLiteral("Char"), page);
    chr->setObjectName(QStringLiteral("CharMemo%1").arg(k));
    chr->setMaximumHeight(90);
    common->addRow(QStringLiteral("Characterization %1:").arg(QString::fromLatin1(s.tab)), chr);
    auto* use = new DBMemo(src, QStringLiteral("Description"), page);
    use->setMaximumHeight(60);
    common->addRow(QStringLiteral("Description of %1 used:").arg(QString::fromLatin1(s.tab)), use);
    auto* shortText = new DBEdit(src, QStringLiteral("Descriptions"), {}, page);
    shortText->setToolTip(QStringLiteral("Short description of equipment for display on Equipment labor dialog."));
    common->addRow(QStringLiteral("Description:"), shortText);
    common->addRow(QStringLiteral("Haul Distance:"), new DBEdit(src, QStringLiteral("HaulDistance"), QStringLiteral("###,###,###,###.#"), page));
    common->addRow(QStringLiteral("Grade%:"), new DBEdit(src, QStringLiteral("Grade"), QStringLiteral("#,###,###.##"), page));
    common->addRow(QStringLiteral("Route"), new DBEdit(src, QStringLiteral("Route"), {}, page));
    columns->addLayout(common, 1);

    auto* sheet = new QFormLayout;
    if (s.efficiency) {
        auto* eff = new DBLookupCombo(src, QStringLiteral("EffFact"), &dm_.EffFactorT, QStringLiteral("Factor"),
                                      QStringLiteral("Desc"), page);
        eff->setObjectName(QStringLiteral("EffFactorPicker%1").arg(k));
        connect(eff, &QComboBox::activated, this, [this] { recalculate(); });
        sheet->addRow(QStringLiteral("Efficiency factor:"), eff);
    }
    for (const Input& in : s.inputs) {
        auto* e = new DBEdit(src, QString::fromLatin1(in.field), QString::fromLatin1(in.picture), page);
        e->setObjectName(QStringLiteral("%1Edit%2").arg(QString::fromLatin1(in.field)).arg(k));
        sheet->addRow(QString::fromLatin1(in.caption), e);
        if (QLatin1String(in.field) == QLatin1String("Volume")) {
            // A volume total dragged from the volume calculator lands here.
            e->setAcceptDrops(true);
            e->installEventFilter(this);
        }
    }
    if (k == kGrader)
        sheet->addRow(new DBRadioGroup(QStringLiteral("Use of Grader  "),
                                       {QStringLiteral("Contour Grading"), QStringLiteral("Scarification")},
                                       {QStringLiteral("Y"), QStringLiteral("N")}, src, QStringLiteral("ContourNotScar"), page));
    if (k == kPushDozer) {
        scraperPicker_ = new QComboBox(page);
        scraperPicker_->setObjectName(QStringLiteral("ScraperPicker"));
        connect(scraperPicker_, &QComboBox::activated, this, [this] { scraperPickerChanged(); });
        sheet->addRow(QStringLiteral("Scraper:"), scraperPicker_);
        auto* choices = new QGroupBox(QStringLiteral("Single       Tandem"), page);
        auto* grid = new QGridLayout(choices);
        pusherFactors_ = new QButtonGroup(this);
        const char* rowsText[3] = {"Back Track ", "Chain", "Shuttle"};
        for (int r = 0; r < 3; ++r)
            grid->addWidget(new QLabel(QString::fromLatin1(rowsText[r]), choices), r, 0);
        for (int i = 0; i < 6; ++i) {
            auto* b = new QRadioButton(QString::fromLatin1(kFactorChoices[i]), choices);
            b->setObjectName(QStringLiteral("PusherFactor%1").arg(i));
            pusherFactors_->addButton(b, i);
            grid->addWidget(b, i % 3, 1 + i / 3);  // column by column, three rows each
        }
        connect(pusherFactors_, &QButtonGroup::idClicked, this, [this](int i) { pusherFactorPicked(i); });
        sheet->addRow(choices);
    }
    if (k == kTruck) {
        auto* choice = new QGroupBox(QStringLiteral("Loading Time based on:"), page);
        auto* cl = new QHBoxLayout(choice);
        loaderChoice_ = new QRadioButton(QStringLiteral("Loader"), choice);
        loaderChoice_->setObjectName(QStringLiteral("LoaderChoice"));
        excavatorChoice_ = new QRadioButton(QStringLiteral("Excavator"), choice);
        excavatorChoice_->setObjectName(QStringLiteral("ExcavatorChoice"));
        cl->addWidget(loaderChoice_);
        cl->addWidget(excavatorChoice_);
        connect(loaderChoice_, &QRadioButton::clicked, this, [this] { truckChoiceChanged(0); });
        connect(excavatorChoice_, &QRadioButton::clicked, this, [this] { truckChoiceChanged(1); });
        sheet->addRow(choice);
        loaderPicker_ = new QComboBox(page);
        loaderPicker_->setObjectName(QStringLiteral("LoaderPicker"));
        excavatorPicker_ = new QComboBox(page);
        excavatorPicker_->setObjectName(QStringLiteral("ExcavatorPicker"));
        for (QComboBox* p : {loaderPicker_, excavatorPicker_})
            connect(p, &QComboBox::activated, this, [this] { truckPickerChanged(); });
        auto* pickers = new QHBoxLayout;
        pickers->addWidget(loaderPicker_);
        pickers->addWidget(excavatorPicker_);
        sheet->addRow(QStringLiteral("Select Loader/Excavator:"), pickers);
        auto* over = new DBCheckBox(QStringLiteral("Override Number of Trucks"), src, QStringLiteral("OverrideTruck"), page);
        over->setObjectName(QStringLiteral("OverrideTruckBox"));
        over->setToolTip(QStringLiteral("Allows user to use program # trucks or thier own # trucks"));
        overrideTrucks_ = over;
        sheet->addRow(over);
        auto* trucks = new DBEdit(src, QStringLiteral("NumTrucks"), QStringLiteral("###"), page);
        trucks->setObjectName(QStringLiteral("NumTrucksEdit"));
        trucks->setToolTip(QStringLiteral("User entered number of trucks"));
        numTrucksCaption_ = new QLabel(QStringLiteral("# of trucks required  = "), page);
        numTrucks_ = trucks;
        sheet->addRow(numTrucksCaption_, trucks);
        connect(over, &QCheckBox::toggled, this, [this] { showTruckOverride(); });
    }
    if (k == kExcavator || k == kLoader || k == kTruck) {
        auto* added = new DBEdit(src, QStringLiteral("AddHours"), QStringLiteral("###,###,###.##"), page);
        added->setDisplayOnly(true);
        added->setObjectName(QStringLiteral("AddHoursEdit%1").arg(k));
        if (k == kTruck)
            added->setToolTip(QStringLiteral("Additional hours to match loader or excavator."));
        auto* calc = new QPushButton(QStringLiteral("Calculate additional hours"), page);
        calc->setObjectName(QStringLiteral("CalcAddHoursBtn%1").arg(k));
        calc->setToolTip(QStringLiteral("Calculate additional hours"));
        const auto side = k == kTruck ? EquipmentCalculator::MatchSide::Truck
                        : k == kLoader ? EquipmentCalculator::MatchSide::Loader
                                       : EquipmentCalculator::MatchSide::Excavator;
        connect(calc, &QPushButton::clicked, this, [this, side] { matchHours(side); });
        sheet->addRow(k == kExcavator ? QStringLiteral("Additional Hrs to Match Truck") : QStringLiteral("Additional Hrs"), added);
        sheet->addRow(calc);
    }
    for (const Result& r : s.results) {
        auto* e = new QLineEdit(page);
        e->setObjectName(QStringLiteral("%1Result%2").arg(QString::fromLatin1(r.name)).arg(k));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Window));  // results are read-only and look it
        e->setPalette(pal);
        results_[k].insert(QString::fromLatin1(r.name), e);
        if (QLatin1String(r.name) == QLatin1String("HoursRequired"))
            hoursFields_.insert(k, e);
        auto* caption = new QLabel(QString::fromLatin1(r.caption), page);
        caption->setObjectName(e->objectName() + QStringLiteral("Caption"));
        if (k == kTruck && QLatin1String(r.name) == QLatin1String("NumberOfTrucks"))
            e->setToolTip(QStringLiteral("Program calculated number of trucks"));
        sheet->addRow(caption, e);
    }
    if (k == kScraper) {
        sheet->addRow(new QLabel(QStringLiteral("Adjusted load capacity is the average of the heaped and struck capacities;  "
                                                "use total for two scrapers for push pull."),
                                 page));
        sheet->addRow(new QLabel(QStringLiteral("Push-pull is per pair."), page));
    }
    columns->addLayout(sheet, 1);
    outer->addLayout(columns);
    outer->addStretch(1);
    return page;
}

QWidget* CostWizard::buildSelectEquipment()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SelectEquipmentPage"));
    auto* outer = new QVBoxLayout(page);
    equipmentGrids_ = new QWidget(page);
    auto* gridsLayout = new QVBoxLayout(equipmentGrids_);
    gridsLayout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    gridsLayout->addLayout(row, 1);
    addSelectionLevels(equipmentGrids_, row,
                       {{"1. First select equipment manufacturer:", "1. Select equipment Manufacturer.", &dm_.HCompanyQDS,
                         {QStringLiteral("Name")}, "ManufacturerGrid"},
                        {"2.  Second select type of equipment:", "2.  Select type of equipment.", &dm_.HEquipQDS,
                         {QStringLiteral("Type")}, "TypeGrid"},
                        {"3. Third select the model:", "3.  Select model of equipment.", &dm_.HCostQDS,
                         {QStringLiteral("Model"), QStringLiteral("Specifications"), QStringLiteral("DateOfCost"),
                          QStringLiteral("HourlyCost")},
                         "ModelGrid"}},
                       dialogs_);
    outer->addWidget(equipmentGrids_, 1);
    // The button belongs to the grids: it shows with them, at the model choice only.
    auto* refresh = new QPushButton(QStringLiteral("Refresh Data on this form!"), equipmentGrids_);
    refresh->setObjectName(QStringLiteral("RefreshDataBtn"));
    refresh->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    connect(refresh, &QPushButton::clicked, this, [this] {
        for (Query* q : {&dm_.HCompanyQ, &dm_.HEquipQ, &dm_.HCostQ})
            q->close();
        for (Query* q : {&dm_.HCompanyQ, &dm_.HEquipQ, &dm_.HCostQ})
            q->open();
    });
    gridsLayout->addWidget(refresh, 0, Qt::AlignLeft);
    return page;
}

QWidget* CostWizard::buildSelectLaborer()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SelectLaborerPage"));
    auto* row = new QHBoxLayout(page);
    addSelectionLevels(page, row,
                       {{"1. First select a Region:", "1.  Select a Region.", &dm_.LaborRegionDS,
                         {QStringLiteral("RegionName")}, "RegionSelectGrid"},
                        {"2. Select a Sub Region:", "2. Select a sub region.", &dm_.LaborSubRegionDS,
                         {QStringLiteral("SubRegionName")}, "SubRegionSelectGrid"},
                        {"3.  Select a labor category:", "3.  Select a labor category.", &dm_.LaborCostDS,
                         {QStringLiteral("Laborer"), QStringLiteral("DateOfCost"), QStringLiteral("HourlyCosst")},
                         "LaborSelectGrid"}},
                       dialogs_);
    return page;
}

// ---------------------------------------------------------------- opening

void CostWizard::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!prepared_)
        prepare();
}

void CostWizard::prepare()
{
    prepared_ = true;
    rowSource_->setDataSet(row());
    for (DBLookupCombo* c : findChildren<DBLookupCombo*>())
        c->reload();  // the efficiency factors as they are now
    for (Query* q : {&dm_.HCompanyQ, &dm_.HEquipQ, &dm_.HCostQ})
        q->open();
    settingUp_ = true;
    if (kind == kPushDozer)
        pushDozerSetUp();
    if (kind == kTruck) {
        truckSetUp();
        showTruckOverride();
    }
    settingUp_ = false;
    equipmentGrids_->hide();
    left_->show();
    right_->show();
    cancel_->show();
    switch (mode) {
    case Insert:
        modeText_->setText(QStringLiteral("Insert Mode"));
        print_->setEnabled(false);
        setStep(1);
        break;
    case Edit:
        modeText_->setText(QStringLiteral("Edit Mode"));
        print_->setEnabled(false);
        setStep(6);
        break;
    case ViewEdit:
        modeText_->setText(QStringLiteral("View/Edit Mode"));
        print_->setEnabled(true);
        if (kind == kPushDozer && row()) {
            const int i = row()->fieldByName(QStringLiteral("PusherItemIndex")).asInteger();
            if (QAbstractButton* b = pusherFactors_->button(i))
                b->setChecked(true);
        }
        if (kind == kExcavator)
            matchHours(EquipmentCalculator::MatchSide::Excavator);
        else if (kind == kLoader)
            matchHours(EquipmentCalculator::MatchSide::Loader);
        else if (kind == kTruck)
            matchHours(EquipmentCalculator::MatchSide::Truck);
        setStep(9);
        break;
    }
}

void CostWizard::fillPicker(QComboBox* picker, int partnerKind, const QList<EquipmentCalculator::Partner>& rows)
{
    const QSignalBlocker block(picker);
    picker->clear();
    for (const auto& r : rows)
        picker->addItem(EquipmentCalculator::partnerText(partnerKind, r), r.planId);
    picker->setMinimumWidth(picker->sizeHint().width());  // every entry reads whole
}

void CostWizard::pushDozerSetUp()
{
    DataSet* r = row();
    const QString costType = r->fieldByName(QStringLiteral("CostType")).asString();
    fillPicker(scraperPicker_, kScraper, comp_.calculator.partnerRows(kScraper, costType, sheet));
    if (mode == ViewEdit) {
        const int linked = r->fieldByName(QStringLiteral("AddedEquipID")).asInteger();
        scraperPicker_->setCurrentIndex(scraperPicker_->findData(linked));
        return;
    }
    scraperPicker_->setCurrentIndex(scraperPicker_->count() > 0 ? 0 : -1);
    pusherFactors_->button(0)->setChecked(true);
    if (mode == Insert && scraperPicker_->count() > 0) {
        const bool calc = dm_.CalcEnabled;
        dm_.CalcEnabled = false;
        editRow();
        r->fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(scraperPicker_->itemData(0).toInt());
        r->fieldByName(QStringLiteral("PusherFactor")).setAsFloat(1.5);
        r->fieldByName(QStringLiteral("PusherItemIndex")).setAsInteger(0);
        r->post();
        dm_.CalcEnabled = calc;
    }
}

void CostWizard::truckSetUp()
{
    DataSet* r = row();
    const QString costType = r->fieldByName(QStringLiteral("CostType")).asString();
    const int truck = r->fieldByName(QStringLiteral("PlanID")).asInteger();
    const auto loaders = unlinkedOr(comp_.calculator.partnerRows(kLoader, costType, sheet), truck);
    const auto excavators = unlinkedOr(comp_.calculator.partnerRows(kExcavator, costType, sheet), truck);
    offeredLoaders_.clear();
    offeredExcavators_.clear();
    for (const auto& p : loaders)
        offeredLoaders_ << p.planId;
    for (const auto& p : excavators)
        offeredExcavators_ << p.planId;
    fillPicker(loaderPicker_, kLoader, loaders);
    fillPicker(excavatorPicker_, kExcavator, excavators);
    int choice = -1;
    for (const auto& p : loaders)
        if (p.addedEquipId == truck && choice < 0) {
            choice = 0;
            loaderPicker_->setCurrentIndex(loaderPicker_->findData(p.planId));
        }
    for (const auto& p : excavators)
        if (p.addedEquipId == truck && choice < 0) {
            choice = 1;
            excavatorPicker_->setCurrentIndex(excavatorPicker_->findData(p.planId));
        }
    const bool hadPartner = choice >= 0;
    if (!hadPartner && (!loaders.isEmpty() || !excavators.isEmpty())) {
        choice = loaders.isEmpty() ? 1 : 0;
        const int partner = choice == 0 ? loaders.first().planId : excavators.first().planId;
        const bool calc = dm_.CalcEnabled;
        dm_.CalcEnabled = false;
        editRow();
        r->fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(partner);
        r->fieldByName(QStringLiteral("LoadExcavRG")).setAsInteger(choice);
        r->post();
        dm_.CalcEnabled = calc;
        (choice == 0 ? loaderPicker_ : excavatorPicker_)->setCurrentIndex(0);
    }
    if (choice < 0)
        choice = r->fieldByName(QStringLiteral("LoadExcavRG")).asInteger();
    loaderChoice_->setChecked(choice == 0);
    excavatorChoice_->setChecked(choice == 1);
    loaderPicker_->setVisible(choice == 0);
    excavatorPicker_->setVisible(choice == 1);
    const bool both = !loaders.isEmpty() && !excavators.isEmpty();
    loaderChoice_->setEnabled(both);
    excavatorChoice_->setEnabled(both);
}

// ---------------------------------------------------------------- steps

void CostWizard::setStep(int step)
{
    step_ = step;
    auto buttons = [this](const QString& l, const QString& r, bool back) {
        left_->setVisible(!l.isEmpty());
        left_->setText(Keyboard::withMnemonic(l));
        right_->setText(Keyboard::withMnemonic(r));
        back_->setVisible(back);
    };
    const bool insert = mode == Insert;
    cancel_->setVisible(step != 9);
    switch (step) {
    case 1:
        question_->setText(QStringLiteral("Is Labor already in Tarvane Labor database?"));
        pages_->setCurrentIndex(insert ? SelectEquipment : EditPage);
        equipmentGrids_->hide();
        HelpContextId = 37;
        buttons(QStringLiteral("No"), QStringLiteral("Yes -->"), mode == Edit);
        break;
    case 2:
        question_->setText(QStringLiteral("Select Laborer:"));
        pages_->setCurrentIndex(SelectLaborer);
        HelpContextId = 45;
        buttons(QStringLiteral("<-- Back"), QStringLiteral("Next -->"), false);
        break;
    case 0:
    case 8:
        question_->setText(QStringLiteral("Is equipment already in Tarvane Equipment database?"));
        pages_->setCurrentIndex(insert ? SelectEquipment : EditPage);
        equipmentGrids_->hide();
        HelpContextId = 60;
        buttons(QStringLiteral("No"), QStringLiteral("Yes -->"), true);
        break;
    case 3:
        question_->setText(QStringLiteral("Select Equipment:"));
        pages_->setCurrentIndex(SelectEquipment);
        equipmentGrids_->show();
        HelpContextId = 61;
        buttons(QStringLiteral("<-- Back"), QStringLiteral("Next -->"), false);
        break;
    case 4:
        question_->setText(QStringLiteral("Enter values in worksheet for equipment."));
        pages_->setCurrentIndex(kind);
        HelpContextId = 8;
        buttons(QStringLiteral("<-- Back"), QStringLiteral("Finish -->"), false);
        recalculate();
        break;
    case 6:
        question_->setText(QStringLiteral("Do you want to change Labor cost?"));
        pages_->setCurrentIndex(EditPage);
        HelpContextId = 37;
        buttons(QStringLiteral("Yes"), QStringLiteral("No -->"), false);
        break;
    case 7:
        question_->setText(QStringLiteral("Do you want to change Equipment?"));
        pages_->setCurrentIndex(EditPage);
        HelpContextId = 60;
        buttons(QStringLiteral("Yes"), QStringLiteral("No -->"), true);
        break;
    case 9:
        question_->clear();
        pages_->setCurrentIndex(kind);
        HelpContextId = 8;
        buttons(QString(), QStringLiteral("Finished -->"), false);
        recalculate();
        break;
    default:
        break;
    }
}

void CostWizard::LeftBtnClick()
{
    switch (step_) {
    case 1: {
        LaborRatesEditor editor(dm_, comp_.rules, dialogs_, this);
        editor.exec();
        break;
    }
    case 0:
    case 8: {
        EquipmentCostEditor editor(dm_, comp_.rules, dialogs_, this);
        editor.exec();
        for (Query* q : {&dm_.HCompanyQ, &dm_.HEquipQ, &dm_.HCostQ})
            q->open();  // the editor closed the handbook tables, not the queries
        break;
    }
    case 2:
        setStep(1);
        break;
    case 3:
        equipmentGrids_->hide();
        setStep(mode == Insert ? 0 : 8);
        break;
    case 4:
        setStep(3);
        break;
    case 6:
        setStep(1);
        break;
    case 7:
        setStep(8);
        break;
    default:
        break;
    }
}

void CostWizard::RightBtnClick()
{
    switch (step_) {
    case 1:
        setStep(2);
        break;
    case 2:
        laborerChosen();
        break;
    case 0:
    case 8:
        setStep(3);
        break;
    case 3:
        equipmentChosen();
        break;
    case 4:
        finishCheck();
        break;
    case 6:
        setStep(7);
        break;
    case 7:
    case 9:
        finish();
        break;
    default:
        break;
    }
}

void CostWizard::BackBtnClick()
{
    if (step_ == 1 && mode == Edit)
        setStep(6);
    else if (step_ == 0)
        setStep(2);
    else if (step_ == 8)
        setStep(7);
    else if (step_ == 7)
        setStep(6);
}

void CostWizard::CancelBtnClick()
{
    close();
}

void CostWizard::laborerChosen()
{
    if (dm_.LaborCostT.isEmpty()) {
        dialogs_.error(QStringLiteral("Must select a laborer?\nIf you do NOT have one then press the back button and enter a laborer."));
        return;
    }
    if (mode == Edit) {
        editRow();
        row()->fieldByName(QStringLiteral("LaborCost")).setAsFloat(dm_.LaborCostT.fieldByName(QStringLiteral("HourlyCosst")).asFloat());
        row()->post();
        dialogs_.information(QStringLiteral("Labor cost has been changed."));
        setStep(7);
        return;
    }
    setStep(0);
}

void CostWizard::equipmentChosen()
{
    if (dm_.HCostQ.isEmpty()) {
        dialogs_.error(QStringLiteral("Must select equipment first.\nIf you do NOT have any equipment in the database\n press the back button and enter you equipment."));
        return;
    }
    DataSet* r = row();
    if (r->state() == DataSetState::Insert)
        dialogs_.error(QStringLiteral("insert mode 0xx"));
    editRow();
    if (kind == kPushDozer && r->fieldByName(QStringLiteral("AddedEquipID")).asInteger() == -1)
        r->fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(pickedScraper());
    const double equipment = dm_.HCostQ.fieldByName(QStringLiteral("HourlyCost")).asFloat();
    const double labor = dm_.LaborCostT.fieldByName(QStringLiteral("HourlyCosst")).asFloat();
    const QString text = dm_.HCompanyQ.fieldByName(QStringLiteral("Name")).asString() + QStringLiteral(", ") +
                         dm_.HEquipQ.fieldByName(QStringLiteral("Type")).asString() + QStringLiteral(" -- ") +
                         dm_.HCostQ.fieldByName(QStringLiteral("Model")).asString();
    r->fieldByName(QStringLiteral("OperatCost")).setAsFloat(equipment);
    r->fieldByName(QStringLiteral("LaborCost")).setAsFloat(labor);
    r->fieldByName(QStringLiteral("EquipmentName")).setAsString(text);
    // The cost summary goes into the characterization with the costs, so that it stays with them
    // when the worksheet is later cancelled.
    QString chr = r->fieldByName(QStringLiteral("Char")).asString();
    if (!chr.isEmpty() && !chr.endsWith(QLatin1Char('\n')))
        chr += QLatin1Char('\n');
    chr += dm_.HCostQ.fieldByName(QStringLiteral("Specifications")).asString() + QLatin1Char('\n') +
           QStringLiteral("Date of Cost:  ") + dm_.HCostQ.fieldByName(QStringLiteral("DateOfCost")).asString() +
           QLatin1Char('\n') + QStringLiteral("Labor Hourly Cost:  ") + formatMoney(labor) + QLatin1Char('\n') +
           QStringLiteral("Equipment Hourly Cost:  ") + formatMoney(equipment) + QLatin1Char('\n') +
           QStringLiteral("Total Hourly Cost:  ") + formatMoney(labor + equipment);
    r->fieldByName(QStringLiteral("Char")).setAsString(chr);
    r->post();
    editRow();
    r->fieldByName(QStringLiteral("Name")).setAsString(text);  // lands in the row when it is next posted
    if (r->state() == DataSetState::Insert)
        dialogs_.error(QStringLiteral("Insert 4xx"));
    setStep(4);
    if (auto* act = pages_->widget(kind)->findChild<QWidget*>(QStringLiteral("ActMemo%1").arg(kind)))
        act->setFocus();
}

void CostWizard::recalculate()
{
    DataSet* r = row();
    if (!r || !r->active() || r->isEmpty())
        return;
    comp_.calculator.EquipCalcResults_ = EquipCalcResults();
    comp_.calculator.calculateKind(*r, kind, true);
}

void CostWizard::finishCheck()
{
    DataSet* r = row();
    if (r->state() == DataSetState::Insert)
        dialogs_.error(QStringLiteral("Insert 1xx"));
    recalculate();
    if (comp_.calculator.EquipCalcResults_.UnitHours < 0.00000001) {
        dialogs_.message(MsgType::Warning,
                         QStringLiteral("Hours require for this equipment is less than 0.0001\nYou will need to re-enter the equipment information!"));
        return;
    }
    finish();
}

void CostWizard::finish()
{
    DataSet* r = row();
    if ((step_ == 7 || step_ == 9) && r->state() == DataSetState::Insert)
        dialogs_.error(QStringLiteral("Insert 2xx"));
    if (r->isEditing())
        r->post();
    if (kind == kTruck)
        truckRelink();
    if (kind == kExcavator)
        comp_.calculator.MatchAddedHours(EquipmentCalculator::MatchSide::Excavator);
    else if (kind == kLoader)
        comp_.calculator.MatchAddedHours(EquipmentCalculator::MatchSide::Loader);
    else if (kind == kTruck)
        comp_.calculator.MatchAddedHours(EquipmentCalculator::MatchSide::Truck);
    step_ = 5;
    close();
}

void CostWizard::truckRelink()
{
    Table& stuff = dm_.EquipStuffT;
    auto unlink = [&](const QList<int>& rows, const char* message) {
        for (int plan : rows) {
            stuff.setFilter(QStringLiteral("PlanID = ") + QString::number(plan));
            stuff.setFiltered(true);
            if (stuff.isEmpty()) {
                dialogs_.error(QString::fromLatin1(message));
                continue;
            }
            stuff.edit();
            stuff.fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(-1);
            stuff.post();
        }
    };
    unlink(offeredLoaders_, "Error Setting Loader AddedequipID to -1!");
    unlink(offeredExcavators_, "Error Setting Excavator AddedequipID to -1!");
    DataSet* r = row();
    stuff.setFilter(QStringLiteral("PlanID = ") + QString::number(r->fieldByName(QStringLiteral("AddedEquipID")).asInteger()));
    stuff.setFiltered(true);
    if (stuff.isEmpty()) {
        dialogs_.error(QStringLiteral("Error adding TruckID to Loader or Execavator!"));
        return;
    }
    stuff.edit();
    stuff.fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(r->fieldByName(QStringLiteral("PlanID")).asInteger());
    stuff.post();
}

void CostWizard::closeEvent(QCloseEvent* e)
{
    if (loaderPicker_) {
        loaderPicker_->hide();
        excavatorPicker_->hide();
    }
    DataSet* r = row();
    try {
        if (r && r->active() && r->isEditing()) {
            if (step_ == 4 || step_ == 9)
                r->cancel();
            else if (step_ == 5)
                r->post();
        }
    } catch (const std::exception& ex) {
        dialogs_.showException(ex);
    }
    prepared_ = false;
    e->accept();  // the window always closes
}

void CostWizard::reject()
{
    close();
}

// ---------------------------------------------------------------- page handlers

int CostWizard::pickedScraper()
{
    return scraperPicker_ && scraperPicker_->currentIndex() >= 0 ? scraperPicker_->currentData().toInt() : -1;
}

bool CostWizard::pusherFactorChosen()
{
    return pusherFactors_ && pusherFactors_->checkedId() >= 0;
}

void CostWizard::chooseFirstPusherFactor()
{
    if (pusherFactors_)
        pusherFactors_->button(0)->setChecked(true);
}

int CostWizard::truckPartnerChoice()
{
    return excavatorChoice_ && excavatorChoice_->isChecked() ? 1 : 0;
}

int CostWizard::pickedTruckPartner()
{
    QComboBox* p = truckPartnerChoice() == 1 ? excavatorPicker_ : loaderPicker_;
    return p && p->currentIndex() >= 0 ? p->currentData().toInt() : -1;
}

void CostWizard::showResults(int k, const EquipCalcResults& results)
{
    const auto fields = results_.value(k);
    double production = 1;
    const QString productionName = QString::fromLatin1(sheetOf(k).production);
    for (const auto& [name, value] : results.named()) {
        if (QLineEdit* e = fields.value(name))
            e->setText(QString::number(value, 'f', name == QLatin1String("OperatingFactor") ? 4 : 2));
        if (name == productionName)
            production = value;
    }
    // The hours are drawn in red while the production they divide by is 0.
    if (QLineEdit* hours = hoursFields_.value(k)) {
        QPalette p = hours->palette();
        p.setColor(QPalette::Text, !productionName.isEmpty() && production == 0 ? Qt::red : palette().color(QPalette::Text));
        hours->setPalette(p);
        hours->setProperty("zeroProduction", !productionName.isEmpty() && production == 0);
    }
}

void CostWizard::truckChoiceChanged(int choice)
{
    const bool calc = dm_.CalcEnabled;
    dm_.CalcEnabled = false;
    loaderPicker_->setVisible(choice == 0);
    excavatorPicker_->setVisible(choice == 1);
    editRow();
    DataSet* r = row();
    r->fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(pickedTruckPartner());
    r->fieldByName(QStringLiteral("LoadExcavRG")).setAsInteger(choice);
    r->post();
    recalculate();
    dm_.CalcEnabled = calc;
}

void CostWizard::truckPickerChanged()
{
    const bool calc = dm_.CalcEnabled;
    dm_.CalcEnabled = false;
    editRow();
    row()->fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(pickedTruckPartner());
    row()->post();
    dm_.CalcEnabled = calc;
    recalculate();
}

void CostWizard::scraperPickerChanged()
{
    editRow();
    row()->fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(pickedScraper());
    recalculate();
}

void CostWizard::pusherFactorPicked(int index)
{
    editRow();
    row()->fieldByName(QStringLiteral("PusherFactor")).setAsFloat(QString::fromLatin1(kFactorChoices[index]).toDouble());
    row()->fieldByName(QStringLiteral("PusherItemIndex")).setAsInteger(index);
    recalculate();
}

// "Override Number of Trucks": the user's number takes the place of the computed one.
void CostWizard::showTruckOverride()
{
    if (!overrideTrucks_)
        return;
    const bool own = overrideTrucks_->isChecked();
    numTrucks_->setVisible(own);
    numTrucksCaption_->setVisible(own);
    QLineEdit* computed = results_.value(kTruck).value(QStringLiteral("NumberOfTrucks"));
    computed->setVisible(!own);
    if (auto* caption = computed->parentWidget()->findChild<QLabel*>(computed->objectName() + QStringLiteral("Caption")))
        caption->setVisible(!own);
}

bool CostWizard::event(QEvent* e)
{
    const bool r = QDialog::event(e);
    // The side windows the list closed before opening the wizard come back beside it.
    if (e->type() == QEvent::WindowActivate && tools)
        tools->reopenSideWindows(this);
    return r;
}

bool CostWizard::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(e);
        if (drag->mimeData()->hasFormat(volumeMimeType())) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (e->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(e);
        if (drop->mimeData()->hasFormat(volumeMimeType())) {
            bool ok = false;
            const double v = QString::fromUtf8(drop->mimeData()->data(volumeMimeType())).toDouble(&ok);
            if (ok) {
                dropVolume(v);
                drop->acceptProposedAction();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void CostWizard::dropVolume(double volume)
{
    DataSet* r = row();
    if (!r || !r->active())
        return;
    const bool wasEditing = r->isEditing();
    editRow();
    r->fieldByName(QStringLiteral("Volume")).setAsFloat(volume);
    if (!wasEditing)
        r->post();  // a row that was not being edited takes the volume at once
}

void CostWizard::matchHours(EquipmentCalculator::MatchSide side)
{
    comp_.calculator.MatchAddedHours(side);
    recalculate();
}
