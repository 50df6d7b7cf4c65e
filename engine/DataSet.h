#pragma once
// A view on table data with its own current record: state, navigation,
// editing, fields by name, calculated and lookup fields, filters, a master
// link, bookmarks and the before/after events. Table and Query supply the
// cursor underneath.
#include "Field.h"
#include "FilterExpr.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <map>
#include <memory>

class Database;
class DataSource;
class Statement;

enum class DataSetState { Inactive, Browse, Edit, Insert, CalcFields, Filter };

using Bookmark = qint64;
constexpr Bookmark kNoBookmark = -1;

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;
};

class DataSet {
public:
    using Event = std::function<void(DataSet&)>;
    using FilterEvent = std::function<bool(DataSet&)>;  // true: the record is shown

    DataSet(Database& db, QString name);
    virtual ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    const QString& name() const { return name_; }
    Database& database() const { return db_; }

    // Fields.
    const QList<Field*>& fields() const { return fieldList_; }
    Field* findField(const QString& name) const;
    Field& fieldByName(const QString& name) const;  // throws EDatabaseError when absent
    // The same, by a name spelled out in the program: found once by its text, then
    // by where that text lies (a hot calculation names the same fields row after row).
    Field& fieldByName(const char* name) const;
    Field& addCalculatedField(const QString& name, FieldType type, int size = 0);
    Field& addLookupField(const QString& name, FieldType type, int size, const LookupDef& lookup);

    // Open and close.
    void open();
    void close();
    bool active() const { return state_ != DataSetState::Inactive; }
    DataSetState state() const { return state_; }
    bool isEditing() const { return state_ == DataSetState::Edit || state_ == DataSetState::Insert; }

    // Navigation.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty();
    int recordCount();
    Bookmark bookmark();
    void gotoBookmark(Bookmark bm);  // throws EDatabaseError when the record is not shown
    bool bookmarkValid(Bookmark bm);
    bool locate(const QStringList& fields, const QVariantList& values, LocateOptions options = {});
    void refresh();
    // Every value of one field over what the view shows, in order, with the record's bookmark.
    QList<QPair<QVariant, Bookmark>> fieldValues(const QString& fieldName);

    // Editing.
    void insert();
    void append() { insert(); }
    void edit();
    void post();
    void cancel();
    void remove();
    bool modified() const { return modified_; }
    bool modifiable() const;  // false for a read-only view or a data file open for reading only
    void checkBrowseMode();  // posts a pending edit

    // Filters: the expression and the per-record callback apply while filtered.
    void setFilter(const QString& expression);
    const QString& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }
    void setOnFilterRecord(FilterEvent f);

    // Master link: this view shows the records whose detailFields equal the
    // master's current masterFields; a new record takes them from the master.
    void setMasterLink(DataSource* master, const QStringList& masterFields, const QStringList& detailFields);
    DataSource* masterSource() const { return master_; }
    const QStringList& detailFields() const { return detailFields_; }

    // Bound controls are not told about moves while disabled (nested).
    void disableControls() { ++controlsDisabled_; }
    void enableControls();
    bool controlsDisabled() const { return controlsDisabled_ > 0; }

    Event beforeInsert, afterInsert, beforeEdit, afterEdit, beforePost, afterPost, beforeCancel, afterCancel,
        beforeDelete, afterDelete, beforeScroll, afterScroll, onCalcFields, onNewRecord, afterOpen, beforeClose;

    // Used by Field and DataSource.
    bool fieldIsNull(const Field& f);
    QVariant fieldValue(const Field& f);
    double fieldDouble(const Field& f);
    QString fieldString(const Field& f);  // as QVariant::toString of fieldValue(f)
    void setFieldValue(Field& f, const QVariant& v);
    void attachSource(DataSource* ds);
    void detachSource(DataSource* ds);

