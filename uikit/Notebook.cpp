#include "Notebook.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

void NotebookTabBar::mousePressEvent(QMouseEvent* e)
{
    const int index = tabAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && index >= 0 && index != currentIndex()) {
        if (request)
            request(index);
        return;
    }
    QTabBar::mousePressEvent(e);
}

void NotebookTabBar::keyPressEvent(QKeyEvent* e)
{
    int to = -1;
    if (e->key() == Qt::Key_Left)
        to = currentIndex() - 1;
    else if (e->key() == Qt::Key_Right)
        to = currentIndex() + 1;
    if (to >= 0 && to < count()) {
        if (request)
            request(to);
        return;
    }
    QTabBar::keyPressEvent(e);
}

void NotebookTabBar::wheelEvent(QWheelEvent* e)
{
    e->ignore();  // the wheel does not turn pages
}

Notebook::Notebook(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_ = new NotebookTabBar(this);
    tabs_->setExpanding(false);
    tabs_->setDocumentMode(true);
    tabs_->request = [this](int index) { return setCurrentIndex(index); };
    stack_ = new QStackedWidget(this);
    layout->addWidget(tabs_);
    layout->addWidget(stack_, 1);
}

int Notebook::addPage(QWidget* page, const QString& caption, const QString& hint)
{
    const QSignalBlocker block(tabs_);
    const int i = tabs_->addTab(caption);
    tabs_->setTabToolTip(i, hint);
    // A page taller or wider than the window scrolls, so that the window fits a small screen.
    auto* scroll = new QScrollArea(stack_);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    stack_->addWidget(scroll);
    pages_ << page;
    return i;
}

void Notebook::keyPressEvent(QKeyEvent* e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool back = e->key() == Qt::Key_Backtab || (e->key() == Qt::Key_Tab && (e->modifiers() & Qt::ShiftModifier));
    if (ctrl && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) && !tabs_->isHidden() && count() > 1) {
        e->accept();
        setCurrentIndex((currentIndex() + (back ? count() - 1 : 1)) % count());
        return;
    }
    QWidget::keyPressEvent(e);
}

void Notebook::setTabsVisible(bool on)
{
    tabs_->setVisible(on);
}

int Notebook::currentIndex() const
{
    return stack_->currentIndex();
}

QWidget* Notebook::page(int index) const
{
    return pages_.value(index);
}

int Notebook::count() const
{
    return stack_->count();
}

bool Notebook::setCurrentIndex(int index)
{
    if (index < 0 || index >= count())
        return false;
    if (index == currentIndex())
        return true;
    if (beforeChange && !beforeChange(currentIndex(), index))
        return false;
    showPage(index);
    return true;
}

void Notebook::showPage(int index)
{
    if (index < 0 || index >= count())
        return;
    const bool changed = index != currentIndex();
    {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(index);
    }
    stack_->setCurrentIndex(index);
    if (changed)
        Q_EMIT currentChanged(index);
}
