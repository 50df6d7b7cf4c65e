#pragma once
// The application object. Any exception escaping an event handler is shown in
// the application's default error box and the program keeps running.
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

// Names the program to Qt (organisation Veskor, application Tarvane) for settings and folders.
void setTarvaneApplicationNames();
