#include "link/serial_byte_link.h"

#include "link/serial_port.h"

namespace zx {

SerialByteLink::SerialByteLink(SerialPort& port, const std::atomic<bool>* cancel)
    : port_(port), wasSuspended_(port.receiverSuspended()), previousCancel_(port.cancelFlag()) {
    port_.setReceiverSuspended(true);
    port_.setCancelFlag(cancel);
}

SerialByteLink::~SerialByteLink() {
    port_.setCancelFlag(previousCancel_);
    port_.setReceiverSuspended(wasSuspended_);
}

bool SerialByteLink::isOpen() const {
    return port_.isOpen();
}

void SerialByteLink::write(const QByteArray& bytes) {
    port_.write(bytes);
}

QByteArray SerialByteLink::readAvailable(int maxBytes) {
    if (maxBytes <= 0 || !port_.isOpen()) return QByteArray();
    QByteArray buf(maxBytes, '\0');
    buf.truncate(port_.read(buf.data(), maxBytes));
    return buf;
}

bool SerialByteLink::waitForData(int limitMs) {
    return port_.waitForData(limitMs);
}

int SerialByteLink::bitsPerSecond() const {
    return port_.baudRate();
}

} // namespace zx
