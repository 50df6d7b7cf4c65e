#include "ComparisonWindow.h"

#include "Computation.h"
#include "DataSetCodes.h"
#include "DataModule.h"
#include "Dialogs.h"
#include "Money.h"
#include "Query.h"
#include "ReportOutput.h"
#include "ReviewReports.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The data set a mine belongs to, by the code it carries in RevegYears.
QString dataSetName(double code)
{
    if (code == datasetcode::ExampleMaster)
        return QStringLiteral("example master");
    if (code == datasetcode::TutorialMaster)
        return QStringLiteral("tutorial master");
    if (code == datasetcode::ExampleCopy)
        return QStringLiteral("Example Data");
    if (code == datasetcode::TutorialCopy)
        return QStringLiteral("Tutorial Data");
    return QStringLiteral("Users Data");
}

QTableWidgetItem* cell(const QString& text, bool right = false)
{
    auto* i = new QTableWidgetItem(text);
    i->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (right)
        i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return i;
}

}  // namespace

ComparisonWindow::ComparisonWindow(DataModule& dm, Computation& computation, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dm_(dm), comp_(computation), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("ComparisonWindow"));
    setWindowTitle(QStringLiteral("Compare Two Estimates"));
    auto* outer = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("ComparisonHeading"));
    heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outer->addWidget(heading_);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("Compare with:"), this));
    with_combo_ = new QComboBox(this);
    with_combo_->setObjectName(QStringLiteral("WithMineCombo"));
    with_combo_->setMinimumContentsLength(40);
    bar->addWidget(with_combo_, 1);
    auto* go = new QPushButton(QStringLiteral("Compare"), this);
    go->setObjectName(QStringLiteral("CompareBtn"));
    connect(go, &QPushButton::clicked, this, &ComparisonWindow::compare);
    bar->addWidget(go);
    auto* printBtn = new QPushButton(QStringLiteral("Print..."), this);
    printBtn->setObjectName(QStringLiteral("PrintBtn"));
    connect(printBtn, &QPushButton::clicked, this, &ComparisonWindow::print);
    bar->addWidget(printBtn);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    bar->addWidget(close);
    outer->addLayout(bar);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("ComparisonNote"));
    note_->setWordWrap(true);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note_->hide();
    outer->addWidget(note_);

    auto* split = new QSplitter(Qt::Vertical, this);
    items_ = new QTableWidget(34, 6, split);
    items_->setObjectName(QStringLiteral("ItemsTable"));
    items_->setHorizontalHeaderLabels({QStringLiteral("Item"), QStringLiteral("Description"), QString(), QString(),
                                       QStringLiteral("Difference"), QStringLiteral("Percent")});
    items_->verticalHeader()->hide();
    items_->verticalHeader()->setDefaultSectionSize(items_->fontMetrics().height() + 6);
    items_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    records_ = new QTableWidget(0, 3, split);
    records_->setObjectName(QStringLiteral("RecordsTable"));
    records_->setHorizontalHeaderLabels({QStringLiteral("Change"), QStringLiteral("Record"), QStringLiteral("What differs")});
    records_->verticalHeader()->hide();
    records_->setWordWrap(true);
    records_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    records_->setToolTip(QStringLiteral("Double-click a record of the first mine to go to it"));
    connect(records_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row < 0 || row >= c_.records.size())
            return;
        const RecordDifference& d = c_.records[row];
        if (d.keyBefore != 0 && d.table != QLatin1String("MINE.DB"))
            Q_EMIT goToStored(ExplainSource{d.table, QString(), d.keyBefore, QString()});
    });
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    outer->addWidget(split, 1);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("ComparisonSummary"));
    outer->addWidget(summary_);
    resize(1150, 720);
}

ComparisonWindow::~ComparisonWindow() = default;

