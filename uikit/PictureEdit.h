#pragma once
// A number field bound to nothing: typing is limited by an entry picture such
// as "###,###,###,###,###.###", the value is read back as a number (empty is 0).
#include "Picture.h"

#include <QLineEdit>

class PictureEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit PictureEdit(const QString& picture, QWidget* parent = nullptr);
    double value() const;
    void setValue(double value);
    const Picture& picture() const { return picture_; }

private:
    Picture picture_;
};
