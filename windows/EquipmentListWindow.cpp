#include "EquipmentListWindow.h"
#include <QAction>
#include "ExplanationWindow.h"

#include "HelpRequest.h"

#include "ActivationSetUp.h"
#include "Computation.h"
#include "DBControls.h"
#include "DBNavigator.h"
#include "Dialogs.h"
#include "CostWizard.h"
#include "Keyboard.h"
#include "SideBar.h"
#include "DataModule.h"
#include "StoredNames.h"
#include "WindowSettings.h"
#include "ToolWindows.h"

#include <QEvent>
#include <algorithm>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

EquipmentListWindow::EquipmentListWindow(DataModule& dm, Computation& computation, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dm_(dm), comp_(computation), dialogs_(dialogs),
      source_(std::make_unique<DataSource>(QStringLiteral("EquipLaborDS")))
{
    setObjectName(QLatin1String(storedname::EquipmentListWindow));
    setWindowTitle(QStringLiteral("Equipment and Labor Calculations:"));
    source_->setEnabled(false);
    auto* outer = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QAction* close = menu->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("Close1"));
    connect(close, &QAction::triggered, this, &QDialog::close);
    QMenu* tools = menu->addMenu(QStringLiteral("&Tools"));
    QAction* trucks = tools->addAction(QStringLiteral("&Optimal # Truck Calculator"));
    trucks->setObjectName(QStringLiteral("OptimalTruckCalculator1"));
    connect(trucks, &QAction::triggered, this, [this] {
        if (tools_)
            tools_->showTruckCalculator(this);
    });
    QMenu* helpMenu = menu->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("Help1"));
    HelpRequest::setContext(this, 38);
    QAction* thisForm = helpMenu->addAction(QStringLiteral("Help this Form"));
    thisForm->setObjectName(QStringLiteral("HelpThisForm1"));
    connect(thisForm, &QAction::triggered, this, [this] { HelpRequest::context(this, 38); });
    QAction* searchHelp = helpMenu->addAction(QStringLiteral("Search Help"));
    searchHelp->setObjectName(QStringLiteral("SearchHelp1"));
    connect(searchHelp, &QAction::triggered, this, [this] { HelpRequest::finder(this); });
    QAction* about = helpMenu->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, [this] {
        if (showAbout)
            showAbout(this);
    });
    outer->setMenuBar(menu);

    auto* body = new QHBoxLayout;
    auto* bar = new SideBar(this);
    bar->setObjectName(QStringLiteral("AddEquipmentBar"));
    QStringList kinds;
    for (int k = 0; k < 10; ++k)
        kinds << EquipmentCalculator::kindName(k);
    bar->addFolder(QStringLiteral("Add Equipment"), kinds);
    connect(bar, &SideBar::itemClicked, this, &EquipmentListWindow::AddEquipment);
    auto* help = new QLabel(QStringLiteral("Help on Adding Equipment:\nClick a kind of machine to add it. For the "
                                           "calculated kinds the program computes the hours from the machine's "
                                           "worksheet; \"User Calculated\" takes your own hours for any machine."),
                            this);
    help->setWordWrap(true);
    help->setMaximumWidth(std::max(180, bar->sizeHint().width()));
    auto* left = new QVBoxLayout;
    left->addWidget(bar, 1);
    left->addWidget(help);
    body->addLayout(left);

    auto* fields = new QFormLayout;
    DataSource* s = source_.get();
    auto field = [&](const char* name, const char* caption, const QString& field, const QString& picture, bool editable) {
        auto* e = new DBEdit(s, field, picture, this);
        e->setObjectName(QString::fromLatin1(name));
        e->setDisplayOnly(!editable);
        fields->addRow(QString::fromLatin1(caption), e);
        if (editable) {
            editable_ << e;
            // Leaving an editable field posts the row.
            connect(e, &QLineEdit::editingFinished, this, [this] {
                if (dataSet_ && dataSet_->active() && dataSet_->isEditing())
                    dataSet_->post();
            });
        }
        return e;
    };
    field("EquipmentNameEdit", "Equipment:", QStringLiteral("EquipmentName"), {}, false);
    field("EquipNameEdit", "Equipment Worksheet Type:", QStringLiteral("EquipName"), {}, false);
    field("LaborCostEdit", "Labor Cost / Hour:", QStringLiteral("LaborCost"), QStringLiteral("$###,###,###.##"), false);
    field("OperatCostEdit", "Operating Cost / Hour:", QStringLiteral("OperatCost"), QStringLiteral("$###,###,###.##"), false);
    for (DBEdit* amount :
         {field("TotalCostEdit", "Total Cost", QStringLiteral("TotalCost"), QStringLiteral("$###,###,###,###,###.##"), false),
          field("HrsReqEdit", "Hours Required", QStringLiteral("HrsReq"), QStringLiteral("###,###,###,###,###,###.#"), false)}) {
        auto* explain = new QAction(QStringLiteral("Explain this amount..."), amount);
        explain->setObjectName(QStringLiteral("ExplainAmount1"));
        HelpRequest::addContextAction(amount, explain);
        connect(explain, &QAction::triggered, this, &EquipmentListWindow::explainMachine);
    }
    field("RouteEdit", "Route", QStringLiteral("Route"), {}, false);
    field("DescriptionsEdit", "Description:", QStringLiteral("Descriptions"), {}, true);
    field("HaulDistanceEdit", "Haul Distance:", QStringLiteral("HaulDistance"), QStringLiteral("###,###,###,###.#"), true);
    field("GradeEdit", "Grade%:", QStringLiteral("Grade"), QStringLiteral("#,###,###.##"), true);
    auto* middle = new QVBoxLayout;
    middle->addLayout(fields);
    auto* buttons = new QHBoxLayout;
    auto* edit = new QPushButton(QStringLiteral("Edit Labor and/or change Equipment"), this);
    edit->setObjectName(QStringLiteral("EditLaborBtn"));
    auto* view = new QPushButton(QStringLiteral("Edit/View Worksheet"), this);
    view->setObjectName(QStringLiteral("ViewWorksheetBtn"));
    view->setToolTip(QStringLiteral("View or Edit a worksheet"));
    auto* del = new QPushButton(QStringLiteral("Delete Equipment"), this);
    del->setObjectName(QStringLiteral("DeleteEquipmentBtn"));
    connect(edit, &QPushButton::clicked, this, &EquipmentListWindow::EditLaborBtnClick);
    connect(view, &QPushButton::clicked, this, &EquipmentListWindow::ViewWorksheetBtnClick);
    connect(del, &QPushButton::clicked, this, &EquipmentListWindow::DeleteBtnClick);
    for (QPushButton* b : {edit, view, del})
        buttons->addWidget(b);
    middle->addLayout(buttons);
    auto* nav = new DBNavigator(s, dialogs_, this);
    nav->setObjectName(QStringLiteral("EquipNavigator"));
    // It only moves: a row made here would have no kind, and rows are added and deleted by the list's own buttons.
    nav->setVisibleButtons({DBNavigator::First, DBNavigator::Prior, DBNavigator::Next, DBNavigator::Last,
                            DBNavigator::Refresh});
    // After a refresh the list stands on its last row.
    connect(nav, &DBNavigator::clicked, this, [this](DBNavigator::Button b) {
        if (b == DBNavigator::Refresh && dataSet_)
            dataSet_->last();
    });
    middle->addWidget(nav);
    middle->addStretch(1);
    body->addLayout(middle, 2);

    auto* search = new QGroupBox(QStringLiteral("Search for Equipment:"), this);
    auto* sl = new QVBoxLayout(search);
    auto* list = new DBPickList(s, QStringLiteral("EquipmentName"), search);
    list->setObjectName(QStringLiteral("EquipmentList"));
    // Machines of the same make are told apart by their kind and route.
    list->setItemText({QStringLiteral("EquipCode2"), QStringLiteral("Route")}, [](const QVariantList& v) {
        const QString kind = EquipmentCalculator::kindName(v.value(1).isValid() ? v.value(1).toInt() : -1);
        const QString route = v.value(2).toString().trimmed();
        QString extra = kind;
        if (!route.isEmpty())
            extra += (extra.isEmpty() ? QString() : QStringLiteral(", ")) + route;
        return extra.isEmpty() ? v.value(0).toString() : v.value(0).toString() + QStringLiteral("  (") + extra + QLatin1Char(')');
    });
    sl->addWidget(list);
    body->addWidget(search, 1);
    outer->addLayout(body, 1);

    auto* statusBar = new QStatusBar(this);
    activity_ = new QLabel(statusBar);
    activity_->setObjectName(QStringLiteral("ActivityPanel"));
    status_ = new QLabel(statusBar);
    status_->setObjectName(QStringLiteral("FactorStatusPanel"));
    statusBar->addWidget(activity_, 1);
    statusBar->addWidget(status_, 1);
    outer->addWidget(statusBar);
    resize(980, 520);
    WindowSettings::fitScreen(this);

    // Enter in a field or on the side bar presses no button: each button is pressed by itself.
    Keyboard::keepEnterForDefault(this, nullptr);
    captionBoundControls(this);
    Keyboard::assignMnemonics(this);

    wizard_ = std::make_unique<CostWizard>(dm_, comp_, dialogs_, *this, this);
    activation_ = std::make_unique<ActivationSetUp>(*this, dialogs_, [this] { FormActivate(); });
    comp_.calculator.setList(this);
}

