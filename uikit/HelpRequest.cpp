#include "HelpRequest.h"

#include <QAction>

#include <QCoreApplication>
#include <QVariant>
#include <QWidget>

QEvent::Type HelpRequestEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

HelpRequestEvent::HelpRequestEvent(Command command, int context, QPoint globalPos)
    : QEvent(eventType()), command_(command), context_(context), pos_(globalPos)
{
    setAccepted(false);
}

namespace HelpRequest {

int contextOf(const QWidget* control)
{
    // Up to the control's own window: a dialog of Qt's (a file dialog, the print preview)
    // is no part of the window that opened it.
    for (const QWidget* w = control; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        const int n = w->property("helpContext").toInt();
        if (n > 0)
            return n;
    }
    return 0;
}

void setContext(QWidget* control, int context)
{
    control->setProperty("helpContext", context);
}

namespace {
bool send(QWidget* from, HelpRequestEvent::Command command, int context, QPoint pos = {})
{
    if (!from)
        return false;
    HelpRequestEvent request(command, context, pos);
    QCoreApplication::sendEvent(from, &request);
    return request.isAccepted();
}
}  // namespace

bool context(QWidget* from, int n)
{
    return send(from, HelpRequestEvent::Context, n);
}

bool finder(QWidget* from)
{
    return send(from, HelpRequestEvent::Finder, 0);
}

bool helpOnHelp(QWidget* from)
{
    return send(from, HelpRequestEvent::HelpOnHelp, 0);
}

bool popup(QWidget* from, int n, QPoint globalPos)
{
    return send(from, HelpRequestEvent::Popup, n, globalPos);
}

}  // namespace HelpRequest

namespace {
constexpr const char* kContextAction = "tarvaneContextAction";
}

void HelpRequest::addContextAction(QWidget* control, QAction* action)
{
    action->setParent(control);
    action->setProperty(kContextAction, true);
    control->addAction(action);
}

QList<QAction*> HelpRequest::contextActions(const QWidget* control)
{
    QList<QAction*> found;
    for (QAction* a : control->actions())
        if (a->property(kContextAction).toBool())
            found << a;
    return found;
}
