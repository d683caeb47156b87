#pragma once
// Command table of zendrax-cli. Each cli_*.cpp file registers its commands at start-up.
#include <QString>
#include <QStringList>
#include <functional>

namespace zx::cli {

// Returns the process exit status; data goes to standard output, messages to standard error.
using CommandFn = std::function<int(const QStringList& args)>;

struct Command {
    const char* name;
    const char* usage;
    CommandFn run;
    // The command draws (printed pages), so it runs under a QGuiApplication; on the offscreen
    // platform unless another one is asked for, as the command line never shows a window.
    bool gui = false;
    // What `COMMAND --help` prints; the usage line when there is nothing more to say.
    std::function<QString()> help = {};
};

bool registerCommand(Command command);

// Prints text and a line end to standard error / standard output (UTF-8). A progress line
// still open on the terminal is ended first.
void err(const QString& text);
void out(const QString& text);

// The progress of a long operation ("Memória szegmens: 12/255"): on a terminal one line of
// standard error rewritten in place; elsewhere nothing, unless progress was asked for
// (--progress), then one line each time it changes.
void progress(const QString& text);
void setProgressAsked(bool asked);

} // namespace zx::cli
