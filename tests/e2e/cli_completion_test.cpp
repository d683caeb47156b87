// The shell completion of zendrax-cli against the program itself: its commands, each command's
// options as its usage line names them, and the setting names of `set`.
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include "cli_process.h"

namespace {

QString completionScript() {
    return QStringLiteral(ZX_SOURCE_DIR "/packaging/zendrax-cli.bash");
}

// What the completion offers for the words typed so far (the last one being completed), with
// the built program standing for zendrax-cli.
QStringList complete(const QStringList& typed) {
    QString words = QStringLiteral("'%1'").arg(cliPath());
    for (const QString& word : typed)
        words += QStringLiteral(" '%1'").arg(word);
    const QString script = QStringLiteral("source '%1'\n"
                                          "COMP_WORDS=(%2)\n"
                                          "COMP_CWORD=%3\n"
                                          "_zendrax_cli\n"
                                          "printf '%s\\n' \"${COMPREPLY[@]}\"\n")
                               .arg(completionScript(), words)
                               .arg(typed.size());
    QProcess bash;
    bash.start(QStringLiteral("bash"), {QStringLiteral("--norc"), QStringLiteral("-c"), script});
    if (!bash.waitForFinished(30000)) return {QStringLiteral("<bash did not end>")};
    QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split('\n');
    offered.removeAll(QString());
    offered.sort();
    return offered;
}

TEST(CliCompletion, SetCompletesTheNamesTheProgramLists) {
    const CliRun names = cli({"set", "--names"});
    ASSERT_EQ(names.exitCode, 0) << names.err.toStdString();
    QStringList expected = names.out.split('\n');
    expected.removeAll(QString());
    // Every name set changes is one that show prints.
    ASSERT_GE(expected.size(), 20);
    for (QString& name : expected)
        name += QLatin1Char('=');
    expected.sort();
    EXPECT_EQ(complete({"set", "site.vd1", ""}), expected);
    EXPECT_EQ(complete({"set", "--model", "16", "site.vd1", "CoW"}), QStringList{"CoWidth="});
    // Before the file, a file is completed, not a name.
    EXPECT_FALSE(complete({"set", ""}).contains(QStringLiteral("CoWidth=")));
}

TEST(CliCompletion, CommandsAndEachCommandsOptionsAreThoseOfTheUsageLines) {
    const CliRun help = cli({"--help"});
    ASSERT_EQ(help.exitCode, 0);
    // "  NAME usage..." lines, the first word being the command.
    QMap<QString, QSet<QString>> usage;
    QString command;
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[a-z][a-z-]*)"));
    const QString listed = help.out.section(QString::fromUtf8("Parancsok:\n"), 1);
    for (const QString& line : listed.split('\n')) {
        if (line.startsWith(QLatin1String("  ")) && !line.startsWith(QLatin1String("   ")))
            command = line.trimmed().section(' ', 0, 0);
        else if (!line.startsWith(QLatin1String("   ")))
            continue;
        for (auto it = option.globalMatch(line.section(' ', 1)); it.hasNext();)
            usage[command].insert(it.next().captured(1));
    }
    QStringList commands = usage.keys();
    ASSERT_GE(commands.size(), 14) << help.out.toStdString();
    QStringList first = QStringList(commands) << "--help"
                                              << "--version";
    first.sort();
    EXPECT_EQ(complete({""}), first);
    for (const QString& name : commands) {
        SCOPED_TRACE(name.toStdString());
        const QStringList offered = complete({name, "-"});
        for (const QString& o : usage[name])
            EXPECT_TRUE(offered.contains(o)) << o.toStdString();
    }
    EXPECT_EQ(complete({"upload", "--model", ""}), (QStringList{"16", "4"}));
    EXPECT_EQ(complete({"report", ""}), (QStringList{"codes", "numbers"}));
    EXPECT_EQ(complete({"history", ""}), (QStringList{"diff", "prune", "show"}));
    EXPECT_EQ(complete({"history", "--site", "Pécs", "s"}), QStringList{"show"});
}

} // namespace
