// The pages of the main window: the mine, the projects with their worksheets,
// and the bond pages of the mine and of a project.
#include "AppContext.h"
#include "BondSummary.h"
#include "Computation.h"
#include "DBControls.h"
#include "DBNavigator.h"
#include "DeskCalculator.h"
#include "MainWindow.h"
#include "BondPageControls.h"
#include "Notebook.h"
#include <QAction>
#include "HelpRequest.h"
#include "SideBar.h"
#include "DataModule.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {

const QString kMoney = QStringLiteral("$###,###,###,###.##");
const QString kAcres = QStringLiteral("###,###,###,###.##");
const QString kPercent = QStringLiteral("###.#%");

template <typename W>
W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    l->setFont(f);
    return l;
}

// A read-only text showing a total, right-aligned.
QLineEdit* totalField(const QString& name, QWidget* parent)
{
    auto* e = named(new QLineEdit(QStringLiteral("0"), parent), name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    e->setPalette(p);
    return e;
}

}  // namespace

QLineEdit* MainWindow::bondField(const QString& name, QWidget* parent)
{
    QLineEdit* e = totalField(name, parent);
    e->clear();
    bondFields_.insert(name, e);
    return e;
}

QWidget* MainWindow::buildMinePage()
{
    DataModule& dm = *dm_;
    DataSource* s = &dm.MineDS;
    auto* page = new QWidget;
    auto* outer = new QHBoxLayout(page);
    auto* info = new QGroupBox(QStringLiteral("Mine Information:"), page);
    auto* form = new QFormLayout(info);
    auto edit = [&](const char* name, const QString& field, const QString& picture = {}) {
        return named(new DBEdit(s, field, picture, info), QString::fromLatin1(name));
    };
    form->addRow(QStringLiteral("Applicant Name:"), edit("ApplicantEdit", QStringLiteral("Applicant")));
    form->addRow(QStringLiteral("Permit ID:"), edit("PemitIDEdit", QStringLiteral("PemitID")));
    form->addRow(QStringLiteral("Type of Operation:"), edit("TypeOperationEdit", QStringLiteral("TypeOperation")));
    form->addRow(QStringLiteral("Location:"), edit("LocationEdit", QStringLiteral("Location")));
    form->addRow(QStringLiteral("Date:"), named(new DBDateEdit(s, QStringLiteral("Date"), info), QStringLiteral("DateEdit")));
    form->addRow(QStringLiteral("Prepared By:"), edit("PreparedByEdit", QStringLiteral("PreparedBy")));
    auto* memo = named(new DBMemo(s, QStringLiteral("Memo"), info), QStringLiteral("MineMemo"));
    memo->setMaximumHeight(90);
    form->addRow(QStringLiteral("Notes:"), memo);
    DBEdit* enr = edit("ENRIndexEdit", QStringLiteral("ENRIndex"), QStringLiteral("##########.##"));
    enr->setToolTip(QStringLiteral("Current ENR Cost Index"));
    enr->setMinimum(0.1);
    form->addRow(QStringLiteral("Current ENR:"), enr);
    auto* enrDate = named(new DBDateEdit(s, QStringLiteral("ENRIndexDate"), info), QStringLiteral("ENRIndexDateEdit"));
    enrDate->setToolTip(QStringLiteral("Date of current ENR cost index"));
    form->addRow(QStringLiteral("Date current ENR"), enrDate);
    form->addRow(QStringLiteral("Permit Term Years"), edit("ENRYearsEdit", QStringLiteral("ENRYears"), QStringLiteral("##########.#")));
    DBEdit* enr5 = edit("ENRIndex5Edit", QStringLiteral("ENRIndex5"), QStringLiteral("##########.##"));
    enr5->setMinimum(0.1);
    form->addRow(QStringLiteral("5 Years earlier ENR"), enr5);
    form->addRow(QStringLiteral("5 Years earlier ENR Date"),
                 named(new DBDateEdit(s, QStringLiteral("ENRIndexDate5"), info), QStringLiteral("ENRIndexDate5Edit")));
    // The Phase I and Phase II indexes are kept on the record but not shown.
    for (const char* f : {"ENRIndexI", "ENRIndexII"})
        edit(f, QString::fromLatin1(f))->hide();
    for (const char* f : {"ENRIndexDateI", "ENRIndexDateII"})
        named(new DBDateEdit(s, QString::fromLatin1(f), info), QString::fromLatin1(f))->hide();
    auto* autoFee = named(new DBRadioGroup(QStringLiteral("Auto Calculate Fees  From Table:"),
                                           {QStringLiteral("Yes"), QStringLiteral("No")}, {0, 1}, s,
                                           QStringLiteral("AutoFeeCal"), info),
                          QStringLiteral("DBRadioGroup1"));
    connect(autoFee, &DBRadioGroup::changed, this, &MainWindow::applyAutoFee);
    // The bond reads an empty AutoFeeCal as 0, so an empty value shows "Yes", as it is computed.
    autoFee->setEmptyChoice(0);
    form->addRow(autoFee);
    auto* site = named(new QPushButton(QStringLiteral("ENR CCI Web Site"), info), QStringLiteral("OvcURL1"));
    site->setFlat(true);
    site->setCursor(Qt::PointingHandCursor);
    site->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline; text-align: left;"));
    connect(site, &QPushButton::clicked, this, &MainWindow::OpenCostIndexSite);
    form->addRow(site);
    outer->addWidget(info, 3);

    auto* right = new QVBoxLayout;
    right->addWidget(named(new QLabel(page), QStringLiteral("DataSetLabel")));
    auto* search = named(new QGroupBox(QStringLiteral("Search for Mine:"), page), QStringLiteral("MineSearchGroup"));
    auto* sl = new QVBoxLayout(search);
    sl->addWidget(new QLabel(QStringLiteral("Select an index and enter search string"), search));
    sl->addWidget(named(new IndexSearch(dm.MineT, search), QStringLiteral("MineIndexSearch")));
    sl->addWidget(new QLabel(QStringLiteral("or"), search));
    sl->addWidget(new QLabel(QStringLiteral("Select Applicant Name:"), search));
    sl->addWidget(named(new DBPickList(s, QStringLiteral("Applicant"), search), QStringLiteral("ApplicantList")), 1);
    right->addWidget(search, 1);
    right->addWidget(named(new DBNavigator(s, ctx_.dialogs, page), QStringLiteral("DBNavigator1")));
    auto* review = named(new QGroupBox(QStringLiteral("Review the Estimate:"), page), QStringLiteral("ReviewGroup"));
    auto* rl = new QHBoxLayout(review);
    auto* compare = named(new QPushButton(QStringLiteral("Compare with..."), review), QStringLiteral("CompareWithBtn"));
    compare->setToolTip(QStringLiteral("This mine side by side with another mine of the data file"));
    connect(compare, &QPushButton::clicked, this, &MainWindow::CompareWith1Click);
    rl->addWidget(compare);
    auto* reprice = named(new QPushButton(QStringLiteral("Re-price at Current Costs..."), review), QStringLiteral("RepriceBtn"));
    reprice->setToolTip(QStringLiteral("A copy of this mine at the newest equipment and labor costs and a current cost index"));
    connect(reprice, &QPushButton::clicked, this, &MainWindow::RepriceMine1Click);
    rl->addWidget(reprice);
    right->addWidget(review);
    outer->addLayout(right, 2);
    return page;
}

