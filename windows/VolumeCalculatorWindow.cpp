#include "VolumeCalculatorWindow.h"

#include "HelpRequest.h"
#include "DBControls.h"
#include "DBNavigator.h"
#include "Dialogs.h"
#include "CostWizard.h"
#include "Picture.h"
#include "DataModule.h"
#include "StoredNames.h"
#include "VolumeCalculation.h"
#include "VolumeSections.h"
#include "WindowSettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kClass = QLatin1String(storedname::VolumeCalculatorWindow);
}

QMimeData* VolumeTotalEdit::dragData() const
{
    if (!hasTotal)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(CostWizard::volumeMimeType(), QByteArray::number(total, 'g', 17));
    return data;
}

void VolumeTotalEdit::mousePressEvent(QMouseEvent* e)
{
    QLineEdit::mousePressEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    if (QMimeData* data = dragData()) {
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }
}

// A dialog-type window, not modal: the window manager keeps it above the window that owns it.
VolumeCalculatorWindow::VolumeCalculatorWindow(Dialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Dialog), dialogs_(dialogs)
{
    setObjectName(kClass);
    setWindowTitle(QStringLiteral("Volume Calculator"));
    auto* layout = new QVBoxLayout(this);
    // The sections scroll when the screen is smaller than the window's rows.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    layout_ = new QVBoxLayout(content);
    layout_->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(content);
    layout->addWidget(scroll);
    auto* menu = new QMenuBar(this);
    QAction* close = menu->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("Close1"));
    connect(close, &QAction::triggered, this, &QWidget::close);
    QAction* help = menu->addAction(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    connect(help, &QAction::triggered, this, [this] { HelpRequest::context(this, helpContext()); });
    layout->setMenuBar(menu);
    // Wide enough for a section's row with its units.
    resize(1000, 420);
    WindowSettings::restorePlacement(this, kClass);
}

void VolumeCalculatorWindow::setData(DataModule& dm)
{
    if (dm_)
        return;
    dm_ = &dm;
    QVBoxLayout* layout = layout_;
    auto* setRow = new QHBoxLayout;
    setRow->addWidget(new QLabel(QStringLiteral("Volume Name:"), this));
    name_ = new DBEdit(&dm_->CrossSecDS, QStringLiteral("VolumeName"), {}, this);
    name_->setObjectName(QStringLiteral("VolumeNameEdit"));
    name_->setMaxLength(50);
    setRow->addWidget(name_, 1);
    setNavigator_ = new DBNavigator(&dm_->CrossSecDS, dialogs_, this);
    setNavigator_->setObjectName(QStringLiteral("VolumeSetNavigator"));
    setRow->addWidget(setNavigator_);
    layout->addLayout(setRow);

    sections_ = new VolumeSectionList(&dm_->VolDS, dialogs_, this);
    sections_->setObjectName(QStringLiteral("SectionList"));
    layout->addWidget(sections_, 1);
    sectionNavigator_ = new DBNavigator(&dm_->VolDS, dialogs_, this);
    sectionNavigator_->setObjectName(QStringLiteral("SectionNavigator"));
    // A new set gets its key before a section is added to it, also when a button is pressed.
    for (QToolButton* b : sectionNavigator_->findChildren<QToolButton*>())
        b->installEventFilter(this);
    // A new set or section is typed at once: the cursor goes to its name.
    connect(setNavigator_, &DBNavigator::clicked, this, [this](DBNavigator::Button b) {
        if (b == DBNavigator::Insert)
            name_->setFocus(Qt::OtherFocusReason);
    });
    connect(sectionNavigator_, &DBNavigator::clicked, this, [this](DBNavigator::Button b) {
        if (b == DBNavigator::Insert)
            sections_->focusCurrentName();
    });
    auto* navRow = new QHBoxLayout;
    navRow->addWidget(sectionNavigator_);
    navRow->addStretch(1);
    layout->addLayout(navRow);

    auto* totalRow = new QHBoxLayout;
    totalButton_ = new QPushButton(QStringLiteral("Total All Volumes"), this);
    totalButton_->setObjectName(QStringLiteral("TotalAllVolumesBtn"));
    connect(totalButton_, &QPushButton::clicked, this, &VolumeCalculatorWindow::TotalAllVolumesClick);
    totalRow->addWidget(totalButton_);
    totalRow->addSpacing(12);
    totalRow->addWidget(new QLabel(QStringLiteral("Total Volume:"), this));
    total_ = new VolumeTotalEdit(this);
    total_->setObjectName(QStringLiteral("TotalVolumeEdit"));
    total_->setReadOnly(true);
    total_->setAlignment(Qt::AlignRight);
    total_->setToolTip(QStringLiteral("Drag the total onto the volume of a worksheet in the cost wizard"));
    total_->setMinimumWidth(total_->fontMetrics().horizontalAdvance(QStringLiteral("000,000,000,000.00")));
    totalRow->addWidget(total_);
    totalRow->addStretch(1);
    layout->addLayout(totalRow);

    connect(qApp, &QApplication::focusChanged, this, &VolumeCalculatorWindow::focusMoved);
    updateControls();
}

