#pragma once
// A desk calculator: a display, the ten digits, the point, the four operations,
// equals, clear and change of sign, worked left to right as a pocket calculator does.
// The desk form adds the memory keys (MC, MR, M+, M-), a percent key, typing from the
// keyboard and results shown with a fixed number of decimals; every operand and result
// is announced for a paper tape.
#include <QWidget>

class QLineEdit;

class DeskCalculator : public QWidget {
    Q_OBJECT
public:
    enum class Keys { Plain, Desk };
    explicit DeskCalculator(QWidget* parent = nullptr, Keys keys = Keys::Plain);
    void press(const QString& key);  // as a click on the key with that caption
    QString display() const;
    void setDecimals(int decimals);  // results with this many decimals; below zero: as many as needed
    double memory() const { return memory_; }

signals:
    // An operand ended by `key` ("+", "-", "*", "/", "%", "=", "M+", "M-"), or a result (key "T").
    void taped(double value, const QString& key);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void apply(double x);
    double entry() const;
    QString shown(double value) const;
    QLineEdit* display_;
    double accumulator_ = 0;
    double memory_ = 0;
    int decimals_ = -1;
    QString pending_;       // the operation waiting for its second operand
    bool fresh_ = true;     // the next digit starts a new number
    bool recalled_ = false; // the display holds the memory: an operand, but the next digit starts anew
};