QWidget* MainWindow::buildProjectsPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    sideBar_ = named(new SideBar(page), QStringLiteral("ProjectSideBar"));
    sideBar_->addFolder(QStringLiteral("Project Items"),
                        {QStringLiteral("Projects"), QStringLiteral("Demolition for Project"),
                         QStringLiteral("Earth-Moving for Project"), QStringLiteral("Revegetation Plan for Project"),
                         QStringLiteral("Other Direct Reclamation Cost"), QStringLiteral("Project Summary Bond"),
                         QStringLiteral("Project Bond Phase I"), QStringLiteral("Project Bond Phase II")});
    connect(sideBar_, &SideBar::itemClicked, this, &MainWindow::SideBarItemClick);
    projectNotebook_ = named(new Notebook(page), QStringLiteral("ProjCostOvcNotebook"));
    projectNotebook_->setTabsVisible(false);
    projectNotebook_->addPage(buildProjectPage(), QStringLiteral("Projects"));
    projectNotebook_->addPage(buildDemolitionPage(), QStringLiteral("Demolition"));
    projectNotebook_->addPage(buildEarthmovingPage(), QStringLiteral("Earthmoving"));
    projectNotebook_->addPage(buildRevegetationPage(), QStringLiteral("Revegetation"));
    projectNotebook_->addPage(buildOtherCostPage(), QStringLiteral("Other"));
    for (int phase = 0; phase < 3; ++phase)
        projectNotebook_->addPage(buildBondPage(phase, true), QStringLiteral("Project bond %1").arg(phase));
    connect(projectNotebook_, &Notebook::currentChanged, this, &MainWindow::ProjectNotebookChanged);
    layout->addWidget(sideBar_);
    layout->addWidget(projectNotebook_, 1);
    return page;
}

