#pragma once
// A row of buttons that moves and edits the view behind a data source: first,
// prior, next, last, insert, delete, edit, post, cancel and refresh. Each
// button is a QToolButton child whose objectName is the button's name
// ("First" ... "Refresh"), with a hint naming what it does. Buttons enable
// and disable themselves as the view moves and changes state. Delete asks
// first; an error of an action is shown through the dialogs, never thrown.
#include "DataSource.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class Dialogs;
class QToolButton;

class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    Q_ENUM(Button)

    DBNavigator(DataSource* source, Dialogs& dialogs, QWidget* parent = nullptr);
    ~DBNavigator() override;

    DataSource* dataSource() const { return source_; }
    void setDataSource(DataSource* source);

    static QList<Button> allButtons();
    static QString buttonName(Button button);  // the button's objectName, e.g. "First"
    static QString buttonHint(Button button);  // its tooltip, e.g. "First record"
    QToolButton* button(Button button) const;

    // The buttons shown; the others are hidden. All ten by default.
    void setVisibleButtons(const QList<Button>& buttons);
    QList<Button> visibleButtons() const;

    // Whether Delete asks "Delete record?" first (default true).
    void setConfirmDelete(bool on) { confirmDelete_ = on; }
    bool confirmDelete() const { return confirmDelete_; }

    // Performs a button's action as a click on it does (also when the button is hidden or disabled).
    void clickButton(Button button);

Q_SIGNALS:
    // After a button's action ran without an error (also when a delete was not confirmed).
    void clicked(DBNavigator::Button button);

private:
    void updateButtons();
    void runAction(Button button);

    QPointer<DataSource> source_;
    Dialogs& dialogs_;
    QList<QToolButton*> buttons_;
    QList<QMetaObject::Connection> connections_;
    bool confirmDelete_ = true;
};
