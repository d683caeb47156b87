#pragma once
// Command table of zendrax-cli. Each cli_*.cpp file registers its commands at start-up.
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace zx::cli {

struct ParsedArgs;

// The options of a command: those that take a value and the flags. Every command also takes
// --help (-h), --progress and --quiet; one that takes a password option takes its -file form
// (--password-file beside --password), and the ZENDRAX_PASSWORD environment variable stands for
// a --password not given.
struct OptionSpec {
    QSet<QString> valued;
    QSet<QString> flags;
};

// Returns the process exit status; data goes to standard output, messages to standard error.
using CommandFn = std::function<int(const ParsedArgs& args)>;

struct Command {
    const char* name;
    const char* usage;
    CommandFn run;
    OptionSpec options;
    // The command draws (printed pages), so it runs under a QGuiApplication; on the offscreen
    // platform unless another one is asked for, as the command line never shows a window.
    bool gui = false;
    // What `COMMAND --help` prints; the usage line when there is nothing more to say.
    std::function<QString()> help = {};
    // The status of a wrong command line and of a failure (a write to standard output that
    // failed included), where the command's own statuses give 1 another meaning (diff, check).
    int usageStatus = 2;
    int failedStatus = 1;
};

bool registerCommand(Command command);

// Prints text and a line end to standard error / standard output (UTF-8). A progress line
// still open on the terminal is ended first. A write to standard output that fails is said once
// on standard error when the command ends, and the command fails (standardOutputFailed); a
// reader that closed the pipe ends the program as SIGPIPE does, without a word.
void err(const QString& text);
void out(const QString& text);
// Bytes to standard output as they are; false when they could not be written.
bool outBytes(const char* data, std::size_t size);
bool standardOutputFailed();

// What a command says that is neither data nor an error: what it did, what it read the file as,
// the steps of its work. --quiet silences these (and the progress); errors stay.
void notice(const QString& text);
void setQuiet(bool quiet);

// The progress of a long operation ("Memória szegmens: 12/255"): on a terminal one line of
// standard error rewritten in place; elsewhere nothing, unless progress was asked for
// (--progress), then one line each time it changes.
void progress(const QString& text);
void setProgressAsked(bool asked);

} // namespace zx::cli
