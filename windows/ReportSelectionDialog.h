#pragma once
// ReportSelectionDialog, "Select Report": what to print for the current mine and
// project and how much below it, the user's report options (title, title
// size, margins, title bitmap), and "Print", which sends the report to the
// screen, a printer or a file. In equipment mode it prints the one equipment
// row's productivity worksheet.
#include "ReportFrame.h"
#include "ReportOutput.h"

#include <QDialog>

class Computation;
class DataSet;
class Dialogs;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class DataModule;

class ReportSelectionDialog : public QDialog {
    Q_OBJECT
    // The topic F1 opens.
    Q_PROPERTY(int helpContext MEMBER HelpContextId)
public:
    ReportSelectionDialog(DataModule& dm, Computation& computation, Dialogs& dialogs, QWidget* parent = nullptr);
    ~ReportSelectionDialog() override;

    // Equipment mode: set before the window is shown.
    DataSet* equipment = nullptr;
    int HelpContextId = 28;
    static constexpr int kHelpMenuContext = 34;  // the "&Help" menu's topic

    // The settings store's report options and the job they make.
    void readOptions();
    void writeOptions() const;
    ReportOptions jobOptions() const;

    // What the window does as it is shown, and its controls as the user works them.
    void FormActivate();
    void ReportRGClick();
    void MainTitle1Click();
    void MainTitleSize1Click();
    void TopMargin1Click();
    void BottomMargin1Click();
    void LeftMargin1Click();
    void RightMargin1Click();
    void PathforBitmap1Click();
    void PrintBtnClick();

    // The report of the current choice and detail to an output; true when it got there whole.
    bool print(const ReportOutput& output);

    int choice() const;
    void setChoice(int choice);
    bool detail() const;  // "Page and All Pages Below" or, for choice 9, "All Items"

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void askMargin(const QString& prompt, QString& margin);
    void showPaper();

    DataModule& dm_;
    Computation& comp_;
    Dialogs& dialogs_;
    // The options as the settings store holds them: margins as text.
    QString mainTitle_, bitmapPath_;
    int titlePoint_ = 20;
    QString leftMargin_, rightMargin_, topMargin_, bottomMargin_;
    ReportOutput lastOutput_;

    QLabel* reportFor_;
    QGroupBox* choices_;
    QButtonGroup* choiceGroup_;
    QGroupBox* detail_;
    QButtonGroup* detailGroup_;
    QGroupBox* otherDetail_;
    QButtonGroup* otherDetailGroup_;
    QPushButton* print_;
    QLabel* paper_;
};
