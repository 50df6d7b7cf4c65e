#include "TruckCalculatorWindow.h"

#include "HelpRequest.h"
#include "DataSource.h"
#include "Dialogs.h"
#include "ReferenceEditors.h"
#include "PictureEdit.h"
#include "DataModule.h"
#include "StoredNames.h"
#include "TruckCostChart.h"
#include "WindowSettings.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kClass = QLatin1String(storedname::TruckCalculatorWindow);
const QString kTime = QStringLiteral("###,###,###,###,###.###");
const QString kMoney = QStringLiteral("$##,###.##");
const Picture kTotal(QStringLiteral("$###,###,###,###.##"));

// The number of trucks: "###" with a spin button; an empty field reads as 0,
// which the calculation refuses, and the buttons never step below 1.
class TruckCountBox : public QSpinBox {
public:
    explicit TruckCountBox(QWidget* parent) : QSpinBox(parent)
    {
        setRange(0, 999);
        setAccelerated(false);
        setValue(0);
    }
    void stepBy(int steps) override { setValue(std::clamp(value() + steps, 1, 999)); }

protected:
    QValidator::State validate(QString& text, int& pos) const override
    {
        return text.trimmed().isEmpty() ? QValidator::Acceptable : QSpinBox::validate(text, pos);
    }
    int valueFromText(const QString& text) const override
    {
        return text.trimmed().isEmpty() ? 0 : QSpinBox::valueFromText(text);
    }
    QString textFromValue(int v) const override { return v == 0 ? QString() : QSpinBox::textFromValue(v); }
    StepEnabled stepEnabled() const override
    {
        return (value() > 1 ? StepDownEnabled : StepNone) | (value() < 999 ? StepUpEnabled : StepNone);
    }
};

void paint(QWidget* w, const QColor& base)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, base);
    w->setPalette(p);
}

void addRow(QGridLayout* grid, QLabel* label, QWidget* field)
{
    const int row = grid->rowCount();
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}

QLineEdit* resultField(const QString& name, const QString& hint)
{
    auto* f = new QLineEdit;
    f->setObjectName(name);
    f->setReadOnly(true);
    f->setFocusPolicy(Qt::NoFocus);
    f->setAlignment(Qt::AlignRight);
    f->setToolTip(hint);
    return f;
}

}  // namespace

