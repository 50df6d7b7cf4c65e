#include "OwnedWindow.h"

#include <QWidget>

namespace OwnedWindow {

void setOwner(QWidget* window, QWidget* owner)
{
    if (!window || !owner || window->parentWidget() == owner || window == owner)
        return;
    // A new parent hides the window and may move it: its place and visibility are kept.
    // A window never shown nor placed keeps only its size: the window manager places it,
    // rather than at the screen's corner under its title bar.
    const QRect place = window->geometry();
    const bool shown = window->isVisible();
    const bool placed = shown || window->testAttribute(Qt::WA_Moved);
    window->setParent(owner, window->windowFlags() | Qt::Window);
    if (placed)
        window->setGeometry(place);
    else
        window->resize(place.size());
    if (shown)
        window->show();
}

void showOwned(QWidget* window, QWidget* owner, bool activate)
{
    if (!window)
        return;
    setOwner(window, owner);
    const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    window->show();
    window->raise();
    window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    if (activate)
        window->activateWindow();
}

}  // namespace OwnedWindow
