#pragma once
// The desk calculator window: a pop-up calculator for side sums, beside the other
// windows, with a paper tape of the entries, the tape's item count and a button that
// clears the tape. It exchanges no values with the rest of the program.
#include <QWidget>

class DeskCalculator;
class QLabel;
class QPlainTextEdit;

class DeskCalculatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit DeskCalculatorWindow(QWidget* parent = nullptr);
    ~DeskCalculatorWindow() override;

    DeskCalculator* calculator() const { return calculator_; }
    QString tape() const;
    int itemCount() const { return items_; }
    void ClearTapeClick();

signals:
    void closedByUser();  // the window was closed: it is not to be shown again on its own

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void addToTape(double value, const QString& key);
    DeskCalculator* calculator_;
    QPlainTextEdit* tape_;
    QLabel* count_;
    int items_ = 0;
};
