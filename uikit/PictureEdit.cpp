#include "PictureEdit.h"

#include "PictureValidator.h"

PictureEdit::PictureEdit(const QString& picture, QWidget* parent) : QLineEdit(parent), picture_(picture)
{
    setValidator(pictureValidator(picture_, this));
    setAlignment(Qt::AlignRight);
}

double PictureEdit::value() const
{
    double v = 0;
    return picture_.parse(text(), &v) ? v : 0;
}

void PictureEdit::setValue(double value)
{
    setText(picture_.format(value));
}
