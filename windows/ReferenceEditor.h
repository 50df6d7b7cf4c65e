#pragma once
// The frame the reference-data editors share: a modal window with a "&Close"
// menu, an optional "Tarvane" band, grids with navigators under headings,
// and its placement kept in the settings store under its class name.
#include <QDialog>
#include <QList>
#include <QStringList>

class DataSet;
class DataSource;
class Database;
class DBGrid;
class DBNavigator;
class Dialogs;
class QBoxLayout;
class QMenuBar;

class ReferenceEditor : public QDialog {
    Q_OBJECT
public:
    // `helpContext`: the help topic of the window, opened by its "&Help" menu and by F1.
    ReferenceEditor(const QString& windowClass, const QString& caption, int helpContext, Dialogs& dialogs, QWidget* parent);
    ~ReferenceEditor() override;

    // The "&File" menu's entries: the window's tables written to, or read from, CSV files
    // of a chosen directory, one file a table.
    void ImportClick();
    void ExportClick();

protected:
    // A heading, a grid on the source with those columns, and a navigator under it.
    void addLevel(QBoxLayout* into, const QString& heading, DataSource* source, const QStringList& columns,
                  const QString& gridName, const QString& navigatorName);
    void addBand();
    // While one level's record is in edit or insert, the grids and navigators of the
    // other levels are greyed: the table rules tell which level (setEditorLock).
    void lockOtherLevels(const DataSet& level, bool editing);
    // The "&File" menu with "Import..." and "Export..." for the tables; the views showing
    // them are posted before an import and refreshed after it.
    void addFileMenu(Database& db, const QStringList& tables, const QList<DataSet*>& views);
    QBoxLayout* body() const { return body_; }
    // Once the grids are in: a window without a kept placement opens wide enough to show
    // every column of its grids, as far as the screen allows.
    void fitGrids();
    Dialogs& dialogs() const { return dialogs_; }
    // The close query: false keeps the window open.
    virtual bool canClose() = 0;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    // Posts what is being typed, then asks for a folder; empty when cancelled.
    QString askDirectory(const QString& caption);

    QString windowClass_;
    QMenuBar* menu_;
    Database* db_ = nullptr;
    QStringList tables_;
    QList<DataSet*> views_;
    Dialogs& dialogs_;
    QBoxLayout* body_;
    struct Level {
        const DataSet* view;
        QWidget* grid;
        QWidget* navigator;
    };
    QList<Level> levels_;
};
