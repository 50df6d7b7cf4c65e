#include "FieldValue.h"

#include "EDatabaseError.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

bool isTextual(const QVariant& v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

double parseNumber(const QString& raw, bool* ok)
{
    QString t = raw.trimmed();
    t.remove(QLatin1Char('$'));
    t.remove(QLatin1Char(','));
    t.remove(QLatin1Char(' '));
    bool negative = false;
    if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
        negative = true;
        t = t.mid(1, t.size() - 2);
    }
    const double d = QLocale::c().toDouble(t, ok);
    return negative ? -d : d;
}

[[noreturn]] void refuse(const QVariant& in, const QString& what, const QString& fieldName)
{
    throw EDatabaseError(QStringLiteral("'%1' is not a valid %2 for field '%3'").arg(in.toString(), what, fieldName));
}

}  // namespace

QDate parseDateText(const QString& text)
{
    const QString t = text.trimmed();
    static const char* formats[] = {"yyyy-MM-dd", "M/d/yyyy", "MM/dd/yyyy", "M/d/yy", "M-d-yyyy", "yyyy/M/d"};
    for (const char* f : formats) {
        QDate d = QDate::fromString(t, QLatin1String(f));
        if (d.isValid()) {
            if (QLatin1String(f) == QLatin1String("M/d/yy") && d.year() < 1950)
                d = d.addYears(100);
            return d;
        }
    }
    const QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    return dt.isValid() ? dt.date() : QDate();
}

QDateTime parseDateTimeText(const QString& text)
{
    const QString t = text.trimmed();
    QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    if (dt.isValid())
        return dt;
    static const char* formats[] = {"M/d/yyyy h:mm:ss AP", "M/d/yyyy h:mm:ss", "MM/dd/yyyy hh:mm:ss", "M/d/yyyy h:mm"};
    for (const char* f : formats) {
        dt = QDateTime::fromString(t, QLatin1String(f));
        if (dt.isValid())
            return dt;
    }
    const QDate d = parseDateText(t);
    return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
}

QVariant toFieldValue(FieldType type, const QVariant& in, const QString& fieldName)
{
    if (!in.isValid() || in.isNull())
        return {};
    if (isTextual(in) && in.toString().isEmpty())
        return {};
    switch (type) {
    case FieldType::String:
    case FieldType::Memo:
        if (in.typeId() == QMetaType::Double)
            return QString::number(in.toDouble(), 'g', 15);
        return in.toString();
    case FieldType::Integer:
    case FieldType::AutoInc: {
        double d = 0;
        if (isTextual(in)) {
            bool ok = false;
            d = parseNumber(in.toString(), &ok);
            if (!ok || d != std::floor(d))
                refuse(in, QStringLiteral("integer value"), fieldName);
        } else if (in.typeId() == QMetaType::Bool) {
            d = in.toBool() ? 1 : 0;
        } else {
            bool ok = false;
            d = in.toDouble(&ok);
            if (!ok)
                refuse(in, QStringLiteral("integer value"), fieldName);
            d = std::nearbyint(d);  // ties to even, as whole-number fields round
        }
        if (d < std::numeric_limits<qint32>::min() || d > std::numeric_limits<qint32>::max())
            throw EDatabaseError(
                QStringLiteral("%1 is out of range for the whole-number field '%2'").arg(in.toString(), fieldName));
        return static_cast<int>(d);
    }
    case FieldType::Float:
    case FieldType::Currency: {
        bool ok = false;
        const double d = isTextual(in) ? parseNumber(in.toString(), &ok) : in.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            refuse(in, QStringLiteral("floating point value"), fieldName);
        // A currency amount must fit the four-decimal fixed point of 64 bits the bond computes with.
        if (type == FieldType::Currency && std::fabs(d) > kMaxCurrency)
            throw EDatabaseError(QStringLiteral("%1 is out of range for the currency field '%2' (at most %3)")
                                     .arg(QString::number(d, 'g', 17), fieldName, QString::number(kMaxCurrency, 'f', 2)));
        return d;
    }
    case FieldType::Date: {
        QDate d;
        if (in.typeId() == QMetaType::QDate)
            d = in.toDate();
        else if (in.typeId() == QMetaType::QDateTime)
            d = in.toDateTime().date();
        else if (isTextual(in))
            d = parseDateText(in.toString());
        if (!d.isValid())
            refuse(in, QStringLiteral("date"), fieldName);
        return d;
    }
    case FieldType::DateTime: {
        QDateTime dt;
        if (in.typeId() == QMetaType::QDateTime)
            dt = in.toDateTime();
        else if (in.typeId() == QMetaType::QDate)
            dt = QDateTime(in.toDate(), QTime(0, 0));
        else if (isTextual(in))
            dt = parseDateTimeText(in.toString());
        if (!dt.isValid())
            refuse(in, QStringLiteral("date and time"), fieldName);
        return dt;
    }
    case FieldType::Boolean: {
        if (in.typeId() == QMetaType::Bool)
            return in.toBool();
        if (isTextual(in)) {
            const QString t = in.toString().trimmed().toLower();
            if (t == QLatin1String("true") || t == QLatin1String("t") || t == QLatin1String("yes") || t == QLatin1String("y") ||
                t == QLatin1String("1"))
                return true;
            if (t == QLatin1String("false") || t == QLatin1String("f") || t == QLatin1String("no") ||
                t == QLatin1String("n") || t == QLatin1String("0"))
                return false;
            refuse(in, QStringLiteral("boolean value"), fieldName);
        }
        bool ok = false;
        const double d = in.toDouble(&ok);
        if (!ok)
            refuse(in, QStringLiteral("boolean value"), fieldName);
        return d != 0;
    }
    }
    return {};
}

