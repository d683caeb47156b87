#pragma once
// What a field of the record or the image takes from the operator, wherever the value comes
// from (the window's controls, `set`, the imports): the characters the unit can use there and
// how many fit. A value is stored as given or refused with a message that names the field, the
// limit and the value; nothing is cut, padded into another number or stored as the low bits of
// a character the unit never dials.
#include "model/checked.h"
#include "model/raw_text.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zx {

// The characters a field takes.
enum class FieldCharacters {
    Any,            // every character of the code page (texts, CO numbers)
    Digits,         // 0..9 (codes)
    DigitsOrUnused, // 0..9 and "?", a position without a digit (prefixes, area codes)
    Dialled,        // 0..9, "*" and "#", what the unit dials (call-in number, free numbers)
};

struct FieldRule {
    std::string_view label; // the window's words for the field ("Mobil prefix")
    std::size_t limit;      // characters at most
    FieldCharacters characters = FieldCharacters::Any;
    bool secret = false; // the value is never repeated in a message (the password)
};

// The rules of the fields, by the window's words for them.
inline constexpr std::size_t RecordTextLimit = 255;
inline constexpr FieldRule SiteRule{"Telepítés", RecordTextLimit};
inline constexpr FieldRule OwnerRule{"Tulajdonos", RecordTextLimit};
inline constexpr FieldRule PasswordRule{"Jelszó", RecordTextLimit, FieldCharacters::Any, true};
inline constexpr FieldRule ConnectionNameRule{"Kapcsolat", RecordTextLimit};
inline constexpr FieldRule MobilePrefixRule{"Mobil prefix", 4, FieldCharacters::DigitsOrUnused};
inline constexpr FieldRule IntlPrefixRule{"Nemzetközi prefix", 2, FieldCharacters::DigitsOrUnused};
inline constexpr FieldRule ExceptionAreaRule{"Körzetszám", 4, FieldCharacters::DigitsOrUnused};
inline constexpr FieldRule BarredAreaRule{"Tiltott körzetszám", 2, FieldCharacters::DigitsOrUnused};
inline constexpr FieldRule CallInNumberRule{"Behívószám", 24, FieldCharacters::Dialled};
inline constexpr FieldRule FreeNumberRule{"Szám", 16, FieldCharacters::Dialled};

// Why `value` (Windows-1250) does not fit the rule: "Mobil prefix: „06a” nem tárolható,
// legfeljebb 4 karakter lehet: számjegy (0..9) vagy ? !!!". Nothing when it fits. A long value
// is named by its length, a secret one only by its length.
std::optional<Refusal> fieldRefusal(const FieldRule& rule, const RawText& value);

// The same with another limit than the rule's own (a CO number holds CoWidth characters).
std::optional<Refusal> fieldRefusal(const FieldRule& rule, std::size_t limit, const RawText& value);

// The field's rule for a CO number of `width` characters ("CO szám").
FieldRule coNumberRule(std::size_t width);

// A code of the code table: digits, at most codeLength - 1 of them ("Kód"). Its trailing
// spaces, the padding a stored code carries, do not count; a code of none is an empty record.
std::optional<Refusal> codeRefusal(const RawText& code, int codeLength);

// A value the operator must give: empty, it is refused with a message naming the field
// ("Körzetszám: üresen nem tárolható ..."); otherwise the rule's own refusal.
std::optional<Refusal> requiredFieldRefusal(const FieldRule& rule, const RawText& value);

// Whether every character is one the rule's characters allow.
bool allowedCharacters(FieldCharacters characters, std::string_view value);

} // namespace zx
