#include "QtDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

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
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_ ? parent_ : QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}
