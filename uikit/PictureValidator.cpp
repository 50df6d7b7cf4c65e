#include "PictureValidator.h"

#include "Picture.h"

#include <QValidator>

namespace {

class PictureValidator : public QValidator {
public:
    PictureValidator(const Picture& picture, QObject* parent) : QValidator(parent), picture_(picture) {}
    State validate(QString& input, int&) const override { return picture_.holds(input) ? Acceptable : Invalid; }

private:
    Picture picture_;
};

}  // namespace

QValidator* pictureValidator(const Picture& picture, QObject* parent)
{
    return new PictureValidator(picture, parent);
}