namespace {

// The frame of a worksheet page: a title, the fields, then the navigator, the picker and the total.
struct SheetPage {
    QWidget* page;
    QFormLayout* form;
    QVBoxLayout* side;
};

SheetPage sheetPage(const QString& title)
{
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    outer->addWidget(caption(title, page));
    auto* body = new QHBoxLayout;
    auto* fields = new QWidget(page);
    auto* form = new QFormLayout(fields);
    body->addWidget(fields, 5);
    auto* side = new QVBoxLayout;
    body->addLayout(side, 2);
    outer->addLayout(body, 1);
    return {page, form, side};
}

}  // namespace

QWidget* MainWindow::buildProjectPage()
{
    DataSource* s = &dm_->ProjectDS;
    SheetPage p = sheetPage(QStringLiteral("Projects:"));
    p.form->addRow(QStringLiteral("Project Name:"), named(new DBEdit(s, QStringLiteral("ProjectName")), QStringLiteral("ProjectNameEdit")));
    p.form->addRow(QStringLiteral("Date:"), named(new DBDateEdit(s, QStringLiteral("Date")), QStringLiteral("ProjectDateEdit")));
    p.form->addRow(QStringLiteral("Notes:"), named(new DBMemo(s, QStringLiteral("Memo")), QStringLiteral("ProjectMemo")));
    p.side->addWidget(named(new DBNavigator(s, ctx_.dialogs, p.page), QStringLiteral("ProjectNavigator")));
    p.side->addWidget(new QLabel(QStringLiteral("Search for Project:"), p.page));
    p.side->addWidget(new QLabel(QStringLiteral("Select Project Name:"), p.page));
    p.side->addWidget(named(new DBPickList(s, QStringLiteral("ProjectName"), p.page), QStringLiteral("ProjectList")), 1);
    return p.page;
}

QWidget* MainWindow::buildDemolitionPage()
{
    DataSource* s = &dm_->DemolDS;
    SheetPage p = sheetPage(QStringLiteral("Structure Demolition and Disposal:"));
    p.form->addRow(QStringLiteral("Demolition Item:"), named(new DBEdit(s, QStringLiteral("Item")), QStringLiteral("ItemEdit")));
    p.form->addRow(QStringLiteral("Type of Material:"), named(new DBEdit(s, QStringLiteral("TypeMaterial")), QStringLiteral("TypeMaterialEdit")));
    p.form->addRow(QStringLiteral("Volume"), named(new DBEdit(s, QStringLiteral("Volume"), QStringLiteral("###,###,###,###,###.###")), QStringLiteral("VolumeEdit")));
    p.form->addRow(QStringLiteral("X    Unit Cost:"), named(new DBEdit(s, QStringLiteral("UnitCost"), kMoney), QStringLiteral("UnitCostEdit")));
    p.form->addRow(QStringLiteral("=    Demolition Cost:"), named(new DBEdit(s, QStringLiteral("DemoCost"), kMoney), QStringLiteral("DemoCostEdit")));
    p.form->addRow(QStringLiteral("Notes:"), named(new DBMemo(s, QStringLiteral("Memo")), QStringLiteral("DemolMemo")));
    p.side->addWidget(named(new DBNavigator(s, ctx_.dialogs, p.page), QStringLiteral("DemolNavigator")));
    p.side->addWidget(new QLabel(QStringLiteral("Search Demolition Item:"), p.page));
    p.side->addWidget(named(new DBPickList(s, QStringLiteral("Item"), p.page), QStringLiteral("DemolList")), 1);
    p.side->addWidget(new QLabel(QStringLiteral("Total Demolition Cost:"), p.page));
    totals_.insert(QLatin1Char('D'), totalField(QStringLiteral("TotalDemoCostEdit"), p.page));
    offerExplanation(totals_.value(QLatin1Char('D')), 1, true);
    p.side->addWidget(totals_.value(QLatin1Char('D')));
    auto* btn = named(new QPushButton(QStringLiteral("Click to Enter Equipment and Labor Costs"), p.page), QStringLiteral("DemoEquipBtn"));
    btn->setToolTip(QStringLiteral("This button will allow you to enter equipment and labor cost."));
    connect(btn, &QPushButton::clicked, this, &MainWindow::EnterEquipBtnClick);
    equipButtons_.insert(QLatin1Char('D'), btn);
    p.side->addWidget(btn);
    return p.page;
}