EquipmentListWindow::~EquipmentListWindow()
{
    comp_.calculator.setList(nullptr);
}

void EquipmentListWindow::setTools(ToolWindows* tools)
{
    tools_ = tools;
    wizard_->tools = tools;
}

void EquipmentListWindow::setDataSet(DataSet* ds)
{
    if (ds == dataSet_)
        return;
    dataSet_ = ds;
    source_->setDataSet(ds);
    source_->setEnabled(true);
}

QString EquipmentListWindow::factorStatus() const
{
    return status_->text();
}

void EquipmentListWindow::setFactorStatus()
{
    if (!dataSet_ || dataSet_->isEmpty())
        status_->setText(QStringLiteral("No Equipment factors entered!"));
    else if (dataSet_->fieldByName(QStringLiteral("HrsReq")).asFloat() == 0.0)
        status_->setText(QStringLiteral("Error(s) in Equipment factors entered!"));
    else
        status_->setText(QStringLiteral("Equipment factors entered!"));
}

void EquipmentListWindow::setEditableState()
{
    if (!dm_.CalcEnabled || !dataSet_)
        return;
    const bool rows = !dataSet_->isEmpty();
    for (DBEdit* e : editable_) {
        e->setEnabled(rows);
        QPalette p = e->palette();
        p.setColor(QPalette::Base, rows ? QColor(Qt::white) : palette().color(QPalette::Window));
        e->setPalette(p);
    }
}

