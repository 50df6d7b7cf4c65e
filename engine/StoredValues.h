#pragma once
// The stored values of a block of rows, kept without a QVariant for each
// value: whole numbers and floats in place, text as its UTF-8 bytes in one
// buffer of the block, anything else (dates, flags, values stored in another
// form than their field's) as the canonical QVariant beside. A walk over many
// rows then costs no allocation per value; a value becomes a QVariant or a
// QString only when it is read.
#include "TableFormat.h"

#include <QString>
#include <QVector>
#include <QVariant>
#include <string>
#include <vector>

class Statement;

class StoredValues {
public:
    void clear();
    void reserve(size_t cells);
    size_t size() const { return cells_.size(); }

    // Appends the values of the statement's current row in columns 1 to types.size(),
    // each in the form its field's type keeps.
    void appendRow(const Statement& st, const QVector<FieldType>& types);

    bool isNull(size_t i) const { return cells_[i].kind == Kind::Null; }
    QVariant value(size_t i) const;  // the canonical value; invalid when null
    double toDouble(size_t i) const  // as QVariant::toDouble of value(i)
    {
        const Cell& c = cells_[i];
        if (c.kind == Kind::Double)
            return c.d;
        if (c.kind == Kind::Int)
            return c.i;
        return c.kind == Kind::Null ? 0.0 : value(i).toDouble();
    }
    QString toString(size_t i) const;  // as QVariant::toString of value(i)

    // Keeps `count` cells starting at `from` in place of the cells at `to`: rows
    // are dropped by moving the kept ones down; the text and values they name stay.
    void moveCells(size_t from, size_t to, size_t count);
    void truncate(size_t cells) { cells_.resize(cells); }

private:
    enum class Kind : quint8 { Null, Int, Double, Text, Other };
    struct Cell {
        union {
            int i;
            double d;
            struct {
                quint32 at;
                quint32 size;
            } text;
            quint32 other;
        };
        Kind kind;
    };
    std::vector<Cell> cells_;
    std::string text_;
    std::vector<QVariant> others_;
};
