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

TEST(CodeTableShape, StoredValuesOutsideTheLimitsAreShownWithinThem) {
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line16);
    EXPECT_EQ(storedCodeTableShape(imageWith(DeviceModel::Line16, 5, 500), map),
              (CodeTableShape{500, 4}));
    EXPECT_EQ(storedCodeTableShape(imageWith(DeviceModel::Line16, 5, 700), map),
              (CodeTableShape{614, 4}));
    EXPECT_EQ(storedCodeTableShape(imageWith(DeviceModel::Line16, 0, 0xFFFF), map),
              (CodeTableShape{10, 2}));
    EXPECT_EQ(storedCodeTableShape(imageWith(DeviceModel::Line16, 0xFF, 3), map),
              (CodeTableShape{3, 8}));
}

} // namespace
} // namespace zx
