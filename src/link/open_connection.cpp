#include "link/open_connection.h"

namespace zx {

QString invalidSpeedMessage() {
    return QStringLiteral("Nincs érvényes sebesség kiválasztva, a port nem nyitható meg. "
                          "Válasszon sebességet: Beállítások / Com port... !!!");
}

InvalidSpeedError::InvalidSpeedError() : std::runtime_error(invalidSpeedMessage().toStdString()) {}

void openConnection(SerialPort& port, const ConnectionState& state) {
    if (!isValidSpeedIndex(state.speedIndex)) throw InvalidSpeedError();
    port.setPortName(state.portName);
    port.setBaudRate(speedBaud(state.speedIndex));
    port.open();
}

} // namespace zx
