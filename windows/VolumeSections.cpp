#include "VolumeSections.h"

#include "DBControls.h"
#include "DataSetModel.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "Picture.h"
#include "TableRules.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

const char* const kFields[4] = {"CrossSectionName", "EndArea", "Distance", "AdjustmentFactor"};
const QString kEntry = QStringLiteral("###,###,###,###.#");
// The volume has two decimals: the entry picture's one would hide the second.
const QString kVolume = QStringLiteral("###,###,###,###.##");

}  // namespace

VolumeSectionList::VolumeSectionList(DataSource* sections, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), source_(sections), dialogs_(dialogs),
      model_(new DataSetModel(sections, {QLatin1String(kFields[0]), QLatin1String(kFields[1]),
                                         QLatin1String(kFields[2]), QLatin1String(kFields[3])},
                              this))
{
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    for (int i = 0; i < kPanels; ++i) {
        panels_[i] = new QFrame(this);
        panels_[i]->setObjectName(QStringLiteral("SectionPanel%1").arg(i + 1));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        buildFormula(panels_[i], shown_[i], false);
        panels_[i]->installEventFilter(this);
        column->addWidget(panels_[i]);
    }
    outer->addLayout(column, 1);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("SectionScrollBar"));
    scroll_->setPageStep(kPanels);
    connect(scroll_, &QScrollBar::actionTriggered, this, [this] {
        QTimer::singleShot(0, this, [this] { moveToRow(scroll_->value()); });
    });
    outer->addWidget(scroll_);

    // The editing panel lies over the panel of the current section.
    live_ = new QFrame(this);
    live_->setObjectName(QStringLiteral("CurrentSectionPanel"));
    live_->setFrameShape(QFrame::StyledPanel);
    live_->setAutoFillBackground(true);
    QPalette shade = live_->palette();
    shade.setColor(QPalette::Window, QColor(204, 220, 240));
    live_->setPalette(shade);
    buildFormula(live_, liveFields_, true);

    connect(model_, &QAbstractItemModel::modelReset, this, &VolumeSectionList::scheduleRefill);
    connect(model_, &QAbstractItemModel::layoutChanged, this, &VolumeSectionList::scheduleRefill);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &VolumeSectionList::scheduleRefill);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &VolumeSectionList::scheduleRefill);
    connect(model_, &QAbstractItemModel::dataChanged, this, &VolumeSectionList::scheduleRefill);
    connect(model_, &DataSetModel::currentRowChanged, this, &VolumeSectionList::scheduleRefill);
    connect(source_, &DataSource::dataChanged, this, &VolumeSectionList::scheduleRefill);
    connect(source_, &DataSource::stateChanged, this, &VolumeSectionList::scheduleRefill);
    refill();
}

VolumeSectionList::~VolumeSectionList() = default;

