#include "ActivationSetUp.h"

#include "Dialogs.h"

#include <QEvent>
#include <QWidget>

ActivationSetUp::ActivationSetUp(QWidget& window, Dialogs& dialogs, std::function<void()> setUp)
    : window_(window), dialogs_(dialogs), setUp_(std::move(setUp))
{
}

void ActivationSetUp::handle(QEvent* e)
{
    switch (e->type()) {
    case QEvent::WindowDeactivate:
        // Activation taken by a box comes back when the box closes; any other loss
        // (the wizard, another window, closing) makes the next activation a real one.
        coveredByBox_ = dialogs_.boxOpen();
        break;
    case QEvent::Show:
        if (!running_ && !dialogs_.boxOpen())
            run();
        break;
    case QEvent::WindowActivate:
        if (!running_ && !dialogs_.boxOpen() && !coveredByBox_)
            run();
        break;
    default:
        break;
    }
}

void ActivationSetUp::run()
{
    if (running_)
        return;
    running_ = true;
    const quint64 before = dialogs_.boxesShown();
    try {
        setUp_();
    } catch (const std::exception& ex) {
        dialogs_.showException(ex);
    }
    running_ = false;
    // The window gets its activation back when a box the set-up showed closes; that
    // activation is not a new one (also when the box stood before the window was active).
    if (dialogs_.boxesShown() != before)
        coveredByBox_ = true;
}
