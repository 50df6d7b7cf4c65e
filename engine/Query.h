#pragma once
// A query of the engine's local SQL over the data file. Its parameters can
// follow a master data source (re-run when the master's record changes), and
// a live query over one table can be edited like a table.
#include "DataSet.h"

#include <QHash>

class Query : public DataSet {
public:
    Query(Database& db, const QString& name);
    ~Query() override;

    void setSql(const QStringList& lines);
    const QStringList& sql() const { return sql_; }
    QStringList parameterNames() const;  // without their ':'

    // Parameters take the values of the source's current fields of the same name.
    void setParamSource(DataSource* source);
    void setParam(const QString& name, const QVariant& value);

    void setRequestLive(bool on) { live_ = on; }
    bool requestLive() const { return live_; }

    // Fields declared for the result; without any, the statement's columns decide.
    void addFieldDef(const FieldDef& def) { addDataField(def); }

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
    qint64 cursorRowId() const override { return ids_[pos_]; }
    QVariant cursorValue(int column) const override { return probe_ ? (*probe_)[column] : rows_[pos_][column]; }
    int cursorCount() override { return static_cast<int>(rows_.size()); }
    QList<QPair<QVariant, Bookmark>> cursorFieldValues(int column) override;
    qint64 cursorInsert(const QVector<QVariant>& values) override;
    void cursorUpdate(qint64 rowId, const QVector<QVariant>& values, const QVector<bool>& changed) override;
    void cursorDelete(qint64 rowId) override;
    bool canModify() const override { return live_ && keyColumn_ >= 0; }

private:
    void load();
    void reloadAt(qint64 rowId, int fallbackPos);
    int baseFieldOf(int column) const;

    QStringList sql_;
    QHash<QString, QVariant> params_;
    bool live_ = false;
    QVector<QVector<QVariant>> rows_;
    QVector<qint64> ids_;
    int pos_ = -1;
    const QVector<QVariant>* probe_ = nullptr;
    const TableFormat* base_ = nullptr;
    int keyColumn_ = -1;
    const quint64* gen_ = nullptr;
    quint64 seenGen_ = 0;
};
