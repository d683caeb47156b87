#pragma once
// The store side of the "Alap", "Vonalak" and "Időzítők" views and of the two number lengths:
// what each editor writes into the image when the operator leaves its control (and, for the
// SMDR choice groups, on each click). A routine takes what the view reads from its controls
// (texts as typed, item indices, check states) and gives the bytes to write, or the refusal
// with the message the operator is shown. decodeForEditors (editor_view.h) is the way back.
//
// The routines only compute: none of them writes the image or knows of a modified flag. The
// view that applies a patch decides that: for every routine but storePinAndSummerTime it sets
// the flag whenever the patch is not empty, for storePinAndSummerTime only when the patch
// changed at least one byte. An empty patch (a control the current model lacks, a choice group
// with no item selected) is not applied at all.
#include "model/checked.h"
#include "model/config_image.h"
#include "model/editor_view.h"
#include "model/image_patch.h"
#include "model/memory_map.h"
#include "model/raw_text.h"

#include <optional>
#include <span>
#include <string_view>

namespace zx {

inline constexpr std::string_view ByteRangeMessage = "Értéknek 0..255 között kell lenni !!!";
inline constexpr std::string_view BadValueMessage = "Hibás érték !!!";
inline constexpr std::string_view NumberTerminatorMessage = "Csak 0..9,*,# lehet !!!";
inline constexpr std::string_view CoWidthMessage = "Válasszon egy értéket 1..4 között !!!";

// A whole number as the editors read it: optional leading blanks, an optional sign and one or
// more decimal digits that run to the end of the text. Anything else (empty, letters, blanks
// inside or after the digits) is not one. Numbers too large for the result saturate, so they
// stay out of every range the editors accept.
std::optional<long long> readWholeNumber(std::string_view text);

// The byte-range check: blanks removed from both ends, then a whole number from 0 to 255.
Checked<Byte> checkByteRange(std::string_view text);

// The fields that the byte-range check stores: CoPosition, CalledPosition, the timers of both
// sets, LoopPulseDelta, LocalLength and NationalLength.
bool isByteRangeField(Field f);

// MEcopos, MEcallpos, the timer edits, edLI, MEloclen, MEnatlen: the byte-range check, stored at
// the field's offset in the current model's map. Nothing for a field the model lacks or that is
// no byte-range field.
Checked<ImagePatch> storeByteRange(DeviceModel model, Field field, std::string_view text);

// RGspeed and RGbit: 4-line speed * 8 plus 1 for "Páros"; 16-line '1' + speed without parity,
// 'A' + speed with parity. Nothing when either group has no valid item selected.
Checked<ImagePatch> storeSpeedAndParity(DeviceModel model, int speedItem, int parityItem);

// RGmod and RG20h: 16 * control-character item + mode item. Nothing when either group has no
// valid item selected.
Checked<ImagePatch> storeMode(DeviceModel model, int modeItem, int twentyHexItem);

// CBcokar: item + 1 into CoWidth; no item selected (-1) is refused.
Checked<ImagePatch> storeCoWidth(DeviceModel model, int item);

// MErzk: a whole number (trailing blanks are not removed) from 0 to 255; negative, larger or
// not a number is refused with "Hibás érték !!!" (a number of 256 up would not fit the byte).
Checked<Byte> checkRecordTerminator(std::string_view text);
Checked<ImagePatch> storeRecordTerminator(DeviceModel model, std::string_view text);

// MEszamz (16-line): the first character must be a blank, '#', '*' or a digit; an empty field
// is refused too. Nothing in the 4-line model.
Checked<Byte> checkNumberTerminator(const RawText& text);
Checked<ImagePatch> storeNumberTerminator(DeviceModel model, const RawText& text);

// MEconn: the text padded with blanks to the stored CoWidth, its CoWidth characters at
// CoNumbers + CoWidth * (line - 1); a text that does not fit the width (blanks after it not
// counted) is refused with the field, the width and the text. The width is the stored one, at most
// 4 (a line owns no more of the field); a width of 0 or a line the model lacks stores nothing.
Checked<ImagePatch> storeCoNumber(const ConfigImage& image, DeviceModel model, int line,
                                  const RawText& text);

// Which control of a line row was left.
enum class LineControl { Dial, Seizure, TimerSet, SubLine, CallIn };
struct LineControlId {
    LineControl control;
    int line; // 1-based
};

// Every choice control of the line rows. `rows` are the rows' controls as shown (the CO number
// is not read). 16-line: all 16 line bytes are rebuilt from the rows, whichever control was
// left; bits 5..7 become 0. 4-line: only the control left is stored: the dial group of line 1
// (item + 1), the seizure group of line 1 (2 "Tárcsázáskor", 1 "Azonnal"), or the sub-line or
// call-in box of lines 1..4 (its bit of LineSettings byte 0, the other bits kept).
Checked<ImagePatch> storeLineSettings(const ConfigImage& image, DeviceModel model,
                                      LineControlId left, std::span<const LineRowView> rows);

// chkPinEna and chkDSTena (4-line): both fields are written, 1 for checked and 0 otherwise.
Checked<ImagePatch> storePinAndSummerTime(DeviceModel model, bool pinEnabled, bool dstEnabled);

} // namespace zx