VolumeCalculatorWindow::~VolumeCalculatorWindow()
{
    // The base class hides the window as it goes, and the focus moves then: this part of
    // the window is gone by that time, so it hears of no focus move any more.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    if (isVisible())
        WindowSettings::savePlacement(this, kClass);
}

void VolumeCalculatorWindow::updateControls()
{
    if (!dm_)
        return;
    bool sets = false;
    try {
        sets = dm_->CrossSecT.active() && !dm_->CrossSecT.isEmpty();
    } catch (const std::exception& e) {
        // Activation shows no box: an unreadable table leaves the controls disabled.
        qWarning("Volume calculator: %s", e.what());
    }
    sections_->setEnabled(sets);
    sectionNavigator_->setEnabled(sets);
    totalButton_->setEnabled(sets);
}

// Posts a volume set being edited or inserted; false (reported) when it is refused.
bool VolumeCalculatorWindow::postVolumeSet()
{
    if (posting_ || !dm_ || !dm_->CrossSecT.active() || !dm_->CrossSecT.isEditing())
        return true;
    posting_ = true;
    bool ok = true;
    try {
        dm_->CrossSecT.post();
    } catch (const std::exception& e) {
        ok = false;
        // The focus goes back to the set's name first, so the box cannot hand it to the list again.
        name_->setFocus(Qt::OtherFocusReason);
        dialogs_.showException(e);
    }
    posting_ = false;
    return ok;
}

void VolumeCalculatorWindow::focusMoved(QWidget* from, QWidget* to)
{
    if (!to || !sections_ || !sections_->isAncestorOf(to) || (from && sections_->isAncestorOf(from)))
        return;
    postVolumeSet();
}

void VolumeCalculatorWindow::TotalAllVolumesClick()
{
    if (!dm_)
        return;
    try {
        if (dm_->VolT.active() && dm_->VolT.isEditing())
            dm_->VolT.post();
        if (dm_->CrossSecT.active() && dm_->CrossSecT.isEditing())
            dm_->CrossSecT.post();
        const VolumeSetTotal t = TotalAllVolumes(dm_->VolT);
        total_->total = t.total;
        total_->hasTotal = true;
        total_->setText(Picture(QStringLiteral("###,###,###,###,###,###.##")).format(t.total));
    } catch (const std::exception& e) {
        dialogs_.showException(e);
    }
}

bool VolumeCalculatorWindow::event(QEvent* e)
{
    // Shown again beside a window that keeps the focus, it is up to date before it is activated.
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)
        updateControls();
    return QWidget::event(e);
}

bool VolumeCalculatorWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonPress && !postVolumeSet())
        return true;  // the section action waits for a set that has its key
    return QWidget::eventFilter(watched, e);
}

void VolumeCalculatorWindow::closeEvent(QCloseEvent* e)
{
    try {
        // A section, then a demolition row of the main window, being edited is posted.
        for (DataSet* view : {dm_ ? &dm_->VolT : nullptr, dm_ ? &dm_->DemolT : nullptr})
            if (view && view->active() && view->isEditing())
                view->post();
    } catch (const std::exception& ex) {
        dialogs_.showException(ex);
        e->ignore();
        return;
    }
    WindowSettings::savePlacement(this, kClass);
    e->accept();
    Q_EMIT closed();
}
