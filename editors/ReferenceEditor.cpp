#include "ReferenceEditor.h"

#include "DBNavigator.h"
#include "DataSetModel.h"
#include "Dialogs.h"
#include "WindowSettings.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QVBoxLayout>

ReferenceEditor::ReferenceEditor(const QString& windowClass, const QString& caption, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), windowClass_(windowClass), dialogs_(dialogs)
{
    setObjectName(windowClass);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QAction* close = menu->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("Close1"));
    connect(close, &QAction::triggered, this, &QDialog::close);
    layout->setMenuBar(menu);
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
