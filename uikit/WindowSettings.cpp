#include "WindowSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <algorithm>
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
    fitScreen(window);
}

void fitScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry().adjusted(0, 0, -kFrame.width(), -kFrame.height());
    const QSize size = window->size().boundedTo(room.size()).expandedTo(window->minimumSize());
    if (size != window->size())
        window->resize(size);
    // A placement kept from a larger screen is brought back onto this one.
    if (window->testAttribute(Qt::WA_Moved) && !room.contains(QRect(window->pos(), size))) {
        const int x = std::clamp(window->x(), room.left(), std::max(room.left(), room.right() - size.width()));
        const int y = std::clamp(window->y(), room.top(), std::max(room.top(), room.bottom() - size.height()));
        window->move(x, y);
    }
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
