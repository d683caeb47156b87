#pragma once
// Option parsing shared by the commands of zendrax-cli.
#include "app/cli_common.h"
#include "model/types.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace zx::cli {

inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

struct ParsedArgs {
    QMap<QString, QString> options; // name -> value ("" for a flag)
    QStringList positional;
    QString error; // Hungarian, for the operator
    bool has(const QString& name) const { return options.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const {
        return options.value(name, fallback);
    }
};

// "--name value" or "--name=value" for valued options: the argument after a valued option is its
// value whatever it looks like ("--site --help" names the site "--help"), as getopt reads it;
// flags stand alone, so --help is a flag only where an option may stand. "--" ends the options:
// every argument after it is positional, so a file name may begin with "-". The first unknown
// option or missing value is the error; the arguments after it are still read for --help.
inline ParsedArgs parseArgs(const QStringList& args, const OptionSpec& spec) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !arg.startsWith('-') || arg == "-") {
            parsed.positional << arg;
            continue;
        }
        std::optional<QString> inlineValue;
        if (const qsizetype eq = arg.indexOf('='); eq > 0) {
            inlineValue = arg.mid(eq + 1);
            arg = arg.left(eq);
        }
        QString problem;
        if (spec.flags.contains(arg) && !inlineValue) {
            parsed.options[arg] = QString();
        } else if (spec.valued.contains(arg)) {
            if (inlineValue)
                parsed.options[arg] = *inlineValue;
            else if (i + 1 < args.size())
                parsed.options[arg] = args[++i];
            else
                problem = QStringLiteral("Hiányzik a(z) %1 értéke !!!").arg(arg);
        } else {
            problem = QStringLiteral("Ismeretlen kapcsoló: %1 !!!").arg(arg);
        }
        if (!problem.isEmpty() && parsed.error.isEmpty()) parsed.error = problem;
    }
    return parsed;
}

inline std::optional<DeviceModel> parseModelOption(const QString& text) {
    if (text == "4") return DeviceModel::Line4;
    if (text == "16") return DeviceModel::Line16;
    return std::nullopt;
}

// A whole number, decimal or with a 0x prefix; nothing for anything else or below minimum.
inline std::optional<long> parseNumberOption(const QString& text, long minimum = 0) {
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const long value = hex ? text.mid(2).toLong(&ok, 16) : text.toLong(&ok, 10);
    if (!ok || value < minimum) return std::nullopt;
    return value;
}

} // namespace zx::cli
