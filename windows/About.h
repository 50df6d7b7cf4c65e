#pragma once
// The About box: the program's picture, its name and version.
#include <QDialog>

class QLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    bool event(QEvent* e) override;

private:
    QLabel* version_;
};
