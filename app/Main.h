#pragma once
// TMainForm: the program's main window. It owns the opening of the tables on
// its first activation and their closing when it closes.
#include <QMainWindow>
#include <memory>

class AppContext;
class DatabaseStartup;
class QTabWidget;
class QLabel;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(AppContext& ctx);
    ~TMainForm() override;

    bool Activated = false;
    int HelpContextId = 2;
    bool DatabaseOpened() const;

    // Stored properties.
    QString OvcURL;
    bool WinHelpChecked = false;
    bool HTMLHelpChecked = true;

    bool OpenAllTables(QString& name);
    void CloseAllTables();
    void PostPendingEdits();

    // The one-time activation work; later activations return at once.
    void FormActivate();
    // The close query: posts pending edits, closes the tables, disconnects.
    // False when a post failed and the window must stay open.
    bool FormCloseQuery();

    void SetStatusText(const QString& text);
    QTabWidget* notebook() const { return notebook_; }

public Q_SLOTS:
    void About1Click();
    void Exit1Click();

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    DatabaseStartup& startup();
    void createMenus();

    AppContext& ctx_;
    std::unique_ptr<DatabaseStartup> startup_;
    QTabWidget* notebook_;
    QLabel* statusPanel1_;
    QLabel* statusPanel2_;
};
