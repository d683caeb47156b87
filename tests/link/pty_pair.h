#pragma once
// A pseudo-terminal pair for serial port tests: the port under test opens the slave side by its
// path; the test plays the far end on the master side.
#include "link/pty_server.h"

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace zx::test {

class PtyPair {
  public:
    PtyPair() {
        QByteArray slave;
        master_ = openUnclaimedPty(O_RDWR | O_NOCTTY | O_NONBLOCK, slave);
        if (master_ < 0) throw std::runtime_error("no pseudo-terminal");
        slavePath_ = QString::fromLocal8Bit(slave);
        // Held open for the whole test so the master never sees a hang-up between opens, and
        // set raw so nothing written before the port opens is echoed or translated.
        slave_ = ::open(slavePath_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (slave_ < 0) throw std::runtime_error("slave side does not open");
        termios t{};
        ::tcgetattr(slave_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
    }
    ~PtyPair() {
        closeSlave();
        closeMaster();
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    QString slavePath() const { return slavePath_; }
    int slaveFd() const { return slave_; }
    int masterFd() const { return master_; }

    void write(const QByteArray& bytes) const {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
            if (n > 0)
                done += n;
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                throw std::runtime_error("master write failed");
            else
                waitFor(POLLOUT, 1000);
        }
    }

    // Reads until `count` bytes came or nothing more arrives within `patienceMs`.
    QByteArray read(int count, int patienceMs = 2000) const {
        QByteArray got;
        char buf[4096];
        while (got.size() < count) {
            if (!waitFor(POLLIN, patienceMs)) break;
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) break;
            got.append(buf, n);
        }
        return got;
    }

    // Everything that is waiting now (after a short settle).
    QByteArray drain(int settleMs = 50) const {
        QByteArray got;
        char buf[4096];
        while (waitFor(POLLIN, settleMs)) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) break;
            got.append(buf, n);
        }
        return got;
    }

    // Blocks until bytes written on the master side are waiting at the slave side.
    bool waitUntilSlaveReadable(int ms = 2000) const {
        pollfd p{slave_, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0 && (p.revents & POLLIN);
    }

    speed_t slaveSpeed() const {
        termios t{};
        ::tcgetattr(slave_, &t);
        return ::cfgetospeed(&t);
    }
    termios slaveTermios() const {
        termios t{};
        ::tcgetattr(slave_, &t);
        return t;
    }

    // Stops the port's output as a modem holding CTS low does (its writes wait), or lets it go.
    void stall(bool stalled) const { ::tcflow(slave_, stalled ? TCOOFF : TCOON); }

    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }
    void closeSlave() {
        if (slave_ >= 0) ::close(slave_);
        slave_ = -1;
    }

  private:
    bool waitFor(short events, int ms) const {
        pollfd p{master_, events, 0};
        return ::poll(&p, 1, ms) > 0 && (p.revents & events);
    }

    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

} // namespace zx::test