QWidget* MainWindow::buildEarthmovingPage()
{
    DataSource* s = &dm_->MatDS;
    SheetPage p = sheetPage(QStringLiteral("Earthmoving:"));
    p.form->addRow(QStringLiteral("Earthmoving Activity"), named(new DBEdit(s, QStringLiteral("Description")), QStringLiteral("DescriptionEdit")));
    p.form->addRow(QStringLiteral("Origin:"), named(new DBEdit(s, QStringLiteral("Orgin")), QStringLiteral("OrginEdit")));
    p.form->addRow(QStringLiteral("Destination:"), named(new DBEdit(s, QStringLiteral("Destination")), QStringLiteral("DestinationEdit")));
    p.form->addRow(QStringLiteral("Haul Distance:"), named(new DBEdit(s, QStringLiteral("HaulDist"), QStringLiteral("###,###,###,###,###,###,###.#")), QStringLiteral("HaulDistEdit")));
    p.form->addRow(QStringLiteral("Grade%:"), named(new DBEdit(s, QStringLiteral("Grade"), QStringLiteral("########.##")), QStringLiteral("GradeEdit")));
    p.form->addRow(QStringLiteral("Notes:"), named(new DBMemo(s, QStringLiteral("Memo")), QStringLiteral("MatMemo")));
    p.side->addWidget(named(new DBNavigator(s, ctx_.dialogs, p.page), QStringLiteral("MatNavigator")));
    p.side->addWidget(new QLabel(QStringLiteral("Search Materials Items:"), p.page));
    p.side->addWidget(named(new DBPickList(s, QStringLiteral("Description"), p.page), QStringLiteral("MatList")), 1);
    p.side->addWidget(new QLabel(QStringLiteral("Total Materials Cost:"), p.page));
    totals_.insert(QLatin1Char('M'), totalField(QStringLiteral("TotalMatCostEdit"), p.page));
    offerExplanation(totals_.value(QLatin1Char('M')), 2, true);
    p.side->addWidget(totals_.value(QLatin1Char('M')));
    auto* btn = named(new QPushButton(QStringLiteral("Click to Enter Equipment and Labor Costs"), p.page), QStringLiteral("MaterialsEquipBtn"));
    btn->setToolTip(QStringLiteral("This button will allow you to enter equipment and labor cost."));
    connect(btn, &QPushButton::clicked, this, &MainWindow::EnterEquipBtnClick);
    equipButtons_.insert(QLatin1Char('M'), btn);
    p.side->addWidget(btn);
    return p.page;
}

