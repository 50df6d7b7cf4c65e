#include "WindowSettings.h"

#include <QSettings>
#include <QWidget>

namespace WindowSettings {

QString group(const QString& windowClass)
{
    return QStringLiteral("2.0/") + windowClass;
}


void restorePlacement(QWidget* window, const QString& windowClass)
{
    QSettings s(QStringLiteral("Veskor"), QStringLiteral("Tarvane"));
    s.beginGroup(group(windowClass));
    const QByteArray geometry = s.value(QStringLiteral("Placement")).toByteArray();
    if (!geometry.isEmpty())
        window->restoreGeometry(geometry);
}

void savePlacement(const QWidget* window, const QString& windowClass)
{
    QSettings s(QStringLiteral("Veskor"), QStringLiteral("Tarvane"));
    s.beginGroup(group(windowClass));
    s.setValue(QStringLiteral("Placement"), window->saveGeometry());
    s.setValue(QStringLiteral("PixelsPerInch"), window->logicalDpiY());
}

QVariant value(const QString& windowClass, const QString& key, const QVariant& fallback)
{
    QSettings s(QStringLiteral("Veskor"), QStringLiteral("Tarvane"));
    return s.value(group(windowClass) + QLatin1Char('/') + key, fallback);
}

void setValue(const QString& windowClass, const QString& key, const QVariant& value)
{
    QSettings s(QStringLiteral("Veskor"), QStringLiteral("Tarvane"));
    s.setValue(group(windowClass) + QLatin1Char('/') + key, value);
}

}  // namespace WindowSettings
