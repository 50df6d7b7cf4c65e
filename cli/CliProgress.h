#pragma once
// The progress of a long command on standard error, shown only when standard
// error is a terminal, so that scripts and logs get the results alone.
#include <QString>
#include <functional>

// A callback that rewrites one line "LABEL: DONE of TOTAL" and ends it when DONE
// reaches TOTAL (later calls are ignored); empty when standard error is not a terminal.
std::function<void(int done, int total)> terminalProgress(const QString& label);