QWidget* MainWindow::buildRevegetationPage()
{
    DataSource* s = &dm_->RevegDS;
    SheetPage p = sheetPage(QStringLiteral("Revegetation:"));
    QList<QWidget*> posting;  // leaving any of these posts the worksheet
    auto edit = [&](QWidget* parent, const char* field, const QString& picture) {
        auto* e = named(new DBEdit(s, QString::fromLatin1(field), picture, parent), QString::fromLatin1(field) + QStringLiteral("Edit"));
        posting << e;
        return e;
    };
    auto* nameEdit = edit(p.page, "Name", {});
    p.form->addRow(QStringLiteral("Name:"), nameEdit);
    auto* inner = named(new QTabWidget(p.page), QStringLiteral("RevegNotebook"));
    // Every tab in sight: the page is as wide as its tabs.
    inner->setUsesScrollButtons(false);
    inner->setElideMode(Qt::ElideNone);
    inner->setDocumentMode(true);

    auto* seedPage = new QWidget;
    auto* sg = new QGridLayout(seedPage);
    auto* seeding = new QGroupBox(QStringLiteral("Initial Seeding"), seedPage);
    auto* sf = new QFormLayout(seeding);
    sf->addRow(QStringLiteral("Acres to be seeded:"), edit(seeding, "AcresSeed", kAcres));
    sf->addRow(QStringLiteral("Cost seedbed prep/ac :"), edit(seeding, "CostSeedBed", kMoney));
    sf->addRow(QStringLiteral("Cost of seeding, fert., mulch/acre:"), edit(seeding, "CostSeed", kMoney));
    products_[0] = totalField(QStringLiteral("Field1"), seeding);
    sf->addRow(QStringLiteral("Initial seeding cost:"), products_[0]);
    auto* planting = new QGroupBox(QStringLiteral("Planting Trees and Shrubs"), seedPage);
    auto* pf = new QFormLayout(planting);
    pf->addRow(QStringLiteral("Arcres to be planted:"), edit(planting, "AcresPlant", kAcres));
    pf->addRow(QStringLiteral("Cost of planting/ac:"), edit(planting, "CostPlant", kMoney));
    pf->addRow(QStringLiteral("Cost of herbicide/ac:"), edit(planting, "CostHerb", kMoney));
    products_[1] = totalField(QStringLiteral("Field2"), planting);
    pf->addRow(QStringLiteral("Planting cost:"), products_[1]);
    sg->addWidget(seeding, 0, 0);
    sg->addWidget(planting, 1, 0);
    inner->addTab(seedPage, QStringLiteral("Initial seeding -- Planting"));

    auto* reseedPage = new QWidget;
    auto* rg = new QGridLayout(reseedPage);
    auto* reseeding = new QGroupBox(QStringLiteral("Reseeding"), reseedPage);
    auto* rf = new QFormLayout(reseeding);
    rf->addRow(QStringLiteral("Acres to be seeded and unreleased distrubed areas:"), edit(reseeding, "RAcresSeed", kAcres));
    rf->addRow(QStringLiteral("Cost seedbed prep/ac :"), edit(reseeding, "RCostSeedBed", kMoney));
    rf->addRow(QStringLiteral("Cost of seeding, fert., mulch/acre:"), edit(reseeding, "RCostSeed", kMoney));
    rf->addRow(QStringLiteral("Failure rate:"), edit(reseeding, "SeedFail", kPercent));
    products_[2] = totalField(QStringLiteral("Field3"), reseeding);
    rf->addRow(QStringLiteral("Reseeding cost:"), products_[2]);
    auto* replanting = new QGroupBox(QStringLiteral("Replanting Trees and Shrubs"), reseedPage);
    auto* rpf = new QFormLayout(replanting);
    rpf->addRow(QStringLiteral("Arcres to be planted and unreleased disturbed areas:"), edit(replanting, "RAcresPlant", kAcres));
    rpf->addRow(QStringLiteral("Cost of planting/ac:"), edit(replanting, "RCostPlant", kMoney));
    rpf->addRow(QStringLiteral("Cost of herbicide/ac:"), edit(replanting, "RCostHerb", kMoney));
    rpf->addRow(QStringLiteral("Failure rate:"), edit(replanting, "PlantFail", kPercent));
    products_[3] = totalField(QStringLiteral("Field4"), replanting);
    rpf->addRow(QStringLiteral("Replanting cost:"), products_[3]);
    for (QLineEdit* product : products_) {
        auto* explain = new QAction(QStringLiteral("Explain this amount..."), product);
        explain->setObjectName(QStringLiteral("ExplainAmount1"));
        HelpRequest::addContextAction(product, explain);
        connect(explain, &QAction::triggered, this, &MainWindow::ExplainRevegetationRow);
    }
    rg->addWidget(reseeding, 0, 0);
    rg->addWidget(replanting, 1, 0);
    inner->addTab(reseedPage, QStringLiteral("Reseeding -- Replanting"));

    auto* otherPage = new QWidget;
    auto* of = new QFormLayout(otherPage);
    of->addRow(QStringLiteral("Other revegatation Cost:"), edit(otherPage, "OtherCost", kMoney));
    auto* memoOther = named(new DBMemo(s, QStringLiteral("MemoOther"), otherPage), QStringLiteral("MemoOther"));
    posting << memoOther;
    of->addRow(memoOther);
    inner->addTab(otherPage, QStringLiteral("Other revegetation cost"));
    auto* notes = named(new DBMemo(s, QStringLiteral("Memo")), QStringLiteral("RevegMemo"));
    posting << notes;
    inner->addTab(notes, QStringLiteral("Revegetation Notes"));
    // The inner notebook takes the page's whole width under the name, the navigator and the total.
    auto* pageLayout = static_cast<QVBoxLayout*>(p.page->layout());
    pageLayout->setContentsMargins(4, 4, 4, 4);  // the four tabs and the side column fit a small screen
    pageLayout->addWidget(inner, 3);

    failureRateLabel_ = named(new QLabel(QStringLiteral("Identify failure rate and bais.  If anticipated failure rates vary "
                                                        "within the area proposed for disturbance, use a separate "
                                                        "revegetation worksheet for the area subject to each failure rate."),
                                         p.page),
                              QStringLiteral("FailureRateLabel"));
    failureRateLabel_->setWordWrap(true);
    failureRateLabel_->hide();
    pageLayout->addWidget(failureRateLabel_);
    connect(inner, &QTabWidget::currentChanged, this, [this](int i) { failureRateLabel_->setVisible(i == 1); });

    // Leaving a field posts the worksheet, so the products and the total follow at once.
    for (QWidget* w : posting) {
        w->installEventFilter(this);
        w->setProperty("postsReveg", true);
    }
    p.side->addWidget(named(new DBNavigator(s, ctx_.dialogs, p.page), QStringLiteral("RevegNavigator")));
    p.side->addWidget(new QLabel(QStringLiteral("Search Revegetation Items:"), p.page));
    p.side->addWidget(named(new DBPickList(s, QStringLiteral("Name"), p.page), QStringLiteral("RevegList")), 1);
    p.side->addWidget(new QLabel(QStringLiteral("Total Revegetation Cost:"), p.page));
    totals_.insert(QLatin1Char('R'), totalField(QStringLiteral("TotalRevegCostEdit"), p.page));
    offerExplanation(totals_.value(QLatin1Char('R')), 3, true);
    p.side->addWidget(totals_.value(QLatin1Char('R')));
    auto* btn = named(new QPushButton(QStringLiteral("Click to Enter Equipment and Labor Costs"), p.page), QStringLiteral("RevegEquipBtn"));
    btn->setToolTip(QStringLiteral("This button will allow you to enter equipment and labor cost."));
    connect(btn, &QPushButton::clicked, this, &MainWindow::EnterEquipBtnClick);
    equipButtons_.insert(QLatin1Char('R'), btn);
    p.side->addWidget(btn);
    return p.page;
}

