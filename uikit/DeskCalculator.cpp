#include "DeskCalculator.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <algorithm>
#include <utility>

DeskCalculator::DeskCalculator(QWidget* parent, Keys keys) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    display_ = new QLineEdit(QStringLiteral("0"), this);
    display_->setObjectName(QStringLiteral("CalculatorDisplay"));
    display_->setReadOnly(true);
    display_->setFocusPolicy(Qt::NoFocus);
    display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(display_, 0, 0, 1, 4);
    const bool desk = keys == Keys::Desk;
    // One row of four keys each; "0" takes two columns, so its row has three keys.
    QList<QStringList> rows;
    if (desk)
        rows << QStringList{"MC", "MR", "M+", "M-"};
    rows << QStringList{"C", "+/-", "/", "*"} << QStringList{"7", "8", "9", "-"} << QStringList{"4", "5", "6", "+"}
         << QStringList{"1", "2", "3", "="} << QStringList{"0", ".", desk ? "%" : ""};
    for (int r = 0; r < rows.size(); ++r) {
        int column = 0;
        for (const QString& key : rows[r]) {
            const int span = key == QLatin1String("0") ? 2 : 1;
            if (!key.isEmpty()) {
                auto* b = new QPushButton(key, this);
                b->setObjectName(QStringLiteral("CalcKey") + key);
                b->setFocusPolicy(Qt::NoFocus);
                // Keys share the width they are given and never stand over each other.
                b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
                b->setMinimumWidth(std::max(34, b->fontMetrics().horizontalAdvance(key) + 14));
                connect(b, &QPushButton::clicked, this, [this, key] { press(key); });
                grid->addWidget(b, r + 1, column, 1, span);
            }
            column += span;
        }
    }
    if (desk)
        setFocusPolicy(Qt::StrongFocus);
}

QString DeskCalculator::display() const
{
    return display_->text();
}

void DeskCalculator::setDecimals(int decimals)
{
    decimals_ = decimals;
}

double DeskCalculator::entry() const
{
    return QLocale::c().toDouble(display_->text().remove(QLatin1Char(',')));
}

QString DeskCalculator::shown(double value) const
{
    if (qIsNaN(value))
        return QStringLiteral("Error");
    return decimals_ < 0 ? QString::number(value, 'g', 15) : QString::number(value, 'f', decimals_);
}

void DeskCalculator::apply(double x)
{
    if (pending_ == QLatin1String("+"))
        accumulator_ += x;
    else if (pending_ == QLatin1String("-"))
        accumulator_ -= x;
    else if (pending_ == QLatin1String("*"))
        accumulator_ *= x;
    else if (pending_ == QLatin1String("/"))
        accumulator_ = x == 0 ? qQNaN() : accumulator_ / x;
    else
        accumulator_ = x;
    display_->setText(shown(accumulator_));
}

void DeskCalculator::press(const QString& key)
{
    const bool recalled = std::exchange(recalled_, false);
    if (key == QLatin1String("C")) {
        accumulator_ = 0;
        pending_.clear();
        fresh_ = true;
        display_->setText(QStringLiteral("0"));
    } else if (key == QLatin1String("+/-")) {
        const QString t = display_->text();
        display_->setText(t.startsWith(QLatin1Char('-')) ? t.mid(1) : (t == QLatin1String("0") ? t : QLatin1Char('-') + t));
    } else if (key == QLatin1String("MC")) {
        memory_ = 0;
    } else if (key == QLatin1String("MR")) {
        display_->setText(shown(memory_));
        fresh_ = false;
        recalled_ = true;
    } else if (key == QLatin1String("M+") || key == QLatin1String("M-")) {
        const double x = entry();
        emit taped(x, key);
        memory_ += key == QLatin1String("M+") ? x : -x;
        fresh_ = true;
    } else if (key == QLatin1String("=") || key == QLatin1String("%")) {
        double x = entry();
        emit taped(x, key);
        // Percent: of the running total for + and -, a plain hundredth for * and /.
        if (key == QLatin1String("%"))
            x = pending_ == QLatin1String("+") || pending_ == QLatin1String("-") ? accumulator_ * x / 100 : x / 100;
        apply(x);
        if (!pending_.isEmpty())
            emit taped(accumulator_, QStringLiteral("T"));
        pending_.clear();
        fresh_ = true;
    } else if (QStringLiteral("+-*/").contains(key)) {
        if (!fresh_ || pending_.isEmpty()) {
            const double x = entry();
            emit taped(x, key);
            apply(x);
        }
        pending_ = key;
        fresh_ = true;
    } else if (key == QLatin1String("Back")) {
        if (fresh_ || recalled)
            return;
        QString t = display_->text();
        t.chop(1);
        if (t.isEmpty() || t == QLatin1String("-"))
            t = QStringLiteral("0");
        display_->setText(t);
    } else {  // a digit or the point
        QString t = fresh_ || recalled || display_->text() == QLatin1String("Error") ? QString() : display_->text();
        if (key == QLatin1String(".") && t.contains(QLatin1Char('.')))
            return;
        t += key;
        if (t.startsWith(QLatin1Char('.')))
            t.prepend(QLatin1Char('0'));
        if (t.size() > 1 && t.startsWith(QLatin1Char('0')) && t[1] != QLatin1Char('.'))
            t.remove(0, 1);
        display_->setText(t);
        fresh_ = false;
    }
}

void DeskCalculator::keyPressEvent(QKeyEvent* e)
{
    const QString text = e->text();
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || text == QLatin1String("="))
        press(QStringLiteral("="));
    else if (e->key() == Qt::Key_Escape)
        press(QStringLiteral("C"));
    else if (e->key() == Qt::Key_Backspace)
        press(QStringLiteral("Back"));
    else if (text.size() == 1 && QStringLiteral("0123456789.+-*/%").contains(text))
        press(text);
    else
        QWidget::keyPressEvent(e);
}
