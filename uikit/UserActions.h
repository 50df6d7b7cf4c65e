#pragma once
// Tells the dialogs when the user begins a new action: a key or mouse button
// pressed in a window of the program while no message box stands. Pressing a
// box's own buttons is part of the action that showed the box.
#include <QObject>

class Dialogs;

class UserActionWatcher : public QObject {
public:
    explicit UserActionWatcher(Dialogs& dialogs, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    Dialogs& dialogs_;
};
