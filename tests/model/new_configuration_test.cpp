#include "model/new_configuration.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace zx {
namespace {

constexpr Byte Previous = 0xA5;

struct Run {
    std::size_t offset;
    std::vector<Byte> bytes;
};

std::vector<Byte> text(const std::string& s) {
    return {s.begin(), s.end()};
}
std::vector<Byte> times(std::initializer_list<Byte> entry, int n) {
    std::vector<Byte> out;
    for (int i = 0; i < n; ++i)
        out.insert(out.end(), entry);
    return out;
}
std::vector<Byte> barred() {
    std::vector<Byte> out{0x21, 0x31, 0x40, 0x41, 0x50, 0x51, 0x61, 0x71, 0x80, 0x81, 0x90, 0x91};
    const auto empty = times({0xFF}, 52);
    out.insert(out.end(), empty.begin(), empty.end());
    return out;
}
std::vector<Byte> cat(std::vector<Byte> a, const std::vector<Byte>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Every byte a new configuration writes, by image offset; every other byte is zero, whatever
// the image held before (CallInNumber included).
const std::vector<Run> line4Expected{
    {1409, {1, 1}},
    {1412, {0x06, 0x20, 0x06, 0x30, 0x06, 0x70, 0xDD, 0xDD}},
    {1420, {0x00, 0xDD}},
    {1422, {15}},
    {1584,
     cat({0x06, 0x20, 0x0B, 0x06, 0x30, 0x0B, 0x06, 0x70, 0x0B}, times({0xDD, 0xDD, 0x00}, 13))},
    {1656,
     {23, 2, 26, 0x0A, 13, 1, 90, 10, 2, 15, 0x00, 0x02, 0x01, 3, 7, 0, 0, 20, 20, 20, 6, 10}},
    {1680, text("0102030405060708")},
    {1696, barred()},
    {1792, times({0x20}, 8192 - 1792)},
};

const std::vector<Run> line16Expected{
    {1648, times({0x04}, 16)},
    {1664, {10, 2, 15, 90, 10, 2, 15, 90, 7, 0, 0, '1', 13, 1, 20, 20, 20, 6, 10, 23, 2, 26, ' '}},
    {1696, text("01020304050607080910111213141516")},
    {1760, times({0x00, 0xFF}, 16)},
    {1818, {3}},
    {1840, barred()},
    {2048, times({0x20}, 8192 - 2048)},
};

std::array<Byte, ImageSize> expectedImage(const std::vector<Run>& runs) {
    std::array<Byte, ImageSize> out;
    out.fill(0);
    for (const Run& r : runs)
        for (std::size_t i = 0; i < r.bytes.size(); ++i)
            out.at(r.offset + i) = r.bytes[i];
    return out;
}

DatabaseRecord filledRecord() {
    DatabaseRecord r;
    r.image.fill(Previous);
    r.setText(DatabaseRecord::Slot::Site, zx::RawText("Budapest"));
    r.setText(DatabaseRecord::Slot::Owner, zx::RawText("Kiss"));
    r.setText(DatabaseRecord::Slot::Password, zx::RawText("titok"));
    r.setText(DatabaseRecord::Slot::ConnectionName, zx::RawText("Iroda"));
    return r;
}

void expectImage(DeviceModel model, const std::vector<Run>& runs) {
    DatabaseRecord r = filledRecord();
    applyNewConfiguration(r, model);
    const auto expected = expectedImage(runs);
    for (std::size_t i = 0; i < ImageSize; ++i)
        EXPECT_EQ(r.image.at(i), expected[i]) << "offset " << i;
}

TEST(NewConfiguration, FourLineDefaultsByteForByte) {
    expectImage(DeviceModel::Line4, line4Expected);
}

TEST(NewConfiguration, SixteenLineDefaultsByteForByte) {
    expectImage(DeviceModel::Line16, line16Expected);
}

TEST(NewConfiguration, EmptiesTheShortStringsWhollyAndLeavesTheHeader) {
    for (DeviceModel m : {DeviceModel::Line4, DeviceModel::Line16}) {
        DatabaseRecord r = filledRecord();
        r.writeHeader();
        applyNewConfiguration(r, m);
        const auto after = r.toBytes();
        EXPECT_EQ(std::string(after.begin(), after.begin() + 11), "\x0AZendrax1V2");
        for (std::size_t i = 11; i < RecordImageOffset; ++i)
            ASSERT_EQ(after[i], 0) << i;
    }
}

// A download from another unit (or an opened file) leaves an image full of that unit's values;
// a new configuration must not carry any of them over, whichever model either one was.
TEST(NewConfiguration, NothingOfThePreviousImageSurvivesOutsideTheDefaults) {
    for (DeviceModel before : {DeviceModel::Line4, DeviceModel::Line16}) {
        for (DeviceModel after : {DeviceModel::Line4, DeviceModel::Line16}) {
            DatabaseRecord downloaded;
            applyNewConfiguration(downloaded, before);
            std::uint32_t seed = 12345;
            for (std::size_t i = 0; i < ImageSize; ++i) {
                seed = seed * 1103515245u + 12345u;
                downloaded.image.set(i, static_cast<Byte>(seed >> 16) | 1); // never zero
            }
            applyNewConfiguration(downloaded, after);

            DatabaseRecord fresh;
            applyNewConfiguration(fresh, after);
            EXPECT_EQ(downloaded.toBytes(), fresh.toBytes())
                << modelIndex(before) << " -> " << modelIndex(after);
        }
    }
}

TEST(NewConfiguration, AFreshRecordIsAllZeroBeforeIt) {
    const DatabaseRecord r;
    for (Byte b : r.toBytes())
        ASSERT_EQ(b, 0);
}

} // namespace
} // namespace zx
