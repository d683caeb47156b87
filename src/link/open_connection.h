#pragma once
// Opening the serial port with the remembered connection: its name and the rate of its speed.
#include "files/connection_settings.h"
#include "link/serial_port.h"

#include <QString>

#include <stdexcept>

namespace zx {

// Shown when the port would have to open at no defined speed.
QString invalidSpeedMessage();

// The port is never opened at an undefined rate.
class InvalidSpeedError : public std::runtime_error {
  public:
    InvalidSpeedError();
};

// Sets the port's name and the rate of the state's speed, then opens it. Throws InvalidSpeedError
// (nothing opened) or the port's SerialPortError.
void openConnection(SerialPort& port, const ConnectionState& state);

} // namespace zx
