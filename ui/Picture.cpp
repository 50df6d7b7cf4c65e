#include "Picture.h"

#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <cmath>

Picture::Picture(const QString& picture) : text_(picture)
{
    int i = 0;
    while (i < picture.size() && picture[i] != QLatin1Char('#'))
        prefix_ += picture[i++];
    bool afterPoint = false;
    for (; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == QLatin1Char('#'))
            (afterPoint ? decimals_ : wholeDigits_)++;
        else if (c == QLatin1Char(','))
            grouped_ = true;
        else if (c == QLatin1Char('.'))
            afterPoint = true;
        else
            break;
    }
    suffix_ = picture.mid(i);
}

QString Picture::format(double value) const
{
    const bool negative = value < 0;
    QString digits = QString::number(std::fabs(value), 'f', decimals_);
    if (grouped_) {
        const int point = static_cast<int>(digits.indexOf(QLatin1Char('.')));
        for (int j = (point < 0 ? static_cast<int>(digits.size()) : point) - 3; j > 0; j -= 3)
            digits.insert(j, QLatin1Char(','));
    }
    return (negative ? QStringLiteral("-") : QString()) + prefix_ + digits + suffix_;
}

bool Picture::parse(const QString& text, double* value) const
{
    QString t = text.trimmed();
    if (!prefix_.isEmpty())
        t.remove(prefix_.trimmed());
    if (!suffix_.isEmpty())
        t.remove(suffix_.trimmed());
    t.remove(QLatin1Char(','));
    t = t.trimmed();
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (ok && value)
        *value = v;
    return ok;
}

QValidator* Picture::validator(QObject* parent) const
{
    const QString pre = QRegularExpression::escape(prefix_.trimmed());
    const QString suf = QRegularExpression::escape(suffix_.trimmed());
    const QString whole = grouped_ ? QStringLiteral("[0-9,]{0,%1}").arg(wholeDigits_ + wholeDigits_ / 3)
                                   : QStringLiteral("[0-9]{0,%1}").arg(std::max(wholeDigits_, 1));
    const QString frac = decimals_ > 0 ? QStringLiteral("(\\.[0-9]{0,%1})?").arg(decimals_) : QString();
    const QString re = QStringLiteral("-?(%1)?\\s*%2%3\\s*(%4)?").arg(pre, whole, frac, suf);
    return new QRegularExpressionValidator(QRegularExpression(re), parent);
}
