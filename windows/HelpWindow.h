#pragma once
// The program's help window, the viewer of the compiled help: contents, index
// and full-text search beside the page, with back, forward and contents buttons.
// It is also where either viewer tells the user that a help file is missing or
// has no topic for a context number.
#include <QMainWindow>
#include <QUrl>

class QHelpEngine;
class QTabWidget;
class QTextBrowser;
class HelpBrowser;

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Opens the compiled help `qch`; false, with the reason shown in the window, when it cannot.
    bool openFile(const QString& qch);
    const QString& file() const { return file_; }
    // Shows a page of the open help, with its entry selected in the contents.
    void showPage(const QUrl& url);
    // Shows the contents (or the search) beside the contents page.
    void showContents();
    void showSearch();
    // Shows a notice from the help instead of a page: a missing file, an unknown topic.
    void showNotice(const QString& title, const QString& text);

    QUrl currentUrl() const;
    QString currentTitle() const;

private:
    void buildNavigation();
    void selectInContents(const QUrl& url);
    void search();
    QHelpEngine* engine_ = nullptr;
    QString file_;
    QTabWidget* tabs_ = nullptr;
    HelpBrowser* browser_ = nullptr;
};