TruckCalculatorWindow::TruckCalculatorWindow(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
{
    setObjectName(kClass);
    setWindowTitle(QStringLiteral("Truck Calculator"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    buildMenu();
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildInputs());
    auto* right = new QVBoxLayout;
    right->addWidget(buildCosts());
    right->addWidget(buildResults());
    // Under the results: the cost against the number of trucks, shown after a calculation.
    chart_ = new TruckCostChart;
    right->addWidget(chart_);
    right->addStretch(1);
    columns->addLayout(right);
    // The inputs and results scroll when the screen is smaller than they are.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    content->setLayout(columns);
    scroll->setWidget(content);
    layout->addWidget(scroll);
    LoadExRGClick();
    // It opens large enough for its inputs, costs and results (and room for the chart under
    // them), within the screen; a placement the user gave it comes after.
    const QSize want(content->sizeHint().width() + 40, std::max(content->sizeHint().height(), 560) + 220);
    resize(screen() ? want.boundedTo(screen()->availableGeometry().size() * 0.95) : want);
    WindowSettings::restorePlacement(this, kClass);
}

TruckCalculatorWindow::~TruckCalculatorWindow() = default;

PictureEdit* TruckCalculatorWindow::number(const QString& picture, const QString& name)
{
    auto* f = new PictureEdit(picture);
    f->setObjectName(name);
    // Wide enough for the most its picture holds, whatever the chart beside takes.
    QString widest = picture;
    widest.replace(QLatin1Char('#'), QLatin1Char('0'));
    f->setMinimumWidth(f->fontMetrics().horizontalAdvance(widest) + 16);
    return f;
}

QGroupBox* TruckCalculatorWindow::efficiencyGroup(const QString& name, QButtonGroup*& group)
{
    auto* box = new QGroupBox(QStringLiteral("Efficiency Factor"));
    box->setObjectName(name);
    auto* grid = new QGridLayout(box);
    group = new QButtonGroup(box);
    for (int i = 0; i < static_cast<int>(kTruckEfficiencyFactors.size()); ++i) {
        // The caption is the factor without its leading zero: ".92".
        auto* rb = new QRadioButton(QString::number(kTruckEfficiencyFactors[i]).mid(1));
        group->addButton(rb, i);
        grid->addWidget(rb, i / 2, i % 2);
    }
    group->button(0)->setChecked(true);
    return box;
}

QWidget* TruckCalculatorWindow::buildInputs()
{
    auto* panel = new QWidget;
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);

    auto* step1 = new QGroupBox(QStringLiteral("1.  Enter volume to be handled:"));
    auto* s1 = new QVBoxLayout(step1);
    volume_ = number(QStringLiteral("###,###,###,###,###.#"), QStringLiteral("VolumeF"));
    s1->addWidget(volume_);
    v->addWidget(step1);

    auto* step2 = new QGroupBox(QStringLiteral("2. Select loader or excavator:"));
    step2->setObjectName(QStringLiteral("LoadExRG"));
    auto* s2 = new QHBoxLayout(step2);
    loaderRB_ = new QRadioButton(QStringLiteral("Loader "));
    loaderRB_->setObjectName(QStringLiteral("LoaderRB"));
    excavatorRB_ = new QRadioButton(QStringLiteral("Excavator"));
    excavatorRB_->setObjectName(QStringLiteral("ExcavatorRB"));
    loaderRB_->setChecked(true);
    s2->addWidget(loaderRB_);
    s2->addWidget(excavatorRB_);
    connect(loaderRB_, &QRadioButton::toggled, this, &TruckCalculatorWindow::LoadExRGClick);
    v->addWidget(step2);

    loExGroup_ = new QGroupBox;
    loExGroup_->setObjectName(QStringLiteral("LoExGroup"));
    auto* s3 = new QGridLayout(loExGroup_);
    loHaul_ = number(kTime, QStringLiteral("LoHaulTimeF"));
    loReturn_ = number(kTime, QStringLiteral("LoReturnTimeF"));
    cycle_ = number(kTime, QStringLiteral("LoExCycleTimeF"));
    bucket_ = number(QStringLiteral("###,###,###,###,###.#"), QStringLiteral("LoExHeapedBucketF"));
    fill_ = number(kTime, QStringLiteral("LoExFillFactorF"));
    loHaulLabel_ = new QLabel(QStringLiteral("Haul Time"));
    loReturnLabel_ = new QLabel(QStringLiteral("Return Time"));
    addRow(s3, loHaulLabel_, loHaul_);
    addRow(s3, loReturnLabel_, loReturn_);
    addRow(s3, new QLabel(QStringLiteral("Basic Cycle Time")), cycle_);
    addRow(s3, new QLabel(QStringLiteral("Heaped Bucket Capacity:")), bucket_);
    addRow(s3, new QLabel(QStringLiteral("Bucket Fill Factor")), fill_);
    s3->addWidget(efficiencyGroup(QStringLiteral("LoExEffRG"), loExEff_), s3->rowCount(), 0, 1, 2);
    v->addWidget(loExGroup_);

    auto* step4 = new QGroupBox(QStringLiteral("4. Enter truck data:"));
    auto* s4 = new QGridLayout(step4);
    truckCap_ = number(kTime, QStringLiteral("TruckCapF"));
    truckHaul_ = number(kTime, QStringLiteral("TruckHaulTimeF"));
    truckReturn_ = number(kTime, QStringLiteral("TruckReturnTimeF"));
    dump_ = number(kTime, QStringLiteral("TruckDumpTimeF"));
    addRow(s4, new QLabel(QStringLiteral("Truck Capacity:")), truckCap_);
    addRow(s4, new QLabel(QStringLiteral("Haul Time:")), truckHaul_);
    addRow(s4, new QLabel(QStringLiteral("Return Time:")), truckReturn_);
    // "&&" shows one ampersand.
    addRow(s4, new QLabel(QStringLiteral("Dump && Maneuver Time")), dump_);
    s4->addWidget(efficiencyGroup(QStringLiteral("TruckEffRG"), truckEff_), s4->rowCount(), 0, 1, 2);
    v->addWidget(step4);
    v->addStretch(1);
    return panel;
}

QWidget* TruckCalculatorWindow::buildCosts()
{
    auto* step5 = new QGroupBox(QStringLiteral("5. Select equipment and labor cost:"));
    auto* grid = new QGridLayout(step5);
    const struct {
        const char* caption;
        const char* button;
        const char* field;
        PictureEdit** into;
        void (TruckCalculatorWindow::*click)();
    } rows[] = {
        {"a. Select Labor Cost for Truck", "LaborTruckBtn", "LTCF", &ltc_, &TruckCalculatorWindow::LaborTruckBtnClick},
        {"b. Select Equipment Cost for Truck", "EquipTruckBtn", "ETCF", &etc_, &TruckCalculatorWindow::EquipTruckBtnClick},
        {"c. Select Labor Cost for Loader/Exc", "LaborLoaderBtn", "LLCF", &llc_, &TruckCalculatorWindow::LaborLoaderBtnClick},
        {"d. Select Equipment Cost for Loader/Exc", "EquipLoaderBtn", "ELCF", &elc_,
         &TruckCalculatorWindow::EquipLoaderBtnClick},
    };
    for (const auto& r : rows) {
        auto* button = new QPushButton(QString::fromLatin1(r.caption));
        button->setObjectName(QString::fromLatin1(r.button));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, r.click);
        *r.into = number(kMoney, QString::fromLatin1(r.field));
        (*r.into)->setReadOnly(true);
        const int row = grid->rowCount();
        grid->addWidget(button, row, 0);
        grid->addWidget(*r.into, row, 1);
    }
    return step5;
}

