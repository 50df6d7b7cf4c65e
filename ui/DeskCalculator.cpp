#include "DeskCalculator.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

DeskCalculator::DeskCalculator(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    display_ = new QLineEdit(QStringLiteral("0"), this);
    display_->setObjectName(QStringLiteral("CalculatorDisplay"));
    display_->setReadOnly(true);
    display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(display_, 0, 0, 1, 4);
    const char* keys[5][4] = {{"C", "+/-", "/", "*"}, {"7", "8", "9", "-"}, {"4", "5", "6", "+"},
                              {"1", "2", "3", "="}, {"0", ".", "", ""}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c) {
            const QString key = QString::fromLatin1(keys[r][c]);
            if (key.isEmpty())
                continue;
            auto* b = new QPushButton(key, this);
            b->setObjectName(QStringLiteral("CalcKey") + key);
            b->setFocusPolicy(Qt::NoFocus);
            b->setMinimumWidth(34);
            connect(b, &QPushButton::clicked, this, [this, key] { press(key); });
            grid->addWidget(b, r + 1, c, 1, key == QLatin1String("0") ? 2 : 1);
        }
}

QString DeskCalculator::display() const
{
    return display_->text();
}

void DeskCalculator::apply()
{
    const double x = QLocale::c().toDouble(display_->text());
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
    display_->setText(qIsNaN(accumulator_) ? QStringLiteral("Error") : QString::number(accumulator_, 'g', 15));
}

void DeskCalculator::press(const QString& key)
{
    if (key == QLatin1String("C")) {
        accumulator_ = 0;
        pending_.clear();
        fresh_ = true;
        display_->setText(QStringLiteral("0"));
    } else if (key == QLatin1String("+/-")) {
        const QString t = display_->text();
        display_->setText(t.startsWith(QLatin1Char('-')) ? t.mid(1) : (t == QLatin1String("0") ? t : QLatin1Char('-') + t));
    } else if (key == QLatin1String("=")) {
        apply();
        pending_.clear();
        fresh_ = true;
    } else if (QStringLiteral("+-*/").contains(key)) {
        if (!fresh_ || pending_.isEmpty())
            apply();
        pending_ = key;
        fresh_ = true;
    } else {  // a digit or the point
        QString t = fresh_ || display_->text() == QLatin1String("Error") ? QString() : display_->text();
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
