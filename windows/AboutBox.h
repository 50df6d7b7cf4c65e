#pragma once
// The About box: the program's picture, its name and version.
#include <QDialog>

class QLabel;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

protected:
    bool event(QEvent* e) override;

private:
    QLabel* version_;
};