void ComparisonWindow::setMine(int mineId, int with)
{
    mine_ = mineId;
    with_combo_->clear();
    Query q(dm_.TarvaneDatabase, QStringLiteral("CompareMines"));
    q.setSql({QStringLiteral("SELECT MineID, Applicant, RevegYears FROM \"MINE.DB\" ORDER BY MineID")});
    q.open();
    for (q.first(); !q.eof(); q.next()) {
        const int id = q.fields().at(0)->asInteger();
        with_combo_->addItem(QStringLiteral("Mine %1: %2 (%3)")
                                 .arg(id)
                                 .arg(q.fields().at(1)->asString(), dataSetName(q.fields().at(2)->asFloat())),
                             id);
    }
    const int at = with_combo_->findData(with >= 0 ? with : mineId);
    with_combo_->setCurrentIndex(std::max(0, at));
    heading_->setText(QStringLiteral("Mine %1 against the mine chosen").arg(mineId));
    note_->hide();
}

int ComparisonWindow::withMine() const
{
    return with_combo_->currentData().isValid() ? with_combo_->currentData().toInt() : -1;
}

void ComparisonWindow::setNote(const QString& note)
{
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

bool ComparisonWindow::compare()
{
    const int with = withMine();
    if (mine_ < 0 || with < 0)
        return false;
    try {
        dm_.postAllPendingEdits();  // what is typed in the main window counts
        c_ = compareMines(comp_, mine_, with);
    } catch (const std::exception& e) {
        dialogs_.showException(e);
        return false;
    }
    with_ = with;
    heading_->setText(QStringLiteral("Mine %1: %2  --  Mine %3: %4").arg(mine_).arg(c_.mineName).arg(with).arg(c_.withName));
    items_->setHorizontalHeaderItem(2, new QTableWidgetItem(QStringLiteral("Mine %1").arg(mine_)));
    items_->setHorizontalHeaderItem(3, new QTableWidgetItem(QStringLiteral("Mine %1").arg(with)));
    int differing = 0;
    for (int i = 1; i <= 34; ++i) {
        const double a = c_.before.amount(i), b = c_.after.amount(i);
        const QList<QTableWidgetItem*> row{cell(QString::number(i), true), cell(bondItemLabel(i)),
                                           cell(c_.before.amountText(i).trimmed(), true),
                                           cell(c_.after.amountText(i).trimmed(), true),
                                           cell(formatMoney(b - a).trimmed(), true), cell(comparisonPercent(a, b), true)};
        const bool differs = c_.itemDiffers(i);
        differing += differs;
        for (int col = 0; col < row.size(); ++col) {
            if (differs)
                row[col]->setBackground(QColor(0xff, 0xf2, 0xcc));
            items_->setItem(i - 1, col, row[col]);
        }
    }
    items_->resizeColumnsToContents();
    records_->setRowCount(static_cast<int>(c_.records.size()));
    for (int r = 0; r < c_.records.size(); ++r) {
        const RecordDifference& d = c_.records[r];
        records_->setItem(r, 0, cell(changeName(d.change)));
        records_->setItem(r, 1, cell(d.what));
        records_->setItem(r, 2, cell(differenceText(d)));
    }
    records_->resizeColumnToContents(0);
    records_->setColumnWidth(1, 520);
    records_->resizeRowsToContents();
    summary_->setText(c_.equal() ? QStringLiteral("The estimates are equal.")
                                 : QStringLiteral("The estimates differ: %1 item(s), %2 record(s).")
                                       .arg(differing)
                                       .arg(c_.records.size()));
    return true;
}

void ComparisonWindow::print()
{
    if (with_ < 0 && !compare())
        return;
    ReportSetupDialog setup(this);
    if (setup.exec() != QDialog::Accepted)
        return;
    const MineComparison c = c_;
    const int a = mine_, b = with_;
    const ReportBody body = [&](ReportCanvas& canvas, const UnprintableEdges& edges, const std::function<void(int, int)>&) {
        ReportFrame frame(canvas, ReportOptions{}, dialogs_);
        frame.startJob(edges);
        canvas.setDocumentInfo(QStringLiteral("Comparison of Two Estimates -- Mine %1 and Mine %2").arg(a).arg(b), QString());
        PrintComparison(frame, c, a, b);
    };
    RunReport(this, setup.output(), body, dialogs_, dm_);
}
