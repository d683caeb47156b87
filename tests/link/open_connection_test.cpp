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
    SerialPort port;
    ConnectionState state;
    state.portName = pty.slavePath();
    for (int i = 0; i < SpeedCount; ++i) {
        state.speedIndex = i;
        openConnection(port, state);
        EXPECT_EQ(port.baudRate(), speedBaud(i)) << i;
        EXPECT_EQ(pty.slaveSpeed(), line[i]) << i;
        port.close();
    }
}

TEST(OpenConnection, OpeningAtNoValidSpeedIsRefusedAndOpensNothing) {
    test::PtyPair pty;
    SerialPort port;
    ConnectionState state;
    state.portName = pty.slavePath();
    state.speedIndex = 255;
    EXPECT_THROW(openConnection(port, state), InvalidSpeedError);
    EXPECT_FALSE(port.isOpen());
    state.speedIndex = 9;
    openConnection(port, state);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(pty.slaveSpeed(), speed_t(B115200));
    EXPECT_EQ(port.portName(), pty.slavePath());
}

} // namespace
} // namespace zx
