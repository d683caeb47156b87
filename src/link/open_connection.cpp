#include "link/open_connection.h"

namespace zx {

TBaudRate speedBaudRate(int index) {
    return isValidSpeedIndex(index) ? baudRateOfBits(speedBaud(index)) : brCustom;
}

QString invalidSpeedMessage() {
    return QStringLiteral("Nincs érvényes sebesség kiválasztva, a port nem nyitható meg. "
                          "Válasszon sebességet: Beállítások / Com port... !!!");
}

EInvalidSpeed::EInvalidSpeed() : std::runtime_error(invalidSpeedMessage().toStdString()) {}

void openConnection(TComPort& port, const ConnectionState& state) {
    if (!isValidSpeedIndex(state.SpeedIndex)) throw EInvalidSpeed();
    port.setPort(state.PortName);
    port.setBaudRate(speedBaudRate(state.SpeedIndex));
    port.open();
}

} // namespace zx
