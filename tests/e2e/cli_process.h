#pragma once
// Running zendrax-cli as a separate process in the end-to-end tests.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

struct CliRun {
    int exitCode = -1; // -1: did not end normally in time
    QString out;
    QString err; // trimmed
};

inline QString cliPath() {
    const QString dir =
        qEnvironmentVariable("ZX_BIN_DIR", QCoreApplication::applicationDirPath() + "/../bin");
    return QDir(dir).filePath("zendrax-cli");
}

// `prepare` may set the process up before it starts (working folder, environment, limits).
inline CliRun cli(const QStringList& args, const std::function<void(QProcess&)>& prepare = {},
                  int timeoutMs = 30000) {
    QProcess p;
    if (prepare) prepare(p);
    p.start(cliPath(), args);
    CliRun r;
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit) return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return r;
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
