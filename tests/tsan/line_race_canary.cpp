// A deliberate race through a queued request, for the thread sanitizer step: the window's thread
// writes a value after it has asked the line's thread for an operation that reads it, without
// waiting for the answer. The step's check requires the checker to report exactly this race,
// with the operation's handler and the frame that runs queued requests in its stack. A checker
// that cannot see a race on the line's thread (a suppression too wide, a hand-over that tells it
// more than the queue guarantees) fails the step; so does any other report.
#include "link/line_service.h"
#include "link/pty_server.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int sharedWithTheLine = 0;

// The canary's handler: runs on the line's thread as the operation's work.
[[gnu::noinline]] int canaryReadsOnTheLinesThread() {
    return sharedWithTheLine;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QByteArray slave;
    const int master = zx::openUnclaimedPty(O_RDWR | O_NOCTTY | O_NONBLOCK, slave);
    if (master < 0) {
        std::fprintf(stderr, "canary: no pseudo-terminal\n");
        return 2;
    }
    int read = -1;
    {
        zx::LineService line;
        zx::ConnectionState connection;
        connection.portName = QString::fromLocal8Bit(slave);
        zx::LineRequest request;
        request.operation = zx::LineOperation::SetClock;
        request.work = [&read](zx::Transfer&) {
            read = canaryReadsOnTheLinesThread();
            zx::LineResult result;
            result.outcome = zx::TransferOutcome::Success;
            return result;
        };
        QObject::connect(&line, &zx::LineService::finished, &app, &QCoreApplication::quit);
        QTimer::singleShot(20000, &app, &QCoreApplication::quit);
        line.start(std::move(request), connection, false);
        // The race: nothing orders this write with the read on the line's thread.
        sharedWithTheLine = 1;
        app.exec();
    }
    ::close(master);
    if (read < 0) {
        std::printf("canary: the operation did not run\n");
        return 3;
    }
    std::printf("canary: the operation ran\n");
    return 0;
}
