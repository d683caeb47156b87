// Pseudo-terminals for the simulated unit and the port tests: a number that a serial port lock
// file still claims is passed over, or the port would refuse to open it.
#include "link/pty_server.h"

#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace zx {
namespace {

TEST(PtyServerTest, ANumberStillClaimedByALockFileIsPassedOver) {
    QByteArray first;
    const int probe = openUnclaimedPty(O_RDWR | O_NOCTTY, first);
    ASSERT_GE(probe, 0);
    ::close(probe); // the number is free again, as when another program has just closed it
    QByteArray name = first.mid(5);
    name.replace('/', '_');
    QFile lock(QStringLiteral("/var/lock/LCK..") + QString::fromLatin1(name));
    if (!lock.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        GTEST_SKIP() << "no lock file can be written here";
    QByteArray second;
    const int master = openUnclaimedPty(O_RDWR | O_NOCTTY, second);
    lock.remove();
    ASSERT_GE(master, 0);
    EXPECT_NE(second, first);
    ::close(master);
}

} // namespace
} // namespace zx
