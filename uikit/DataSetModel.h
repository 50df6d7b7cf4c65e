#pragma once
// A table model over the records a view shows, for grids: one row per shown
// record in the view's order, one column per field. While the view inserts a
// record, that record shows as an extra row where it is being inserted. Cells
// of rows other than the current one come from a per-column snapshot of the
// view's stored values; the current row reads its fields live, so edits in
// progress and calculated or lookup fields show there (calculated and lookup
// cells of other rows stay blank: reading them would move the view).
// DBGrid: a table view over such a model whose selected row follows the
// view's current record, and whose row selection moves the view. Opening a
// cell editor puts the record into edit; the editor's text is written into
// the field when the record is posted.
#include "DataSet.h"
#include "DataSource.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <QVector>

class Dialogs;

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `fieldNames`: the fields shown as columns, in order; empty: the view's visible fields.
    explicit DataSetModel(DataSource* source, const QStringList& fieldNames = {}, QObject* parent = nullptr);
    ~DataSetModel() override;

    DataSource* dataSource() const { return source_; }
    DataSet* dataSet() const;
    Field* fieldAt(int column) const;        // nullptr when out of range
    int columnOf(const QString& fieldName) const;  // -1 when not shown

    // The row of the view's current record (the inserted record while inserting); -1 when none.
    int currentRow() const;
    // The record shown in a row; kNoBookmark for the record being inserted or an invalid row.
    Bookmark bookmarkAt(int row) const;
    // A read-only model offers no cell for editing and refuses every setData.
    void setReadOnly(bool on) { readOnly_ = on; }
    bool readOnly() const { return readOnly_; }
    // The text of the last refused setData.
    const QString& lastError() const { return lastError_; }
    // True while the model applies a change of the view's records (rows come and go).
    bool updating() const { return syncing_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Moves the view to the row's record, puts it into edit and sets the field
    // from the text. False (with lastError()) when the view refuses.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // A number's text under a simple display format such as "###,##0.00" or
    // "$#,##0": '0' a digit always shown, '#' a digit shown when significant,
    // ',' thousands grouping, '.' the decimal point; text around is kept.
    static QString formatNumber(double value, const QString& format);

public Q_SLOTS:
    // Re-reads the records and values the view shows.
    void reload();

Q_SIGNALS:
    // The current record's row changed, or rows moved around it.
    void currentRowChanged(int row);

private:
    void resetAll();
    void resolveColumns();
    void sync(bool force = false);
    void syncOnce(bool force);
    void scheduleSync() const;
    bool setsUnchanged() const;
    void noteSetSignature();
    QVector<Bookmark> fetchRecords();
    void applyRows(const QVector<Bookmark>& wanted);
    void rebuildRowIndex();
    int rowOf(Bookmark bm) const;
    void currentFieldChanged(Field* field);
    void emitRowChanged(int row);
    QString cellText(int row, Field* field, bool forEdit) const;
    const QHash<Bookmark, QVariant>& columnValues(Field* field) const;

    QPointer<DataSource> source_;
    DataSet* dataSet_ = nullptr;          // the view the model was last built on
    QStringList requested_;
    QVector<Field*> columns_;
    QString keyField_;                    // stored field whose values list the shown records
    QVector<Bookmark> records_;           // shown records, in order
    QVector<Bookmark> rows_;              // rows: records_ with the inserted record, if any
    QHash<Bookmark, int> rowIndex_;
    mutable QHash<Field*, QHash<Bookmark, QVariant>> values_;
    int current_ = -1;
    Bookmark currentRecord_ = kNoBookmark;  // the current record when not inserting

    // What the shown records depend on, as seen at the last read of the records.
    bool recordsRead_ = false;
    const quint64* writeCounter_ = nullptr;
    quint64 writesSeen_ = 0;
    QString indexSeen_;

    bool syncing_ = false;
    bool syncAgain_ = false;
    mutable bool reading_ = false;
    mutable bool syncQueued_ = false;
    QString lastError_;
    bool readOnly_ = false;
};

class DBGrid : public QTableView {
    Q_OBJECT
public:
    // `fieldNames`: the columns; empty: the view's visible fields.
    explicit DBGrid(DataSource* source, const QStringList& fieldNames = {}, QWidget* parent = nullptr);
    ~DBGrid() override;

    DataSetModel* dataSetModel() const { return model_; }
    DataSource* dataSource() const { return model_->dataSource(); }
    // Where a refused move or edit is reported; without it the view only stays where it was.
    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    // A read-only grid shows and moves but never edits a cell.
    void setReadOnly(bool on);
    // Columns take the width of their title and contents (a field's display width, when it
    // has one, instead); the widths the user drags are kept in the settings section of
    // `windowClass` and given back at the next opening.
    void keepColumnWidths(const QString& windowClass);
    void sizeColumns();

private:
    void selectCurrentRecord();
    void userMovedTo(const QModelIndex& current);
    void writePendingEdit();
    bool beginCellEdit(const QModelIndex& index);

    class Delegate;
    DataSetModel* model_;
    Delegate* delegate_;
    Dialogs* dialogs_ = nullptr;
    bool following_ = false;
    QString settingsClass_;
    bool sizing_ = false;
};
