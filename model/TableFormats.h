#pragma once
// The table files of a Tarvane data directory: every field in order with its
// type, size and required flag, the keys and the indexes the views read through.
#include "TableFormat.h"

#include <QList>

// Password of the protected reference tables (handbook and labor rates).
inline constexpr const char* kTablePassword = "mossR*paLen";

const QList<TableFormat>& tarvaneTableFormats();
