#include "model/code_table_shape.h"

#include "model/code_table.h"
#include "model/new_configuration.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

ConfigImage imageWith(DeviceModel model, int codeLength, int codeCount) {
    DatabaseRecord r;
    applyNewConfiguration(r, model);
    const MemoryMap& map = MemoryMap::of(model);
    r.image.set(*map.offset(Field::CodeLength), static_cast<Byte>(codeLength));
    r.image.setWord(*map.offset(Field::CodeCount), static_cast<std::uint16_t>(codeCount));
    return r.image;
}

TEST(CodeTableShape, EverySizeWithinTheLimitsSurvivesAStoreAndARead) {
    for (DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        const MemoryMap& map = MemoryMap::of(model);
        for (int digits = MinCodeDigits; digits <= MaxCodeDigits; ++digits) {
            for (int count : {0, 1, 255, 256, codeCountLimit(digits)}) {
                const CodeTableShape size = withinLimits({count, digits});
                ConfigImage image = imageWith(model, 7, 0);
                const ConfigImage before = image;
                codeTableShapePatch(map, size).applyTo(image);
                EXPECT_EQ(storedCodeTableShape(image, map), size) << digits << "/" << count;
                // Only the count and length bytes change; the code records stay.
                int changed = 0;
                for (std::size_t i = 0; i < ImageSize; ++i)
                    changed += image.at(i) != before.at(i);
                EXPECT_LE(changed, 3);
            }
        }
    }
}

TEST(CodeTableShape, TheStoredCountIsLittleEndianAndTheLengthOneAboveTheDigits) {
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line4);
    ConfigImage image = imageWith(DeviceModel::Line4, 7, 0);
    codeTableShapePatch(map, {614, 4}).applyTo(image);
    EXPECT_EQ(image.at(*map.offset(Field::CodeCount)), 0x66);
    EXPECT_EQ(image.at(*map.offset(Field::CodeCount) + 1), 0x02);
    EXPECT_EQ(image.at(*map.offset(Field::CodeLength)), 5);
}

TEST(CodeTableShape, TheCodesTheTableHoldsAreShownWhateverTheCountSays) {
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line16);
    EXPECT_EQ(storedCodeTableShape(imageWith(DeviceModel::Line16, 5, 500), map),
              (CodeTableShape{500, 4}));
    EXPECT_EQ(storedCodeTableShape(imageWith(DeviceModel::Line16, 5, 700), map),
              (CodeTableShape{614, 4}));
    // A length no record can have holds no code.
    EXPECT_EQ(storedCodeTableShape(imageWith(DeviceModel::Line16, 0, 0xFFFF), map),
              (CodeTableShape{0, 2}));
    EXPECT_EQ(storedCodeTableShape(imageWith(DeviceModel::Line16, 0xFF, 3), map),
              (CodeTableShape{3, 8}));
    // Two-digit codes beyond the preferences' limit of 10 (grown in the grid or imported).
    EXPECT_EQ(storedCodeTableShape(imageWith(DeviceModel::Line16, 3, 100), map),
              (CodeTableShape{100, 2}));
}

TEST(CodeTableShape, ThePreferencesOfferEveryStoredCodeAndCountWhatALowerCountDrops) {
    const CodeTableShape hundredOfTwo{100, 2};
    EXPECT_EQ(offeredCountLimit(2, hundredOfTwo), 100);
    EXPECT_EQ(offeredCountLimit(3, hundredOfTwo), 100);
    EXPECT_EQ(offeredCountLimit(2, {5, 2}), 10);
    EXPECT_EQ(offeredCountLimit(8, {614, 4}), 341);
    EXPECT_EQ(codesDroppedBy(100, hundredOfTwo), 0);
    EXPECT_EQ(codesDroppedBy(150, hundredOfTwo), 0);
    EXPECT_EQ(codesDroppedBy(10, hundredOfTwo), 90);
    EXPECT_EQ(codesDroppedBy(0, hundredOfTwo), 100);

    // What the preferences store is what they show next time: every two-digit code kept.
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line4);
    ConfigImage image = imageWith(DeviceModel::Line4, 7, 0);
    codeTableShapePatch(map, hundredOfTwo).applyTo(image);
    EXPECT_EQ(storedCodeTableShape(image, map), hundredOfTwo);
    // Never more records than the table holds for that many digits.
    codeTableShapePatch(map, {5000, 2}).applyTo(image);
    EXPECT_EQ(storedCodeTableShape(image, map), (CodeTableShape{1024, 2}));
}

} // namespace
} // namespace zx
