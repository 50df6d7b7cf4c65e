#include "ReferenceEditor.h"

#include "DBNavigator.h"
#include "DataSetModel.h"
#include "DataSet.h"
#include "Dialogs.h"
#include "HelpRequest.h"
#include "ReferenceCsv.h"
#include "WindowSettings.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QVBoxLayout>

ReferenceEditor::ReferenceEditor(const QString& windowClass, const QString& caption, int helpContext, Dialogs& dialogs,
                                 QWidget* parent)
    : QDialog(parent), windowClass_(windowClass), dialogs_(dialogs)
{
    setObjectName(windowClass);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    menu_ = new QMenuBar(this);
    QAction* close = menu_->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("Close1"));
    connect(close, &QAction::triggered, this, &QDialog::close);
    HelpRequest::setContext(this, helpContext);
    QAction* help = menu_->addAction(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    connect(help, &QAction::triggered, this, [this, helpContext] { HelpRequest::context(this, helpContext); });
    layout->setMenuBar(menu_);
    // The grids keep the width of their columns; on a small screen the window scrolls to them.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    body_ = new QVBoxLayout(content);
    body_->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(content);
    layout->addWidget(scroll);
    resize(900, 520);
    WindowSettings::restorePlacement(this, windowClass_);
}

ReferenceEditor::~ReferenceEditor() = default;

void ReferenceEditor::fitGrids()
{
    if (WindowSettings::value(windowClass_, QStringLiteral("Placement")).isValid())
        return;
    const QSize content = body_->parentWidget()->sizeHint();
    const int width = content.width() + 2 * layout()->contentsMargins().left() + 4;
    if (width > this->width())
        resize(width, height());
    WindowSettings::fitScreen(this);
}

void ReferenceEditor::addFileMenu(Database& db, const QStringList& tables, const QList<DataSet*>& views)
{
    db_ = &db;
    tables_ = tables;
    views_ = views;
    auto* file = new QMenu(QStringLiteral("&File"), menu_);
    file->setObjectName(QStringLiteral("File1"));
    QAction* import = file->addAction(QStringLiteral("Import..."));
    import->setObjectName(QStringLiteral("Import1"));
    connect(import, &QAction::triggered, this, &ReferenceEditor::ImportClick);
    QAction* exportFiles = file->addAction(QStringLiteral("Export..."));
    exportFiles->setObjectName(QStringLiteral("Export1"));
    connect(exportFiles, &QAction::triggered, this, &ReferenceEditor::ExportClick);
    menu_->insertMenu(menu_->actions().value(0), file);
}

// What is being typed is posted first: the files hold the tables as stored.
QString ReferenceEditor::askDirectory(const QString& caption)
{
    for (DataSet* v : views_)
        if (v->active() && v->isEditing())
            v->post();
    QFileDialog ask(this, caption, QDir::homePath());
    ask.setObjectName(QStringLiteral("DirectoryDialog1"));
    ask.setFileMode(QFileDialog::Directory);
    ask.setOption(QFileDialog::ShowDirsOnly, true);
    if (ask.exec() != QDialog::Accepted || ask.selectedFiles().isEmpty())
        return {};
    return ask.selectedFiles().first();
}

void ReferenceEditor::ExportClick()
{
    if (!db_)
        return;
    try {
        const QString dir = askDirectory(QStringLiteral("Export to Folder"));
        if (dir.isEmpty())
            return;
        const QStringList files = exportReferenceData(*db_, dir, tables_);
        dialogs_.information(QStringLiteral("Exported %1 to %2").arg(files.size() == 1 ? QStringLiteral("1 table") : QStringLiteral("%1 tables").arg(files.size()), QDir::toNativeSeparators(dir)));
    } catch (const std::exception& e) {
        dialogs_.showException(e);
    }
}

void ReferenceEditor::ImportClick()
{
    if (!db_)
        return;
    try {
        const QString dir = askDirectory(QStringLiteral("Import from Folder"));
        if (dir.isEmpty())
            return;
        ReferenceImport import(*db_, dir, tables_);
        if (!import.errors().isEmpty()) {
            dialogs_.error(import.refusal());
            return;
        }
        // A box lists the rows of a small import; the counts stand for a large one.
        const QString question = import.plan(30).join(QLatin1Char('\n')) + QStringLiteral("\n\nImport these rows?");
        if (dialogs_.message(MsgType::Confirmation, question, MsgButtons::YesNo) != MsgResult::Yes)
            return;
        import.apply();
        for (DataSet* v : views_)
            if (v->active())
                v->refresh();
        dialogs_.information(import.outcome());
    } catch (const std::exception& e) {
        dialogs_.showException(e);
    }
}

void ReferenceEditor::addBand()
{
    auto* band = new QLabel(QStringLiteral("Tarvane"), this);
    band->setObjectName(QStringLiteral("TitleBand"));
    band->setAlignment(Qt::AlignCenter);
    QFont f = band->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    band->setFont(f);
    band->setStyleSheet(QStringLiteral("background: #2f5d3a; color: white; padding: 6px;"));
    body_->addWidget(band);
}

void ReferenceEditor::addLevel(QBoxLayout* into, const QString& heading, DataSource* source, const QStringList& columns,
                               const QString& gridName, const QString& navigatorName)
{
    auto* column = new QVBoxLayout;
    auto* label = new QLabel(heading, this);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    column->addWidget(label);
    auto* grid = new DBGrid(source, columns, this);
    grid->setObjectName(gridName);
    grid->setDialogs(&dialogs_);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->keepColumnWidths(windowClass_);
    column->addWidget(grid, 1);
    auto* nav = new DBNavigator(source, dialogs_, this);
    nav->setObjectName(navigatorName);
    column->addWidget(nav);
    into->addLayout(column, columns.size() > 1 ? 2 : 1);
    levels_.append({source->dataSet(), grid, nav});
}

void ReferenceEditor::lockOtherLevels(const DataSet& level, bool editing)
{
    for (const Level& l : std::as_const(levels_))
        if (l.view != &level) {
            l.grid->setEnabled(!editing);
            l.navigator->setEnabled(!editing);
        }
}

void ReferenceEditor::closeEvent(QCloseEvent* e)
{
    bool ok = false;
    try {
        ok = canClose();
    } catch (const std::exception& ex) {
        dialogs_.showException(ex);
    }
    if (!ok) {
        e->ignore();
        return;
    }
    WindowSettings::savePlacement(this, windowClass_);
    e->accept();  // hiding the window ends its modal run
}

void ReferenceEditor::reject()
{
    close();  // Escape runs the same close query
}
