#pragma once
// Message and input boxes as Qt windows.
#include "Dialogs.h"

class QWidget;

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

protected:
    MsgResult showMessage(MsgType type, const QString& text, MsgButtons buttons) override;
    bool showInputBox(const QString& caption, const QString& prompt, QString& value) override;

private:
    QWidget* parent_;
};
