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

namespace zx::cli {

static std::map<std::string, Command>& commands() {
    static std::map<std::string, Command> table;
    return table;
}

bool registerCommand(Command command) {
    commands()[command.name] = std::move(command);
    return true;
}

void err(const QString& text) {
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputs("\n", stderr);
    std::fflush(stderr);
}

void out(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

} // namespace zx::cli

static void usage() {
    zx::cli::err(QString::fromUtf8("Használat: zendrax-cli PARANCS [kapcsolók]\n"
                                   "          zendrax-cli --version | --help\n"
                                   "Parancsok:"));
    for (const auto& [name, command] : zx::cli::commands())
        zx::cli::err(QStringLiteral("  ") + QString::fromUtf8(command.usage));
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
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
        usage();
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == "--version") {
        zx::cli::out(zx::versionLine(QStringLiteral("zendrax-cli")));
        return 0;
    }
    const auto it = zx::cli::commands().find(args.first().toStdString());
    if (it == zx::cli::commands().end()) {
        zx::cli::err(QString::fromUtf8("Ismeretlen parancs: %1 !!!").arg(args.first()));
        usage();
        return 2;
    }
    args.removeFirst();
    return it->second.run(args);
}
