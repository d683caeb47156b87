// INI files: any bytes read as settings; a value written into them reads back after a save,
// and the sections with plain names survive it.
#include "files/ini_file.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>

using namespace zx;

namespace {

bool plainName(const QString& name) {
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    IniFile ini = IniFile::fromBytes(fuzz::bytes(data, size).toByteArray());
    const QStringList sections = ini.sections();
    for (const QString& s : sections) {
        FUZZ_CHECK(ini.hasSection(s));
        ini.readString(s, QStringLiteral("COM"), QStringLiteral("COM1"));
        ini.readInteger(s, QStringLiteral("COMSP"), 6);
    }
    ini.writeString(QStringLiteral("CONNECTION"), QStringLiteral("COMNR"), QStringLiteral("COM7"));
    ini.writeInteger(QStringLiteral("CONNECTION"), QStringLiteral("COMSP"), 9);

    const IniFile again = IniFile::fromBytes(ini.toBytes());
    FUZZ_CHECK(again.readString(QStringLiteral("connection"), QStringLiteral("comnr"), {}) ==
               QStringLiteral("COM7"));
    FUZZ_CHECK(again.readInteger(QStringLiteral("CONNECTION"), QStringLiteral("COMSP"), 0) == 9);
    for (const QString& s : sections)
        if (plainName(s)) FUZZ_CHECK(again.hasSection(s));
    return 0;
}
