#pragma once
// Table formats: the fields, keys and indexes of one table file, and how a
// format maps onto its SQL table in the data file.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

enum class FieldType { String, Integer, AutoInc, Float, Currency, Date, DateTime, Boolean, Memo };

struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;           // characters for strings, kept characters for memos
    bool required = false;
    QVariant defaultValue;  // value a new record starts with
};

struct IndexDef {
    QString name;
    QStringList fields;
    bool caseInsensitive = false;
};

struct TableFormat {
    QString fileName;             // e.g. "MINE.DB"; matched without regard to case
    QList<FieldDef> fields;
    QStringList keyFields;        // the table's key; empty: the auto-increment field or insertion order
    QList<IndexDef> indexes;
    QString password;             // owner password of a protected table; empty: not protected

    int fieldIndex(const QString& name) const;   // -1 when absent, case-insensitive
    int autoIncIndex() const;                    // -1 when the table has none
    const IndexDef* index(const QString& name) const;
    // Fields the table is read in when no index is chosen.
    QStringList keyOrder() const;

    QString createSql() const;
    QStringList createIndexSql() const;
};

QString sqlTypeName(FieldType type);
QString quoteIdent(const QString& name);
bool sameTableName(const QString& a, const QString& b);
QString fieldTypeName(FieldType type);
