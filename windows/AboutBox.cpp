#include "AboutBox.h"

#include "Version.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QPixmap tarvanePicture(const QSize& size);

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    auto* inner = new QVBoxLayout(frame);
    auto* title = new QLabel(QStringLiteral("Tarvane"), frame);
    title->setObjectName(QStringLiteral("ProductName"));
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    auto* picture = new QLabel(frame);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(tarvanePicture(QSize(300, 130)));
    version_ = new QLabel(frame);
    version_->setObjectName(QStringLiteral("Version"));
    version_->setAlignment(Qt::AlignCenter);
    inner->addWidget(title);
    inner->addWidget(picture);
    inner->addWidget(version_);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(frame);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

bool AboutBox::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)
        version_->setText(QStringLiteral("Version:  ") + QLatin1String(kTarvaneVersion));
    return QDialog::event(e);
}
