// Database files: whatever the bytes, reading refuses or gives a record that saves back to a
// file which reads as the same record.
#include "files/cp1250.h"
#include "files/database_file.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>

using namespace zx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DatabaseReadResult read = decodeDatabaseBytes(fuzz::bytes(data, size));
    if (!read.ok()) {
        FUZZ_CHECK(!read.message.isEmpty());
        return 0;
    }
    using Slot = DatabaseRecord::Slot;
    const QString connection = fromCp1250(read.record.text(Slot::ConnectionName));
    const auto saved = databaseFileBytes(read.record, connection);
    const DatabaseReadResult again = decodeDatabaseBytes(QByteArrayView(
        reinterpret_cast<const char*>(saved.data()), static_cast<qsizetype>(saved.size())));
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.record.image == read.record.image);
    for (Slot s : {Slot::Site, Slot::Owner, Slot::Password})
        FUZZ_CHECK(again.record.text(s) == read.record.text(s));
    FUZZ_CHECK(passwordMatches(again.record, read.record.text(Slot::Password)));
    return 0;
}
