#pragma once
// Settings on the command line: a database file read as `show` reads it, values in JSON, and the
// differences of two configurations as diff, verify and upload --verify print them.
#include "app/cli_database.h"
#include "model/settings_comparison.h"

#include <QJsonValue>

#include <vector>

namespace zx::cli {

// The file's configuration read through its --model, with its texts and date.
SettingsReading settingsOf(const CliDatabase& db);

QJsonValue jsonOf(const SettingValue& value);

// One line a difference: the name, then A's and B's values as show prints them, separated by
// tabs (show's texts never hold one); a side that lacks the setting leaves its field empty.
// With json, one list of {name, a, b} (null for a side that lacks it).
void printDifferences(const std::vector<SettingDifference>& differences, bool json);

} // namespace zx::cli