bool EquipmentListWindow::event(QEvent* e)
{
    if (e->type() == QEvent::Show)
        opening_ = true;  // the first set-up of this showing stands on the last row
    const bool r = QDialog::event(e);
    if (activation_)  // events come while the constructor builds the window, before it is made
        activation_->handle(e);
    // The side windows closed before the list opened come back over it once it stands on
    // the screen and is active, as beside the wizard; shown earlier they would go under it.
    if (e->type() == QEvent::WindowActivate && tools_)
        tools_->reopenSideWindows(this);
    return r;
}

void EquipmentListWindow::FormActivate()
{
    activity_->setText(NameActivity);
    if (!dataSet_ || !dataSet_->active())
        return;
    setFactorStatus();
    // Opened for a worksheet, the list stands on its last row; coming back from the wizard
    // or another window it stays on the row the user chose.
    if (opening_)
        dataSet_->last();
    opening_ = false;
    setEditableState();
}

void EquipmentListWindow::handOver(int kind, int mode, bool sideWindowsClosed)
{
    if (!sideWindowsClosed && tools_ && !tools_->closeSideWindows())
        return;
    wizard_->kind = kind;
    wizard_->mode = static_cast<CostWizard::Mode>(mode);
    wizard_->sheet = SetSheetID;
    wizard_->exec();
    if (dataSet_)
        dataSet_->refresh();
}

