#include "Money.h"

#include <QLocale>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

__extension__ typedef __int128 i128;

[[noreturn]] void outOfRange()
{
    throw MoneyRangeError(QStringLiteral("The amount is beyond the range of money amounts (at most $922,337,203,685,477.58)"));
}

// The units of an exact result; raises when they do not fit in 64 bits.
qint64 fitted(i128 v)
{
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min())
        outOfRange();
    return static_cast<qint64>(v);
}

// Refuses a factor or amount that is not finite, or whose product with `scale`
// (ten-thousandths, at most 2^63) cannot fit, before any exact arithmetic.
void checkOperand(double x, double scale)
{
    if (!std::isfinite(x))
        throw MoneyRangeError(QStringLiteral("A money amount was computed from a value that is not a finite number"));
    if (std::fabs(x) * std::fabs(scale) >= 9.3e18)
        outOfRange();
}

// Rounds n / 2^shift (shift > 0) to the nearest integer, ties to even.
i128 roundShift(i128 n, int shift)
{
    if (shift <= 0)
        return n << -shift;
    if (shift >= 120)
        return 0;
    const bool negative = n < 0;
    const i128 a = negative ? -n : n;
    i128 q = a >> shift;
    const i128 rem = a - (q << shift);
    const i128 half = i128(1) << (shift - 1);
    if (rem > half || (rem == half && (q & 1)))
        ++q;
    return negative ? -q : q;
}

// Rounds n / d (d > 0) to the nearest integer, ties to even.
i128 roundDiv(i128 n, i128 d)
{
    const bool negative = n < 0;
    const i128 a = negative ? -n : n;
    i128 q = a / d;
    const i128 rem = a - q * d;
    if (2 * rem > d || (2 * rem == d && (q & 1)))
        ++q;
    return negative ? -q : q;
}

// x × k exactly, rounded to an integer (ties to even); x finite.
qint64 roundedProduct(double x, i128 k)
{
    if (x == 0.0 || k == 0)
        return 0;
    int exp = 0;
    const double mant = std::frexp(x, &exp);                         // x = mant × 2^exp, 0.5 <= |mant| < 1
    const i128 m = static_cast<i128>(std::ldexp(mant, 53));          // exact 53-bit integer
    // x × k = m × k × 2^(exp - 53)
    const int shift = 53 - exp;
    const i128 prod = m * k;
    return fitted(roundShift(prod, shift));
}

struct Exact {
    i128 mant = 0;  // value = mant × 2^exp
    int exp = 0;
};

Exact exact(double x)
{
    if (x == 0.0)
        return {};
    int e = 0;
    const double m = std::frexp(x, &e);
    return {static_cast<i128>(std::ldexp(m, 53)), e - 53};
}

}  // namespace

Money Money::product(double a, double b)
{
    checkOperand(a, 1.0);
    checkOperand(b, 1.0);
    checkOperand(a * b, 10000.0);
    const Exact ea = exact(a), eb = exact(b);
    if (ea.mant == 0 || eb.mant == 0)
        return Money();
    // a × b × 10000 = ma × mb × 10000 × 2^(ea + eb); ma × mb has at most 106 bits, so scale in two steps.
    const i128 prod = ea.mant * eb.mant;
    const int shift = -(ea.exp + eb.exp);
    // Multiply by 10000 = 625 × 16 without overflow: divide the shift by 16 = 2^4 first.
    const int s2 = shift - 4;
    if (s2 <= 0)
        return Money(fitted((prod * 625) << -s2));
    // prod × 625 needs at most 116 bits.
    return Money(fitted(roundShift(prod * 625, s2)));
}

Money Money::sum(double x, Money amount)
{
    checkOperand(x, 10000.0);
    const Exact e = exact(x);
    if (e.mant == 0)
        return amount;
    const int shift = -e.exp - 4;  // x × 10000 = mant × 625 × 2^(exp + 4)
    if (shift <= 0)
        return Money(fitted(((e.mant * 625) << -shift) + amount.units_));
    if (shift > 60)  // x is far below a ten-thousandth of a cent of the amount's scale
        return Money(fitted(roundShift(e.mant * 625, shift) + amount.units_));
    return Money(fitted(roundShift(e.mant * 625 + (static_cast<i128>(amount.units_) << shift), shift)));
}

bool Money::fits(double dollars)
{
    return std::isfinite(dollars) && std::fabs(dollars) <= maxDollars();
}

Money Money::fromDouble(double dollars)
{
    checkOperand(dollars, 10000.0);
    return Money(roundedProduct(dollars, 10000));
}

Money Money::product(double factor, Money amount)
{
    checkOperand(factor, static_cast<double>(amount.units_));
    return Money(roundedProduct(factor, amount.units_));
}

Money Money::product(Money a, Money b)
{
    return Money(fitted(roundDiv(static_cast<i128>(a.units_) * b.units_, 10000)));
}

Money Money::operator+(Money o) const
{
    qint64 r = 0;
    if (__builtin_add_overflow(units_, o.units_, &r))
        outOfRange();
    return Money(r);
}

Money Money::operator-(Money o) const
{
    qint64 r = 0;
    if (__builtin_sub_overflow(units_, o.units_, &r))
        outOfRange();
    return Money(r);
}

QString formatMoney(Money m)
{
    const qint64 cents = m.wholeCents();
    const bool negative = cents < 0;
    const quint64 a = static_cast<quint64>(negative ? -cents : cents);
    QString digits = QString::number(a / 100);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    QString text = QLatin1Char('$') + digits + QLatin1Char('.') + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
    if (negative)
        text = QLatin1Char('(') + text + QLatin1Char(')');
    return text.rightJustified(12, QLatin1Char(' '));
}

QString formatMoney(double dollars)
{
    return formatMoney(Money::fromDouble(dollars));
}

QString formatFactor(double factor)
{
    return QString::asprintf("%10.3f", factor);
}

double RoundToPlaces(int places, double value)
{
    const double scale = std::pow(10.0, places);
    const double whole = places < 1 ? 0.0 : std::trunc(value);
    const double d = (value - whole) * scale;
    const double t = std::trunc(d);
    const double g = std::nearbyint((d - t) * 10.0);
    double r = t;
    if (std::fabs(g) >= 5.0)
        r = (d - t > 0) ? t + 1.0 : t - 1.0;
    return whole + r / scale;
}

double MoneyTextToFloat(const QString& text, bool* ok)
{
    QString t = text;
    t.replace(QLatin1Char('$'), QLatin1Char(' '));
    t.remove(QLatin1Char(','));
    t = t.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
        negative = true;
        t = t.mid(1, t.size() - 2).trimmed();
    }
    bool good = false;
    const double v = QLocale::c().toDouble(t, &good);
    if (ok)
        *ok = good;
    if (!good)
        return -999999.99;
    return negative ? -v : v;
}