QWidget* MainWindow::buildOtherCostPage()
{
    DataSource* s = &dm_->OtherDS;
    SheetPage p = sheetPage(QStringLiteral("Other Direct Reclamation Cost:"));
    p.form->addRow(QStringLiteral("Name:"), named(new DBEdit(s, QStringLiteral("Name")), QStringLiteral("OtherNameEdit")));
    p.form->addRow(QStringLiteral("Description:"), named(new DBMemo(s, QStringLiteral("Description")), QStringLiteral("OtherDescriptionMemo")));
    p.form->addRow(QStringLiteral("Assumptions:"), named(new DBMemo(s, QStringLiteral("Assumptions")), QStringLiteral("AssumptionsMemo")));
    p.form->addRow(QStringLiteral("Cost Calculations:"), named(new DBMemo(s, QStringLiteral("CostCal")), QStringLiteral("CostCalMemo")));
    p.form->addRow(QStringLiteral("Cost:"), named(new DBEdit(s, QStringLiteral("TotalCost"), kMoney), QStringLiteral("TotalCostEdit")));
    auto* calculator = named(new DeskCalculator(p.page), QStringLiteral("OtherCalculator"));
    calculator->setMaximumWidth(220);
    p.form->addRow(QStringLiteral("Calculator:"), calculator);
    p.side->addWidget(named(new DBNavigator(s, ctx_.dialogs, p.page), QStringLiteral("OtherNavigator")));
    p.side->addWidget(new QLabel(QStringLiteral("Search Other Cost Items:"), p.page));
    p.side->addWidget(named(new DBPickList(s, QStringLiteral("Name"), p.page), QStringLiteral("OtherList")), 1);
    p.side->addWidget(new QLabel(QStringLiteral("Total Other reclamation Cost:"), p.page));
    totals_.insert(QLatin1Char('O'), totalField(QStringLiteral("TotalOtherCostEdit"), p.page));
    offerExplanation(totals_.value(QLatin1Char('O')), 4, true);
    p.side->addWidget(totals_.value(QLatin1Char('O')));
    return p.page;
}

void MainWindow::applyAutoFee(int choice)
{
    // "Yes" (0): the profit and management percents come from the tables and cannot be typed.
    const bool fromTables = choice == 0;
    for (QWidget* w : autoFeeFields_) {
        w->setEnabled(!fromTables);
        QPalette p = w->palette();
        p.setColor(QPalette::Base, fromTables ? p.color(QPalette::Button) : QPalette().color(QPalette::Base));
        w->setPalette(p);
    }
}

