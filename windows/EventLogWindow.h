#pragma once
// EventLogWindow, "Mine Event Log": the log of changes to mines that the mine
// table rules write, oldest first, to look through but not to change. Made
// when chosen from the main window and freed when closed.
#include <QDialog>

class Dialogs;
class DBGrid;
class DBNavigator;
class DataModule;

class EventLogWindow : public QDialog {
    Q_OBJECT
public:
    EventLogWindow(DataModule& dm, Dialogs& dialogs, QWidget* parent = nullptr);
    ~EventLogWindow() override;

    DBGrid* grid() const { return grid_; }
    DBNavigator* navigator() const { return navigator_; }

public Q_SLOTS:
    void done(int r) override;

private:
    DBGrid* grid_;
    DBNavigator* navigator_;
};
