#pragma once
// Window placements and stored properties in the per-user settings store:
// organisation "Veskor", application "Tarvane", one group "2.0/<window class>".
#include <QString>
#include <QVariant>

class QWidget;

namespace WindowSettings {
QString group(const QString& windowClass);
void restorePlacement(QWidget* window, const QString& windowClass);
void savePlacement(const QWidget* window, const QString& windowClass);
QVariant value(const QString& windowClass, const QString& key, const QVariant& fallback = {});
void setValue(const QString& windowClass, const QString& key, const QVariant& value);
}  // namespace WindowSettings
