#include "HelpRouter.h"

#include "HelpRequest.h"
#include "HelpWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QWhatsThis>
#include <QWidget>

HelpRouter::HelpRouter(QString programDir, QObject* parent) : QObject(parent), dir_(std::move(programDir))
{
    selectFormat(HelpFormat::HtmlHelp);
    if (qApp)
        qApp->installEventFilter(this);
}

HelpRouter::~HelpRouter()
{
    if (qApp)
        qApp->removeEventFilter(this);
    delete window_.data();
}

void HelpRouter::setProgramDir(const QString& dir)
{
    dir_ = dir;
    selectFormat(format_);
}

void HelpRouter::selectFormat(HelpFormat format)
{
    format_ = format;
    file_ = QDir(dir_).filePath(HelpBook::fileName(format));
    book_.reset();
}

HelpBook& HelpRouter::book()
{
    if (!book_)
        book_ = HelpBook::open(format_, file_);
    return *book_;
}

HelpWindow& HelpRouter::window()
{
    if (!window_)
        window_ = new HelpWindow;
    // Over a modal window the help window is modal too, or it could not be used until that one closed.
    const Qt::WindowModality modality = QApplication::activeModalWidget() && QApplication::activeModalWidget() != window_
                                            ? Qt::ApplicationModal
                                            : Qt::NonModal;
    if (window_->windowModality() != modality) {
        window_->hide();
        window_->setWindowModality(modality);
    }
    return *window_;
}

void HelpRouter::showNotice(const QString& title, const QString& text)
{
    HelpWindow& w = window();
    w.showNotice(title, text);
    w.show();
    w.raise();
    w.activateWindow();
}

void HelpRouter::showPage(const QString& page)
{
    HelpBook& b = book();
    const QString error = b.error();
    if (!error.isEmpty()) {
        showNotice(QStringLiteral("Help file not found"), error);
        return;
    }
    const QUrl url = b.urlOf(page);
    if (format_ == HelpFormat::WinHelp) {
        if (b.data(page).isEmpty()) {
            showNotice(QStringLiteral("Help topic not found"),
                       QStringLiteral("The help file %1 has no page %2.").arg(QDir::toNativeSeparators(file_), page));
            return;
        }
        if (!QDesktopServices::openUrl(url)) {
            showNotice(QStringLiteral("No web browser"),
                       QStringLiteral("No web browser could be started to show the help page %1. Open it in a web "
                                      "browser, or choose Help, HTML Help to read the help in this program.")
                           .arg(url.toLocalFile()));
            return;
        }
        Q_EMIT topicShown(url);
        return;
    }
    HelpWindow& w = window();
    if (!w.openFile(file_)) {
        w.show();
        return;
    }
    w.showPage(url);
    w.show();
    w.raise();
    w.activateWindow();
    Q_EMIT topicShown(url);
}

void HelpRouter::showContext(int context)
{
    HelpBook& b = book();
    // A missing file is told by showPage; a file without the number, here.
    const QString page = b.error().isEmpty() ? b.topicFor(context).page : QString();
    if (b.error().isEmpty() && page.isEmpty()) {
        showNotice(QStringLiteral("Help topic not found"), b.noTopicText(context));
        return;
    }
    showPage(page);
}

void HelpRouter::showFinder()
{
    if (format_ == HelpFormat::WinHelp) {
        showPage(HelpBook::kContents);
        return;
    }
    showPage(HelpBook::kContents);
    if (window_ && !window_->file().isEmpty())
        window_->showSearch();
}

void HelpRouter::showHelpOnHelp()
{
    showPage(HelpBook::kHelpOnHelp);
}

void HelpRouter::showPopup(int context, QPoint globalPos, QWidget* control)
{
    QString text = book().error();
    if (text.isEmpty())
        text = book().popupFor(context);
    if (text.isEmpty())
        text = QStringLiteral("No help topic is associated with this item.");
    QWhatsThis::showText(globalPos, text, control);
    Q_EMIT popupShown(text);
}

void HelpRouter::offerWhatsThis(QWidget* control, int context, QPoint globalPos)
{
    // The menu has no parent: right-clicking in it must not offer another one.
    auto* menu = new QMenu;
    menu->setObjectName(QStringLiteral("WhatsThisMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // A control's own commands on what it shows come first ("Explain this amount...").
    for (QAction* a : HelpRequest::contextActions(control))
        menu->addAction(a);
    if (context <= 0) {
        menu->popup(globalPos);
        return;
    }
    if (!menu->isEmpty())
        menu->addSeparator();
    QAction* item = menu->addAction(QStringLiteral("What's this?"));
    item->setObjectName(QStringLiteral("WhatsThis1"));
    QPointer<QWidget> target(control);
    connect(item, &QAction::triggered, this, [this, target, context, globalPos] {
        if (target)
            showPopup(context, globalPos, target);
    });
    menu->popup(globalPos);
}

bool HelpRouter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == HelpRequestEvent::eventType()) {
        auto* request = static_cast<HelpRequestEvent*>(event);
        request->accept();
        switch (request->command()) {
        case HelpRequestEvent::Context:
            showContext(request->context());
            break;
        case HelpRequestEvent::Finder:
            showFinder();
            break;
        case HelpRequestEvent::HelpOnHelp:
            showHelpOnHelp();
            break;
        case HelpRequestEvent::Popup:
            showPopup(request->context(), request->globalPos(), qobject_cast<QWidget*>(watched));
            break;
        }
        return true;
    }
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus->window() != widget->window())
            focus = widget;
        const int context = HelpRequest::contextOf(focus);
        if (context > 0)
            showContext(context);
        else
            showFinder();
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        const int context = HelpRequest::contextOf(widget);
        if (context <= 0 && HelpRequest::contextActions(widget).isEmpty())
            return false;
        offerWhatsThis(widget, context, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return false;
}

HelpWindow* HelpRouter::helpWindow() const
{
    return window_;
}
