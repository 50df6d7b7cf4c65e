#pragma once
// Help requests of the windows. A window never opens help itself: it sends a
// HelpRequestEvent to itself, and the application's help router, which watches
// every event of the application, takes it and shows the topic in the chosen
// help format. Without a router (a window alone in a test) the request is
// simply not answered.
#include <QEvent>
#include <QList>
#include <QPoint>

class QAction;
class QWidget;

class HelpRequestEvent : public QEvent {
public:
    enum Command {
        Context,     // the topic of a context number
        Finder,      // the contents, index and search of the help
        HelpOnHelp,  // the topic on using the help
        Popup,       // the short "What's this?" text of a context number, at a screen position
    };
    static QEvent::Type eventType();

    HelpRequestEvent(Command command, int context = 0, QPoint globalPos = {});
    Command command() const { return command_; }
    int context() const { return context_; }
    QPoint globalPos() const { return pos_; }

private:
    Command command_;
    int context_;
    QPoint pos_;
};

namespace HelpRequest {
// The context number of a control: its own "helpContext" property when it has a
// positive one, else that of the nearest parent within its window that has one (the
// window's own); 0 when none has.
int contextOf(const QWidget* control);
// Gives a control (or a window) its context number.
void setContext(QWidget* control, int context);

// A command of a control on what it shows, offered above "What's this?" when the control
// is right-clicked ("Explain this amount..."); the control owns the action.
void addContextAction(QWidget* control, QAction* action);
QList<QAction*> contextActions(const QWidget* control);

// Sends `from` the request; true when a router answered it.
bool context(QWidget* from, int context);
bool finder(QWidget* from);
bool helpOnHelp(QWidget* from);
bool popup(QWidget* from, int context, QPoint globalPos);
}  // namespace HelpRequest
