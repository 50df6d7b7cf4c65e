#pragma once
// A view on one table file: reads the table in the order of its index (the
// link fields lead it) in short blocks of rows fetched by key, so that no
// statement stays open between calls and the connection holds no snapshot
// while the program waits. Walking reads only the fields asked for; after any
// write to the table (by this process or another) the view re-seeks by key,
// so every view sees what another view wrote.
#include "DataSet.h"
#include "StoredValues.h"

#include <map>
#include <memory>
#include <vector>

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
    bool cursorHasRow() const override { return probe_ || pos_ >= 0; }
    qint64 cursorRowId() const override { return probe_ ? probe_->ids[probePos_] : rowId_; }
    QVariant cursorValue(int column) const override;
    double cursorDouble(int column) const override;
    QString cursorString(int column) const override;
    bool cursorIsNull(int column) const override;
    int cursorCount() override;
    bool cursorShows(Bookmark bm) override;
    QList<QPair<QVariant, Bookmark>> cursorFieldValues(int column) override;
    qint64 cursorInsert(const QVector<QVariant>& values) override;
    void cursorUpdate(qint64 rowId, const QVector<QVariant>& values, const QVector<bool>& changed) override;
    void cursorDelete(qint64 rowId) override;
    void cursorLoadFullRow() override;

private:
    enum Role { Forward, Backward, Row, Probe, Count, Write, RoleCount };
    // Rows read by one short statement, in the direction of the walk.
    struct Block {
        QVector<int> fieldColumn;  // the view's fields -> column in `vals`, -1 when not selected
        int width = 0;             // selected columns per row
        QVector<qint64> ids;
        StoredValues vals;            // stored values, row after row
        QVariantList lastKey;      // key of the last row read (also when the filter refused it)
        bool walk = false;         // the rows continue in `forward` order from lastKey
        bool forward = true;
        bool exhausted = true;     // nothing lies beyond lastKey
        bool fromStart = false;    // its first row is the view's first row
        int size() const { return static_cast<int>(ids.size()); }
    };
    // Walking statements select only the fields read so far (with the order
    // fields); the others select every field.
    bool walksNarrow(Role role) const;
    Statement& statement(Role role, const QString& sql);  // writes, by their SQL
    // Reads, by their extra condition; the memo is dropped whenever the select list, order or condition changes.
    Statement& readStatement(Role role, bool ascending, const QString& condition, bool limited);
    QString countSql() const;
    QString selectSql(Role role, const QString& extraCondition, bool ascending) const;
    QString seekCondition(const QVariantList& key, bool forward, QVariantList& params, bool inclusive = false) const;
    int widen(int column);  // adds a field to the walking statements; its column in the current row
    QString orderExpr(int i) const;
    void resolveOrder();
    // Reads up to `limit` rows (0: all) into `out`, then resets the statement.
    void readRows(Statement& st, const QVariantList& params, int limit, Block& out);
    void filterRows(Block& b);  // keeps the rows the filter callback accepts
    bool fetch(Role role, const QString& condition, const QVariantList& params, bool forward, Block& out);
    bool step(bool forward);  // the next or the prior row
    bool toEnd(bool first);   // the first or the last row
    bool fetchRow(qint64 rowId);
    bool seekFrom(const QVariantList& key, bool forward, bool inclusive = false);
    bool walkFrom(bool forward, const QString& condition, const QVariantList& params);
    void rebuildNarrowList();
    void land(Block& b, int pos);
    void clearCurrent();
    void restoreCurrent(qint64 rowId, const QVariantList& key);
    QVariantList keyOf(const Block& b, int pos) const;
    QVariantList currentKey() const;  // the order field values and the row id of the current row
    // Where the current row's stored value lies: its block and cell; nullptr when none.
    const StoredValues* stored(int column, size_t& cell) const
    {
        const Block& b = probe_ ? *probe_ : block_;
        const int c = b.fieldColumn[column];
        if (c < 0)
            return widenedCell(column, cell);
        cell = static_cast<size_t>(probe_ ? probePos_ : pos_) * b.width + c - 1;
        return &b.vals;
    }
    const StoredValues* widenedCell(int column, size_t& cell) const;  // a field the walk did not select yet

    QString tableName_;
    const TableFormat* format_ = nullptr;
    QVector<int> columns_;          // format field of each exposed field
    QString selectList_;            // every exposed field
    QVector<int> fullColumns_;
    QVector<bool> read_;            // fields read through the view so far
    QString narrowList_;
    QVector<bool> narrowListRead_;  // the fields narrowList_ was made for
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
    QHash<QString, Statement*> readMemo_[RoleCount];
    void clearReadMemo();
    QHash<QByteArray, QString> insertSql_;  // by the fields that have a value  // by extra condition, for the current shape
    QVariantList filterParams_;
    bool shapeKnown_ = false;  // where_ matches the shape below
    quint64 shape_ = 0;
    int shapeLinks_ = -1;
    Block block_;
    int pos_ = -1;                  // current row in block_, -1: none
    int nextLimit_ = 0;             // rows of the next block of a walk
    const Block* probe_ = nullptr;  // a candidate row shown to the filter callback
    int probePos_ = -1;
    qint64 rowId_ = -1;
    QVariantList key_;    // order field values and row id of the current row
    bool hasKey_ = false;
    const quint64* gen_ = nullptr;
    quint64 seenGen_ = 0;
};
