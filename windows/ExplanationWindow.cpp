#include "ExplanationWindow.h"

#include "Dialogs.h"
#include "ReportOutput.h"
#include "ReviewReports.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <functional>

namespace {

// Where a row's stored value is kept, on its first column.
enum Role { TableRole = Qt::UserRole + 1, KeyFieldRole, KeyRole, FieldRole, NodeRole, FilledRole };

QString storedText(const ExplainSource& s)
{
    if (!s.stored())
        return {};
    const QString record = QStringLiteral("%1, %2 %3").arg(s.table, s.keyField).arg(s.key);
    return s.field.isEmpty() ? record : record + QStringLiteral(": ") + s.field;
}

QList<QStandardItem*> rowOf(const ExplainNode& n)
{
    auto* label = new QStandardItem(n.label);
    // The parts are added when the line is first opened: a large mine's tree has many thousand
    // lines, and most are never looked at. Until then one empty line stands for them.
    label->setData(QVariant::fromValue(static_cast<const void*>(&n)), NodeRole);
    label->setData(n.parts.empty(), FilledRole);
    if (!n.parts.empty())
        label->appendRow(new QStandardItem);
    if (n.source.stored()) {
        label->setData(n.source.table, TableRole);
        label->setData(n.source.keyField, KeyFieldRole);
        label->setData(n.source.key, KeyRole);
        label->setData(n.source.field, FieldRole);
        label->setToolTip(QStringLiteral("Double-click to go to the record that holds it"));
    }
    auto* value = new QStandardItem(explainValue(n));
    value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* rule = new QStandardItem(n.ruleText());
    rule->setToolTip(rule->text());
    QList<QStandardItem*> row{label, value, rule, new QStandardItem(storedText(n.source))};
    if (n.kind == ExplainNode::Rule::LeftOut)
        for (QStandardItem* i : row)
            i->setForeground(QColor(0xc0, 0x00, 0x00));
    for (QStandardItem* i : row)
        i->setEditable(false);
    return row;
}

}  // namespace

ExplanationWindow::ExplanationWindow(Dialogs& dialogs, const DataModule& data, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), data_(data)
{
    setObjectName(QStringLiteral("ExplanationWindow"));
    setWindowTitle(QStringLiteral("Explain This Amount"));
    auto* outer = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("ExplainHeading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    heading_->setFont(bold);
    heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outer->addWidget(heading_);

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("Search:"), this));
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("ExplainSearch"));
    search_->setPlaceholderText(QStringLiteral("a name, a rule or a table"));
    search_->setClearButtonEnabled(true);
    bar->addWidget(search_, 1);
    auto button = [&](const QString& text, const char* name, void (ExplanationWindow::*slot)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    button(QStringLiteral("Expand All"), "ExpandAllBtn", &ExplanationWindow::expandAll);
    button(QStringLiteral("Copy"), "CopyBtn", &ExplanationWindow::copyTree);
    button(QStringLiteral("Print..."), "PrintBtn", &ExplanationWindow::printTree);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    bar->addWidget(close);
    outer->addLayout(bar);

    model_ = new QStandardItemModel(this);
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("Amount"), QStringLiteral("Value"), QStringLiteral("Rule"), QStringLiteral("Stored in")});
    filter_ = new QSortFilterProxyModel(this);
    filter_->setSourceModel(model_);
    filter_->setRecursiveFilteringEnabled(true);
    filter_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filter_->setFilterKeyColumn(-1);
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("ExplainTree"));
    tree_->setModel(filter_);
    tree_->setUniformRowHeights(true);
    tree_->setAlternatingRowColors(true);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->header()->setStretchLastSection(false);
    outer->addWidget(tree_, 1);
    connect(search_, &QLineEdit::textChanged, this, &ExplanationWindow::search);
    connect(tree_, &QTreeView::doubleClicked, this, &ExplanationWindow::activated);
    connect(tree_, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (QStandardItem* item = model_->itemFromIndex(filter_->mapToSource(index.siblingAtColumn(0))))
            fill(item);
    });
    resize(1100, 620);
}

ExplanationWindow::~ExplanationWindow() = default;

