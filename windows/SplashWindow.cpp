#include "SplashWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

QPixmap tarvanePicture(const QSize& size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(120, 170, 220));
    sky.setColorAt(1, QColor(220, 235, 245));
    p.fillRect(pm.rect(), sky);
    QPainterPath far;
    far.moveTo(0, h * 0.62);
    far.cubicTo(w * 0.25, h * 0.40, w * 0.45, h * 0.55, w * 0.65, h * 0.45);
    far.cubicTo(w * 0.80, h * 0.38, w * 0.92, h * 0.52, w, h * 0.50);
    far.lineTo(w, h);
    far.lineTo(0, h);
    p.fillPath(far, QColor(96, 140, 80));
    QPainterPath bench;  // the regraded highwall, benched and seeded
    bench.moveTo(0, h * 0.78);
    bench.lineTo(w * 0.30, h * 0.70);
    bench.lineTo(w * 0.42, h * 0.70);
    bench.lineTo(w * 0.62, h * 0.64);
    bench.lineTo(w * 0.75, h * 0.64);
    bench.lineTo(w, h * 0.58);
    bench.lineTo(w, h);
    bench.lineTo(0, h);
    p.fillPath(bench, QColor(140, 120, 80));
    QPainterPath topsoil;
    topsoil.moveTo(0, h * 0.88);
    topsoil.cubicTo(w * 0.3, h * 0.82, w * 0.6, h * 0.90, w, h * 0.80);
    topsoil.lineTo(w, h);
    topsoil.lineTo(0, h);
    p.fillPath(topsoil, QColor(70, 120, 60));
    return pm;
}

SplashWindow::SplashWindow() : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(QStringLiteral("Tarvane"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Veskor Tarvane"), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    auto* loading = new QLabel(QStringLiteral("Loading .........................."), this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusLabel"));
    auto* picture = new QLabel(this);
    picture->setPixmap(tarvanePicture(QSize(420, 180)));
    picture->setScaledContents(true);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    layout->addWidget(title);
    layout->addWidget(picture, 1);
    layout->addWidget(loading);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    resize(460, 330);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashWindow::setStatus(const QString& text)
{
    status_->setText(text);
    repaint();
}

void SplashWindow::advance(int amount)
{
    progress_->setValue(progress_->value() + amount);
    repaint();
}

int SplashWindow::progress() const
{
    return progress_->value();
}

QString SplashWindow::status() const
{
    return status_->text();
}
