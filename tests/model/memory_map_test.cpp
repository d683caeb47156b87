#include "model/memory_map.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zx {
namespace {

struct Place {
    Field field;
    int offset4, width4;   // -1 / 0: not in the 4-line unit
    int offset16, width16; // -1 / 0: not in the 16-line unit
};

const Place places[] = {
    {Field::CallInNumber, 1632, 24, 1792, 24},
    {Field::CoPosition, 1656, 1, 1683, 1},
    {Field::CoWidth, 1657, 1, 1684, 1},
    {Field::CalledPosition, 1658, 1, 1685, 1},
    {Field::SmdrSpeed, 1659, 1, 1675, 1},
    {Field::RecordTerminator, 1660, 1, 1676, 1},
    {Field::SmdrMode, 1661, 1, 1677, 1},
    {Field::CoTimeout1, 1662, 1, 1667, 1},
    {Field::FirstToneTime1, 1663, 1, 1664, 1},
    {Field::SecondToneTime1, 1664, 1, 1665, 1},
    {Field::CoResetTime1, 1665, 1, 1666, 1},
    {Field::CoTimeout2, -1, 0, 1671, 1},
    {Field::FirstToneTime2, -1, 0, 1668, 1},
    {Field::SecondToneTime2, -1, 0, 1669, 1},
    {Field::CoResetTime2, -1, 0, 1670, 1},
    {Field::LoopPulseDelta, 1422, 1, -1, 0},
    {Field::DstEnable, 1409, 1, -1, 0},
    {Field::PinEnable, 1410, 1, -1, 0},
    {Field::LineSettings, 1666, 3, 1648, 16},
    {Field::CallInFlags, 1669, 1, 1818, 1},
    {Field::CodeLength, 1670, 1, 1672, 1},
    {Field::CodeCount, 1671, 2, 1673, 2},
    {Field::ReleaseTime, 1673, 1, 1678, 1},
    {Field::SeizeTime, 1674, 1, 1679, 1},
    {Field::InterdigitTime, 1675, 1, 1680, 1},
    {Field::LocalLength, 1676, 1, 1681, 1},
    {Field::NationalLength, 1677, 1, 1682, 1},
    {Field::NumberTerminator, -1, 0, 1686, 1},
    {Field::IntlPrefixes, 1420, 2, -1, 0},
    {Field::MobilePrefixes, 1412, 8, -1, 0},
    {Field::CoNumbers, 1680, 16, 1696, 64},
    {Field::BarredCallInAreas, 1696, 64, 1840, 64},
    {Field::NationalExceptions, 1584, 48, 1760, 32},
    {Field::FreeNumbers, 1792, 3328, 2048, 3072},
    {Field::CodeTable, 5120, 3072, 5120, 3072},
};

void expectPlace(const MemoryMap& map, Field f, int offset, int width) {
    SCOPED_TRACE(std::string(fieldName(f)));
    if (offset < 0) {
        EXPECT_FALSE(map.offset(f).has_value());
        EXPECT_FALSE(map.has(f));
        EXPECT_EQ(map.width(f), 0);
    } else {
        ASSERT_TRUE(map.offset(f).has_value());
        EXPECT_EQ(*map.offset(f), offset);
        EXPECT_EQ(map.width(f), width);
    }
}

TEST(MemoryMap, EveryFieldOfBothModelsSitsWhereTheTableSays) {
    ASSERT_EQ(std::size(places), static_cast<std::size_t>(FieldCount));
    for (const Place& p : places) {
        expectPlace(MemoryMap::of(DeviceModel::Line4), p.field, p.offset4, p.width4);
        expectPlace(MemoryMap::of(DeviceModel::Line16), p.field, p.offset16, p.width16);
    }
}

TEST(MemoryMap, FieldsOfOneModelNeverOverlap) {
    for (DeviceModel m : {DeviceModel::Line4, DeviceModel::Line16}) {
        const MemoryMap& map = MemoryMap::of(m);
        std::set<int> used;
        for (int i = 0; i < FieldCount; ++i) {
            const Field f = static_cast<Field>(i);
            if (!map.has(f)) continue;
            for (int b = 0; b < map.width(f); ++b)
                EXPECT_TRUE(used.insert(*map.offset(f) + b).second)
                    << fieldName(f) << " byte " << b << " model " << modelIndex(m);
        }
    }
}

TEST(MemoryMap, ModelFacts) {
    const MemoryMap& m4 = MemoryMap::of(DeviceModel::Line4);
    const MemoryMap& m16 = MemoryMap::of(DeviceModel::Line16);
    EXPECT_EQ(m4.model(), DeviceModel::Line4);
    EXPECT_EQ(m16.model(), DeviceModel::Line16);
    EXPECT_EQ(m4.startSegment(), 44);
    EXPECT_EQ(m16.startSegment(), 51);
    EXPECT_EQ(m4.lineCount(), 4);
    EXPECT_EQ(m16.lineCount(), 16);
    EXPECT_EQ(m4.freeNumberCapacity(), 208);
    EXPECT_EQ(m16.freeNumberCapacity(), 192);
    EXPECT_EQ(m4.exceptionEntrySize(), 3);
    EXPECT_EQ(m16.exceptionEntrySize(), 2);
    EXPECT_EQ(m4.exceptionCount(), 16);
    EXPECT_EQ(m16.exceptionCount(), 16);
}

TEST(MemoryMap, FieldNames) {
    EXPECT_EQ(fieldName(Field::SmdrSpeed), "SmdrSpeed");
    EXPECT_EQ(fieldName(Field::CallInNumber), "CallInNumber");
    EXPECT_EQ(fieldName(Field::NationalExceptions), "NationalExceptions");
    EXPECT_EQ(fieldName(Field::CodeTable), "CodeTable");
    std::set<std::string_view> distinct;
    for (int i = 0; i < FieldCount; ++i)
        distinct.insert(fieldName(static_cast<Field>(i)));
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(FieldCount));
}

} // namespace
} // namespace zx