void EquipmentListWindow::AddEquipment(int kind)
{
    if (!dataSet_)
        return;
    const QString costType = dataSet_->masterSource() && dataSet_->masterSource()->dataSet()
                                 ? dataSet_->masterSource()->dataSet()->fieldByName(QStringLiteral("CostType")).asString()
                                 : SetCostType;
    if (kind == kPushDozer && comp_.calculator.partnerRows(kScraper, costType, SetSheetID).isEmpty()) {
        dialogs_.error(QStringLiteral("Must enter a scraper before\nentering data for a push dozer.\nOr scraper that is "
                                      "already entered\nis assigned to a push dozer"));
        return;
    }
    if (kind == kTruck) {
        bool free = false;
        for (int partner : {kLoader, kExcavator})
            for (const auto& p : comp_.calculator.partnerRows(partner, costType, SetSheetID))
                free = free || p.addedEquipId < 0;
        if (!free) {
            dialogs_.error(QStringLiteral("Must enter a Excavator or Loader \nbefore entering data for a Truck.\nOr "
                                          "Excavator or Loader that is already\nentered is already assigned to a Truck."));
            return;
        }
    }
    // A side window that cannot close stops the adding before the row exists.
    if (tools_ && !tools_->closeSideWindows())
        return;
    dm_.CalcEnabled = false;
    try {
        dataSet_->insert();
        dataSet_->fieldByName(QStringLiteral("EquipmentName")).setAsString(QStringLiteral("No Equipment factors entered"));
        dataSet_->fieldByName(QStringLiteral("EquipCode2")).setAsInteger(kind);
        dataSet_->post();
    } catch (...) {
        dm_.CalcEnabled = true;
        throw;
    }
    dm_.CalcEnabled = true;
    handOver(kind, CostWizard::Insert, true);
    setEditableState();
}

void EquipmentListWindow::EditLaborBtnClick()
{
    if (!dataSet_ || dataSet_->isEmpty()) {
        dialogs_.error(QStringLiteral("Must Add Equipment before you\n can edit a piece of equipment."));
        return;
    }
    handOver(dataSet_->fieldByName(QStringLiteral("EquipCode2")).asInteger(), CostWizard::Edit);
}

void EquipmentListWindow::ViewWorksheetBtnClick()
{
    if (!dataSet_ || dataSet_->isEmpty()) {
        dialogs_.error(QStringLiteral("Must Add Equipment before you\n can view a worksheet of equipment."));
        return;
    }
    handOver(dataSet_->fieldByName(QStringLiteral("EquipCode2")).asInteger(), CostWizard::ViewEdit);
}

void EquipmentListWindow::DeleteBtnClick()
{
    if (!dataSet_ || dataSet_->isEmpty()) {
        dialogs_.error(QStringLiteral("Must Add Equipment before you\n can delete a piece of equipment."));
        return;
    }
    if (dialogs_.message(MsgType::Confirmation,
                         QStringLiteral("Do you want to delete: \n") +
                             dataSet_->fieldByName(QStringLiteral("EquipName")).asString(),
                         MsgButtons::YesNo) != MsgResult::Yes)
        return;
    dataSet_->remove();
    dataSet_->refresh();
    setFactorStatus();
}

void EquipmentListWindow::explainMachine()
{
    if (!dataSet_ || !dataSet_->active() || dataSet_->isEmpty())
        return;
    try {
        if (dataSet_->isEditing())
            dataSet_->post();
        auto* machines = dynamic_cast<Table*>(dataSet_);
        if (!machines || SetCostType.isEmpty())
            return;
        const ExplainPtr tree = comp_.totals.explainMachineCost(SetCostType.at(0), *machines);
        if (!tree)
            return;
        if (!explanation_)
            explanation_ = new ExplanationWindow(dialogs_, dm_, this);
        explanation_->showTree(tree, dm_.MineT.fieldByName(QStringLiteral("Applicant")).asString(),
                               dm_.ProjectT.fieldByName(QStringLiteral("ProjectName")).asString());
        explanation_->show();
        explanation_->raise();
    } catch (const std::exception& e) {
        dialogs_.showException(e);
    }
}
