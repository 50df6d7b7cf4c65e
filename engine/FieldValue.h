#pragma once
// Conversions between the values a program hands a field and the canonical
// value each field type keeps: QString for strings and memos, int for whole
// numbers, double for floats and currency, QDate, QDateTime, bool; an invalid
// QVariant is the empty (null) value.
#include "TableFormat.h"

#include <QDate>
#include <QDateTime>
#include <QVariant>

// The largest currency amount: about what a signed 64-bit count of ten-thousandths holds
// (922,337,203,685,477.5807), kept to a value a double carries exactly.
constexpr double kMaxCurrency = 922337203685477.5;

// Converts `in` to the canonical value of `type`; throws EDatabaseError naming
// `fieldName` when the value cannot be read as that type. Empty text is null; a
// float or currency value must be finite, a currency amount within kMaxCurrency.
QVariant toFieldValue(FieldType type, const QVariant& in, const QString& fieldName);

// Why a post refuses the canonical value of a field, or empty: a required field that is
// empty, a text longer than the field's size. Every post checks its fields by this rule.
QString fieldValueRefusal(const FieldDef& def, const QVariant& canonical, const QString& label = {});

// The text of a canonical value as the field's AsString shows it.
QString fieldValueText(FieldType type, const QVariant& v);

// The value as stored in the data file (dates as ISO text, booleans as 0/1).
QVariant toStorage(FieldType type, const QVariant& v);
// A stored float or currency value; stored text that is no number reads as NaN.
double storedNumber(const QVariant& stored);
// The canonical value of a stored SQL value.
QVariant fromStorage(FieldType type, const QVariant& stored);

// An SQL literal for a format's DEFAULT clause.
QString sqlLiteral(FieldType type, const QVariant& v);

QDate parseDateText(const QString& text);
QDateTime parseDateTimeText(const QString& text);
