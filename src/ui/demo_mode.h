#pragma once
// The demo mode: a simulated 4-line unit holding the demo configuration, answering on a
// pseudo-terminal from a background thread, and a temporary settings folder, so that every
// command can be tried without a unit and the operator's saved connection stays untouched.
#include "files/connection_settings.h"
#include "link/served_unit.h"

#include <QString>
#include <QTemporaryDir>

class MainWindow;

namespace zx {

class DeviceLinkController;

class DemoMode {
  public:
    // The line speed the unit answers at: that of the default connection, so that a transfer
    // takes the time it would take on a cable.
    static constexpr int LineBaud = 19200;

    // baud 0 answers at once.
    explicit DemoMode(int baud = LineBaud);
    // Stops the unit; the settings folder goes back to the default one.
    ~DemoMode();
    DemoMode(const DemoMode&) = delete;
    DemoMode& operator=(const DemoMode&) = delete;

    // Makes the settings folder the program's and starts the unit; false with the reason.
    bool start(QString* error);
    QString devicePath() const { return unit_.devicePath(); }
    ServedUnit& unit() { return unit_; }

    // Points the connection read at start at the unit.
    void apply(ConnectionState& connection) const;
    // Says in the window that it is in demo mode; the connection dialog offers the unit's port.
    void markWindow(MainWindow& form, DeviceLinkController& link) const;

    static QString titleSuffix();

  private:
    QTemporaryDir settings_;
    ServedUnit unit_;
};

} // namespace zx
