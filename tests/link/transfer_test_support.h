#pragma once
// A transfer engine wired to the in-process simulated unit on virtual time.
#include "link/sim_link.h"
#include "link/simulated_unit.h"
#include "link/transfer.h"

#include <QStringList>

#include <vector>

namespace zx::testing {

struct SimRig {
    explicit SimRig(DeviceModel model) : unit(model) {
        transfer.setProgressHandler([this](const TransferProgress& p) { progress.push_back(p); });
    }

    QStringList statuses() const {
        QStringList out;
        for (const TransferProgress& p : progress)
            out << p.status;
        return out;
    }

    // Requests the program sent for a segment, in order ("D2C\r" for 44).
    int requestsFor(int segment) const {
        int n = 0;
        for (const QByteArray& w : link.writes())
            n += w == Transfer::readRequest(segment) ? 1 : 0;
        return n;
    }

    SimulatedUnit unit;
    VirtualClock clock;
    SimLink link{unit, clock};
    Transfer transfer{link, clock};
    std::vector<TransferProgress> progress;
};

// Every byte different from its neighbours and none of the configuration zero.
inline ConfigImage patternImage(int seed) {
    ConfigImage image;
    for (std::size_t i = 0; i < ImageSize; ++i)
        image.set(i, static_cast<Byte>((i * 7 + static_cast<std::size_t>(seed)) % 251 + 1));
    return image;
}

} // namespace zx::testing