QWidget* MainWindow::buildBondPage(int phase, bool project)
{
    struct Row {
        int item;  // 0: a factor
        const char* label;
        const char* control;
    };
    static const Row phase0[] = {{1, "1. Total facility and structure removal cost", "BTotalDemoCostEdit"},
                                 {2, "2. Total earthmoving cost", "BTotalMaterialCostEdit"},
                                 {3, "3. Total revegetation cost", "BtotalRevegCostEdit"},
                                 {4, "4. Total other reclamation cost", "BTotalOtherCostEdit"},
                                 {5, "5. Total direct cost", "TotalDirectEdit"},
                                 {0, "Inflation factor (current ENR / ENR 5 years earlier)", "BInflationFactorEdit"},
                                 {6, "6. Inflated direct cost", "BInflatedDirectCostEdit"},
                                 {7, "7. Mobilization and demobilization", "BMobDemobCostEdit"},
                                 {8, "8. Contingencies", "BContinCostEdit"},
                                 {9, "9. Engineering redesign fee", "BEngCostEdit"},
                                 {10, "10. Contractor profit and overhead", "BProfitCostEdit"},
                                 {11, "11. Project management fee", "BFeeCostEdit"},
                                 {12, "12. Total indirect cost", "TotalIndirectEdit"},
                                 {13, "13. Total bond amount", "TotalBondEdit"}};
    static const Row phase1[] = {{13, "13. Total bond amount", "TotalBond1Edit"},
                                 {0, "Phase I inflation factor", "BInflationFactorIEdit"},
                                 {14, "14. Inflated direct cost after Phase I", "BInflatedDirectCostIEdit"},
                                 {15, "15. Mobilization and demobilization", "BMobDemobCostIEdit"},
                                 {16, "16. Contingencies", "BContinCostIEdit"},
                                 {17, "17. Engineering redesign fee", "BEngCostIEdit"},
                                 {18, "18. Contractor profit and overhead", "BProfitCostIEdit"},
                                 {19, "19. Project management fee", "BFeeCostIEdit"},
                                 {20, "20. Total indirect cost after Phase I", "TotalIndirectIEdit"},
                                 {21, "21. Computed amount of bond needed after Phase I release", "BAfterPhaseIEdit"},
                                 {22, "22. Minimum amount of bond after Phase I release (40% of item 13)", "BMinimimBondEdit"},
                                 {23, "23. Required amount of bond after Phase I release", "BRequiedBondEdit"},
                                 {13, "13. Total bond amount", "TotalBond2Edit"},
                                 {24, "24. Phase I release amount (item 13 - item 23)", "BPhaseIReleaseAmountEdit"}};
    static const Row phase2[] = {{3, "3. Total revegetation cost", "BtotalRevegCost1Edit"},
                                 {4, "4. Total other reclamation cost", "BTotalOtherCost1Edit"},
                                 {25, "25. Total direct cost for revegetation and other reclamation", "TotalDirectIIEdit"},
                                 {0, "Phase II inflation factor", "BInflationFactorIIEdit"},
                                 {26, "26. Inflated direct cost after Phase II", "BInflatedDirectCostIIEdit"},
                                 {27, "27. Mobilization and demobilization", "BMobDemobCostIIEdit"},
                                 {28, "28. Contingencies", "BContinCostIIEdit"},
                                 {29, "29. Engineering redesign fee", "BEngCostIIEdit"},
                                 {30, "30. Contractor profit and overhead", "BProfitCostIIEdit"},
                                 {31, "31. Project management fee", "BFeeCostIIEdit"},
                                 {32, "32. Total indirect cost after Phase II", "TotalIndirectIIEdit"},
                                 {33, "33. Computed amount of bond needed after Phase II release", "TotalBondIIEdit"},
                                 {34, "34. Phase II release amount (item 23 - item 33)", "PhaseIIRealeaseEdit"}};
    static const char* titles[2][3] = {
        {"Reclamation Estimate for Mine", "Mine Bond Following Phase I", "Mine Bond Following Phase II"},
        {"Project Reclamation Bond Summary", "Reclamation Bond Summary for Project Following Phase I",
         "Reclamation Bond Summary for Project Following Phase II"}};
    static const char* hints[5] = {"Range of values is: 1.0 - 10.0", "Range of values is: 3.0 - 5.0",
                                   "Range of values is: 2.5 - 6.0", "Range of values is: 0.0 - 100.0",
                                   "Range of values is: 0.0 - 100.0"};
    static const char* percentNames[3][5] = {
        {"MobPercentEdit", "ContinPercentEdit", "EngPercentEdit", "ProfitNumberEdit", "ProjectManNumberEdit"},
        {"MobPercentIEdit", "ContinPercentIEdit", "EngPercentIEdit", "ProfitINumberEdit", "ProjectManINumberEdit"},
        {"MobPercentIIEdit", "ContinPercentIIEdit", "EngPercentIIEdit", "ProfitIINumberEdit", "ProjectManIINumberEdit"}};
    static const char* boxes[5] = {"MobCB", "ContinCB", "EngCB", "ContCB", "ManageCB"};
    static const char* amounts[5] = {"MobNumberEdit", "ContinNumberEdit", "EngNumberEdit", "ContNumberEdit", "ManageNumberEdit"};
    static const char* buttons[3][4] = {{"BondPostBitBtn", "RecalBtn", "ContracBtn", "RecBtn"},
                                        {"BondPostIBitBtn", "Button1", "SpeedButton2", "SpeedButton3"},
                                        {"BondPostIIBitBtn", "Button2", "SpeedButton4", "SpeedButton5"}};
    const Row* rows = phase == 0 ? phase0 : phase == 1 ? phase1 : phase2;
    const int count = phase == 2 ? 13 : 14;
    const int firstIndirect = phase == 0 ? 7 : phase == 1 ? 15 : 27;
    const QString suffix = phase == 0 ? QString() : QString::number(phase);
    DataSource* mine = &dm_->MineDS;

    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    outer->addWidget(caption(QString::fromLatin1(titles[project][phase]), page));
    auto* grid = new QGridLayout;
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Percent"), page), 0, 2);
    int line = 1;
    for (int r = 0; r < count; ++r, ++line) {
        const Row& row = rows[r];
        grid->addWidget(new QLabel(QString::fromLatin1(row.label), page), line, 0);
        const QString mineName = QString::fromLatin1(row.control);
        QLineEdit* computed = bondField(project ? BondPageControls::projectControlOf(mineName) : mineName, page);
        offerExplanation(computed, row.item, project);
        grid->addWidget(computed, line, 1);
        const int i = row.item - firstIndirect;
        if (row.item < firstIndirect || i > 4)
            continue;
        const BondSummary::IndirectFields f = BondSummary::indirectFields(phase, i);
        auto* percent = named(new DBEdit(mine, QString::fromLatin1(f.percent), QStringLiteral("###.####"), page),
                              QString::fromLatin1(percentNames[phase][i]) + (project ? QStringLiteral("Prj") : QString()));
        percent->setMaximumWidth(110);
        grid->addWidget(percent, line, 2);
        if (project) {
            percent->setDisplayOnly(true);
            percent->setToolTip(QStringLiteral("Enter value on Mines/Project page"));
            continue;
        }
        percent->setToolTip(QString::fromLatin1(hints[i]));
        if (i >= 3)
            autoFeeFields_ << percent;
        auto* box = named(new DBCheckBox(QStringLiteral("Override"), mine, QString::fromLatin1(f.over), page),
                          QString::fromLatin1(boxes[i]) + suffix);
        grid->addWidget(box, line, 3);
        auto* amount = named(new DBEdit(mine, QString::fromLatin1(f.amount), QStringLiteral("$###,###,###,###.##"), page),
                             QString::fromLatin1(amounts[i]) + suffix);
        grid->addWidget(amount, line, 1);  // the same place as the computed item
        // Tab walks the row as it stands: the amount, the percent, the check box.
        QWidget::setTabOrder(amount, percent);
        QWidget::setTabOrder(percent, box);
        overrides_.append({box, amount, computed});
        connect(box, &QCheckBox::clicked, this, &MainWindow::ShowOverrideFields);
        connect(box, &QCheckBox::toggled, this, &MainWindow::ShowOverrideFields);
    }
    // Beside the amounts while the bond shown leaves out stored values it could not use.
    auto* incomplete = named(new QLabel(page), QStringLiteral("BondIncompleteNote%1%2")
                                                   .arg(phase)
                                                   .arg(project ? QStringLiteral("Prj") : QString()));
    QPalette red = incomplete->palette();
    red.setColor(QPalette::WindowText, QColor(0xc0, 0x00, 0x00));
    incomplete->setPalette(red);
    incomplete->setWordWrap(true);
    incomplete->setTextInteractionFlags(Qt::TextSelectableByMouse);
    incomplete->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    incomplete->setMinimumWidth(180);
    incomplete->hide();
    incompleteNotes_ << incomplete;
    grid->addWidget(incomplete, 1, 4, count, 1);
    outer->addLayout(grid);
    outer->addStretch(1);
    if (!project) {
        auto* bar = new QHBoxLayout;
        auto button = [&](int k, const char* text) {
            auto* b = named(new QPushButton(QString::fromLatin1(text), page), QString::fromLatin1(buttons[phase][k]));
            bar->addWidget(b);
            return b;
        };
        QPushButton* post = button(0, "Post");
        post->setEnabled(false);
        postButtons_ << post;
        connect(post, &QPushButton::clicked, this, [this] { comp_->bond.BondPostClick(); });
        connect(button(1, "Re-calculate After a Change"), &QPushButton::clicked, this, [this] { comp_->bond.RecalcClick(); });
        auto* outdated = named(new QLabel(QStringLiteral("The figures are older than the mine's inputs"), page),
                               QStringLiteral("BondOutdatedNote%1").arg(phase));
        QPalette warn = outdated->palette();
        warn.setColor(QPalette::WindowText, QColor(0xb0, 0x30, 0x00));
        outdated->setPalette(warn);
        outdated->hide();
        outdatedNotes_ << outdated;
        outer->addWidget(outdated);  // above the buttons, so that the row of buttons keeps its width
        connect(button(2, "Use Contractor profit database for %"), &QPushButton::clicked, this,
                [this] { comp_->bond.ContracBtnClick(); });
        connect(button(3, "Use reclamation database for %"), &QPushButton::clicked, this,
                [this] { comp_->bond.RecBtnClick(); });
        bar->addStretch(1);
        outer->addLayout(bar);
    }
    return page;
}
