#include "link/open_connection.h"

namespace zx {

QString invalidSpeedMessage() {
    return QStringLiteral("Nincs érvényes sebesség kiválasztva, a port nem nyitható meg. "
                          "Válasszon sebességet: Beállítások / Com port... !!!");
}

EInvalidSpeed::EInvalidSpeed() : std::runtime_error(invalidSpeedMessage().toStdString()) {}

void openConnection(TComPort& port, const ConnectionState& state) {
    if (!isValidSpeedIndex(state.SpeedIndex)) throw EInvalidSpeed();
    port.setPort(state.PortName);
    port.setBaudRate(speedBaud(state.SpeedIndex));
    port.open();
}

} // namespace zx
