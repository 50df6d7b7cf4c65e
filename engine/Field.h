#pragma once
// One field of a view: a stored field of its table, or a calculated or lookup
// field the view computes whenever it reads a record. Values are read and
// written through the view's current record.
#include "TableFormat.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

class DataSet;

enum class FieldKind { Data, Calculated, Lookup };

// A lookup field shows `resultField` of the row of `table` whose `lookupKeyField`
// equals this view's `keyField`.
struct LookupDef {
    QString keyField;
    QString table;
    QString lookupKeyField;
    QString resultField;
};

class Field {
public:
    Field(DataSet& ds, FieldDef def, FieldKind kind, int slot);

    DataSet& dataSet() const { return ds_; }
    const QString& fieldName() const { return def_.name; }
    FieldType dataType() const { return def_.type; }
    FieldKind kind() const { return kind_; }
    int size() const { return def_.size; }
    bool required() const { return def_.required; }
    const FieldDef& def() const { return def_; }
    int slot() const { return slot_; }  // column of a stored field, or place among the computed ones
    bool isCalculated() const { return kind_ != FieldKind::Data; }

    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool on) { readOnly_ = on; }

    bool isNull() const;
    QVariant value() const;  // canonical value; invalid when null
    QString asString() const;
    int asInteger() const;
    double asFloat() const;
    double asCurrency() const { return asFloat(); }
    QDate asDate() const;
    QDateTime asDateTime() const;
    bool asBoolean() const;

    void setValue(const QVariant& v);
    void setAsString(const QString& v) { setValue(v); }
    void setAsInteger(int v) { setValue(v); }
    void setAsFloat(double v) { setValue(v); }
    void setAsCurrency(double v) { setValue(v); }
    void setAsDate(const QDate& v) { setValue(v); }
    void setAsDateTime(const QDateTime& v) { setValue(v); }
    void setAsBoolean(bool v) { setValue(v); }
    void clear() { setValue(QVariant()); }

    // Presentation settings for bound controls and printed pages.
    QString displayLabel;
    QString displayFormat;
    QString editMask;
    int displayWidth = 0;
    bool visible = true;

    LookupDef lookup;

private:
    DataSet& ds_;
    FieldDef def_;
    FieldKind kind_;
    int slot_;
    bool readOnly_ = false;
};
