#pragma once
// The cross sections of a volume set as a list of panels, three at a time, each
// reading as its formula: name, then ( end area X distance X adjustment factor )
// / 27 = volume. The panel of the current section is shaded and edits it; the
// others show their section's stored values, and a click on one moves to it.
#include <QWidget>

class DataSetModel;
class DataSource;
class DBEdit;
class Dialogs;
class QFrame;
class QLineEdit;
class QScrollBar;

class VolumeSectionList : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPanels = 3;

    VolumeSectionList(DataSource* sections, Dialogs& dialogs, QWidget* parent = nullptr);
    ~VolumeSectionList() override;

    // The panel (0 to 2) that shows the current section; -1 when none shows it.
    int currentPanel() const { return currentPanel_; }
    // The texts panel `panel` shows, in formula order: name, end area, distance, factor, volume.
    QStringList panelTexts(int panel) const;
    // The first section shown, counted from 0.
    int topRow() const { return top_; }
    // Moves to the section shown in `panel`, as a click on it does.
    void panelClicked(int panel);
    // Puts the cursor into the current section's name, once the panels show it.
    void focusCurrentName();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    QWidget* buildFormula(QWidget* panel, QLineEdit* fields[5], bool live);
    void scheduleRefill();
    void refill();
    void placeLive();
    void moveToRow(int row);

    DataSource* source_;
    Dialogs& dialogs_;
    DataSetModel* model_;
    QFrame* panels_[kPanels];
    QLineEdit* shown_[kPanels][5];
    QFrame* live_;
    QLineEdit* liveFields_[5];
    QScrollBar* scroll_;
    int top_ = 0;
    int currentPanel_ = -1;
    bool refillPending_ = false;
};
