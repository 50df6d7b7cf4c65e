#pragma once
// Entry pictures of number fields, such as "$###,###,###,###.##",
// "##########.##" or "###.#%": a prefix and a suffix, how many whole digits,
// how many decimals, and whether thousands are grouped.
#include <QString>

class Picture {
public:
    Picture() = default;
    explicit Picture(const QString& picture);
    bool isEmpty() const { return text_.isEmpty(); }
    const QString& text() const { return text_; }
    int decimals() const { return decimals_; }

    QString format(double value) const;
    // Reads typed text back; false when it is not a number of this picture.
    bool parse(const QString& text, double* value) const;
    // Whether the text is a number of this picture's shape (its prefix, digits and separators,
    // a point, its suffix) with no more whole digits and decimals than the picture holds.
    bool holds(const QString& text) const;

private:
    QString text_, prefix_, suffix_;
    int wholeDigits_ = 0;
    int decimals_ = 0;
    bool grouped_ = false;
};
