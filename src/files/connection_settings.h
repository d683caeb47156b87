#pragma once
// Port name and speed of every connection, remembered between runs in the program's settings
// file, and the named saved connections (port, speed, telephone number) of "zxconn.ini".
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace zx {

inline constexpr int SpeedCount = 10;

class IniFile;

struct SpeedEntry {
    const char* text;
    int baud;
};
extern const SpeedEntry SpeedTable[SpeedCount];

// The entry's text; "------" for an index that names no entry.
QString speedTextOf(int index);
// Index of the entry whose text is exactly `text`; 5 (9600) when none is.
int speedIndexOf(const QString& text);
// Bits per second of the entry; 0 for an index that names no entry.
int speedBaud(int index);
inline bool isValidSpeedIndex(int index) {
    return index >= 0 && index < SpeedCount;
}

// Status-bar text of a port and speed: "COM1 ( 19200 )".
QString connectionPanelText(const QString& portName, const QString& speedText);

struct ConnectionState {
    QString portName = QStringLiteral("COM1");
    std::uint8_t speedIndex = 6;
    // Name of the saved connection in use; at most 255 characters.
    QString currentConnectionName;

    QString panelText() const { return connectionPanelText(portName, speedTextOf(speedIndex)); }
};

inline constexpr const char* ProgramSettingsFileName = "zendrax.ini";
inline constexpr const char* SavedConnectionsFileName = "zxconn.ini";

// Folder of both files: the one given to setConfigDir (the --config-dir option), else the
// environment's ZX_CONFIG_DIR, else the program's folder when it is writable, else the user's
// configuration folder.
QString configDir();
void setConfigDir(const QString& dir);
QString programSettingsPath();
QString savedConnectionsPath();

// Section "CONNECTION": "COMNR" (default "COM1") and "COMSP" (default 6, kept as a byte).
void readConnectionSettings(ConnectionState& state, const QString& path = programSettingsPath());
// The same from the settings file already read.
void readConnectionSettings(ConnectionState& state, const IniFile& settings);
bool writeConnectionSettings(const ConnectionState& state, QString* error = nullptr,
                             const QString& path = programSettingsPath());

struct SelectedConnection {
    QString phone;
    // The status bar's connection panel text, when the section names a port.
    std::optional<QString> panelText;
};
// Takes port, speed and telephone number of the saved connection `name`; nothing for an
// empty name. Does not change currentConnectionName.
std::optional<SelectedConnection> selectConnection(ConnectionState& state, const QString& name,
                                                   const QString& path = savedConnectionsPath());

struct SavedConnection {
    QString com;
    QString speed;
    QString phone;
};
QStringList savedConnectionNames(const QString& path = savedConnectionsPath());
// With the dialog's defaults: "COM1", "9600", empty.
SavedConnection readSavedConnection(const QString& name,
                                    const QString& path = savedConnectionsPath());
// Overwrites the section's keys one by one (other keys of the section stay).
bool writeSavedConnection(const QString& name, const SavedConnection& c, QString* error = nullptr,
                          const QString& path = savedConnectionsPath());

} // namespace zx
