#include "QtDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

MsgResult QtDialogs::showMessage(MsgType type, const QString& text, MsgButtons buttons)
{
    QMessageBox box(parent_ ? parent_ : QApplication::activeWindow());
    switch (type) {
    case MsgType::Error:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(QStringLiteral("Error"));
        break;
    case MsgType::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QStringLiteral("Warning"));
        break;
    case MsgType::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QStringLiteral("Information"));
        break;
    case MsgType::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(QStringLiteral("Confirm"));
        break;
    }
    box.setText(text);
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::OkNo:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::No);
        break;
    }
    const int r = box.exec();
    if (r == QMessageBox::Yes)
        return MsgResult::Yes;
    if (r == QMessageBox::No)
        return MsgResult::No;
    return buttons == MsgButtons::Ok ? MsgResult::Ok : (r == QMessageBox::Ok ? MsgResult::Ok : MsgResult::No);
}

bool QtDialogs::showInputBox(const QString& caption, const QString& prompt, QString& value)
{
    QInputDialog box(parent_ ? parent_ : QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(value);
    // Wide enough for its title and for the text it starts with (a web address), within the screen.
    const QFontMetrics fm = box.fontMetrics();
    int width = std::max({320, fm.horizontalAdvance(caption) + 160, fm.horizontalAdvance(value) + 80});
    if (const QScreen* screen = box.screen())
        width = std::min(width, screen->availableGeometry().width() * 9 / 10);
    box.resize(width, box.sizeHint().height());
    box.setMinimumWidth(width);
    if (box.exec() != QDialog::Accepted)
        return false;
    value = box.textValue();
    return true;
}
