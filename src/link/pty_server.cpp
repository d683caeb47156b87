#include "link/pty_server.h"

#include <QByteArray>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <vector>

namespace zx {

namespace {

constexpr qsizetype FifoBatch = 8;

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

bool lockedByAPort(const QByteArray& slavePath) {
    QByteArray name = slavePath;
    if (name.startsWith("/dev/")) name.remove(0, 5);
    name.replace('/', '_');
    return ::access(("/var/lock/LCK.." + name).constData(), F_OK) == 0 ||
           ::access(("/run/lock/LCK.." + name).constData(), F_OK) == 0;
}

} // namespace

int openUnclaimedPty(int flags, QByteArray& slavePath) {
    constexpr int Tries = 16;
    std::vector<int> skipped; // held open so the same numbers are not handed out again
    int master = -1;
    int failure = EBUSY;
    for (int i = 0; i < Tries && master < 0; ++i) {
        const int fd = ::posix_openpt(flags);
        char name[256];
        if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0 ||
            ::ptsname_r(fd, name, sizeof name) != 0) {
            failure = errno;
            if (fd >= 0) ::close(fd);
            break;
        }
        slavePath = QByteArray(name);
        if (lockedByAPort(slavePath))
            skipped.push_back(fd);
        else
            master = fd;
    }
    for (const int fd : skipped)
        ::close(fd);
    if (master < 0) errno = failure;
    return master;
}

PtyServer::PtyServer(SimulatedUnit& unit) : unit_(unit) {}

PtyServer::~PtyServer() {
    closeFd(slave_);
    closeFd(master_);
    closeFd(wake_[0]);
    closeFd(wake_[1]);
}

bool PtyServer::open(QString* error) {
    auto fail = [&](const char* what) {
        if (error) *error = systemError(what);
        closeFd(slave_);
        closeFd(master_);
        return false;
    };
    QByteArray name;
    master_ = openUnclaimedPty(O_RDWR | O_NOCTTY | O_CLOEXEC, name);
    if (master_ < 0) return fail("posix_openpt");
    devicePath_ = QString::fromLocal8Bit(name);

    // Raw on the far side: no echo and no line editing, or the unit would hear its own answers
    // before a client has set the line up.
    slave_ = ::open(name.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) return fail("open");
    termios tio{};
    if (::tcgetattr(slave_, &tio) != 0) return fail("tcgetattr");
    ::cfmakeraw(&tio);
    if (::tcsetattr(slave_, TCSANOW, &tio) != 0) return fail("tcsetattr");

    const int flags = ::fcntl(master_, F_GETFL);
    if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) return fail("fcntl");
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) return fail("pipe");
    return true;
}

void PtyServer::stop() {
    if (wake_[1] >= 0) {
        const char b = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_[1], &b, 1);
    }
}

void PtyServer::setStalled(bool stalled) {
    if (slave_ >= 0) ::tcflow(slave_, stalled ? TCOOFF : TCOON);
}

void PtyServer::serve() {
    if (master_ < 0) return;
    const auto start = std::chrono::steady_clock::now();
    auto nowUs = [&] {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - start)
            .count();
    };

    QByteArray pending;
    char buffer[4096];
    for (;;) {
        pending.append(unit_.takeOutput(nowUs()));
        // Like a UART's receive FIFO, bytes reach the reader in small batches; the last byte of
        // an answer is never held back.
        const bool flush =
            static_cast<int>(pending.size()) >= FifoBatch || unit_.pendingOutput() == 0;
        while (flush && !pending.isEmpty()) {
            const ssize_t n =
                ::write(master_, pending.constData(), static_cast<size_t>(pending.size()));
            if (n <= 0) break; // the client is not reading: wait until it does
            pending.remove(0, static_cast<qsizetype>(n));
        }

        // Wake when the batch would be full, or when the answer's last byte is due.
        timespec timeout{};
        timespec* limit = nullptr;
        const bool blocked = flush && !pending.isEmpty();
        if (!blocked && unit_.pendingOutput() > 0) {
            const std::size_t missing =
                static_cast<std::size_t>(std::max<qsizetype>(1, FifoBatch - pending.size()));
            const std::int64_t wakeUs =
                *unit_.outputDueUs(std::min(missing, unit_.pendingOutput()) - 1);
            const std::int64_t waitUs = std::max<std::int64_t>(0, wakeUs - nowUs());
            timeout.tv_sec = static_cast<time_t>(waitUs / 1000000);
            timeout.tv_nsec = static_cast<long>(waitUs % 1000000) * 1000;
            limit = &timeout;
        }
        pollfd fds[2] = {{master_, static_cast<short>(POLLIN | (blocked ? POLLOUT : 0)), 0},
                         {wake_[0], POLLIN, 0}};
        if (::ppoll(fds, 2, limit, nullptr) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                received_ += static_cast<long>(n);
                unit_.receive(QByteArray(buffer, static_cast<qsizetype>(n)), nowUs());
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Not expected while the far side is held open; do not spin if it happens anyway.
            ::usleep(10000);
        }
    }
}

} // namespace zx
