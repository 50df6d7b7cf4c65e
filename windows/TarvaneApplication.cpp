#include "TarvaneApplication.h"

#include "Dialogs.h"

#include <cstdio>

TarvaneApplication::TarvaneApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setTarvaneApplicationNames();
}

bool TarvaneApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (dialogs_)
            dialogs_->showException(e);
        else
            std::fprintf(stderr, "error: %s\n", e.what());
    }
    return false;
}
