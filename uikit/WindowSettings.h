#pragma once
// Window placements and stored properties in the per-user settings store:
// organisation "Veskor", application "Tarvane", one group "2.0/<window class>".
#include <QSize>
#include <QString>
#include <QVariant>

class QWidget;

namespace WindowSettings {
QString group(const QString& windowClass);
// The kept placement, then fitScreen.
void restorePlacement(QWidget* window, const QString& windowClass);
// Room the window manager takes around a window: its frame and title bar.
inline constexpr QSize kFrame{16, 48};
// Makes the window no larger than its screen's free area (less kFrame), never below its
// minimum size, and puts a window placed off that area back onto it.
void fitScreen(QWidget* window);
void savePlacement(const QWidget* window, const QString& windowClass);
QVariant value(const QString& windowClass, const QString& key, const QVariant& fallback = {});
void setValue(const QString& windowClass, const QString& key, const QVariant& value);
}  // namespace WindowSettings
