#include "model/new_configuration.h"

#include "model/memory_map.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace zx {

namespace {

struct Default {
    Field field;
    std::vector<Byte> bytes; // stored from the field's first byte; may be shorter than the field
};

std::vector<Byte> chars(std::string_view s) {
    return {s.begin(), s.end()};
}

std::vector<Byte> repeated(std::initializer_list<Byte> entry, int times) {
    std::vector<Byte> out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

std::vector<Byte> barredAreasDefault() {
    static constexpr Byte areas[] = {0x21, 0x31, 0x40, 0x41, 0x50, 0x51,
                                     0x61, 0x71, 0x80, 0x81, 0x90, 0x91};
    std::vector<Byte> out(64, 0xFF);
    std::copy(std::begin(areas), std::end(areas), out.begin());
    return out;
}

std::vector<Byte> line4ExceptionsDefault() {
    std::vector<Byte> out{0x06, 0x20, 0x0B, 0x06, 0x30, 0x0B, 0x06, 0x70, 0x0B};
    const auto empty = repeated({0xDD, 0xDD, 0x00}, 13);
    out.insert(out.end(), empty.begin(), empty.end());
    return out;
}

// Defaults in the order they are stored. Fields missing from a model are skipped by the
// memory map, so one list could serve both models; two lists keep each model's values plain.
const std::vector<Default>& line4Defaults() {
    static const std::vector<Default> table{
        {Field::CoTimeout1, {90}},
        {Field::FirstToneTime1, {10}},
        {Field::SecondToneTime1, {2}},
        {Field::CoResetTime1, {15}},
        {Field::LoopPulseDelta, {15}},
        {Field::DstEnable, {1}},
        {Field::PinEnable, {1}},
        {Field::LineSettings, {0x00, 0x02, 0x01}},
        {Field::CodeLength, {7}},
        {Field::CodeCount, {0, 0}},
        {Field::SmdrSpeed, {0x0A}},
        {Field::RecordTerminator, {13}},
        {Field::SmdrMode, {1}},
        {Field::ReleaseTime, {20}},
        {Field::SeizeTime, {20}},
        {Field::InterdigitTime, {20}},
        {Field::LocalLength, {6}},
        {Field::NationalLength, {10}},
        {Field::CoPosition, {23}},
        {Field::CoWidth, {2}},
        {Field::CalledPosition, {26}},
        {Field::CallInFlags, {3}},
        {Field::CoNumbers, chars("0102030405060708")},
        {Field::NationalExceptions, line4ExceptionsDefault()},
        {Field::BarredCallInAreas, barredAreasDefault()},
        {Field::MobilePrefixes, {0x06, 0x20, 0x06, 0x30, 0x06, 0x70, 0xDD, 0xDD}},
        {Field::IntlPrefixes, {0x00, 0xDD}},
    };
    return table;
}

// The 16-line exception field holds 16 two-byte entries; they start out deleted (00 FF), which
// keeps the default inside the field instead of running into the call-in number after it.
const std::vector<Default>& line16Defaults() {
    static const std::vector<Default> table{
        {Field::CoTimeout1, {90}},
        {Field::FirstToneTime1, {10}},
        {Field::SecondToneTime1, {2}},
        {Field::CoResetTime1, {15}},
        {Field::CoTimeout2, {90}},
        {Field::FirstToneTime2, {10}},
        {Field::SecondToneTime2, {2}},
        {Field::CoResetTime2, {15}},
        {Field::LineSettings, std::vector<Byte>(16, 0x04)},
        {Field::CodeLength, {7}},
        {Field::CodeCount, {0, 0}},
        {Field::SmdrSpeed, {'1'}},
        {Field::RecordTerminator, {13}},
        {Field::SmdrMode, {1}},
        {Field::ReleaseTime, {20}},
        {Field::SeizeTime, {20}},
        {Field::InterdigitTime, {20}},
        {Field::LocalLength, {6}},
        {Field::NationalLength, {10}},
        {Field::CoPosition, {23}},
        {Field::CoWidth, {2}},
        {Field::CalledPosition, {26}},
        {Field::CallInFlags, {3}},
        {Field::NumberTerminator, {' '}},
        {Field::CoNumbers, chars("01020304050607080910111213141516")},
        {Field::NationalExceptions, repeated({0x00, 0xFF}, 16)},
        {Field::BarredCallInAreas, barredAreasDefault()},
    };
    return table;
}

} // namespace

void applyNewConfiguration(DatabaseRecord& record, DeviceModel model) {
    using Slot = DatabaseRecord::Slot;
    for (Slot s : {Slot::Site, Slot::Owner, Slot::Password, Slot::ConnectionName})
        record.setText(s, {});

    record.image.fill(Byte{0});
    const MemoryMap& map = MemoryMap::of(model);
    const auto& defaults = model == DeviceModel::Line16 ? line16Defaults() : line4Defaults();
    for (const Default& d : defaults) {
        const auto offset = map.offset(d.field);
        if (!offset) continue;
        const std::size_t n =
            std::min(d.bytes.size(), static_cast<std::size_t>(map.width(d.field)));
        for (std::size_t i = 0; i < n; ++i)
            record.image.set(*offset + i, d.bytes[i]);
    }

    for (Field f : {Field::FreeNumbers, Field::CodeTable})
        if (const auto offset = map.offset(f))
            record.image.fill(*offset, static_cast<std::size_t>(map.width(f)), ' ');
}

} // namespace zx
