// Opening the port with the remembered connection: the rate of each speed, and no rate at all.
#include "link/open_connection.h"
#include "link/pty_pair.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(OpenConnection, EverySpeedOpensAtItsOwnRate) {
    for (int i = 0; i < SpeedCount; ++i)
        EXPECT_EQ(baudRateBits(speedBaudRate(i), 0), speedBaud(i)) << i;
    EXPECT_EQ(speedBaudRate(255), brCustom);
}

TEST(OpenConnection, OpeningAtNoValidSpeedIsRefusedAndOpensNothing) {
    test::PtyPair pty;
    TComPort port;
    ConnectionState state;
    state.PortName = pty.slavePath();
    state.SpeedIndex = 255;
    EXPECT_THROW(openConnection(port, state), EInvalidSpeed);
    EXPECT_FALSE(port.Connected());
    state.SpeedIndex = 9;
    openConnection(port, state);
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(pty.slaveSpeed(), speed_t(B115200));
    EXPECT_EQ(port.Port(), pty.slavePath());
}

} // namespace
} // namespace zx
