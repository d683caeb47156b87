// zendrax-cli: the configuration tool's core without windows.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_passwords.h"
#include "files/hungarian_locale.h"
#include "files/program_version.h"
#include "files/toolkit_translations.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

namespace zx::cli {

static std::map<std::string, Command>& commands() {
    static std::map<std::string, Command> table;
    return table;
}

bool registerCommand(Command command) {
    commands()[command.name] = std::move(command);
    return true;
}

namespace {

bool progressAsked = false;
bool quiet = false;
bool progressLineOpen = false;
QString lastProgress;
// The first failure of a write to standard output (errno), 0 while every write went.
int outputError = 0;

// Ends a progress line left open on the terminal, so that what follows starts a line of its own.
void endProgressLine() {
    if (!progressLineOpen) return;
    std::fputs("\n", stderr);
    progressLineOpen = false;
}

// A reader that closed the pipe wants nothing more: the program ends as SIGPIPE ends it (status
// 141 in the shell), also when SIGPIPE was ignored and the write only failed.
[[noreturn]] void endAsBrokenPipe() {
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    _exit(128 + SIGPIPE);
}

// The system's reason for a failed write, in Hungarian where it is a usual one.
QString writeFailureReason(int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("nincs több hely az eszközön");
    case EIO:
        return QStringLiteral("be- és kiviteli hiba");
    case EBADF:
        return QStringLiteral("nincs megnyitva");
    case EFBIG:
        return QStringLiteral("túl nagy a fájl");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

} // namespace

bool outBytes(const char* data, std::size_t size) {
    if (outputError != 0) return false;
    errno = 0;
    if (std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0) return true;
    const int error = errno != 0 ? errno : EIO;
    if (error == EPIPE) endAsBrokenPipe();
    outputError = error;
    return false;
}

bool standardOutputFailed() {
    return outputError != 0;
}

// The end of a command: a write to standard output that failed is said, and the command fails
// (a command stopped by a signal keeps its status).
int concluded(int status, const Command& command) {
    if (!standardOutputFailed()) outBytes("", 0);
    if (!standardOutputFailed()) return status;
    err(QStringLiteral("(szabványos kimenet): nem írható, %1 !!!")
            .arg(writeFailureReason(outputError)));
    return status >= 128 ? status : command.failedStatus;
}

void err(const QString& text) {
    endProgressLine();
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputs("\n", stderr);
    std::fflush(stderr);
}

void out(const QString& text) {
    endProgressLine();
    const QByteArray line = text.toUtf8() + '\n';
    outBytes(line.constData(), static_cast<std::size_t>(line.size()));
}

void notice(const QString& text) {
    if (!quiet) err(text);
}

void setQuiet(bool on) {
    quiet = on;
}

void setProgressAsked(bool asked) {
    progressAsked = asked;
}

void progress(const QString& text) {
    if (quiet || text == lastProgress) return;
    lastProgress = text;
    if (::isatty(STDERR_FILENO)) {
        // Back to the line's start, the text, the rest of the old text cleared.
        std::fputs(("\r" + text + "\x1b[K").toUtf8().constData(), stderr);
        std::fflush(stderr);
        progressLineOpen = true;
    } else if (progressAsked) {
        err(text);
    }
}

} // namespace zx::cli

namespace {

using namespace zx::cli;

QString usageText() {
    QString text = QString::fromUtf8("Használat: zendrax-cli PARANCS [kapcsolók]\n"
                                     "          zendrax-cli PARANCS --help\n"
                                     "          zendrax-cli --version | --help\n"
                                     "Minden parancs: --quiet (csak a hibák), --progress; a "
                                     "jelszó --password-file FÁJL|- vagy\n"
                                     "a ZENDRAX_PASSWORD környezeti változó is lehet.\n"
                                     "Parancsok:");
    for (const auto& [name, command] : commands())
        text += QStringLiteral("\n  ") + QString::fromUtf8(command.usage);
    return text;
}

// The command's options and those every command takes.
OptionSpec withCommonOptions(OptionSpec spec) {
    spec.flags += {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--progress"),
                   QStringLiteral("--quiet")};
    for (const PasswordOption& password : passwordOptions())
        if (spec.valued.contains(password.option)) spec.valued.insert(password.fileOption);
    return spec;
}

} // namespace

int main(int argc, char** argv) {
    // Dates in Hungarian form, like the texts, whatever the session's locale.
    zx::useHungarianLocale();
    const auto named = argc > 1 ? commands().find(argv[1]) : commands().end();
    const bool gui = named != commands().end() && named->second.gui;
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        gui ? std::make_unique<QGuiApplication>(argc, argv)
            : std::make_unique<QCoreApplication>(argc, argv);
    // Qt's own texts (its error messages) in Hungarian, like the program's.
    zx::installToolkitTranslations(*app);
    QStringList args = app->arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        err(usageText());
        return 2;
    }
    if (args.first() == "--help" || args.first() == "-h") {
        out(usageText());
        return standardOutputFailed() ? 1 : 0;
    }
    if (args.first() == "--version") {
        out(zx::versionLine(QStringLiteral("zendrax-cli")));
        return standardOutputFailed() ? 1 : 0;
    }
    const auto it = commands().find(args.first().toStdString());
    if (it == commands().end()) {
        err(QString::fromUtf8("Ismeretlen parancs: %1 !!!").arg(args.first()));
        err(usageText());
        return 2;
    }
    args.removeFirst();
    const Command& command = it->second;
    ParsedArgs parsed = parseArgs(args, withCommonOptions(command.options));
    if (parsed.has("--help") || parsed.has("-h")) {
        out(command.help
                ? command.help()
                : QStringLiteral("Használat: zendrax-cli ") + QString::fromUtf8(command.usage));
        return concluded(0, command);
    }
    if (!parsed.error.isEmpty()) {
        err(parsed.error);
        return command.usageStatus;
    }
    setProgressAsked(parsed.has("--progress"));
    setQuiet(parsed.has("--quiet"));
    if (const std::optional<int> refused = resolvePasswords(parsed, command)) return *refused;
    return concluded(command.run(parsed), command);
}
