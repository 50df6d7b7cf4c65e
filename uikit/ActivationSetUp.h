#pragma once
// The set-up a window runs each time it is shown or becomes active, kept from
// running again only because one of the window's own message boxes closed:
// not while the set-up itself runs, not while a box stands, and not for the
// activation that a box gives back when it closes. A failure of the set-up is
// shown once in the default error box instead of leaving the event handler.
#include <QtGlobal>
#include <functional>

class Dialogs;
class QEvent;
class QWidget;

class ActivationSetUp {
public:
    ActivationSetUp(QWidget& window, Dialogs& dialogs, std::function<void()> setUp);
    // Call from the window's event handler with every event.
    void handle(QEvent* e);
    // Runs the set-up now (a caller that knows the window is being activated).
    void run();

private:
    QWidget& window_;
    Dialogs& dialogs_;
    std::function<void()> setUp_;
    bool running_ = false;
    // The window lost activation to a box, or its set-up showed one: activations are
    // a box giving it back until the window loses activation to something else.
    bool coveredByBox_ = false;
};
