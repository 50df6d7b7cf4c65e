#pragma once
// The one error type of the table engine: every failure a user can act on
// (a missing table, a refused post, a bad filter) carries a readable message.
#include <QString>
#include <stdexcept>

class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};
