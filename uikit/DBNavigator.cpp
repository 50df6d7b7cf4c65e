#include "DBNavigator.h"

#include "DataSet.h"
#include "DataSource.h"
#include "Dialogs.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <exception>

namespace {

struct ButtonLook {
    const char* name;
    const char* hint;
    QString glyph;
};

const ButtonLook& look(DBNavigator::Button b)
{
    static const ButtonLook looks[] = {
        {"First", "First record", QStringLiteral("|<")},
        {"Prior", "Prior record", QStringLiteral("<")},
        {"Next", "Next record", QStringLiteral(">")},
        {"Last", "Last record", QStringLiteral(">|")},
        {"Insert", "Insert record", QStringLiteral("+")},
        {"Delete", "Delete record", QStringLiteral("-")},
        {"Edit", "Edit record", QStringLiteral("^")},
        {"Post", "Post edit", QStringLiteral("\u2713")},
        {"Cancel", "Cancel edit", QStringLiteral("x")},
        {"Refresh", "Refresh data", QStringLiteral("\u21bb")},
    };
    return looks[static_cast<int>(b)];
}

}  // namespace

DBNavigator::DBNavigator(DataSource* source, Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (Button b : allButtons()) {
        auto* button = new QToolButton(this);
        button->setObjectName(buttonName(b));
        button->setToolTip(buttonHint(b));
        button->setText(look(b).glyph);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, b] { clickButton(b); });
        layout->addWidget(button);
        buttons_.append(button);
    }
    layout->addStretch();
    setDataSource(source);
}

DBNavigator::~DBNavigator() = default;

QList<DBNavigator::Button> DBNavigator::allButtons()
{
    return {First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh};
}

QString DBNavigator::buttonName(Button button)
{
    return QString::fromLatin1(look(button).name);
}

QString DBNavigator::buttonHint(Button button)
{
    return QString::fromLatin1(look(button).hint);
}

QToolButton* DBNavigator::button(Button button) const
{
    return buttons_.value(static_cast<int>(button));
}

void DBNavigator::setDataSource(DataSource* source)
{
    for (const QMetaObject::Connection& c : connections_)
        disconnect(c);
    connections_.clear();
    source_ = source;
    if (source) {
        connections_ << connect(source, &DataSource::dataChanged, this, &DBNavigator::updateButtons)
                     << connect(source, &DataSource::stateChanged, this, &DBNavigator::updateButtons)
                     << connect(source, &QObject::destroyed, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setVisibleButtons(const QList<Button>& buttons)
{
    for (Button b : allButtons())
        button(b)->setVisible(buttons.contains(b));
}

QList<DBNavigator::Button> DBNavigator::visibleButtons() const
{
    QList<Button> out;
    for (Button b : allButtons())
        if (!button(b)->isHidden())
            out << b;
    return out;
}

// First and Prior stop at the beginning, Next and Last at the end; Edit
// while browsing; Post and Cancel while editing or inserting; Refresh while
// nothing is pending; Delete when there is a record; nothing while closed.
void DBNavigator::updateButtons()
{
    DataSet* ds = source_ ? source_->dataSet() : nullptr;
    const bool active = ds && ds->active();
    const bool editing = active && ds->isEditing();
    const bool browsing = active && !editing;
    const bool empty = active && ds->bof() && ds->eof();
    button(First)->setEnabled(active && !ds->bof());
    button(Prior)->setEnabled(active && !ds->bof());
    button(Next)->setEnabled(active && !ds->eof());
    button(Last)->setEnabled(active && !ds->eof());
    button(Insert)->setEnabled(active);
    button(Delete)->setEnabled(active && (editing || !empty));
    button(Edit)->setEnabled(browsing);
    button(Post)->setEnabled(editing);
    button(Cancel)->setEnabled(editing);
    button(Refresh)->setEnabled(browsing);
}

void DBNavigator::runAction(Button button)
{
    DataSet* ds = source_ ? source_->dataSet() : nullptr;
    if (!ds)
        return;
    switch (button) {
    case First:
        ds->first();
        break;
    case Prior:
        ds->prior();
        break;
    case Next:
        ds->next();
        break;
    case Last:
        ds->last();
        break;
    case Insert:
        ds->insert();
        break;
    case Delete:
        if (!confirmDelete_ ||
            dialogs_.message(MsgType::Confirmation, QStringLiteral("Delete record?"), MsgButtons::YesNo) == MsgResult::Yes)
            ds->remove();
        break;
    case Edit:
        ds->edit();
        break;
    case Post:
        ds->post();
        break;
    case Cancel:
        ds->cancel();
        break;
    case Refresh:
        ds->refresh();
        break;
    }
}

void DBNavigator::clickButton(Button button)
{
    if (!source_ || !source_->dataSet())
        return;
    bool done = false;
    try {
        runAction(button);
        done = true;
    } catch (const std::exception& e) {
        dialogs_.showException(e);
    }
    updateButtons();
    if (done)
        Q_EMIT clicked(button);
}
