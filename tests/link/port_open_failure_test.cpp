// What the operator is told when a port does not open, by cause; who holds a busy port.
#include "link/port_open_failure.h"
#include "link/serial_port.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

namespace zx {
namespace {

TEST(PortOpenFailure, EachCauseSaysWhatHappenedAndWhatToDo) {
    const PortHolderLookup minicom = [](const QString& path) {
        return path == "/dev/ttyUSB0" ? QStringLiteral("minicom, folyamatazonosító: 812")
                                      : QString();
    };
    const PortHolderLookup nobody = [](const QString&) { return QString(); };
    const struct {
        int error;
        const char* path;
        const PortHolderLookup* holder;
        const char* advice;
    } cases[] = {
        {ENOENT, "/dev/ttyUSB0", &minicom,
         "A(z) /dev/ttyUSB0 eszköz nem létezik. Ellenőrizze, hogy az átalakító csatlakoztatva "
         "van-e, és a létező portok közül válasszon (Beállítások / Com port..., a parancssorban "
         "--port)."},
        {EBUSY, "/dev/ttyUSB0", &minicom,
         "A(z) /dev/ttyUSB0 portot más program használja (minicom, folyamatazonosító: 812). "
         "Zárja be azt a programot, majd próbálja újra."},
        {EBUSY, "/dev/ttyS0", &nobody,
         "A(z) /dev/ttyS0 portot más program használja. Zárja be azt a programot, majd "
         "próbálja újra."},
        {EACCES, "/dev/ttyS0", &nobody,
         "Nincs jogosultsága a(z) /dev/ttyS0 port használatához. Vegye fel a felhasználóját a "
         "dialout csoportba (sudo usermod -aG dialout FELHASZNÁLÓ), majd jelentkezzen ki és be "
         "újra."},
        {ENOTTY, "/dev/null", &nobody,
         "A(z) /dev/null nem soros port. Válasszon soros portot (Beállítások / Com port..., a "
         "parancssorban --port)."},
        {ENOENT, "", &nobody,
         "Nincs port megadva: válasszon egyet (Beállítások / Com port..., a parancssorban "
         "--port)."},
        {EIO, "/dev/ttyS0", &nobody, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.error) + " " + c.path);
        const QString advice = portOpenAdvice(c.error, QString::fromUtf8(c.path), *c.holder);
        EXPECT_EQ(advice.toStdString(), c.advice);
        // The port's own text stays first; the advice follows on a line of its own.
        const SerialPortError failure(CE_OpenFailed, c.error, advice);
        const std::string first =
            "Unable to open com port (win error code: " + std::to_string(c.error) + ")";
        EXPECT_EQ(failure.what(), *c.advice ? first + "\n" + c.advice : first);
    }
    // A device gone without a trace reads as a missing one; a refusal by the system as a
    // missing permission.
    const QString s3 = QStringLiteral("/dev/ttyS3");
    EXPECT_EQ(portOpenAdvice(ENXIO, s3, nobody), portOpenAdvice(ENOENT, s3, nobody));
    EXPECT_EQ(portOpenAdvice(EPERM, s3, nobody), portOpenAdvice(EACCES, s3, nobody));
    for (const int error : {ENXIO, EPERM})
        EXPECT_TRUE(portOpenAdvice(error, s3, nobody).contains(s3)) << error;
}

// A line that fails mid-operation: an unplugged adapter and a dead unit read alike; every number
// gets advice, so no failure is left in the system's words alone.
TEST(PortLineAdvice, SaysWhatHappenedAndWhatToDo) {
    for (const int error : {ENOENT, ENODEV, ENXIO})
        EXPECT_EQ(portLineAdvice(error), portLineAdvice(EIO)) << error;
    EXPECT_TRUE(portLineAdvice(EIO).contains("kihúzták"));
    for (const int error : {EBADF, EINVAL, 0})
        EXPECT_FALSE(portLineAdvice(error).isEmpty()) << error;
    EXPECT_NE(portLineAdvice(EBADF), portLineAdvice(EIO));
}

class PortHolderTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    void write(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(PortHolderTest, TheLockFileNamesTheProcessInEitherForm) {
    write("device", "");
    write("proc/4242/comm", "minicom\n");
    const QString device = path("device");
    const QStringList locks{path("run-lock"), path("var-lock")};
    EXPECT_EQ(systemPortHolder(device, locks, path("proc")), QString());

    // Text form in the second folder: the name comes from the process's comm file.
    write("var-lock/LCK..device", "      4242\nminicom\nhost\n");
    EXPECT_EQ(systemPortHolder(device, locks, path("proc")),
              QString::fromUtf8("minicom, folyamatazonosító: 4242"));
    // Binary form in the first folder, of a process that has gone: its number alone.
    const qint32 binary = 5151;
    write("run-lock/LCK..device", QByteArray(reinterpret_cast<const char*>(&binary), 4));
    EXPECT_EQ(systemPortHolder(device, locks, path("proc")),
              QString::fromUtf8("folyamatazonosító: 5151"));
}

TEST_F(PortHolderTest, WithoutALockFileAProcessHoldingTheDeviceOpenIsNamed) {
    write("device", "");
    write("proc/77/comm", "cu\n");
    write("proc/78/comm", "other\n");
    QDir().mkpath(path("proc/77/fd"));
    QDir().mkpath(path("proc/78/fd"));
    QDir().mkpath(path("proc/self-like/fd"));
    ASSERT_EQ(::symlink("/dev/null", path("proc/78/fd/0").toLocal8Bit().constData()), 0);
    ASSERT_EQ(::symlink(path("device").toLocal8Bit().constData(),
                        path("proc/77/fd/5").toLocal8Bit().constData()),
              0);
    EXPECT_EQ(systemPortHolder(path("device"), {}, path("proc")),
              QString::fromUtf8("cu, folyamatazonosító: 77"));
    EXPECT_EQ(systemPortHolder(path("missing"), {}, path("proc")), QString());
}

} // namespace
} // namespace zx
