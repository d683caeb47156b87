// zendrax-cli: the configuration tool's core without windows.
#include "app/cli_common.h"
#include "files/hungarian_locale.h"
#include "files/program_version.h"
#include "files/toolkit_translations.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
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
bool progressLineOpen = false;
QString lastProgress;

// Ends a progress line left open on the terminal, so that what follows starts a line of its own.
void endProgressLine() {
    if (!progressLineOpen) return;
    std::fputs("\n", stderr);
    progressLineOpen = false;
}

} // namespace

void err(const QString& text) {
    endProgressLine();
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputs("\n", stderr);
    std::fflush(stderr);
}

void out(const QString& text) {
    endProgressLine();
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

void setProgressAsked(bool asked) {
    progressAsked = asked;
}

void progress(const QString& text) {
    if (text == lastProgress) return;
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

static QString usageText() {
    QString text = QString::fromUtf8("Használat: zendrax-cli PARANCS [kapcsolók]\n"
                                     "          zendrax-cli PARANCS --help\n"
                                     "          zendrax-cli --version | --help\n"
                                     "Parancsok:");
    for (const auto& [name, command] : zx::cli::commands())
        text += QStringLiteral("\n  ") + QString::fromUtf8(command.usage);
    return text;
}

// The options before "--" ask for the command's help.
static bool asksForHelp(const QStringList& args) {
    for (const QString& arg : args) {
        if (arg == QLatin1String("--")) return false;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) return true;
    }
    return false;
}

// --progress may follow any command (before "--"); it is taken out before the command reads
// its options.
static QStringList withoutProgressOption(QStringList args) {
    for (qsizetype i = 0; i < args.size() && args[i] != QLatin1String("--"); ++i) {
        if (args[i] == QLatin1String("--progress")) {
            zx::cli::setProgressAsked(true);
            args.removeAt(i--);
        }
    }
    return args;
}

int main(int argc, char** argv) {
    // Dates in Hungarian form, like the texts, whatever the session's locale.
    zx::useHungarianLocale();
    const auto named = argc > 1 ? zx::cli::commands().find(argv[1]) : zx::cli::commands().end();
    const bool gui = named != zx::cli::commands().end() && named->second.gui;
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
        zx::cli::err(usageText());
        return 2;
    }
    if (args.first() == "--help" || args.first() == "-h") {
        zx::cli::out(usageText());
        return 0;
    }
    if (args.first() == "--version") {
        zx::cli::out(zx::versionLine(QStringLiteral("zendrax-cli")));
        return 0;
    }
    const auto it = zx::cli::commands().find(args.first().toStdString());
    if (it == zx::cli::commands().end()) {
        zx::cli::err(QString::fromUtf8("Ismeretlen parancs: %1 !!!").arg(args.first()));
        zx::cli::err(usageText());
        return 2;
    }
    args.removeFirst();
    const zx::cli::Command& command = it->second;
    if (asksForHelp(args)) {
        zx::cli::out(command.help ? command.help()
                                  : QStringLiteral("Használat: zendrax-cli ") +
                                        QString::fromUtf8(command.usage));
        return 0;
    }
    return command.run(withoutProgressOption(args));
}
