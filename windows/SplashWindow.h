#pragma once
// The splash window shown while the program creates its windows.
#include <QWidget>

class QLabel;
class QProgressBar;

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow();
    void setStatus(const QString& text);  // shows the step text at once
    void advance(int amount);
    int progress() const;
    QString status() const;

private:
    QLabel* status_;
    QProgressBar* progress_;
};

// The program's picture of a reclaimed mine site, drawn for the splash and About windows.
QPixmap tarvanePicture(const QSize& size);
