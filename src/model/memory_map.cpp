#include "model/memory_map.h"

#include <array>

namespace zx {

namespace {

struct FieldPlace {
    int offset; // -1: the model has no such field
    int width;
};

using MapTable = std::array<FieldPlace, FieldCount>;

constexpr FieldPlace none{-1, 0};

// Rows in the order of the Field enumeration.
constexpr MapTable line4Map{{
    {1632, 24},   // CallInNumber
    {1656, 1},    // CoPosition
    {1657, 1},    // CoWidth
    {1658, 1},    // CalledPosition
    {1659, 1},    // SmdrSpeed
    {1660, 1},    // RecordTerminator
    {1661, 1},    // SmdrMode
    {1662, 1},    // CoTimeout1
    {1663, 1},    // FirstToneTime1
    {1664, 1},    // SecondToneTime1
    {1665, 1},    // CoResetTime1
    none,         // CoTimeout2
    none,         // FirstToneTime2
    none,         // SecondToneTime2
    none,         // CoResetTime2
    {1422, 1},    // LoopPulseDelta
    {1409, 1},    // DstEnable
    {1410, 1},    // PinEnable
    {1666, 3},    // LineSettings
    {1669, 1},    // CallInFlags
    {1670, 1},    // CodeLength
    {1671, 2},    // CodeCount
    {1673, 1},    // ReleaseTime
    {1674, 1},    // SeizeTime
    {1675, 1},    // InterdigitTime
    {1676, 1},    // LocalLength
    {1677, 1},    // NationalLength
    none,         // NumberTerminator
    {1420, 2},    // IntlPrefixes
    {1412, 8},    // MobilePrefixes
    {1680, 16},   // CoNumbers
    {1696, 64},   // BarredCallInAreas
    {1584, 48},   // NationalExceptions
    {1792, 3328}, // FreeNumbers
    {5120, 3072}, // CodeTable
}};

constexpr MapTable line16Map{{
    {1792, 24},   // CallInNumber
    {1683, 1},    // CoPosition
    {1684, 1},    // CoWidth
    {1685, 1},    // CalledPosition
    {1675, 1},    // SmdrSpeed
    {1676, 1},    // RecordTerminator
    {1677, 1},    // SmdrMode
    {1667, 1},    // CoTimeout1
    {1664, 1},    // FirstToneTime1
    {1665, 1},    // SecondToneTime1
    {1666, 1},    // CoResetTime1
    {1671, 1},    // CoTimeout2
    {1668, 1},    // FirstToneTime2
    {1669, 1},    // SecondToneTime2
    {1670, 1},    // CoResetTime2
    none,         // LoopPulseDelta
    none,         // DstEnable
    none,         // PinEnable
    {1648, 16},   // LineSettings
    {1818, 1},    // CallInFlags
    {1672, 1},    // CodeLength
    {1673, 2},    // CodeCount
    {1678, 1},    // ReleaseTime
    {1679, 1},    // SeizeTime
    {1680, 1},    // InterdigitTime
    {1681, 1},    // LocalLength
    {1682, 1},    // NationalLength
    {1686, 1},    // NumberTerminator
    none,         // IntlPrefixes
    none,         // MobilePrefixes
    {1696, 64},   // CoNumbers
    {1840, 64},   // BarredCallInAreas
    {1760, 32},   // NationalExceptions
    {2048, 3072}, // FreeNumbers
    {5120, 3072}, // CodeTable
}};

struct ModelFacts {
    int startSegment;
    int lineCount;
    int freeNumberCapacity;
    int exceptionEntrySize;
};

constexpr ModelFacts line4Facts{44, 4, 208, 3};
constexpr ModelFacts line16Facts{51, 16, 192, 2};

constexpr std::array<std::string_view, FieldCount> names{
    "CallInNumber",       "CoPosition",       "CoWidth",        "CalledPosition",
    "SmdrSpeed",          "RecordTerminator", "SmdrMode",       "CoTimeout1",
    "FirstToneTime1",     "SecondToneTime1",  "CoResetTime1",   "CoTimeout2",
    "FirstToneTime2",     "SecondToneTime2",  "CoResetTime2",   "LoopPulseDelta",
    "DstEnable",          "PinEnable",        "LineSettings",   "CallInFlags",
    "CodeLength",         "CodeCount",        "ReleaseTime",    "SeizeTime",
    "InterdigitTime",     "LocalLength",      "NationalLength", "NumberTerminator",
    "IntlPrefixes",       "MobilePrefixes",   "CoNumbers",      "BarredCallInAreas",
    "NationalExceptions", "FreeNumbers",      "CodeTable",
};

const MapTable& tableOf(DeviceModel m) {
    return m == DeviceModel::Line16 ? line16Map : line4Map;
}
const ModelFacts& factsOf(DeviceModel m) {
    return m == DeviceModel::Line16 ? line16Facts : line4Facts;
}

// A field must lie inside the image and the free-number area must end where the code table
// starts; checked once at compile time for both tables.
constexpr bool tableFits(const MapTable& t) {
    for (const auto& f : t)
        if (f.offset >= 0 && static_cast<std::size_t>(f.offset + f.width) > ImageSize) return false;
    const auto& free = t[static_cast<int>(Field::FreeNumbers)];
    return static_cast<std::size_t>(free.offset + free.width) == CodeTableStart;
}
static_assert(tableFits(line4Map) && tableFits(line16Map));

constexpr bool widthsShared(const MapTable& t) {
    return t[static_cast<int>(Field::CallInNumber)].width == CallInNumberSize &&
           t[static_cast<int>(Field::BarredCallInAreas)].width == BarredAreaCount;
}
static_assert(widthsShared(line4Map) && widthsShared(line16Map));

} // namespace

std::string_view fieldName(Field f) {
    const int i = static_cast<int>(f);
    return i >= 0 && i < FieldCount ? names[static_cast<std::size_t>(i)] : std::string_view{};
}

const MemoryMap& MemoryMap::of(DeviceModel model) {
    static const MemoryMap line4(DeviceModel::Line4);
    static const MemoryMap line16(DeviceModel::Line16);
    return model == DeviceModel::Line16 ? line16 : line4;
}

std::optional<Offset> MemoryMap::offset(Field f) const {
    const int i = static_cast<int>(f);
    if (i < 0 || i >= FieldCount) return std::nullopt;
    const FieldPlace& p = tableOf(model_)[static_cast<std::size_t>(i)];
    if (p.offset < 0) return std::nullopt;
    return static_cast<Offset>(p.offset);
}

int MemoryMap::width(Field f) const {
    const int i = static_cast<int>(f);
    if (i < 0 || i >= FieldCount) return 0;
    return tableOf(model_)[static_cast<std::size_t>(i)].width;
}

int MemoryMap::startSegment() const {
    return factsOf(model_).startSegment;
}
int MemoryMap::lineCount() const {
    return factsOf(model_).lineCount;
}
int MemoryMap::freeNumberCapacity() const {
    return factsOf(model_).freeNumberCapacity;
}
int MemoryMap::exceptionEntrySize() const {
    return factsOf(model_).exceptionEntrySize;
}

} // namespace zx
