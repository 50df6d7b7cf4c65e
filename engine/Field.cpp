#include "Field.h"

#include "DataSet.h"
#include "FieldValue.h"

#include <cmath>
#include <limits>

namespace {

// A stored number as a whole number; one that is not a number or does not fit reads as 0.
int wholeNumber(double d)
{
    if (!(d >= std::numeric_limits<int>::min() && d <= std::numeric_limits<int>::max()))
        return 0;
    return static_cast<int>(d);
}

}  // namespace

Field::Field(DataSet& ds, FieldDef def, FieldKind kind, int slot)
    : ds_(ds), def_(std::move(def)), kind_(kind), slot_(slot), readOnly_(def_.type == FieldType::AutoInc)
{
    displayLabel = def_.name;
}

bool Field::isNull() const
{
    return ds_.fieldIsNull(*this);
}

QVariant Field::value() const
{
    return ds_.fieldValue(*this);
}

QString Field::asString() const
{
    if (def_.type == FieldType::String || def_.type == FieldType::Memo)
        return ds_.fieldString(*this);  // the text itself, without a QVariant around it
    return fieldValueText(def_.type, value());
}

double Field::asFloat() const
{
    switch (def_.type) {
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::Integer:
    case FieldType::AutoInc:
        return ds_.fieldDouble(*this);
    default: {
        const QVariant v = value();
        if (!v.isValid())
            return 0.0;
        if (v.typeId() == QMetaType::Bool)
            return v.toBool() ? 1.0 : 0.0;
        return toFieldValue(FieldType::Float, v, def_.name).toDouble();
    }
    }
}

int Field::asInteger() const
{
    switch (def_.type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
        return wholeNumber(ds_.fieldDouble(*this));
    case FieldType::Float:
    case FieldType::Currency:
        return wholeNumber(std::nearbyint(ds_.fieldDouble(*this)));
    default: {
        const QVariant v = value();
        if (!v.isValid())
            return 0;
        if (v.typeId() == QMetaType::Bool)
            return v.toBool() ? 1 : 0;
        return toFieldValue(FieldType::Integer, v, def_.name).toInt();
    }
    }
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (!v.isValid())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return toFieldValue(FieldType::Date, v, def_.name).toDate();
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (!v.isValid())
        return {};
    return toFieldValue(FieldType::DateTime, v, def_.name).toDateTime();
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (!v.isValid())
        return false;
    return toFieldValue(FieldType::Boolean, v, def_.name).toBool();
}

void Field::setValue(const QVariant& v)
{
    ds_.setFieldValue(*this, v);
}
