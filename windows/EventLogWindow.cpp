#include "EventLogWindow.h"

#include "DBNavigator.h"
#include "DataSetModel.h"
#include "DataModule.h"
#include "StoredNames.h"
#include "WindowSettings.h"

#include <QVBoxLayout>

namespace {
const QString kClass = QLatin1String(storedname::EventLogWindow);
}

EventLogWindow::EventLogWindow(DataModule& dm, Dialogs& dialogs, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("EventLogForm"));
    setWindowTitle(QStringLiteral("Mine Event Log"));
    auto* layout = new QVBoxLayout(this);
    navigator_ = new DBNavigator(&dm.EventLogDS, dialogs, this);
    navigator_->setObjectName(QStringLiteral("DBNavigator1"));
    navigator_->setVisibleButtons(
        {DBNavigator::First, DBNavigator::Prior, DBNavigator::Next, DBNavigator::Last, DBNavigator::Refresh});
    layout->addWidget(navigator_, 0, Qt::AlignLeft);
    grid_ = new DBGrid(&dm.EventLogDS, {QStringLiteral("MineName"), QStringLiteral("Time"), QStringLiteral("Event")}, this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setDialogs(&dialogs);
    grid_->setReadOnly(true);
    layout->addWidget(grid_, 1);
    resize(620, 420);
    WindowSettings::restorePlacement(this, kClass);
}

EventLogWindow::~EventLogWindow() = default;

// Closed by the close box or Escape: the placement is kept for the next showing.
void EventLogWindow::done(int r)
{
    WindowSettings::savePlacement(this, kClass);
    QDialog::done(r);
}
