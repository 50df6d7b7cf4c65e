#pragma once
// Typing into a field with an entry picture: only what the picture allows.
class Picture;
class QObject;
class QValidator;

// Accepts the picture's shape (its prefix, digits and separators, a point, its suffix)
// with no more whole digits and decimals than it holds (separators do not count).
QValidator* pictureValidator(const Picture& picture, QObject* parent);
