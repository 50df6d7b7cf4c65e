#pragma once
// The volume calculator window: the volume sets of the current project, the
// cross sections of the current set with their end-area volumes, and the total
// of the set, which the user can drag onto a worksheet's volume in the cost
// wizard. Made once and shown beside the other windows.
#include <QLineEdit>
#include <QWidget>

class DBEdit;
class DBNavigator;
class Dialogs;
class QPushButton;
class DataModule;
class VolumeSectionList;

// "Total Volume:": read-only; a press of the mouse button on it drags the total.
class VolumeTotalEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    bool hasTotal = false;
    double total = 0;
    // What a drag of the field carries; nullptr when there is no total yet.
    class QMimeData* dragData() const;

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

class VolumeCalculatorWindow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int helpContext READ helpContext CONSTANT)
public:
    explicit VolumeCalculatorWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~VolumeCalculatorWindow() override;
    // Builds the fields on the data module's volume sets and sections (made after this window).
    void setData(DataModule& dm);
    int helpContext() const { return 18; }

    // The section list, its navigator and the total button follow whether the
    // current project has a volume set.
    void updateControls();
    void TotalAllVolumesClick();
    double totalVolume() const { return total_ ? total_->total : 0.0; }
    VolumeTotalEdit* totalField() const { return total_; }

    VolumeSectionList* sections() const { return sections_; }

Q_SIGNALS:
    void closed();  // the window closed: it is not to be shown again on its own

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    bool postVolumeSet();
    void focusMoved(QWidget* from, QWidget* to);

    DataModule* dm_ = nullptr;
    Dialogs& dialogs_;
    class QVBoxLayout* layout_;
    DBEdit* name_ = nullptr;
    DBNavigator* setNavigator_ = nullptr;
    VolumeSectionList* sections_ = nullptr;
    DBNavigator* sectionNavigator_ = nullptr;
    QPushButton* totalButton_ = nullptr;
    VolumeTotalEdit* total_ = nullptr;
    bool posting_ = false;
};
