#pragma once
// HelpRouter: the program's one help router. It watches every event of the
// application and answers the help requests of every window (HelpRequestEvent),
// the F1 key (the topic of the focused control, else of its window) and the
// right-click "What's this?" menu (the control's short text as a popup). It sends
// each request to the viewer of the chosen format:
//   - HTML Help: the compiled help Tarvane.qch beside the program, in the
//     program's help window;
//   - Win Help: the plain help folder Tarvane-html beside the program, in the
//     user's web browser.
// A missing help file or a context number without a topic is told in the help
// window; a request never fails and never waits on the user.
#include "HelpBook.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <memory>

class HelpWindow;
class QWidget;

class HelpRouter : public QObject {
    Q_OBJECT
public:
    // `programDir`: the folder the help files are in (the program's own).
    explicit HelpRouter(QString programDir, QObject* parent = nullptr);
    ~HelpRouter() override;

    void setProgramDir(const QString& dir);
    const QString& programDir() const { return dir_; }
    // Chooses the format; the file becomes the program folder's file of that format.
    void selectFormat(HelpFormat format);
    HelpFormat format() const { return format_; }
    const QString& file() const { return file_; }

    void showContext(int context);
    void showFinder();
    void showHelpOnHelp();
    // Shows the short text of `context` at `globalPos`, for `control`.
    void showPopup(int context, QPoint globalPos, QWidget* control);

    // The help window, once a request has opened it.
    HelpWindow* helpWindow() const;

Q_SIGNALS:
    // A page was shown: in the help window (HTML Help) or handed to the browser (Win Help).
    void topicShown(const QUrl& url);
    // A "What's this?" popup was shown with this text.
    void popupShown(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpBook& book();
    HelpWindow& window();
    void showPage(const QString& page);
    void showNotice(const QString& title, const QString& text);
    void offerWhatsThis(QWidget* control, int context, QPoint globalPos);

    QString dir_;
    HelpFormat format_ = HelpFormat::HtmlHelp;
    QString file_;
    std::unique_ptr<HelpBook> book_;
    QPointer<HelpWindow> window_;
};
