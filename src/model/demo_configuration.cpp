#include "model/demo_configuration.h"

#include "model/database_record.h"
#include "model/free_number_table.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"

#include <string>
#include <string_view>
#include <vector>

namespace zx {

namespace {

constexpr DeviceModel Model = DeviceModel::Line4;

// Rights of a 4-line code: bit 0 local, 1 long-distance, 2 mobile, 3 international.
struct DemoCode {
    const char* digits;
    Byte rights;
};
constexpr DemoCode Codes[] = {
    {"1024", 0xF}, {"2048", 0x7}, {"3141", 0x3}, {"4711", 0x1}, {"5150", 0x0}, {"6022", 0xB},
    {"7373", 0x5}, {"8086", 0xF}, {"9000", 0x3}, {"1357", 0x7}, {"2468", 0x1}, {"8642", 0xD},
};

const std::vector<std::string> FreeNumbers = {
    "112",        "104",        "105",        "107",        "1818",       "0680200200",
    "0680630630", "0614001400", "0613459999", "0620123456", "0630987654", "0670555000",
};

// Area code nibbles and number length of the exceptions added to the three defaults.
struct Exception {
    Byte high, low, length;
};
constexpr Exception AddedExceptions[] = {{0x06, 0x50, 11}, {0x06, 0x80, 10}, {0x06, 0x40, 10}};
constexpr int DefaultExceptions = 3;
constexpr int ExceptionEntrySize = 3;

constexpr std::string_view CallInNumber = "0612345678";

std::size_t at(Field f) {
    return *MemoryMap::of(Model).offset(f);
}

} // namespace

ConfigImage demoConfiguration() {
    DatabaseRecord record;
    applyNewConfiguration(record, Model);
    ConfigImage& image = record.image;

    const int codeLength = DemoCodeDigits + 1;
    image.set(at(Field::CodeLength), static_cast<Byte>(codeLength));
    image.setWord(at(Field::CodeCount), static_cast<std::uint16_t>(std::size(Codes)));
    std::size_t record0 = at(Field::CodeTable);
    for (const DemoCode& c : Codes) {
        for (int i = 0; i < DemoCodeDigits; ++i)
            image.set(record0 + static_cast<std::size_t>(i), static_cast<Byte>(c.digits[i]));
        image.set(record0 + DemoCodeDigits, static_cast<Byte>('0' + c.rights));
        record0 += static_cast<std::size_t>(codeLength);
    }

    std::vector<RawText> entries;
    for (const std::string& n : FreeNumbers)
        entries.emplace_back(n);
    writeFreeNumbers(image, Model, entries);

    std::size_t entry = at(Field::NationalExceptions) + DefaultExceptions * ExceptionEntrySize;
    for (const Exception& e : AddedExceptions) {
        image.set(entry, e.high);
        image.set(entry + 1, e.low);
        image.set(entry + 2, e.length);
        entry += ExceptionEntrySize;
    }

    // The fourth mobile prefix, 0650, in the entry a new configuration leaves empty.
    image.set(at(Field::MobilePrefixes) + 6, 0x06);
    image.set(at(Field::MobilePrefixes) + 7, 0x50);

    const std::size_t callIn = at(Field::CallInNumber);
    image.fill(callIn, static_cast<std::size_t>(MemoryMap::of(Model).width(Field::CallInNumber)),
               0);
    for (std::size_t i = 0; i < CallInNumber.size(); ++i)
        image.set(callIn + i, static_cast<Byte>(CallInNumber[i]));
    return image;
}

} // namespace zx
