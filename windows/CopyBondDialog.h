#pragma once
// CopyBondDialog, "Make Copy of Bond for a Mine --": the window of the copy of a
// mine. Made once at start-up and shown modally; the copy's views are open
// only while it is shown, and its copy log stays between showings.
#include "MineCopy.h"

#include <QDialog>
#include <memory>

class ActivationSetUp;
class Dialogs;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class CopyDataModule;
class DataModule;

class CopyBondDialog : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int helpContext READ helpContext CONSTANT)
public:
    static constexpr int kShortHeight = 239;
    static constexpr int kLongHeight = 472;

    explicit CopyBondDialog(Dialogs& dialogs, QWidget* parent = nullptr);
    ~CopyBondDialog() override;

    // The copy's views; made at start-up after this window. Without them the window is unavailable.
    void setCopyData(CopyDataModule* data);
    // The data module whose mine view names the mine to copy.
    void setMainData(DataModule* dm) { main_ = dm; }
    int helpContext() const { return 59; }

    // The mine the last copy made; -1 when none.
    int newMineId() const { return copy_ ? copy_->newMineId() : -1; }
    QStringList copyLog() const { return copy_ ? copy_->log() : QStringList(); }
    bool logShown() const;

    // The window's actions, as the user starts them.
    void FormActivate();
    void OkBtnClick();
    void DetailsBtnClick();
    void WriteToFileBtnClick();

public Q_SLOTS:
    void done(int r) override;

protected:
    bool event(QEvent* e) override;

private:
    void stepBy(int n);
    void showLog(bool on);

    Dialogs& dialogs_;
    CopyDataModule* data_ = nullptr;
    DataModule* main_ = nullptr;
    std::unique_ptr<MineCopy> copy_;
    std::unique_ptr<ActivationSetUp> activation_;
    QPlainTextEdit* panel_;
    QProgressBar* progress_;
    QPushButton *ok_, *cancel_, *help_, *details_, *write_;
    QListWidget* log_;
    bool ownDialogOpen_ = false;
    bool dialogGivesBack_ = false;
};
