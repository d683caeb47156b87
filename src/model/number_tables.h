#pragma once
// The store side of the exception list, the mobile and international prefixes ("Számhosszak")
// and of the call-in number, call-in switches and barred area list ("Behívás").
//
// In the 4-line model the items of the exception list and the prefix fields are a working
// copy that reaches the image only through storeNumberTables; the call-in controls and the
// barred list reach it only through storeCallIn. In the 16-line model an exception change
// goes straight to the image and storeNumberTables stores nothing.
//
// The routines only compute the patch and the texts shown afterwards; the view that applies a
// patch sets the modified flag when it changed at least one byte, so that a change made only
// here is not lost at close. Texts that become area-code nibbles are RawText: the low four
// bits of each Windows-1250 character code are stored.
#include "model/checked.h"
#include "model/config_image.h"
#include "model/editor_view.h"
#include "model/image_patch.h"
#include "model/memory_map.h"
#include "model/raw_text.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zx {

// What the "Számhosszak" view holds of the tables between refill and store.
struct NumberTablesForm {
    // lbKiv items (4-line): four area characters ("0620", "36??", "====") and the length in
    // decimal, at least two digits ("11", "07", "120").
    std::array<RawText, 16> exceptionItems;
    std::array<RawText, 4> mobilePrefixes; // edMP01..edMP04
    std::array<RawText, 2> intlPrefixes;   // edIP01, edIP02
    bool operator==(const NumberTablesForm&) const = default;
};

// The form as the refill fills it.
NumberTablesForm numberTablesForm(const EditorView& view);

// What edKivSzam and edKivHossz show after "Módosítás" or "Törlés" in the 4-line model.
struct ExceptionFields {
    RawText area;
    std::string length;
    bool operator==(const ExceptionFields&) const = default;
};

struct NumberTablesStore {
    ImagePatch patch;
    NumberTablesForm shown;               // the list items and prefix fields afterwards
    std::optional<ExceptionFields> entry; // edKivSzam and edKivHossz, when they change
};

// Leaving lbKiv or a prefix field (4-line). An empty mobile prefix becomes "====" and an empty
// international one "=="; others are padded with "?" to 4 and 2 characters. Every item's area
// characters 1-2 and 3-4 and its length, every mobile prefix's characters 1-2 and 3-4 and each
// international prefix are stored. An item whose length is not a whole number from 0 to 255 is
// refused and nothing is stored, and so is a prefix of anything but digits and "?" or longer
// than its field (MobilePrefixRule, IntlPrefixRule) unless it is the empty mark or the text the
// `stored` form (the refill's) holds for it. The 16-line model stores nothing.
Checked<NumberTablesStore> storeNumberTables(DeviceModel model, const NumberTablesForm& form,
                                             const NumberTablesForm* stored = nullptr);

// What "Módosítás" and "Felvesz" say when no entry of their list is selected.
inline constexpr std::string_view NoEntrySelectedMessage =
    "Nincs kiválasztott bejegyzés: előbb válasszon egyet a listából !";

// "Módosítás" for the selected entry (nothing when none is selected). The area must pass
// exceptionAreaRefusal and then the length must be a whole number from 0 to 255; otherwise
// nothing of the entry or the tables is stored.
// 4-line: the area is padded with "?" to 4 characters, the length with "0" to 2; the item
// becomes area + length and the tables are stored.
// 16-line: the area must be exactly two digits (exceptionAreaRefusal), else nothing is stored;
// area byte := the two digits as nibbles, length byte := the length.
Checked<NumberTablesStore> changeExceptionEntry(DeviceModel model, const NumberTablesForm& form,
                                                std::optional<int> selected, const RawText& area,
                                                std::string_view length);

// Why an area typed for an exception entry cannot be stored: in the 16-line model the area is
// one byte of two digit nibbles, so anything but exactly two digits 0-9 is refused (a shorter
// or longer text would be stored as EE and listed as ">>"). The 4-line area holds up to four
// digits or "?" (ExceptionAreaRule), or is the empty mark "====", and is never empty (padded it
// would be "????", an exception for every area): an area of "?" only is stored only when "?"
// was typed. Nothing when the area is accepted.
std::optional<Refusal> exceptionAreaRefusal(DeviceModel model, const RawText& area);

// "Törlés" for the selected entry: 4-line "====" "00" through changeExceptionEntry; 16-line area
// byte 0 and length byte 255. Nothing when none is selected.
Checked<NumberTablesStore> emptyExceptionEntry(DeviceModel model, const NumberTablesForm& form,
                                               std::optional<int> selected);

// What the "Behívás" view holds until it is stored.
struct CallInForm {
    RawText number;                                   // edBehiv
    bool foreign = false;                             // chkIntGW
    bool domestic = false;                            // chkNatGW
    std::array<RawText, BarredAreaCount> barredItems; // lbGW items
    bool operator==(const CallInForm&) const = default;
};

CallInForm callInForm(const EditorView& view);

// Leaving edBehiv, either call-in box or lbGW: the number's characters, the rest of the field
// zero bytes; a number other than the one stored must pass CallInNumberRule (digits, "*" and
// "#", at most 24), else nothing is stored; CallInFlags keeps its other bits only while both boxes
// are checked (domestic alone gives exactly 1, foreign alone exactly 2); every barred item through
// digit pair parse.
Checked<ImagePatch> storeCallIn(const ConfigImage& image, DeviceModel model,
                                const CallInForm& form);

struct CallInStore {
    ImagePatch patch;
    CallInForm shown;  // the barred list afterwards
    RawText areaField; // edGW afterwards
};

// "Felvesz" for the selected barred entry (nothing when none is selected): the area (one or two
// digits or "?", BarredAreaRule; empty or anything else refused) padded with "?" to 2
// characters becomes the item, then the call-in settings are stored.
Checked<CallInStore> changeBarredEntry(const ConfigImage& image, DeviceModel model,
                                       const CallInForm& form, std::optional<int> selected,
                                       const RawText& area);

// "Töröl": "??" through changeBarredEntry.
Checked<CallInStore> emptyBarredEntry(const ConfigImage& image, DeviceModel model,
                                      const CallInForm& form, std::optional<int> selected);

} // namespace zx
