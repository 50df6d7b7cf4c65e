#pragma once
// A view on one table file: reads the table in the order of its index (the
// link fields lead it), steps a live cursor forward so that walking a table
// reads only the fields asked for, and re-seeks by key after any write to
// the table, so every view sees what another view wrote.
#include "DataSet.h"

#include <map>
#include <memory>

class Statement;

class Table : public DataSet {
public:
    // `fieldNames`: the stored fields the view exposes, in table order; empty: all.
    Table(Database& db, const QString& name, const QString& tableName, const QStringList& fieldNames = {});
    ~Table() override;

    const QString& tableName() const { return tableName_; }
    const TableFormat& format() const { return *format_; }

    // The index the view reads through: a named index of the format, or the table's key when empty.
    void setIndexName(const QString& indexName);
    const QString& indexName() const { return indexName_; }
    void setIndexFieldNames(const QStringList& fields);
    const QStringList& indexFields() const { return indexFields_; }

    // Detail of `master`: the leading index fields equal the master's `masterFields`.
    void setMasterSource(DataSource* master, const QStringList& masterFields);

    // Incremental search: the first record at or after the given leading index values, else the last.
    void findNearest(const QVariantList& values);

protected:
    void cursorOpen() override;
    void cursorClose() override;
    void cursorRebuild() override;
    bool cursorFirst() override;
    bool cursorLast() override;
    bool cursorNext() override;
    bool cursorPrior() override;
    bool cursorSeekRow(qint64 rowId) override;
    bool cursorLocate(const QStringList& fields, const QVariantList& values, LocateOptions options) override;
    void cursorResync() override;
    bool cursorStale() const override { return gen_ && *gen_ != seenGen_; }
    bool cursorHasRow() const override { return cur_ != nullptr; }
    qint64 cursorRowId() const override { return rowId_; }
    QVariant cursorValue(int column) const override;
    double cursorDouble(int column) const override;
    bool cursorIsNull(int column) const override;
    int cursorCount() override;
    QList<QPair<QVariant, Bookmark>> cursorFieldValues(int column) override;
    qint64 cursorInsert(const QVector<QVariant>& values) override;
    void cursorUpdate(qint64 rowId, const QVector<QVariant>& values, const QVector<bool>& changed) override;
    void cursorDelete(qint64 rowId) override;
    void cursorLoadFullRow() override;

private:
    enum Role { Forward, Backward, Row, Probe, Count, Write, RoleCount };
    // Walking statements select only the fields read so far (with the order
    // fields); the others select every field.
    bool walksNarrow(Role role) const;
    Statement& statement(Role role, const QString& sql);
    QString selectSql(Role role, const QString& extraCondition, bool ascending) const;
    QString seekCondition(const QVariantList& key, bool forward, QVariantList& params, bool inclusive = false) const;
    int widen(int column);  // adds a field to the walking statements; its result column in the current row
    QString orderExpr(int i) const;
    void resolveOrder();
    bool stepToAccepted(Statement& st);
    bool step(bool forward);  // the next or the prior row
    bool toEnd(bool first);   // the first or the last row
    bool fetchRow(qint64 rowId);
    bool seekFrom(const QVariantList& key, bool forward, bool inclusive = false);
    bool walkFrom(bool forward, const QString& condition, const QVariantList& params);
    void rebuildNarrowList();
    void land(Statement& st);
    void restoreCurrent(qint64 rowId, const QVariantList& key);
    QVariantList rowKey(Statement& st) const;
    QVariantList currentKey() const;  // the order field values and the row id of the current row
    void bindAndReset(Statement& st, const QVariantList& extra);

    QString tableName_;
    const TableFormat* format_ = nullptr;
    QVector<int> columns_;          // format field of each exposed field
    QString selectList_;            // every exposed field
    QVector<int> fullColumns_;
    QVector<bool> read_;            // fields read through the view so far
    QString narrowList_;
    QVector<int> narrowColumns_;
    QString indexName_;
    QStringList indexFields_;
    bool indexNoCase_ = false;
    QStringList orderFields_;       // index fields that vary within the view
    QVector<int> orderColumns_;     // their exposed-field columns
    QString where_;
    QVariantList whereParams_;
    bool linkedToNone_ = false;
    std::map<QString, std::unique_ptr<Statement>> statements_[RoleCount];
    Statement* cur_ = nullptr;
    Statement* stepping_ = nullptr;  // a forward or backward statement still aligned with cur_
    bool steppingForward_ = true;
    qint64 rowId_ = -1;
    QVariantList key_;    // order field values of the current row (without the row id)
    bool hasKey_ = false;
    const quint64* gen_ = nullptr;
    quint64 seenGen_ = 0;
};