void ExplanationWindow::showTree(ExplainPtr root, const QString& mine, const QString& project)
{
    root_ = std::move(root);
    mine_ = mine;
    project_ = project;
    search_->clear();
    model_->removeRows(0, model_->rowCount());
    if (!root_)
        return;
    heading_->setText(QStringLiteral("%1: %2").arg(root_->label, explainValue(*root_)));
    setWindowTitle(QStringLiteral("Explain This Amount -- ") + root_->label);
    model_->invisibleRootItem()->appendRow(rowOf(*root_));
    fill(model_->item(0));
    // The amount and its direct parts show at once; deeper levels open on request.
    tree_->expandToDepth(0);
    for (int c = 0; c < 2; ++c)
        tree_->resizeColumnToContents(c);
    tree_->setColumnWidth(0, std::clamp(tree_->columnWidth(0), 260, 380));
    tree_->setColumnWidth(2, 520);
    tree_->setColumnWidth(3, 260);
}

QString ExplanationWindow::treeText() const
{
    return root_ ? explainText(*root_, -1) : QString();
}

const ExplainNode* ExplanationWindow::nodeOf(const QStandardItem* item)
{
    return static_cast<const ExplainNode*>(item->data(NodeRole).value<const void*>());
}

void ExplanationWindow::fill(QStandardItem* item)
{
    if (item->data(FilledRole).toBool())
        return;
    item->setData(true, FilledRole);
    const ExplainNode* n = nodeOf(item);
    item->removeRows(0, item->rowCount());
    for (const ExplainPtr& p : n->parts)
        item->appendRow(rowOf(*p));
}

// Fills the lines on the way to every part that matches, the match's own parts left closed.
bool ExplanationWindow::fillMatches(QStandardItem* item, const QString& text)
{
    const ExplainNode* n = nodeOf(item);
    const auto has = [&](const QString& s) { return s.contains(text, Qt::CaseInsensitive); };
    bool found = has(n->label) || has(n->ruleText()) || has(storedText(n->source));
    if (n->parts.empty())
        return found;
    bool below = false;
    const bool wasFilled = item->data(FilledRole).toBool();
    fill(item);
    for (int r = 0; r < item->rowCount(); ++r)
        below |= fillMatches(item->child(r), text);
    if (!below && !wasFilled) {
        // Nothing to show below: back to one line standing for the parts.
        item->removeRows(0, item->rowCount());
        item->appendRow(new QStandardItem);
        item->setData(false, FilledRole);
    }
    return found || below;
}

void ExplanationWindow::search(const QString& text)
{
    if (search_->text() != text)
        search_->setText(text);
    if (!text.isEmpty() && model_->rowCount() > 0)
        fillMatches(model_->item(0), text);
    filter_->setFilterFixedString(text);
    if (!text.isEmpty()) {
        tree_->expandAll();
        tree_->resizeColumnToContents(0);
    } else {
        tree_->expandToDepth(0);
    }
}

void ExplanationWindow::expandAll()
{
    const std::function<void(QStandardItem*)> all = [&](QStandardItem* item) {
        fill(item);
        for (int r = 0; r < item->rowCount(); ++r)
            all(item->child(r));
    };
    if (model_->rowCount() > 0)
        all(model_->item(0));
    tree_->expandAll();
    tree_->resizeColumnToContents(0);
}

void ExplanationWindow::copyTree()
{
    QApplication::clipboard()->setText(treeText());
}

void ExplanationWindow::printTree()
{
    if (!root_)
        return;
    ReportSetupDialog setup(this);
    if (setup.exec() != QDialog::Accepted)
        return;
    const ExplainPtr root = root_;
    const ReportBody body = [&](ReportCanvas& canvas, const UnprintableEdges& edges, const std::function<void(int, int)>&) {
        ReportFrame frame(canvas, ReportOptions{}, dialogs_);
        frame.startJob(edges);
        canvas.setDocumentInfo(QStringLiteral("Where an Amount Comes From -- ") + root->label, QString());
        PrintExplanation(frame, *root, mine_, project_);
    };
    RunReport(this, setup.output(), body, dialogs_, data_);
}

void ExplanationWindow::activated(const QModelIndex& index)
{
    const QModelIndex first = filter_->mapToSource(index.siblingAtColumn(0));
    const QStandardItem* item = model_->itemFromIndex(first);
    if (!item || item->data(TableRole).toString().isEmpty())
        return;
    Q_EMIT goToStored(ExplainSource{item->data(TableRole).toString(), item->data(KeyFieldRole).toString(),
                                    item->data(KeyRole).toLongLong(), item->data(FieldRole).toString()});
}
