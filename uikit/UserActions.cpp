#include "UserActions.h"

#include "Dialogs.h"

#include <QEvent>
#include <QKeyEvent>

UserActionWatcher::UserActionWatcher(Dialogs& dialogs, QObject* parent) : QObject(parent), dialogs_(dialogs) {}

bool UserActionWatcher::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        // A press may be seen by several widgets on its way; clearing twice changes nothing.
        if (watched->isWidgetType() && !dialogs_.boxOpen()) {
            if (e->type() != QEvent::KeyPress || !static_cast<QKeyEvent*>(e)->isAutoRepeat())
                dialogs_.userActed();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, e);
}
