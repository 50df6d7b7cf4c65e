#include "ApplicationNames.h"

#include <QCoreApplication>

void setTarvaneApplicationNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Veskor"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvane"));
}
