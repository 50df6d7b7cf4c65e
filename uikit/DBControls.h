#pragma once
// Controls bound to one field of a data source's current record. They show the
// field, follow the record and the state, put the data set into edit when the
// user types, and write their text into the field when the user leaves them or
// the record is posted.
#include "Picture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <functional>
#include <limits>

class DataSet;
class DataSource;
class Field;
class Table;

// The link of a control with its field.
class FieldBinding : public QObject {
    Q_OBJECT
public:
    FieldBinding(QWidget* control, DataSource* source, QString fieldName, std::function<void()> refresh,
                 std::function<void()> commit);
    DataSource* source() const { return source_; }
    const QString& fieldName() const { return fieldName_; }
    Field* field() const;    // null while the data set is closed
    bool canEdit() const;    // the field may be changed by typing
    void beginEdit();        // the user changed the control
    // The caption the window shows beside the control; it becomes the field's label, by
    // which messages name the field, when set and whenever the user starts typing here.
    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    // The field's name as the user reads it: the caption, else the field's label.
    QString label() const;
    bool dirty = false;      // the control holds text not yet in the field
    bool refreshing = false; // the control is being filled from the field
    bool starting = false;   // the control is putting the data set into edit: its text stays

private:
    void applyCaption();
    DataSource* source_;
    const DataSet* captioned_ = nullptr;  // the data set whose field has the caption
    QString fieldName_;
    QString caption_;
    std::function<void()> refresh_;
    std::function<void()> commit_;
};

class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    DBEdit(DataSource* source, const QString& field, const QString& picture = {}, QWidget* parent = nullptr);
    // Shows the field but never edits it (display-only fields).
    void setDisplayOnly(bool on);
    // The smallest number the field accepts.
    void setMinimum(double minimum) { minimum_ = minimum; }
    FieldBinding* binding() const { return binding_; }
    void refresh();
    void commit();

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    FieldBinding* binding_;
    Picture picture_;
    bool displayOnly_ = false;
    double minimum_ = -std::numeric_limits<double>::infinity();
};

class DBDateEdit : public QLineEdit {
    Q_OBJECT
public:
    DBDateEdit(DataSource* source, const QString& field, QWidget* parent = nullptr);
    void refresh();
    void commit();
    // "/" alone is today; month and day are required, the year defaults to this year.
    // Parts are separated by "/", "-", "." or blanks, or typed as digits alone
    // (MMDD, MMDDYY, MMDDYYYY); a two-digit year below 50 is of this century.
    static QDate readDate(const QString& text, bool* ok);
    // The part of the mask "MM/DD/YYYY" still to type after `typed`, shown while typing.
    static QString maskRest(const QString& typed);

protected:
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    FieldBinding* binding_;
};

class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    DBMemo(DataSource* source, const QString& field, QWidget* parent = nullptr);
    void refresh();
    void commit();

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    FieldBinding* binding_;
};

class DBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    DBCheckBox(const QString& caption, DataSource* source, const QString& field, QWidget* parent = nullptr);
    void refresh();

private:
    FieldBinding* binding_;
};

// Choices side by side, each storing its value in the field.
class DBRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    DBRadioGroup(const QString& caption, const QStringList& items, const QVariantList& values, DataSource* source,
                 const QString& field, QWidget* parent = nullptr);
    void refresh();
    int itemIndex() const;
    void choose(int index);  // as a click on that choice
    // The choice an empty field stands for, as the rules that read the field take it
    // (shown, never written); -1, the default: an empty field shows no choice.
    void setEmptyChoice(int index);

Q_SIGNALS:
    void changed(int index);

private:
    FieldBinding* binding_;
    QVariantList values_;
    int emptyChoice_ = -1;
    QList<class QRadioButton*> buttons_;
};

// Shows a list data set's `listField`; picking stores that row's `keyField` in the bound field.
class DBLookupCombo : public QComboBox {
    Q_OBJECT
public:
    DBLookupCombo(DataSource* source, const QString& field, DataSet* list, const QString& keyField,
                  const QString& listField, QWidget* parent = nullptr);
    void refresh();
    void reload();

private:
    FieldBinding* binding_;
    DataSet* list_;
    QString keyField_, listField_;
    QVariantList keys_;
};

// The values of one field of every record shown; picking one moves to that record.
class DBPickList : public QListWidget {
    Q_OBJECT
public:
    DBPickList(DataSource* source, const QString& field, QWidget* parent = nullptr);
    void reload();
    // Each entry shows `text` of the record's values of the field and of `moreFields`, in that order,
    // so that records of the same value can be told apart.
    void setItemText(const QStringList& moreFields, std::function<QString(const QVariantList&)> text);

private:
    DataSource* source_;
    QString field_;
    QStringList moreFields_;
    std::function<QString(const QVariantList&)> text_;
    bool moving_ = false;
};

// An index chooser and a search text: typing moves to the first record whose
// key in the chosen index starts at the text.
class IndexSearch : public QWidget {
    Q_OBJECT
public:
    IndexSearch(Table& table, QWidget* parent = nullptr);
    QComboBox* indexChooser() const { return chooser_; }
    QLineEdit* searchText() const { return text_; }

private:
    void search();
    Table& table_;
    QComboBox* chooser_;
    QLineEdit* text_;
};

// Gives each bound control under `root` the caption the window shows for it: the label of
// its form row, the title of a choice group, the text of a check box. Call once the
// window's controls are laid out.
void captionBoundControls(QWidget* root);
// A caption as a field's name: no mnemonic mark, no colon or arithmetic sign around it.
QString fieldCaption(const QString& labelText);
