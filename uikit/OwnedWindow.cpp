#include "OwnedWindow.h"

#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <QWidget>

namespace OwnedWindow {

namespace {

// Where a window first shows: beside its owner, to the right when there is room, else
// to the left, else over its edge, always wholly within the owner's screen. A window
// shown before keeps its place, moved in only as far as it lies off the screen.
void placeOnScreen(QWidget* window, QWidget* owner, bool besideOwner)
{
    QScreen* screen = owner ? owner->screen() : window->screen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    // A window never sized takes the size of its contents when it shows: take it now.
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    // The frame the window manager adds, as the owner has it (a title bar at the least).
    QMargins frame(4, 30, 4, 4);
    if (owner && owner->isVisible()) {
        const QRect f = owner->frameGeometry(), g = owner->geometry();
        frame = QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
    }
    const QSize size = window->size();
    const int outerW = size.width() + frame.left() + frame.right();
    const int outerH = size.height() + frame.top() + frame.bottom();
    QPoint at = window->pos();  // the frame's corner
    if (besideOwner && owner && owner->isVisible()) {
        const QRect o = owner->frameGeometry();
        if (o.right() + 1 + outerW <= avail.right() + 1)
            at = QPoint(o.right() + 1, o.top());
        else if (o.left() - outerW >= avail.left())
            at = QPoint(o.left() - outerW, o.top());
        else
            at = QPoint(avail.right() + 1 - outerW, o.top());
    } else if (!besideOwner) {
        at = window->frameGeometry().topLeft();
    }
    at.setX(std::clamp(at.x(), avail.left(), std::max(avail.left(), avail.right() + 1 - outerW)));
    at.setY(std::clamp(at.y(), avail.top(), std::max(avail.top(), avail.bottom() + 1 - outerH)));
    window->move(at);
}

// Tells the window manager that `window` belongs to `owner`, so that it stays above it
// (its WM_TRANSIENT_FOR), whichever of the two was activated last. Read when it shows.
void keepAbove(QWidget* window, QWidget* owner)
{
    QWidget* top = owner ? owner->window() : nullptr;
    if (!top || !top->windowHandle())
        return;
    window->winId();  // its native window, to carry the hint
    if (QWindow* handle = window->windowHandle())
        handle->setTransientParent(top->windowHandle());
}

}  // namespace

void setOwner(QWidget* window, QWidget* owner)
{
    if (!window || !owner || window->parentWidget() == owner || window == owner)
        return;
    // A new parent hides the window and may move it: its place and visibility are kept.
    // A window never shown nor placed keeps only its size, and is placed when it shows
    // (beside its owner, see showOwned), never at the screen's corner under its title bar.
    const QRect place = window->geometry();
    const bool shown = window->isVisible();
    const bool placed = shown || window->testAttribute(Qt::WA_Moved);
    window->setParent(owner, window->windowFlags() | Qt::Window);
    keepAbove(window, owner);
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
    const bool placed = window->isVisible() || window->testAttribute(Qt::WA_Moved);
    setOwner(window, owner);
    if (!window->isVisible()) {
        keepAbove(window, owner);
        placeOnScreen(window, owner, !placed);
    }
    const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    window->show();
    window->raise();
    window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    if (activate)
        window->activateWindow();
}

}  // namespace OwnedWindow
