#pragma once
// Keyboard use of a window: mnemonics for its buttons and menus, and Enter
// kept for the window's default button.
#include <QString>

class QPushButton;
class QWidget;

namespace Keyboard {
// The caption with its first letter marked as mnemonic, unless it has one already.
QString withMnemonic(const QString& caption);
// The mnemonic letter of a caption ("&Post" -> 'p'); a null character when it has none.
QChar mnemonicOf(const QString& caption);
// Gives every push button, check box, menu and menu item of `window` that has no
// mnemonic one: the first letter of one of its words not yet taken among its
// neighbours (the window's buttons; the menu bar's menus; one menu's items), else
// any free letter of the caption. Equal captions get the same letter; no button takes
// the letter of a menu of the bar. `reserved`: letters the window's changing captions use.
void assignMnemonics(QWidget* window, const QString& reserved = {});
// Enter in the dialog presses `defaultButton` only: the dialog's other push
// buttons do not take it when they have the focus.
void keepEnterForDefault(QWidget* dialog, QPushButton* defaultButton);
}  // namespace Keyboard
