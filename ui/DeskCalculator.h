#pragma once
// A desk calculator: a display, the ten digits, the point, the four operations,
// equals, clear and change of sign, worked left to right as a pocket calculator does.
#include <QWidget>

class QLineEdit;

class DeskCalculator : public QWidget {
    Q_OBJECT
public:
    explicit DeskCalculator(QWidget* parent = nullptr);
    void press(const QString& key);  // as a click on the key with that caption
    QString display() const;

private:
    void apply();
    QLineEdit* display_;
    double accumulator_ = 0;
    QString pending_;       // the operation waiting for its second operand
    bool fresh_ = true;     // the next digit starts a new number
};
