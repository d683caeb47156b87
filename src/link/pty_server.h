#pragma once
// Serves a simulated unit on a pseudo-terminal: a program opens the device path as its serial
// port and talks to the unit in real time, with the unit's delays and line pacing.
#include "link/simulated_unit.h"

#include <QString>

#include <atomic>

namespace zx {

// Opens a new pseudo-terminal master (posix_openpt with `flags`, granted and unlocked) whose
// slave no serial port lock file claims, and gives the slave's path; -1 with errno set when it
// cannot. The system hands out the lowest free number, and a program that has just let that
// number go may not yet have removed its lock file, which would keep a port from opening it.
int openUnclaimedPty(int flags, QByteArray& slavePath);

class PtyServer {
  public:
    explicit PtyServer(SimulatedUnit& unit);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal pair; false with the system's reason when it cannot.
    bool open(QString* error = nullptr);
    // What a program opens as its serial port, e.g. /dev/pts/7.
    QString devicePath() const { return devicePath_; }

    // Answers until stop() is called. The unit belongs to this loop while it runs.
    void serve();
    // Safe from another thread and from a signal handler.
    void stop();

    // Holds the program's output back, as a modem holding CTS low does (the program's writes
    // wait), or lets it go. Safe from any thread.
    void setStalled(bool stalled);
    // Bytes the program has sent that reached the far side so far. Safe from any thread.
    long bytesReceived() const { return received_.load(); }

  private:
    SimulatedUnit& unit_;
    int master_ = -1;
    int slave_ = -1; // held open so the line survives clients coming and going
    int wake_[2] = {-1, -1};
    std::atomic<long> received_{0};
    QString devicePath_;
};

} // namespace zx
