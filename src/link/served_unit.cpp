#include "link/served_unit.h"

namespace zx {

ServedUnit::ServedUnit(DeviceModel model, const ConfigImage& memory, const UnitFaults& faults)
    : unit_(model), server_(unit_) {
    unit_.setMemory(memory);
    unit_.setFaults(faults);
}

ServedUnit::~ServedUnit() {
    stop();
}

bool ServedUnit::start(QString* error) {
    if (serving()) return true;
    if (!server_.open(error)) return false;
    thread_ = std::thread([this] { server_.serve(); });
    return true;
}

void ServedUnit::stop() {
    if (!serving()) return;
    server_.stop();
    thread_.join();
}

} // namespace zx