protected:
    // The cursor underneath. Positioning calls return whether a record was
    // found; when not, the current record stays as it was.
    virtual void cursorOpen() = 0;
    virtual void cursorClose() = 0;
    virtual void cursorRebuild() = 0;  // link or filter changed
    virtual bool cursorFirst() = 0;
    virtual bool cursorLast() = 0;
    virtual bool cursorNext() = 0;
    virtual bool cursorPrior() = 0;
    virtual bool cursorSeekRow(qint64 rowId) = 0;
    virtual bool cursorLocate(const QStringList& fields, const QVariantList& values, LocateOptions options) = 0;
    virtual void cursorResync() = 0;  // same row when still shown, else the next, else the last
    virtual bool cursorStale() const = 0;
    virtual bool cursorHasRow() const = 0;
    virtual qint64 cursorRowId() const = 0;
    virtual QVariant cursorValue(int column) const = 0;
    virtual double cursorDouble(int column) const;
    virtual QString cursorString(int column) const;
    virtual bool cursorIsNull(int column) const;
    virtual int cursorCount() = 0;
    virtual bool cursorShows(Bookmark bm);  // whether the view shows the row; by default, by reading them all
    virtual QList<QPair<QVariant, Bookmark>> cursorFieldValues(int column) = 0;
    virtual qint64 cursorInsert(const QVector<QVariant>& values) = 0;
    virtual void cursorUpdate(qint64 rowId, const QVector<QVariant>& values, const QVector<bool>& changed) = 0;
    virtual void cursorDelete(qint64 rowId) = 0;
    virtual QString computeLookup(const Field& f, const QVariant& key);
    virtual bool canModify() const { return true; }
    virtual void cursorLoadFullRow() {}  // before every field of the current row is read

    // For subclasses: stored fields, in column order.
    Field& addDataField(const FieldDef& def);
    const QVector<Field*>& dataFields() const { return dataFields_; }
    bool filterActive() const { return filtered_; }
    const FilterExpr::Node* filterTree() const { return filtered_ ? filterTree_.get() : nullptr; }
    bool hasFilterCallback() const { return filtered_ && static_cast<bool>(onFilterRecord_); }
    // Runs the filter callback on the row the cursor shows now (state Filter).
    bool acceptRow();
    // The master's current link values; empty list: not linked. A null value links to nothing.
    const QVariantList& linkValues() const { return linkValues_; }
    bool linkedToNothing() const;
    FieldType typeOfField(const QString& name) const;  // throws when no stored field has the name
    // Changes whenever the filter, the filter callback or the master link is set.
    quint64 shapeVersion() const { return shapeVersion_; }
    // A move of a subclass's own kind, with the checks, events and updates of every move.
    void navigate(const std::function<bool()>& move, bool toEnd = false);

private:
    friend class DataSource;
    void step(bool forward);
    void toEnd(bool first);
    void arrive();  // after every move: computed fields and the bound controls
    void computeFields();
    void resolveLookups();
    void syncIfStale();
    void notifyData();
    void notifyState();
    void notifyField(Field* f);
    void masterChanged();
    QVariantList currentMasterValues() const;
    void checkActive() const;
    void checkModifiable() const;
    void fire(const Event& e) { if (e) e(*this); }
    bool readsBuffer() const;
    bool readsCursor(const Field& f) const;

    Database& db_;
    QString name_;
    DataSetState state_ = DataSetState::Inactive;
    DataSetState calcSaved_ = DataSetState::Inactive;
    QList<Field*> fieldList_;
    QHash<QString, Field*> byName_;  // exact names; other spellings are found by a scan
    struct Spelled {
        QByteArray text;
        Field* field = nullptr;
    };
    mutable QHash<const char*, Spelled> bySpelling_;  // fieldByName(const char*), by the text's address
    QVector<Field*> dataFields_;
    QVector<Field*> computed_;
    std::vector<std::unique_ptr<Field>> owned_;
    QVector<QVariant> buffer_;
    QVector<bool> changed_;
    QVector<QVariant> computedValues_;
    qint64 editRow_ = -1;
    bool modified_ = false;
    bool eof_ = true;
    bool bof_ = true;
    QString filterText_;
    std::shared_ptr<const FilterExpr::Node> filterTree_;
    bool filtered_ = false;
    FilterEvent onFilterRecord_;
    DataSource* master_ = nullptr;
    DataSet* masterSet_ = nullptr;
    QStringList masterFields_;
    QStringList detailFields_;
    QVariantList linkValues_;
    QList<DataSource*> sources_;
    QList<DataSet*> details_;
    int controlsDisabled_ = 0;
    bool pendingNotify_ = false;
    quint64 shapeVersion_ = 0;
    std::map<const Field*, std::unique_ptr<Statement>> lookups_;  // one prepared look-up per lookup field
    bool lookupsDue_ = false;  // the record's lookup fields are looked up when first read
};
