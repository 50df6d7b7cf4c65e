#include "Picture.h"

#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpression>
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

namespace {

// The text of a number without the picture's prefix and suffix.
QString numberPart(const QString& text, const QString& prefix, const QString& suffix)
{
    QString t = text.trimmed();
    if (!prefix.isEmpty())
        t.remove(prefix.trimmed());
    if (!suffix.isEmpty())
        t.remove(suffix.trimmed());
    return t.trimmed();
}

int digitsIn(const QString& t)
{
    int n = 0;
    for (const QChar c : t)
        n += c.isDigit() ? 1 : 0;
    return n;
}

}  // namespace

bool Picture::holds(const QString& text) const
{
    const QString pre = QRegularExpression::escape(prefix_.trimmed());
    const QString suf = QRegularExpression::escape(suffix_.trimmed());
    const QString digits = grouped_ ? QStringLiteral("[0-9,]*") : QStringLiteral("[0-9]*");
    const QString frac = decimals_ > 0 ? QStringLiteral("(\\.[0-9]*)?") : QString();
    const QRegularExpression shape(QStringLiteral("^\\s*-?(%1)?\\s*%2%3\\s*(%4)?\\s*$").arg(pre, digits, frac, suf));
    if (!shape.match(text).hasMatch())
        return false;
    const QString t = numberPart(text, prefix_, suffix_);
    const int point = static_cast<int>(t.indexOf(QLatin1Char('.')));
    const QString whole = point < 0 ? t : t.left(point);
    const QString fraction = point < 0 ? QString() : t.mid(point + 1);
    return digitsIn(whole) <= std::max(wholeDigits_, 1) && digitsIn(fraction) <= decimals_;
}

bool Picture::parse(const QString& text, double* value) const
{
    QString t = numberPart(text, prefix_, suffix_);
    if (!holds(t))
        return false;  // more digits than the picture holds
    t.remove(QLatin1Char(','));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (ok && value)
        *value = v;
    return ok;
}
