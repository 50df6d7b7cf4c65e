#pragma once
// Windows that live for the whole run and are shown over whichever window opens
// them. A window owned by a modal window stays usable beside it and stays above
// it; the window keeps its place on the screen when its owner changes.
class QWidget;

namespace OwnedWindow {
// Makes `owner` the owner of the top-level `window` (nothing when it already is).
void setOwner(QWidget* window, QWidget* owner);
// Shows `window` owned by `owner`; `activate`: it takes the focus, else `owner` keeps it.
void showOwned(QWidget* window, QWidget* owner, bool activate = true);
}  // namespace OwnedWindow
