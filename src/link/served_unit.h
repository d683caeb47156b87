#pragma once
// A simulated unit answering on a pseudo-terminal from a background thread, for as long as the
// object lives: the demo mode's unit, and the unit of the window's end-to-end tests. The
// program's own thread opens devicePath() as its serial port.
#include "link/pty_server.h"
#include "link/simulated_unit.h"

#include <QString>

#include <thread>

namespace zx {

class ServedUnit {
  public:
    // `faults` apply from the start (baud > 0 paces the answers at that line speed).
    ServedUnit(DeviceModel model, const ConfigImage& memory, const UnitFaults& faults = {});
    // Stops serving and waits for the thread.
    ~ServedUnit();
    ServedUnit(const ServedUnit&) = delete;
    ServedUnit& operator=(const ServedUnit&) = delete;

    // Opens the pseudo-terminal and starts answering; false with the system's reason.
    bool start(QString* error = nullptr);
    QString devicePath() const { return server_.devicePath(); }
    bool serving() const { return thread_.joinable(); }

    // The program's output held back as CTS low holds it, or let go; safe from any thread.
    void setStalled(bool stalled) { server_.setStalled(stalled); }
    // Bytes of the program's that reached the unit so far; safe from any thread.
    long bytesReceived() const { return server_.bytesReceived(); }

    // Ends the serving thread; the unit may be read afterwards.
    void stop();
    // Only while not serving: the thread owns the unit until stop().
    const SimulatedUnit& unit() const { return unit_; }

  private:
    SimulatedUnit unit_;
    PtyServer server_;
    std::thread thread_;
};

} // namespace zx
