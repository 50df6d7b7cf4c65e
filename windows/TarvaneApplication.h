#pragma once
// The application object. Any exception escaping an event handler is shown in
// the application's default error box and the program keeps running.
#include "ApplicationNames.h"

#include <QApplication>

class Dialogs;

class TarvaneApplication : public QApplication {
public:
    TarvaneApplication(int& argc, char** argv);
    void setDialogs(Dialogs* d) { dialogs_ = d; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Dialogs* dialogs_ = nullptr;
};
