#pragma once
// Passwords on the command line without the command line: every password option (--password,
// --password-new, diff's --password-b) has a -file form that reads the first line of a file, or
// of standard input for "-", so that `ps` shows no password; and ZENDRAX_PASSWORD stands for a
// --password that neither form gives. The files are read before the command runs and their
// passwords given to it as the options' values.
#include "app/cli_args.h"

#include <optional>
#include <vector>

namespace zx::cli {

struct PasswordOption {
    QString option;     // "--password"
    QString fileOption; // "--password-file"
};
const std::vector<PasswordOption>& passwordOptions();

// The environment variable read for --password when no option gives one.
inline constexpr const char* PasswordVariable = "ZENDRAX_PASSWORD";

// Replaces each -file option of `args` by its option with the file's first line (without its
// line end), then gives --password the environment's password when the command takes it and
// none was given. "-" is standard input, refused where another input of the command already
// reads it (a positional "-", --from -, a second password from "-"); an option given with its
// -file form is refused too. Nothing on success, else the exit status after the message.
std::optional<int> resolvePasswords(ParsedArgs& args, const Command& command);

} // namespace zx::cli