// One panel's controls in the order the formula reads.
QWidget* VolumeSectionList::buildFormula(QWidget* panel, QLineEdit* fields[5], bool live)
{
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    auto label = [panel](const QString& t) { return new QLabel(t, panel); };
    for (int i = 0; i < 5; ++i) {
        QLineEdit* e;
        if (live) {
            auto* bound = new DBEdit(source_, i < 4 ? QLatin1String(kFields[i]) : QStringLiteral("Volume"),
                                     i == 0 ? QString() : i < 4 ? kEntry : kVolume, panel);
            if (i == 0)
                bound->setMaxLength(50);
            if (i == 4)
                bound->setDisplayOnly(true);
            bound->installEventFilter(this);
            e = bound;
        } else {
            e = new QLineEdit(panel);
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
            e->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        static const char* names[5] = {"CrossSectionNameEdit", "EndAreaEdit", "DistanceEdit", "AdjustmentFactorEdit",
                                       "VolumeEdit"};
        e->setObjectName(QLatin1String(names[i]));
        if (i > 0) {
            e->setAlignment(Qt::AlignRight);
            e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000,000,000.00")));
        }
        fields[i] = e;
    }
    // A computed value, never typed: yellow, also after the bound field refreshes its colours.
    fields[4]->setStyleSheet(QStringLiteral("QLineEdit { background: #ffffa0; }"));
    grid->addWidget(label(QStringLiteral("Cross Section Name:")), 0, 0, 1, 2);
    grid->addWidget(fields[0], 0, 2, 1, 9);
    int c = 0;
    grid->addWidget(label(QStringLiteral("(")), 1, c++);
    grid->addWidget(label(QStringLiteral("End Area sq ft:")), 1, c++);
    grid->addWidget(fields[1], 1, c++);
    grid->addWidget(label(QStringLiteral("X")), 1, c++);
    grid->addWidget(label(QStringLiteral("Distance ft:")), 1, c++);
    grid->addWidget(fields[2], 1, c++);
    grid->addWidget(label(QStringLiteral("X")), 1, c++);
    grid->addWidget(label(QStringLiteral("Adjustment Factor:")), 1, c++);
    grid->addWidget(fields[3], 1, c++);
    grid->addWidget(label(QStringLiteral(")   / 27  =")), 1, c++);
    grid->addWidget(label(QStringLiteral("Volume:")), 1, c++);
    grid->addWidget(fields[4], 1, c++);
    grid->addWidget(label(QStringLiteral("cyd")), 1, c++);
    return panel;
}

QStringList VolumeSectionList::panelTexts(int panel) const
{
    QStringList out;
    if (panel < 0 || panel >= kPanels)
        return out;
    QLineEdit* const* fields = panel == currentPanel_ ? liveFields_ : shown_[panel];
    for (int i = 0; i < 5; ++i)
        out << fields[i]->text();
    return out;
}

void VolumeSectionList::scheduleRefill()
{
    if (refillPending_)
        return;
    refillPending_ = true;
    QTimer::singleShot(0, this, [this] { refill(); });
}

void VolumeSectionList::refill()
{
    refillPending_ = false;
    const int rows = model_->rowCount();
    const int current = model_->currentRow();
    // The current section is kept in view; otherwise the list shows as many as it can.
    if (current >= 0) {
        if (current < top_)
            top_ = current;
        else if (current >= top_ + kPanels)
            top_ = current - kPanels + 1;
    }
    top_ = std::max(0, std::min(top_, rows - kPanels));
    currentPanel_ = -1;
    const Picture entry(kEntry), volume(kVolume);
    for (int i = 0; i < kPanels; ++i) {
        const int row = top_ + i;
        if (row == current)
            currentPanel_ = i;
        if (row >= rows || row == current) {
            for (QLineEdit* e : shown_[i])
                e->clear();
            panels_[i]->setEnabled(row < rows);
            continue;
        }
        panels_[i]->setEnabled(true);
        double v[4] = {0, 0, 0, 0};
        for (int f = 0; f < 4; ++f) {
            const QString t = model_->data(model_->index(row, f), Qt::EditRole).toString();
            if (f == 0) {
                shown_[i][0]->setText(t);
                continue;
            }
            v[f] = t.isEmpty() ? 0.0 : t.toDouble();
            shown_[i][f]->setText(t.isEmpty() ? QString() : entry.format(v[f]));
        }
        // The stored section's volume by the same rule as its calculated field.
        shown_[i][4]->setText(volume.format(CrossSectionVolumeText(v[2], v[1], v[3]).toDouble()));
    }
    const QSignalBlocker quiet(scroll_);
    scroll_->setRange(0, std::max(0, rows - 1));
    scroll_->setValue(std::max(0, current));
    placeLive();
}

void VolumeSectionList::placeLive()
{
    if (currentPanel_ < 0) {
        live_->hide();
        return;
    }
    live_->setGeometry(panels_[currentPanel_]->geometry());
    live_->show();
    live_->raise();
}

void VolumeSectionList::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    QTimer::singleShot(0, this, [this] { placeLive(); });
}

void VolumeSectionList::moveToRow(int row)
{
    DataSet* ds = model_->dataSet();
    if (!ds || !ds->active() || row < 0 || row >= model_->rowCount() || row == model_->currentRow())
        return;
    const Bookmark bm = model_->bookmarkAt(row);
    if (bm == kNoBookmark)
        return;
    try {
        ds->gotoBookmark(bm);  // a pending edit is posted first
    } catch (const std::exception& e) {
        dialogs_.showException(e);
        refill();
    }
}

void VolumeSectionList::panelClicked(int panel)
{
    if (panel >= 0 && panel < kPanels)
        moveToRow(top_ + panel);
}

void VolumeSectionList::focusCurrentName()
{
    QTimer::singleShot(0, this, [this] {
        if (refillPending_)
            refill();
        if (currentPanel_ >= 0)
            liveFields_[0]->setFocus(Qt::OtherFocusReason);
    });
}

void VolumeSectionList::wheelEvent(QWheelEvent* e)
{
    const int steps = e->angleDelta().y() / 120;
    if (steps != 0)
        moveToRow(std::max(0, model_->currentRow() - steps));
    e->accept();
}

bool VolumeSectionList::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < kPanels; ++i)
            if (watched == panels_[i] && isEnabled()) {
                panelClicked(i);
                return true;
            }
    }
    // Up and Down in the editing panel move to the section above or below.
    if (e->type() == QEvent::KeyPress && live_->isAncestorOf(qobject_cast<QWidget*>(watched))) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            moveToRow(model_->currentRow() + (key == Qt::Key_Down ? 1 : -1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}
