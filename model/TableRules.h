#pragma once
// The rules of the data module's views: cost-type stamping, the event log of
// mines, the cascading deletes, the upkeep of equipment links, the calculated
// fields, and the refreshes of the main window after posts, deletes and moves.
// A cascade runs inside the delete that fires it, and every delete is one
// transaction with what its before-delete rules write (DataSet::remove): an
// interrupted cascade leaves all of it or none.
#include "DataSet.h"
#include "EDatabaseError.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class Dialogs;
class Table;
class DataModule;

// The volume of one cross section in cubic yards, end area x distance x
// adjustment factor / 27, as the text the calculated field takes: two decimals.
QString CrossSectionVolumeText(double distance, double endArea, double adjustmentFactor);

// What the rules refresh in the main window.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    virtual bool isActivated() const = 0;  // the main window's Activated flag
    virtual void RefreshStatusLine() = 0;
    virtual void setBondPostButtonsEnabled(bool on) = 0;
    virtual void setEquipButtonEnabled(QChar costType, bool on) = 0;     // 'D', 'M', 'R'
    virtual void setTotalText(QChar costType, const QString& text) = 0;  // 'D', 'R', 'O'
    virtual void showRevegProducts(const std::array<double, 4>& products) = 0;
    virtual void volumeSetsChanged() = 0;
    // The text of the status bar's first panel, naming the current mine and project.
    virtual QString statusLineText() const { return QString(); }
    // Recomputes the bond the window's bond page in view shows (printing computes others through it).
    virtual void refreshBondPages() {}
};

// The main window as batch runs see it: activated, with nothing to refresh.
class NoMainWindow : public MainWindowLink {
public:
    bool isActivated() const override { return true; }
    void RefreshStatusLine() override {}
    void setBondPostButtonsEnabled(bool) override {}
    void setEquipButtonEnabled(QChar, bool) override {}
    void setTotalText(QChar, const QString&) override {}
    void showRevegProducts(const std::array<double, 4>&) override {}
    void volumeSetsChanged() override {}
};

// The computations the rules call on.
class RuleServices {
public:
    virtual ~RuleServices() = default;
    virtual double equipmentHours(DataSet& row, int kind) = 0;  // show and bind false
    virtual QString totalText(QChar costType) = 0;               // the worksheet total, formatted as money
    virtual void setSuspendPusherCalc(bool on) = 0;
};

// Refuses a delete.
class EDenyDeleteEdit : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

class TableRules {
public:
    TableRules(DataModule& dm, Dialogs& dialogs, RuleServices& services);
    void setMainWindow(MainWindowLink* w) { main_ = w; }
    MainWindowLink* mainWindow() const { return main_; }
    // While an editor of a three-level reference table is open: disables (true) or
    // enables (false) the named grids and navigators of the other levels.
    // Told when a level of a reference editor (a handbook or labor table) goes into edit or
    // insert (true) and out of it (false): the editor greys its other levels meanwhile.
    using EditorLock = std::function<void(const DataSet& level, bool editing)>;
    void setEditorLock(EditorLock lock) { editorLock_ = std::move(lock); }
    void install();
    // Gives a view of the cross sections (before it opens) the calculated volume the volume
    // calculator's sections show.
    void calculateSectionVolumes(Table& sections);

    // Logs an event of the mine the window shows, or of the mine `mine` stands on.
    void logEvent(const QString& event);
    void logEvent(const QString& event, const DataSet& mine);
    // An event row naming the mine, or what the event is of, by the text given.
    void logEventText(const QString& event, const QString& mineName);
    // Logs the edits made through another view of the mines (the computations' own) as
    // the window's are logged.
    void logMineEdits(Table& mines);

private:
    QString recordsName(const DataSet& ds) const;
    bool activated() const { return main_ && main_->isActivated(); }
    // A view's calculated fields: an error of the computation never makes the view
    // unreadable; the fields stay empty and the error shows once per user action.
    DataSet::Event calculation(std::function<void(DataSet&)> compute);
    void mineBeforeDelete();
    void projectBeforeDelete();
    void worksheetEquipmentCascade(Table& equipment);
    void equipmentBeforeDelete(DataSet& row);
    void clearAddedHours(Table& equipment);
    void equipmentCalcFields(DataSet& row);
    void worksheetAfterChange(Table& sheet, QChar costType, bool showTotal);
    void revegProducts();
    void deleteAll(Table& view);

    DataModule& dm_;
    Dialogs& dialogs_;
    RuleServices& services_;
    MainWindowLink* main_ = nullptr;
    EditorLock editorLock_;
};
