#include "StoredValues.h"

#include "FieldValue.h"
#include "Statement.h"

#include <sqlite3.h>

void StoredValues::clear()
{
    cells_.clear();
    text_.clear();
    others_.clear();
}

void StoredValues::reserve(size_t cells)
{
    cells_.reserve(cells);
}

void StoredValues::appendRow(const Statement& st, const QVector<FieldType>& types)
{
    sqlite3_stmt* h = st.handle();
    const int width = static_cast<int>(types.size());
    for (int column = 1; column <= width; ++column) {
        const FieldType type = types[column - 1];
        Cell c;
        c.kind = Kind::Null;
        // One call for the column, then its value's own readers: the connection is opened
        // without a mutex (no other thread uses it), so its values need no protection.
        sqlite3_value* v = sqlite3_column_value(h, column);
        const int stored = sqlite3_value_type(v);
        if (stored == SQLITE_NULL) {
            cells_.push_back(c);
            continue;
        }
        const bool whole = type == FieldType::Integer || type == FieldType::AutoInc;
        const bool number = type == FieldType::Float || type == FieldType::Currency;
        const bool text = type == FieldType::String || type == FieldType::Memo;
        const char* bytes = nullptr;
        if (stored == SQLITE_INTEGER && whole) {
            c.kind = Kind::Int;
            c.i = static_cast<int>(sqlite3_value_int64(v));
        } else if (stored == SQLITE_FLOAT && number) {
            c.kind = Kind::Double;
            c.d = sqlite3_value_double(v);
        } else if (stored == SQLITE_INTEGER && number) {
            c.kind = Kind::Double;
            c.d = static_cast<double>(sqlite3_value_int64(v));
        } else if (stored == SQLITE_TEXT && text &&
                   (bytes = reinterpret_cast<const char*>(sqlite3_value_text(v))) != nullptr) {
            const int n = sqlite3_value_bytes(v);
            c.kind = Kind::Text;
            c.text.at = static_cast<quint32>(text_.size());
            c.text.size = static_cast<quint32>(n);
            text_.append(bytes, static_cast<size_t>(n));
        } else {
            QVariant canonical = fromStorage(type, st.value(column));
            if (canonical.isValid()) {
                c.kind = Kind::Other;
                c.other = static_cast<quint32>(others_.size());
                others_.push_back(std::move(canonical));
            }
        }
        cells_.push_back(c);
    }
}

QVariant StoredValues::value(size_t i) const
{
    const Cell& c = cells_[i];
    switch (c.kind) {
    case Kind::Null:
        break;
    case Kind::Int:
        return c.i;
    case Kind::Double:
        return c.d;
    case Kind::Text:
        return toString(i);
    case Kind::Other:
        return others_[c.other];
    }
    return {};
}

QString StoredValues::toString(size_t i) const
{
    const Cell& c = cells_[i];
    if (c.kind == Kind::Text)
        return QString::fromUtf8(text_.data() + c.text.at, c.text.size);
    if (c.kind == Kind::Null)
        return {};
    return value(i).toString();
}

void StoredValues::moveCells(size_t from, size_t to, size_t count)
{
    if (from != to)
        std::copy(cells_.begin() + from, cells_.begin() + from + count, cells_.begin() + to);
}
