#pragma once
// zendrax-cli simulate serving a simulated unit on a pseudo-terminal for the length of a test.
#include "cli_process.h"

#include <QProcess>
#include <QString>
#include <QStringList>

class Simulator {
  public:
    explicit Simulator(const QStringList& args) {
        process_.start(cliPath(), QStringList{"simulate"} + args);
        while (process_.state() != QProcess::NotRunning && !process_.canReadLine())
            process_.waitForReadyRead(10000);
        path_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~Simulator() { stop(); }

    QString path() const { return path_; }

    // Stops it as an operator would (SIGTERM); true when it ended cleanly.
    bool stop() {
        if (process_.state() == QProcess::NotRunning) return stoppedCleanly_;
        process_.terminate();
        stoppedCleanly_ = process_.waitForFinished(10000) &&
                          process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
        summary_ = QString::fromUtf8(process_.readAllStandardError()).trimmed();
        return stoppedCleanly_;
    }

    // What the unit says when stopped: requests and frames it received.
    QString summary() {
        stop();
        return summary_;
    }

  private:
    QProcess process_;
    QString path_;
    QString summary_;
    bool stoppedCleanly_ = false;
};
