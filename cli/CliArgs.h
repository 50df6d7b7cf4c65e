#pragma once
// Reading the command line's options: each helper takes what it read out of the list,
// so that anything left over is an unknown option.
#include <QStringList>
#include <stdexcept>

// A command line that does not make sense (a missing or malformed option value,
// options that do not go together): told with the usage hint, status 2.
class CliUsageError : public std::runtime_error {
public:
    explicit CliUsageError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// The value after `flag`, or empty; removes both from args.
QString takeOption(QStringList& args, const QString& flag);
bool takeFlag(QStringList& args, const QString& flag);
// A whole number; throws CliUsageError when it is required and missing, or not a number.
int takeNumber(QStringList& args, const QString& flag, bool required, int fallback = 0);
// A real number, required; throws CliUsageError when it is missing or not a number.
double takeReal(QStringList& args, const QString& flag);
