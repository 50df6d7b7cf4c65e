#include "DeskCalculatorWindow.h"

#include "DeskCalculator.h"
#include "StoredNames.h"
#include "WindowSettings.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kClass = QLatin1String(storedname::DeskCalculatorWindow);
}

// A dialog-type window, not modal: the window manager keeps it above the window that owns it.
DeskCalculatorWindow::DeskCalculatorWindow(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(kClass);
    setWindowTitle(QStringLiteral("Calculator"));
    auto* layout = new QHBoxLayout(this);
    calculator_ = new DeskCalculator(this, DeskCalculator::Keys::Desk);
    calculator_->setObjectName(QStringLiteral("DeskCalculator"));
    calculator_->setDecimals(2);
    layout->addWidget(calculator_);

    auto* paper = new QVBoxLayout;
    tape_ = new QPlainTextEdit(this);
    tape_->setObjectName(QStringLiteral("CalculatorTape"));
    tape_->setReadOnly(true);
    tape_->setFocusPolicy(Qt::NoFocus);
    tape_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    tape_->setMinimumWidth(tape_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 22);
    paper->addWidget(tape_, 1);
    auto* foot = new QHBoxLayout;
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("TapeCount"));
    foot->addWidget(count_, 1);
    auto* clear = new QPushButton(QStringLiteral("Clear Tape"), this);
    clear->setObjectName(QStringLiteral("ClearTape"));
    clear->setFocusPolicy(Qt::NoFocus);
    connect(clear, &QPushButton::clicked, this, &DeskCalculatorWindow::ClearTapeClick);
    foot->addWidget(clear);
    paper->addLayout(foot);
    layout->addLayout(paper, 1);

    connect(calculator_, &DeskCalculator::taped, this, &DeskCalculatorWindow::addToTape);
    setFocusProxy(calculator_);
    ClearTapeClick();
    WindowSettings::restorePlacement(this, kClass);
}

DeskCalculatorWindow::~DeskCalculatorWindow()
{
    // The program ends with the window still showing: its place is kept as on a close.
    if (isVisible())
        WindowSettings::savePlacement(this, kClass);
}

QString DeskCalculatorWindow::tape() const
{
    return tape_->toPlainText();
}

void DeskCalculatorWindow::addToTape(double value, const QString& key)
{
    // A result is set off by a line; only the operands count as items.
    if (key == QLatin1String("T"))
        tape_->appendPlainText(QStringLiteral("-").repeated(16));
    else
        ++items_;
    tape_->appendPlainText(QStringLiteral("%1 %2").arg(QString::number(value, 'f', 2), 16).arg(key));
    count_->setText(QStringLiteral("Items: %1").arg(items_));
}

void DeskCalculatorWindow::ClearTapeClick()
{
    tape_->clear();
    items_ = 0;
    count_->setText(QStringLiteral("Items: 0"));
}

void DeskCalculatorWindow::closeEvent(QCloseEvent* e)
{
    WindowSettings::savePlacement(this, kClass);
    e->accept();
    emit closedByUser();
}
