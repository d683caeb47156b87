#include "app/cli_passwords.h"

#include "app/cli_io.h"

namespace zx::cli {

namespace {

// A password file is a line; anything far longer is no password file.
constexpr qint64 PasswordFileLimit = 64 * 1024;

// Whether an input of the command other than the password files reads standard input.
bool standardInputTaken(const ParsedArgs& args) {
    return args.positional.contains(QStringLiteral("-")) ||
           (args.has("--from") && isStandardStream(args.value("--from")));
}

} // namespace

const std::vector<PasswordOption>& passwordOptions() {
    static const std::vector<PasswordOption> options{
        {QStringLiteral("--password"), QStringLiteral("--password-file")},
        {QStringLiteral("--password-new"), QStringLiteral("--password-new-file")},
        {QStringLiteral("--password-b"), QStringLiteral("--password-b-file")},
    };
    return options;
}

std::optional<int> resolvePasswords(ParsedArgs& args, const Command& command) {
    bool stdinTaken = standardInputTaken(args);
    for (const PasswordOption& password : passwordOptions()) {
        if (!args.has(password.fileOption)) continue;
        if (args.has(password.option)) {
            err(QStringLiteral("A %1 és a %2 közül csak az egyik adható meg !!!")
                    .arg(password.option, password.fileOption));
            return command.usageStatus;
        }
        const QString path = args.value(password.fileOption);
        if (isStandardStream(path)) {
            if (stdinTaken) {
                err(QStringLiteral("%1 -: a szabványos bemenetet már más olvassa !!!")
                        .arg(password.fileOption));
                return command.usageStatus;
            }
            stdinTaken = true;
        }
        const std::optional<QByteArray> bytes = readInput(path, PasswordFileLimit);
        if (!bytes) return command.failedStatus;
        QByteArray line = bytes->left(bytes->indexOf('\n'));
        if (line.endsWith('\r')) line.chop(1);
        args.options.remove(password.fileOption);
        args.options[password.option] = QString::fromUtf8(line);
    }
    const QString plain = QStringLiteral("--password");
    if (command.options.valued.contains(plain) && !args.has(plain) &&
        qEnvironmentVariableIsSet(PasswordVariable))
        args.options[plain] = qEnvironmentVariable(PasswordVariable);
    return std::nullopt;
}

} // namespace zx::cli
