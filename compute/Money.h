#pragma once
// Money of the bond summary: a signed 64-bit count of ten-thousandths of a
// dollar. Conversions from floating point round the exact value to the
// nearest ten-thousandth, ties to the even neighbour; sums are exact. An
// amount that does not fit, or a value that is not a finite number, raises
// MoneyRangeError: money never wraps.
#include "EDatabaseError.h"
#include "FieldValue.h"

#include <QString>
#include <QtGlobal>

class MoneyRangeError : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 tenThousandths) { return Money(tenThousandths); }
    static Money fromDouble(double dollars);
    // factor × amount, rounded to money (the percent and factor products of the bond).
    static Money product(double factor, Money amount);
    // amount × amount of two money values (the inflation factor is kept as money).
    static Money product(Money a, Money b);
    // a × b of two floating-point values, rounded to money.
    static Money product(double a, double b);
    // x + amount, rounded to money.
    static Money sum(double x, Money amount);

    qint64 units() const { return units_; }
    // Whole cents, a half cent away from zero: the amount as it is shown.
    qint64 wholeCents() const { return (units_ >= 0 ? units_ + 50 : units_ - 50) / 100; }
    double toDouble() const { return static_cast<double>(units_) / 10000.0; }

    // The largest floating-point amount that converts, in dollars.
    static constexpr double maxDollars() { return kMaxCurrency; }
    // Whether a floating-point amount can be held (finite and within the range).
    static bool fits(double dollars);

    Money operator+(Money o) const;
    Money operator-(Money o) const;
    Money& operator+=(Money o) { return *this = *this + o; }
    bool operator==(const Money& o) const = default;
    auto operator<=>(const Money& o) const = default;

private:
    constexpr explicit Money(qint64 u) : units_(u) {}
    qint64 units_ = 0;
};

// "%12.2m": the currency sign, thousands separators and two decimals,
// right-aligned in at least 12 characters; negative amounts in parentheses.
QString formatMoney(double dollars);
QString formatMoney(Money m);
// "%10.3f".
QString formatFactor(double factor);

// The rounding of the inflation factor: a remainder of more than 0.45 of the
// last kept place rounds away from zero.
double RoundToPlaces(int places, double value);

// Reads a displayed money text back: "$" becomes a blank, "," goes, the rest
// is a decimal number (a negative amount may be written in parentheses).
// On failure `ok` is false and the result is -999999.99.
double MoneyTextToFloat(const QString& text, bool* ok);
