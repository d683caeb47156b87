// Opening the port with the remembered connection: the rate of each speed, and no rate at all.
#include "link/open_connection.h"
#include "link/pty_pair.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(OpenConnection, EverySpeedOpensAtItsOwnRate) {
    const speed_t line[SpeedCount] = {B300,  B600,   B1200,  B2400,  B4800,
                                      B9600, B19200, B38400, B57600, B115200};
    test::PtyPair pty;
    TComPort port;
    ConnectionState state;
    state.PortName = pty.slavePath();
    for (int i = 0; i < SpeedCount; ++i) {
        state.SpeedIndex = i;
        openConnection(port, state);
        EXPECT_EQ(port.BaudRate(), speedBaud(i)) << i;
        EXPECT_EQ(pty.slaveSpeed(), line[i]) << i;
        port.close();
    }
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
