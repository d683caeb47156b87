#pragma once
// A list of history entries as CSV for a spreadsheet: a heading line, then one line an entry,
// fields separated by commas, quoted where they hold a comma, a quote or a line end; UTF-8,
// lines ending CR LF. Times are local, with their offset from UTC.
#include "history/history_entry.h"

#include <QByteArray>

#include <vector>

namespace zx {

QByteArray historyCsv(const std::vector<HistoryEntry>& entries);

} // namespace zx
