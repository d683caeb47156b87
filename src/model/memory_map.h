#pragma once
// Where every setting lives in the image, for each unit model. The two maps are tables of data.
#include "model/types.h"

#include <optional>
#include <string_view>

namespace zx {

enum class Field {
    CallInNumber,
    CoPosition,
    CoWidth,
    CalledPosition,
    SmdrSpeed,
    RecordTerminator,
    SmdrMode,
    CoTimeout1,
    FirstToneTime1,
    SecondToneTime1,
    CoResetTime1,
    CoTimeout2,
    FirstToneTime2,
    SecondToneTime2,
    CoResetTime2,
    LoopPulseDelta,
    DstEnable,
    PinEnable,
    LineSettings,
    CallInFlags,
    CodeLength,
    CodeCount,
    ReleaseTime,
    SeizeTime,
    InterdigitTime,
    LocalLength,
    NationalLength,
    NumberTerminator,
    IntlPrefixes,
    MobilePrefixes,
    CoNumbers,
    BarredCallInAreas,
    NationalExceptions,
    FreeNumbers,
    CodeTable,
};
inline constexpr int FieldCount = static_cast<int>(Field::CodeTable) + 1;

// Widths the same in every model (both maps are checked against them): the call-in number's
// characters, the barred call-in areas (one byte each), a free number's characters, the
// exceptions, and the widest CO number (CoWidth 1..4).
inline constexpr int CallInNumberSize = 24;
inline constexpr int BarredAreaCount = 64;
inline constexpr int FreeNumberSize = 16;
inline constexpr int ExceptionCount = 16;
inline constexpr int MaxCoWidth = 4;

// The field's name as the system knows it ("SmdrSpeed").
std::string_view fieldName(Field f);

class MemoryMap {
  public:
    static const MemoryMap& of(DeviceModel model);

    DeviceModel model() const { return model_; }
    // No offset for a field the model lacks: nothing reads or stores it.
    std::optional<Offset> offset(Field f) const;
    bool has(Field f) const { return offset(f).has_value(); }
    // Width in bytes of the field in this model (0 for a field the model lacks).
    int width(Field f) const;

    int startSegment() const;       // first configuration segment: 44 or 51
    int lineCount() const;          // trunk lines: 4 or 16
    int freeNumberCapacity() const; // 208 or 192
    int exceptionCount() const { return ExceptionCount; }
    int exceptionEntrySize() const; // 3 or 2 bytes

  private:
    explicit MemoryMap(DeviceModel m) : model_(m) {}
    DeviceModel model_;
};

} // namespace zx