QWidget* TruckCalculatorWindow::buildResults()
{
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    numTrucks_ = new TruckCountBox(panel);
    numTrucks_->setObjectName(QStringLiteral("NumTrucksF"));
    grid->addWidget(new QLabel(QStringLiteral("6. Enter number of trucks")), 0, 0);
    grid->addWidget(numTrucks_, 0, 1);

    auto* calculate = new QPushButton(QStringLiteral("7.  Calculate Total Cost"));
    calculate->setObjectName(QStringLiteral("CalculateBtn"));
    calculate->setToolTip(QStringLiteral("Increase number of trucks and press again"));
    calculate->setAutoDefault(false);
    connect(calculate, &QPushButton::clicked, this, &TruckCalculatorWindow::CalculateBtnClick);
    grid->addWidget(calculate, 1, 0, 1, 2);

    totalCost_ = resultField(QStringLiteral("TotalCostF"), QStringLiteral("Cost from user entered number of trucks"));
    optimalTrucks_ = resultField(QStringLiteral("OptimalTrucksF"), QString());
    optimalTrucks_->setMaxLength(6);
    optimalCost_ = resultField(QStringLiteral("OptimalCostF"), QStringLiteral("Cost from program calculated number of trucks"));
    paint(optimalTrucks_, Qt::yellow);
    paint(optimalCost_, Qt::yellow);
    optimalLabel_ = new QLabel(QStringLiteral("Program Calculated Optimal # of Trucks"));
    grid->addWidget(new QLabel(QStringLiteral("Total Cost:")), 2, 0);
    grid->addWidget(totalCost_, 2, 1);
    grid->addWidget(optimalLabel_, 3, 0);
    grid->addWidget(optimalTrucks_, 3, 1);
    optimalCostLabel_ = new QLabel(QStringLiteral("Total Cost of Program Calculated # Trucks:"));
    grid->addWidget(optimalCostLabel_, 4, 0);
    grid->addWidget(optimalCost_, 4, 1);
    return panel;
}

void TruckCalculatorWindow::buildMenu()
{
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    QAction* close = file->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("Close1"));
    connect(close, &QAction::triggered, this, &QDialog::close);
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    QAction* thisForm = help->addAction(QStringLiteral("&Help This Form"));
    thisForm->setObjectName(QStringLiteral("HelpThisForm1"));
    connect(thisForm, &QAction::triggered, this, [this] { HelpRequest::context(this, helpContext()); });
    help->addSeparator();
    QAction* about = help->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, [this] {
        if (showAbout)
            showAbout(this);
    });
}

void TruckCalculatorWindow::setData(DataModule* dm, TableRules* rules)
{
    if (dm_)
        disconnect(&dm_->HCostDS, nullptr, this, nullptr);
    dm_ = dm;
    rules_ = rules;
    if (!dm_)
        return;
    // The mirror of the current equipment record's hourly cost: it follows each move
    // and edit, and keeps its value when the editor closes the table.
    connect(&dm_->HCostDS, &DataSource::dataChanged, this, &TruckCalculatorWindow::takeEquipmentCost);
    connect(&dm_->HCostDS, &DataSource::fieldChanged, this, [this](Field* f) {
        if (f && f->fieldName() == QLatin1String("HourlyCost"))
            takeEquipmentCost();
    });
}

void TruckCalculatorWindow::takeEquipmentCost()
{
    DataSet& t = dm_->HCostT;
    if (t.active() && !t.isEmpty())
        equipCostMirror_ = t.fieldByName(QStringLiteral("HourlyCost")).asFloat();
}

double TruckCalculatorWindow::pickedLabor() const
{
    DataSet& t = dm_->LaborCostT;
    return t.active() && !t.isEmpty() ? t.fieldByName(QStringLiteral("HourlyCosst")).asFloat() : 0.0;
}

void TruckCalculatorWindow::LaborTruckBtnClick()
{
    if (!dm_)
        return;
    LaborRatesEditor(*dm_, *rules_, dialogs_, this).exec();
    ltc_->setValue(pickedLabor());
}