QString fieldValueText(FieldType type, const QVariant& v)
{
    if (!v.isValid())
        return {};
    switch (type) {
    case FieldType::Float:
    case FieldType::Currency:
        return QString::number(v.toDouble(), 'g', 15);
    case FieldType::Date:
        return v.toDate().toString(QStringLiteral("MM/dd/yyyy"));
    case FieldType::DateTime:
        return v.toDateTime().toString(QStringLiteral("MM/dd/yyyy hh:mm:ss"));
    case FieldType::Boolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

double storedNumber(const QVariant& stored)
{
    if (!isTextual(stored))
        return stored.toDouble();
    // Text in a number column is what the file holds, not a number: "NaN" and "inf"
    // read as such, anything else that is no number as not a number, never as 0.
    const QString t = stored.toString().trimmed().toLower();
    if (t == QLatin1String("inf") || t == QLatin1String("+inf") || t == QLatin1String("infinity"))
        return std::numeric_limits<double>::infinity();
    if (t == QLatin1String("-inf") || t == QLatin1String("-infinity"))
        return -std::numeric_limits<double>::infinity();
    bool ok = false;
    const double d = QLocale::c().toDouble(t, &ok);
    return ok ? d : std::numeric_limits<double>::quiet_NaN();
}

QVariant toStorage(FieldType type, const QVariant& v)
{
    if (!v.isValid())
        return {};
    switch (type) {
    case FieldType::Date:
        return v.toDate().toString(Qt::ISODate);
    case FieldType::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    case FieldType::Boolean:
        return v.toBool() ? 1 : 0;
    default:
        return v;
    }
}

QVariant fromStorage(FieldType type, const QVariant& stored)
{
    if (!stored.isValid() || stored.isNull())
        return {};
    switch (type) {
    case FieldType::String:
    case FieldType::Memo:
        return stored.toString();
    case FieldType::Integer:
    case FieldType::AutoInc:
        return stored.toInt();
    case FieldType::Float:
    case FieldType::Currency:
        return storedNumber(stored);
    case FieldType::Date: {
        const QDate d = parseDateText(stored.toString());
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::DateTime: {
        const QDateTime dt = parseDateTimeText(stored.toString());
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case FieldType::Boolean:
        return stored.toInt() != 0;
    }
    return {};
}

QString sqlLiteral(FieldType type, const QVariant& v)
{
    const QVariant s = toStorage(type, v);
    if (!s.isValid())
        return QStringLiteral("NULL");
    if (s.typeId() == QMetaType::QString) {
        QString t = s.toString();
        t.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + t + QLatin1Char('\'');
    }
    if (s.typeId() == QMetaType::Double)
        return QString::number(s.toDouble(), 'g', 17);
    return s.toString();
}

QString fieldValueRefusal(const FieldDef& def, const QVariant& v, const QString& label)
{
    const QString name = label.isEmpty() ? def.name : label;
    if (def.required && !v.isValid() && def.type != FieldType::AutoInc)
        return QStringLiteral("Field '%1' must have a value").arg(name);
    if (def.type == FieldType::String && def.size > 0 && v.isValid() && v.toString().size() > def.size)
        return QStringLiteral("Field '%1' holds %2 characters; at most %3 fit").arg(name).arg(v.toString().size()).arg(def.size);
    return {};
}
