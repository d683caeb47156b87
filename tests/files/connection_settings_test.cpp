// Port and speed memory, saved connections and the speed table; files in temporary folders.
#include "files/connection_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zx {
namespace {

class ConnectionSettingsTest : public ::testing::Test {
  protected:
    ConnectionSettingsTest() { setConfigDir(dir.path()); }
    ~ConnectionSettingsTest() override { setConfigDir(QString()); }
    void put(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    ConnectionState state;
};

TEST(SpeedTableTest, TextsIndicesAndRates) {
    const char* texts[] = {"300",  "600",   "1200",  "2400",  "4800",
                           "9600", "19200", "38400", "57600", "115200"};
    for (int i = 0; i < SpeedCount; ++i) {
        EXPECT_EQ(speedTextOf(i), texts[i]);
        EXPECT_EQ(speedIndexOf(texts[i]), i);
        EXPECT_EQ(speedBaud(i), QByteArray(texts[i]).toInt());
    }
    for (int bad : {10, 12, 255, -1})
        EXPECT_EQ(speedTextOf(bad), "------") << bad;
    for (const char* other : {"", "19200 ", "12345", "------", "9600x"})
        EXPECT_EQ(speedIndexOf(other), 5) << other;
    EXPECT_EQ(speedBaud(255), 0);
}

TEST_F(ConnectionSettingsTest, FirstStartWithoutAFileGivesComOneAt19200) {
    state.portName = "elsewhere";
    state.speedIndex = 1;
    readConnectionSettings(state);
    EXPECT_EQ(state.portName, "COM1");
    EXPECT_EQ(state.speedIndex, 6);
    EXPECT_EQ(state.panelText(), "COM1 ( 19200 )");
    EXPECT_FALSE(QFile::exists(programSettingsPath()));
}

TEST_F(ConnectionSettingsTest, SpeedIndexIsKeptAsAByte) {
    const struct {
        const char* comsp;
        int index;
        const char* panel;
    } cases[] = {{"12", 12, "COM1 ( ------ )"},
                 {"9", 9, "COM1 ( 115200 )"},
                 {"256", 0, "COM1 ( 300 )"},
                 {"-1", 255, "COM1 ( ------ )"},
                 {"garbage", 6, "COM1 ( 19200 )"}};
    for (const auto& c : cases) {
        put(programSettingsPath(), QByteArray("[CONNECTION]\r\nCOMSP=") + c.comsp + "\r\n");
        readConnectionSettings(state);
        EXPECT_EQ(state.speedIndex, c.index) << c.comsp;
        EXPECT_EQ(state.panelText(), c.panel) << c.comsp;
    }
}

TEST_F(ConnectionSettingsTest, SavedSettingsLoadBackWithLongNamesWhole) {
    state.portName = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    state.speedIndex = 8;
    ASSERT_TRUE(writeConnectionSettings(state));
    EXPECT_EQ(bytes(programSettingsPath()),
              "[CONNECTION]\r\nCOMNR=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-"
              "port0\r\nCOMSP=8\r\n");
    ConnectionState loaded;
    readConnectionSettings(loaded);
    EXPECT_EQ(loaded.portName, state.portName);
    EXPECT_EQ(loaded.speedIndex, 8);
}

TEST_F(ConnectionSettingsTest, SelectConnectionTakesPortSpeedAndPhone) {
    put(savedConnectionsPath(), "[Iroda]\r\nCOM=COM2\r\nSPEED=9600\r\nPHONE=06 1 234\r\n"
                                "[Csak sebesség]\r\nSPEED=57600\r\nPHONE=555\r\n"
                                "[Rossz]\r\nCOM=ttyUSB0\r\nSPEED=14400\r\n");
    state.currentConnectionName = "unchanged";
    auto r = selectConnection(state, "Iroda");
    ASSERT_TRUE(r);
    EXPECT_EQ(state.portName, "COM2");
    EXPECT_EQ(state.speedIndex, 5);
    EXPECT_EQ(r->phone, "06 1 234");
    EXPECT_EQ(r->panelText, "Iroda");
    EXPECT_EQ(state.currentConnectionName, "unchanged");

    // No COM key: the port and the panel stay, speed and phone are taken.
    r = selectConnection(state, "Csak sebesség");
    ASSERT_TRUE(r);
    EXPECT_EQ(state.portName, "COM2");
    EXPECT_EQ(state.speedIndex, 8);
    EXPECT_EQ(r->phone, "555");
    EXPECT_FALSE(r->panelText);

    // A speed that is not in the table gives 9600; no PHONE gives an empty number.
    r = selectConnection(state, "Rossz");
    EXPECT_EQ(state.portName, "ttyUSB0");
    EXPECT_EQ(state.speedIndex, 5);
    EXPECT_EQ(r->phone, "");
}

TEST_F(ConnectionSettingsTest, SelectingAnUnknownOrEmptyName) {
    state.portName = "COM3";
    state.speedIndex = 7;
    EXPECT_FALSE(selectConnection(state, ""));
    EXPECT_EQ(state.portName, "COM3");
    auto r = selectConnection(state, "nincs ilyen");
    ASSERT_TRUE(r);
    EXPECT_EQ(state.portName, "COM3");
    EXPECT_EQ(state.speedIndex, 7);
    EXPECT_EQ(r->phone, "");
    EXPECT_FALSE(r->panelText);
    // With no valid speed the default text "------" matches nothing: 9600.
    state.speedIndex = 255;
    selectConnection(state, "nincs ilyen");
    EXPECT_EQ(state.speedIndex, 5);
}

TEST_F(ConnectionSettingsTest, SavedConnectionsListInFileOrderAndOverwriteKeyByKey) {
    put(savedConnectionsPath(), "[Zala]\r\nCOM=COM4\r\nNOTE=kept\r\n[Baja]\r\nCOM=COM1\r\n");
    ASSERT_TRUE(writeSavedConnection("Győr", {"COM2", "9600", "123"}));
    ASSERT_TRUE(writeSavedConnection("zala", {"COM5", "38400", ""}));
    EXPECT_EQ(savedConnectionNames(), QStringList({"Zala", "Baja", "Győr"}));
    const SavedConnection z = readSavedConnection("Zala");
    EXPECT_EQ(z.com, "COM5");
    EXPECT_EQ(z.speed, "38400");
    EXPECT_EQ(z.phone, "");
    EXPECT_TRUE(bytes(savedConnectionsPath()).contains("NOTE=kept"));
    const SavedConnection d = readSavedConnection("Baja");
    EXPECT_EQ(d.speed, "9600");
    EXPECT_EQ(d.phone, "");
}

TEST_F(ConnectionSettingsTest, FolderComesFromTheOptionThenTheEnvironment) {
    EXPECT_EQ(programSettingsPath(), dir.filePath("zendrax.ini"));
    EXPECT_EQ(savedConnectionsPath(), dir.filePath("zxconn.ini"));
    QTemporaryDir envDir;
    qputenv("ZX_CONFIG_DIR", envDir.path().toLocal8Bit());
    EXPECT_EQ(configDir(), dir.path());
    setConfigDir(QString());
    EXPECT_EQ(configDir(), envDir.path());
    qunsetenv("ZX_CONFIG_DIR");
    EXPECT_NE(configDir(), envDir.path());
}

} // namespace
} // namespace zx
