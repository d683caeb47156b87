#include "files/connection_settings.h"

#include "files/ini_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zx {

const SpeedEntry SpeedTable[SpeedCount] = {
    {"300", 300},   {"600", 600},     {"1200", 1200},   {"2400", 2400},   {"4800", 4800},
    {"9600", 9600}, {"19200", 19200}, {"38400", 38400}, {"57600", 57600}, {"115200", 115200}};

namespace {

const QString Connection = QStringLiteral("CONNECTION");
const QString ComNr = QStringLiteral("COMNR");
const QString ComSp = QStringLiteral("COMSP");
const QString KeyCom = QStringLiteral("COM");
const QString KeySpeed = QStringLiteral("SPEED");
const QString KeyPhone = QStringLiteral("PHONE");

QString& configDirOverride() {
    static QString dir;
    return dir;
}

} // namespace

QString speedTextOf(int index) {
    return isValidSpeedIndex(index) ? QString::fromLatin1(SpeedTable[index].text)
                                    : QStringLiteral("------");
}

int speedIndexOf(const QString& text) {
    for (int i = 0; i < SpeedCount; ++i)
        if (text == QLatin1String(SpeedTable[i].text)) return i;
    return 5;
}

int speedBaud(int index) {
    return isValidSpeedIndex(index) ? SpeedTable[index].baud : 0;
}

QString connectionPanelText(const QString& portName, const QString& speedText) {
    return portName + QStringLiteral(" ( ") + speedText + QStringLiteral(" )");
}

QString configDir() {
    if (!configDirOverride().isEmpty()) return configDirOverride();
    const QString env = qEnvironmentVariable("ZX_CONFIG_DIR");
    if (!env.isEmpty()) return env;
    if (QCoreApplication::instance()) {
        const QString appDir = QCoreApplication::applicationDirPath();
        if (QFileInfo(appDir).isWritable()) return appDir;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/zendrax");
}

void setConfigDir(const QString& dir) {
    configDirOverride() = dir;
}

QString programSettingsPath() {
    return QDir(configDir()).filePath(QString::fromLatin1(ProgramSettingsFileName));
}

QString savedConnectionsPath() {
    return QDir(configDir()).filePath(QString::fromLatin1(SavedConnectionsFileName));
}

void readConnectionSettings(ConnectionState& state, const QString& path) {
    readConnectionSettings(state, IniFile(path));
}

void readConnectionSettings(ConnectionState& state, const IniFile& ini) {
    state.portName = ini.readString(Connection, ComNr, QStringLiteral("COM1"));
    state.speedIndex = static_cast<std::uint8_t>(ini.readInteger(Connection, ComSp, 6) & 0xFF);
}

bool writeConnectionSettings(const ConnectionState& state, QString* error, const QString& path) {
    IniFile ini(path);
    ini.writeString(Connection, ComNr, state.portName);
    ini.writeInteger(Connection, ComSp, state.speedIndex);
    return ini.save(error);
}

std::optional<SelectedConnection> selectConnection(ConnectionState& state, const QString& name,
                                                   const QString& path) {
    if (name.isEmpty()) return std::nullopt;
    const IniFile ini(path);
    state.portName = ini.readString(name, KeyCom, state.portName);
    state.speedIndex = static_cast<std::uint8_t>(
        speedIndexOf(ini.readString(name, KeySpeed, speedTextOf(state.speedIndex))));
    SelectedConnection result;
    result.phone = ini.readString(name, KeyPhone, QString());
    if (ini.hasKey(name, KeyCom)) result.panelText = name;
    return result;
}

QStringList savedConnectionNames(const QString& path) {
    return IniFile(path).sections();
}

SavedConnection readSavedConnection(const QString& name, const QString& path) {
    const IniFile ini(path);
    return {ini.readString(name, KeyCom, QStringLiteral("COM1")),
            ini.readString(name, KeySpeed, QStringLiteral("9600")),
            ini.readString(name, KeyPhone, QString())};
}

bool writeSavedConnection(const QString& name, const SavedConnection& c, QString* error,
                          const QString& path) {
    IniFile ini(path);
    ini.writeString(name, KeyCom, c.com);
    ini.writeString(name, KeySpeed, c.speed);
    ini.writeString(name, KeyPhone, c.phone);
    return ini.save(error);
}

} // namespace zx
