#pragma once
// Command table of zendrax-cli. Each cli_*.cpp file registers its commands at start-up.
#include <QString>
#include <QStringList>
#include <functional>

namespace zx::cli {

// Returns the process exit status; messages go to standard error.
using CommandFn = std::function<int(const QStringList& args)>;

struct Command {
    const char* name;
    const char* usage;
    CommandFn run;
    // The command draws (printed pages), so it runs under a QGuiApplication; on the offscreen
    // platform unless another one is asked for, as the command line never shows a window.
    bool gui = false;
};

bool registerCommand(Command command);

// Prints text and a line end to standard error / standard output (UTF-8).
void err(const QString& text);
void out(const QString& text);

} // namespace zx::cli
