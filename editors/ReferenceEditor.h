#pragma once
// The frame the reference-data editors share: a modal window with a "&Close"
// menu, an optional "Tarvane" band, grids with navigators under headings,
// and its placement kept in the settings store under its class name.
#include <QDialog>

class DataSource;
class DBGrid;
class DBNavigator;
class Dialogs;
class QBoxLayout;

class ReferenceEditor : public QDialog {
    Q_OBJECT
public:
    ReferenceEditor(const QString& windowClass, const QString& caption, Dialogs& dialogs, QWidget* parent);
    ~ReferenceEditor() override;

protected:
    // A heading, a grid on the source with those columns, and a navigator under it.
    void addLevel(QBoxLayout* into, const QString& heading, DataSource* source, const QStringList& columns,
                  const QString& gridName, const QString& navigatorName);
    void addBand();
    QBoxLayout* body() const { return body_; }
    Dialogs& dialogs() const { return dialogs_; }
    // The close query: false keeps the window open.
    virtual bool canClose() = 0;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    QString windowClass_;
    Dialogs& dialogs_;
    QBoxLayout* body_;
};
