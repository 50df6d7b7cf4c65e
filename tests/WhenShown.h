#pragma once
// Plays the window system for a modal window a handler puts up: runs `act` on
// the first visible top-level widget of type T once it is shown.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

template <typename T>
void whenShown(const std::function<void(T&)>& act, bool* seen)
{
    QTimer::singleShot(0, [act, seen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) {
                *seen = true;
                act(*t);
                return;
            }
        }
        whenShown<T>(act, seen);  // not up yet
    });
}