void TruckCalculatorWindow::LaborLoaderBtnClick()
{
    if (!dm_)
        return;
    LaborRatesEditor(*dm_, *rules_, dialogs_, this).exec();
    llc_->setValue(pickedLabor());
}

void TruckCalculatorWindow::EquipTruckBtnClick()
{
    if (!dm_)
        return;
    EquipmentCostEditor(*dm_, *rules_, dialogs_, this).exec();
    etc_->setValue(equipCostMirror_);
}

void TruckCalculatorWindow::EquipLoaderBtnClick()
{
    if (!dm_)
        return;
    EquipmentCostEditor(*dm_, *rules_, dialogs_, this).exec();
    elc_->setValue(equipCostMirror_);
}

void TruckCalculatorWindow::LoadExRGClick()
{
    const bool loader = loaderRB_->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(loHaulLabel_), static_cast<QWidget*>(loHaul_),
                       static_cast<QWidget*>(loReturnLabel_), static_cast<QWidget*>(loReturn_)})
        w->setVisible(loader);
    loExGroup_->setTitle(loader ? QStringLiteral("3. Enter loader data:") : QStringLiteral("3. Enter excavator data:"));
}

TruckInputs TruckCalculatorWindow::inputs() const
{
    TruckInputs in;
    in.volume = volume_->value();
    in.excavator = excavatorRB_->isChecked();
    in.loaderHaul = loHaul_->value();
    in.loaderReturn = loReturn_->value();
    in.cycle = cycle_->value();
    in.bucket = bucket_->value();
    in.fill = fill_->value();
    in.loaderEff = kTruckEfficiencyFactors[loExEff_->checkedId()];
    in.truckCapacity = truckCap_->value();
    in.truckHaul = truckHaul_->value();
    in.truckReturn = truckReturn_->value();
    in.dump = dump_->value();
    in.truckEff = kTruckEfficiencyFactors[truckEff_->checkedId()];
    in.truckLabor = ltc_->value();
    in.truckEquip = etc_->value();
    in.loaderLabor = llc_->value();
    in.loaderEquip = elc_->value();
    in.trucks = numTrucks_->value();
    return in;
}

QWidget* TruckCalculatorWindow::fieldOf(TruckField f) const
{
    switch (f) {
    case TruckField::LoaderHaul: return loHaul_;
    case TruckField::LoaderReturn: return loReturn_;
    case TruckField::Cycle: return cycle_;
    case TruckField::Bucket: return bucket_;
    case TruckField::Fill: return fill_;
    case TruckField::TruckCapacity: return truckCap_;
    case TruckField::Trucks: return numTrucks_;
    }
    return nullptr;
}

void TruckCalculatorWindow::CalculateBtnClick()
{
    const auto outcome = calculateTrucks(inputs());
    const auto* failure = std::get_if<TruckCheckFailure>(&outcome);
    // A refused number of trucks changes nothing else; any other attempt first clears the red.
    const bool trucksRefused = failure && failure->red == QList<TruckField>{TruckField::Trucks};
    if (!trucksRefused) {
        for (TruckField f : {TruckField::LoaderHaul, TruckField::LoaderReturn, TruckField::Cycle, TruckField::Bucket,
                             TruckField::Fill, TruckField::TruckCapacity, TruckField::Trucks})
            fieldOf(f)->setPalette(QPalette());
    }
    if (failure) {
        for (TruckField f : failure->red)
            paint(fieldOf(f), Qt::red);
        // The curve no longer fits the inputs a check refused.
        if (!trucksRefused)
            chart_->clear();
        dialogs_.error(failure->message);
        fieldOf(failure->red.first())->setFocus();
        return;
    }
    const TruckResult& r = std::get<TruckResult>(outcome);
    totalCost_->setText(kTotal.format(r.totalCost));
    // Without a search (a total cost of zero) the optimum and its cost go together.
    for (QWidget* w : std::initializer_list<QWidget*>{optimalLabel_, optimalTrucks_, optimalCostLabel_, optimalCost_})
        w->setVisible(r.optimalTrucks.has_value());
    if (r.optimalTrucks) {
        optimalTrucks_->setText(QString::number(*r.optimalTrucks));
        optimalCost_->setText(kTotal.format(*r.optimalCost));
        chart_->plot(inputs(), *r.optimalTrucks);
    } else {
        optimalTrucks_->clear();
        optimalCost_->clear();
        chart_->clear();
    }
}

void TruckCalculatorWindow::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        LoadExRGClick();
}

void TruckCalculatorWindow::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    LoadExRGClick();
}

void TruckCalculatorWindow::done(int r)
{
    WindowSettings::savePlacement(this, kClass);
    QDialog::done(r);
}
