#pragma once
// The configuration check on the command line: `check FILE` prints every finding, and `upload`
// runs the same check before it wakes the unit.
#include "app/cli_database.h"

#include <optional>

namespace zx::cli {

// The check before an upload: every finding on standard error. With errors and without
// --force nothing may be sent: the refusal is said and its exit status (2) returned. Nothing
// when the upload may go on (no errors, or --force given).
std::optional<int> refuseUploadOnErrors(const CliDatabase& db, const ParsedArgs& args);

} // namespace zx::cli
