#include "model/configuration_check.h"

#include "model/choice_bytes.h"
#include "model/code_duplicates.h"
#include "model/code_table.h"
#include "model/code_table_shape.h"
#include "model/cp1250_text.h"
#include "model/model_recognition.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace zx {

namespace {

using Findings = std::vector<Finding>;

constexpr int MaxCoWidth = 4;
// A list of other places names this many, then how many more there are.
constexpr std::size_t PlacesNamed = 10;
// The 16-line line byte of a new configuration ("Azonnal", "DTMF", "#1"): a line whose byte is
// anything else has been set up by the operator.
constexpr Byte UntouchedLine16 = 0x04;

Finding finding(Severity s, Field field, std::optional<int> element, std::string message) {
    return Finding{s, std::string(fieldName(field)), element, std::move(message)};
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// What the unit can dial or find in a dialled number: the digits and the two DTMF keys.
bool isDialled(char c) {
    return isDigit(c) || c == '*' || c == '#';
}

bool isControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
}

std::string_view withoutTrailingSpaces(std::string_view text) {
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string hexByte(Byte b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(b));
    return text;
}

// A stored text in quotes, as the operator reads it; control characters as hexadecimal.
std::string quoted(std::string_view raw) {
    std::string text = "„";
    for (const char c : raw)
        text += isControl(c) ? "\\x" + hexByte(static_cast<Byte>(c)).substr(2)
                             : utf8FromCp1250(std::string_view(&c, 1));
    return text + "”";
}

// Places as a list: "17, 45" or "17, 45, ... és még 3", without `self` when it is one of them.
// Only the places named are looked at, so a code a thousand rows share costs no more a row
// than two.
std::string placesList(const std::vector<int>& places, std::optional<int> self = std::nullopt) {
    std::string text;
    std::size_t named = 0;
    for (const int place : places) {
        if (place == self) continue;
        if (named == PlacesNamed) break;
        text += (named++ ? ", " : "") + std::to_string(place);
    }
    const std::size_t listed = self ? places.size() - 1 : places.size();
    if (listed > named) text += ", ... és még " + std::to_string(listed - named);
    return text;
}

// The places of a group (`self` among them) but `self`.
std::string othersList(const std::vector<int>& group, int self) {
    return placesList(group, self);
}

// For each element (counted from 1) whose key another element shares: its group, the elements
// of the same key in order. An empty key takes part in nothing.
struct Repeat {
    int element;
    const std::vector<int>* group;
    std::string others() const { return othersList(*group, element); }
};

class Repeats {
  public:
    explicit Repeats(const std::vector<std::string>& keys) {
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (!keys[i].empty()) groups_[keys[i]].push_back(static_cast<int>(i + 1));
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].empty()) continue;
            const std::vector<int>& group = groups_[keys[i]];
            if (group.size() > 1) repeats_.push_back({static_cast<int>(i + 1), &group});
        }
    }
    const std::vector<Repeat>& all() const { return repeats_; }

  private:
    std::unordered_map<std::string_view, std::vector<int>> groups_;
    std::vector<Repeat> repeats_;
};

Byte fieldByte(const SettingsReading& r, Field f, std::size_t i = 0) {
    return r.record.image.at(*MemoryMap::of(r.model).offset(f) + i);
}

// The codes are records of CodeLength bytes only when CodeLength is one the unit takes; the
// layout rule tells of any other.
bool codesReadable(const SettingsReading& r) {
    return r.view.codeLength - 1 >= MinCodeDigits && r.view.codeLength - 1 <= MaxCodeDigits &&
           r.view.codeCount > 0;
}

bool coWidthValid(const SettingsReading& r) {
    const int w = fieldByte(r, Field::CoWidth);
    return w >= 1 && w <= MaxCoWidth;
}

// An area or prefix as digit nibbles: one to `length` digits, then only unused positions ("?").
bool areaWellFormed(std::string_view text) {
    const std::size_t digits = text.find_first_not_of("0123456789");
    if (digits == 0) return false;
    return digits == std::string_view::npos || text.find_first_not_of('?', digits) == text.npos;
}

std::string areaKey(std::string_view text) {
    while (!text.empty() && text.back() == '?')
        text.remove_suffix(1);
    return std::string(text);
}

// ---- the rules ----

// A code length, code count, CO width or 16-line SMDR speed outside what the unit takes leaves
// it reading its records and columns in a layout the operator never chose.
Findings storedLayout(const SettingsReading& r) {
    Findings out;
    for (const LayoutMisfit& m : layoutFit(r.record.image, r.model).misfits)
        out.push_back(finding(Severity::Error, m.field, std::nullopt,
                              "Az egység nem fogad el ilyen értéket: " + m.text()));
    return out;
}

// The unit reads the SMDR stream at the speed and in the mode the stored bytes name; a byte that
// names none of the window's choices is shown as another choice than the unit gets.
// (The 16-line speed bytes are the layout rule's.)
Findings smdrBytes(const SettingsReading& r) {
    Findings out;
    const auto speed = unnamedSmdrSpeed(r.record.image, r.model);
    if (r.model == DeviceModel::Line4 && speed)
        out.push_back(finding(Severity::Error, Field::SmdrSpeed, std::nullopt,
                              "Az SMDR sebesség tárolt értéke (" + hexByte(speed->value) +
                                  ") egyik választásnak sem felel meg"));
    if (const auto mode = unnamedSmdrMode(r.record.image, r.model))
        out.push_back(finding(Severity::Error, Field::SmdrMode, std::nullopt,
                              "Az SMDR mód tárolt értéke (" + hexByte(mode->value) +
                                  ") egyik választásnak sem felel meg"));
    return out;
}

// A line byte that names none of the choices is shown as a choice the unit does not get.
Findings lineBytes(const SettingsReading& r) {
    Findings out;
    const auto unknown = [&](int line, const std::string& what, Byte value) {
        out.push_back(finding(Severity::Error, Field::LineSettings, line,
                              what + " tárolt értéke (" + hexByte(value) +
                                  ") egyik választásnak sem felel meg"));
    };
    const ConfigImage& image = r.record.image;
    if (const auto dial = unnamedDialByte4(image, r.model)) unknown(1, "A tárcsázás", dial->value);
    if (const auto seizure = unnamedSeizureByte4(image, r.model))
        unknown(1, "A vonalfogás", seizure->value);
    for (int n = 1; n <= MemoryMap::of(r.model).lineCount(); ++n)
        if (const auto b = unnamedLineByte(image, r.model, n))
            unknown(n, "A vonal beállításának", b->value);
    return out;
}

// The key that ends a dialled number: a byte that is no key never ends one, and a digit ends
// every number at its first such digit.
Findings numberTerminator(const SettingsReading& r) {
    if (!MemoryMap::of(r.model).has(Field::NumberTerminator)) return {};
    if (const auto unnamed = unnamedNumberTerminator(r.record.image, r.model))
        return {finding(Severity::Error, Field::NumberTerminator, std::nullopt,
                        "A számzáró kód tárolt értéke (" + hexByte(unnamed->value) +
                            ") nem 0..9, *, # és nem szóköz")};
    const char c = static_cast<char>(fieldByte(r, Field::NumberTerminator));
    if (isDigit(c))
        return {finding(Severity::Warning, Field::NumberTerminator, std::nullopt,
                        std::string("A számzáró kód számjegy (") + c +
                            "): minden szám az első ilyen jegynél véget ér")};
    return {};
}

// Whether the operator set the line up: its sub-line or call-in box checked, and on the 16-line
// unit any choice other than a new configuration's.
bool lineInUse(const SettingsReading& r, int line) {
    const LineRowView& row = r.view.lines[static_cast<std::size_t>(line - 1)];
    if (row.subLine || row.callIn) return true;
    return r.model == DeviceModel::Line16 &&
           fieldByte(r, Field::LineSettings, static_cast<std::size_t>(line - 1)) != UntouchedLine16;
}

// The unit knows a call's line by the CO number in the SMDR record, CoWidth characters: a line
// set up without one has calls no one recognises, and one with blanks matches no record.
Findings coNumbers(const SettingsReading& r) {
    if (!coWidthValid(r)) return {};
    Findings out;
    const int width = fieldByte(r, Field::CoWidth);
    for (int n = 1; n <= static_cast<int>(r.view.lines.size()); ++n) {
        const std::string_view co = r.view.lines[static_cast<std::size_t>(n - 1)].coNumber.view();
        if (std::any_of(co.begin(), co.end(), isControl)) {
            out.push_back(finding(Severity::Error, Field::CoNumbers, n,
                                  "A CO számban vezérlőkarakter van: " + quoted(co)));
        } else if (withoutTrailingSpaces(co).empty()) {
            if (lineInUse(r, n))
                out.push_back(finding(Severity::Error, Field::CoNumbers, n,
                                      "A vonal be van állítva, de nincs CO száma: az egység nem "
                                      "ismeri fel a hívásait"));
        } else if (co.find(' ') != co.npos) {
            out.push_back(finding(Severity::Warning, Field::CoNumbers, n,
                                  "A CO szám (" + quoted(co) +
                                      ") nem tölti ki a CO karakterszámot (" +
                                      std::to_string(width) + ")"));
        }
    }
    return out;
}

// Two lines with one CO number cannot be told apart in the SMDR record.
Findings repeatedCoNumbers(const SettingsReading& r) {
    if (!coWidthValid(r)) return {};
    std::vector<std::string> keys;
    for (const LineRowView& row : r.view.lines)
        keys.emplace_back(withoutTrailingSpaces(row.coNumber.view()));
    Findings out;
    const Repeats repeated(keys);
    for (const Repeat& r : repeated.all())
        out.push_back(finding(Severity::Error, Field::CoNumbers, r.element,
                              "Ugyanez a CO szám (" +
                                  quoted(keys[static_cast<std::size_t>(r.element - 1)]) +
                                  ") van ezeken a vonalakon is: " + r.others()));
    return out;
}

// The called number cannot start inside the CO number's columns of the same SMDR record.
Findings smdrColumns(const SettingsReading& r) {
    if (!coWidthValid(r)) return {};
    const int co = r.view.coPosition;
    const int width = fieldByte(r, Field::CoWidth);
    const int called = r.view.calledPosition;
    if (called < co || called >= co + width) return {};
    return {finding(Severity::Error, Field::CalledPosition, std::nullopt,
                    "A hívott szám oszlopa (" + std::to_string(called) +
                        ".) a CO szám oszlopai közé esik (" + std::to_string(co) + ".." +
                        std::to_string(co + width - 1) + ".)")};
}

// A code is CodeLength - 1 digits dialled on the phone: a blank row helps no one, and a code
// with other characters or fewer digits can never be dialled.
Findings codeForm(const SettingsReading& r) {
    if (!codesReadable(r)) return {};
    Findings out;
    const int digits = r.view.codeDigits;
    for (std::size_t i = 0; i < r.view.codes.size(); ++i) {
        const int row = static_cast<int>(i + 1);
        const std::string_view code = withoutTrailingSpaces(r.view.codes[i].code.view());
        if (code.empty())
            out.push_back(finding(Severity::Warning, Field::CodeTable, row,
                                  "Üres sor: nincs benne kód, mégis a kódok közé számít"));
        else if (!std::all_of(code.begin(), code.end(), isDigit))
            out.push_back(finding(Severity::Error, Field::CodeTable, row,
                                  "A kódban nem csak számjegy van: " + quoted(code)));
        else if (static_cast<int>(code.size()) < digits)
            out.push_back(finding(Severity::Error, Field::CodeTable, row,
                                  "A kód (" + quoted(code) + ") rövidebb a kódhossznál (" +
                                      std::to_string(digits) + " számjegy): nem tárcsázható"));
    }
    return out;
}

// The rights character is a bit mask over '0' (4-line) or a level '0'..'4' in its low nibble
// (16-line); any other byte gives a code rights the window does not show.
Findings codeRights(const SettingsReading& r) {
    if (!codesReadable(r)) return {};
    Findings out;
    const std::size_t length = static_cast<std::size_t>(r.view.codeLength);
    const std::size_t start = *MemoryMap::of(r.model).offset(Field::CodeTable);
    for (std::size_t i = 0; i < r.view.codes.size(); ++i) {
        if (withoutTrailingSpaces(r.view.codes[i].code.view()).empty()) continue;
        const Byte rights = r.record.image.at(start + i * length + length - 1);
        if (unnamedRightsByte(rights, r.model))
            out.push_back(finding(Severity::Warning, Field::CodeTable, static_cast<int>(i + 1),
                                  "A jogok tárolt karaktere (" + hexByte(rights) +
                                      ") egyik jognak sem felel meg"));
    }
    return out;
}

// Two people sharing one PIN: the unit cannot tell whose call it is, and one of them gets the
// other's rights. Every row of each shared code is named.
Findings duplicateCodes(const SettingsReading& r) {
    if (!codesReadable(r)) return {};
    std::vector<RawText> codes;
    codes.reserve(r.view.codes.size());
    for (const CodeRowView& row : r.view.codes)
        codes.push_back(row.code);
    Findings out;
    for (const std::vector<int>& rows : DuplicateScan(codes, r.view.codeLength).sharedCodes()) {
        const std::string_view code =
            withoutTrailingSpaces(codes[static_cast<std::size_t>(rows.front())].view());
        if (code.empty()) continue;
        std::vector<int> group;
        for (const int row : rows)
            group.push_back(row + 1);
        const std::string text = "Ugyanez a kód (" + quoted(code) + ") van ezekben a sorokban is: ";
        for (const int row : group)
            out.push_back(
                finding(Severity::Error, Field::CodeTable, row, text + othersList(group, row)));
    }
    return out;
}

// The unit uses CodeCount records; whole codes stored after them (the count lowered, the last
// row dropped) are codes the operator probably still means to give out.
Findings codesBeyondCount(const SettingsReading& r) {
    const int length = r.view.codeLength;
    if (length - 1 < MinCodeDigits || length - 1 > MaxCodeDigits) return {};
    const int capacity = codeTableCapacity(length);
    const int count = r.view.codeCount;
    const std::size_t start = *MemoryMap::of(r.model).offset(Field::CodeTable);
    std::vector<int> records;
    for (int rec = count + 1; rec <= capacity; ++rec) {
        const std::size_t at = start + static_cast<std::size_t>((rec - 1) * length);
        bool whole = true;
        for (std::size_t j = 0; whole && j + 1 < static_cast<std::size_t>(length); ++j)
            whole = isDigit(static_cast<char>(r.record.image.at(at + j)));
        if (whole) records.push_back(rec);
    }
    if (records.empty()) return {};
    return {finding(Severity::Warning, Field::CodeCount, std::nullopt,
                    "A darabszám (" + std::to_string(count) + ") után még " +
                        std::to_string(records.size()) + " kód áll a táblában (" +
                        placesList(records) + ". rekord): az egység ezeket nem használja")};
}

// With PIN checking off the unit lets every call through: the codes and their rights do nothing.
Findings pinCheckingOff(const SettingsReading& r) {
    if (!r.view.pinEnable || *r.view.pinEnable || !codesReadable(r)) return {};
    return {finding(Severity::Warning, Field::PinEnable, std::nullopt,
                    "A pinkód ellenőrzés ki van kapcsolva: a " + std::to_string(r.view.codeCount) +
                        " kódnak nincs hatása")};
}

// A free number is compared with the number dialled: a character no phone dials never matches.
Findings freeNumberForm(const SettingsReading& r) {
    Findings out;
    for (std::size_t i = 0; i < r.view.freeNumbers.size(); ++i) {
        const std::string_view number = withoutTrailingSpaces(r.view.freeNumbers[i].view());
        if (!std::all_of(number.begin(), number.end(), isDialled))
            out.push_back(finding(Severity::Error, Field::FreeNumbers, static_cast<int>(i + 1),
                                  "A számban nem csak számjegy, * és # van: " + quoted(number)));
    }
    return out;
}

// The same free number twice takes a place of the list for nothing.
Findings repeatedFreeNumbers(const SettingsReading& r) {
    std::vector<std::string> keys;
    for (const RawText& n : r.view.freeNumbers)
        keys.emplace_back(withoutTrailingSpaces(n.view()));
    Findings out;
    const Repeats repeated(keys);
    for (const Repeat& r : repeated.all())
        out.push_back(finding(Severity::Warning, Field::FreeNumbers, r.element,
                              "Ugyanez a szám (" +
                                  quoted(keys[static_cast<std::size_t>(r.element - 1)]) +
                                  ") van ezekben a sorokban is: " + r.others()));
    return out;
}

// The unit dials the call-in number itself: only digits, * and # can be dialled, and a line set
// to call in has no one to call without it.
Findings callInNumber(const SettingsReading& r) {
    const std::string_view number = r.view.callInNumber.view();
    if (!number.empty()) {
        if (std::all_of(number.begin(), number.end(), isDialled)) return {};
        return {finding(Severity::Error, Field::CallInNumber, std::nullopt,
                        "A behívószámban nem csak számjegy, * és # van: " + quoted(number))};
    }
    std::vector<int> lines;
    for (std::size_t n = 0; n < r.view.lines.size(); ++n)
        if (r.view.lines[n].callIn) lines.push_back(static_cast<int>(n + 1));
    if (lines.empty()) return {};
    return {
        finding(Severity::Warning, Field::CallInNumber, std::nullopt,
                "Behívás van beállítva (" + placesList(lines) + ". vonal), de nincs behívószám")};
}

// A number length tells the unit when a dialled number is whole: 0 ends none, more digits than
// a number has room for never comes, and a local number is the shorter one.
Findings numberLengths(const SettingsReading& r) {
    Findings out;
    const auto check = [&](Field field, int length) {
        if (length == 0)
            out.push_back(finding(Severity::Error, field, std::nullopt,
                                  "A számhossz 0: így egy szám sem teljes"));
        else if (length > LongestNumber)
            out.push_back(finding(Severity::Warning, field, std::nullopt,
                                  "A számhossz (" + std::to_string(length) +
                                      ") több, mint amennyi jegyet az egység egy számból tárol (" +
                                      std::to_string(LongestNumber) + ")"));
    };
    check(Field::LocalLength, r.view.localLength);
    check(Field::NationalLength, r.view.nationalLength);
    if (r.view.localLength > 0 && r.view.localLength >= r.view.nationalLength)
        out.push_back(finding(Severity::Warning, Field::LocalLength, std::nullopt,
                              "A helyi számhossz (" + std::to_string(r.view.localLength) +
                                  ") nem kisebb a belföldinél (" +
                                  std::to_string(r.view.nationalLength) + ")"));
    return out;
}

// One domestic exception as the unit reads it: its area's digits (nothing for an empty entry)
// and its number length.
struct ExceptionEntry {
    std::optional<std::string> area; // as shown; nothing for an empty or deleted entry
    int length = 0;
};

std::vector<ExceptionEntry> exceptionEntries(const SettingsReading& r) {
    const MemoryMap& map = MemoryMap::of(r.model);
    std::vector<ExceptionEntry> entries;
    for (int i = 0; i < map.exceptionCount(); ++i) {
        const ExceptionView& shown = r.view.exceptions[static_cast<std::size_t>(i)];
        const std::size_t size = static_cast<std::size_t>(map.exceptionEntrySize());
        const std::size_t at = static_cast<std::size_t>(i) * size;
        ExceptionEntry e;
        e.length = fieldByte(r, Field::NationalExceptions, at + size - 1);
        const bool empty =
            r.model == DeviceModel::Line4
                ? shown.area == "===="
                : fieldByte(r, Field::NationalExceptions, at) == 0 && e.length == 255;
        if (!empty) e.area = shown.area;
        entries.push_back(e);
    }
    return entries;
}

// Areas and prefixes are digit nibbles: one or more digits, then unused positions ("?"); any
// other nibble (a wrong length typed, a file of another kind) matches no dialled number.
Findings areaForm(const SettingsReading& r) {
    Findings out;
    const auto check = [&](Field field, int element, const std::string& text, const char* what) {
        if (!areaWellFormed(text))
            out.push_back(finding(Severity::Error, field, element,
                                  std::string(what) + " (" + quoted(text) +
                                      ") nem értelmezhető: számjegyek, utánuk csak ? állhat"));
    };
    const std::vector<ExceptionEntry> exceptions = exceptionEntries(r);
    for (std::size_t i = 0; i < exceptions.size(); ++i)
        if (exceptions[i].area)
            check(Field::NationalExceptions, static_cast<int>(i + 1), *exceptions[i].area,
                  "A körzetszám");
    if (r.view.mobilePrefixes)
        for (std::size_t k = 0; k < r.view.mobilePrefixes->size(); ++k)
            if ((*r.view.mobilePrefixes)[k] != "====")
                check(Field::MobilePrefixes, static_cast<int>(k + 1), (*r.view.mobilePrefixes)[k],
                      "A mobil előtag");
    if (r.view.intlPrefixes)
        for (std::size_t k = 0; k < r.view.intlPrefixes->size(); ++k)
            if ((*r.view.intlPrefixes)[k] != "==")
                check(Field::IntlPrefixes, static_cast<int>(k + 1), (*r.view.intlPrefixes)[k],
                      "A nemzetközi előtag");
    for (std::size_t j = 0; j < r.view.barredAreas.size(); ++j)
        if (r.view.barredAreas[j] != "??")
            check(Field::BarredCallInAreas, static_cast<int>(j + 1), r.view.barredAreas[j],
                  "A körzetszám");
    return out;
}

// An exception's length tells when a number of its area is whole, as the number lengths do.
Findings exceptionLengths(const SettingsReading& r) {
    Findings out;
    const std::vector<ExceptionEntry> entries = exceptionEntries(r);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].area) continue;
        const int element = static_cast<int>(i + 1);
        if (entries[i].length == 0)
            out.push_back(finding(Severity::Error, Field::NationalExceptions, element,
                                  "A kivétel számhossza 0: így egy szám sem teljes"));
        else if (entries[i].length > LongestNumber)
            out.push_back(finding(Severity::Warning, Field::NationalExceptions, element,
                                  "A kivétel számhossza (" + std::to_string(entries[i].length) +
                                      ") több, mint amennyi jegyet az egység egy számból tárol (" +
                                      std::to_string(LongestNumber) + ")"));
    }
    return out;
}

// The same area twice in one list: among the exceptions with another length the unit can keep
// only one of them; elsewhere the second takes a place for nothing.
Findings repeatedAreas(const SettingsReading& r) {
    Findings out;
    // `what` names the area, `where` the other places (list rows or the prefix fields).
    const auto list = [&](Field field, const std::vector<std::string>& keys, const char* what,
                          const char* where, const std::vector<int>* lengths) {
        const Repeats repeated(keys);
        for (const Repeat& r : repeated.all()) {
            const auto e = static_cast<std::size_t>(r.element - 1);
            const bool lengthsDiffer =
                lengths && std::any_of(r.group->begin(), r.group->end(), [&](int o) {
                    return (*lengths)[static_cast<std::size_t>(o - 1)] != (*lengths)[e];
                });
            out.push_back(finding(
                lengthsDiffer ? Severity::Error : Severity::Warning, field, r.element,
                std::string(what) + " (" + quoted(keys[e]) + ") van ezekben a " + where +
                    " is: " + r.others() +
                    (lengthsDiffer ? " más hosszal: az egység csak az egyiket veszi figyelembe"
                                   : "")));
        }
    };
    std::vector<std::string> areas;
    std::vector<int> lengths;
    for (const ExceptionEntry& e : exceptionEntries(r)) {
        areas.push_back(e.area && areaWellFormed(*e.area) ? areaKey(*e.area) : std::string());
        lengths.push_back(e.length);
    }
    list(Field::NationalExceptions, areas, "Ugyanez a körzetszám", "sorokban", &lengths);
    const auto keysOf = [](const auto& texts) {
        std::vector<std::string> keys;
        for (const std::string& t : texts)
            keys.push_back(areaWellFormed(t) ? areaKey(t) : std::string());
        return keys;
    };
    if (r.view.mobilePrefixes)
        list(Field::MobilePrefixes, keysOf(*r.view.mobilePrefixes), "Ugyanez a mobil előtag",
             "mezőkben", nullptr);
    if (r.view.intlPrefixes)
        list(Field::IntlPrefixes, keysOf(*r.view.intlPrefixes), "Ugyanez a nemzetközi előtag",
             "mezőkben", nullptr);
    list(Field::BarredCallInAreas, keysOf(r.view.barredAreas), "Ugyanez a körzetszám", "sorokban",
         nullptr);
    return out;
}

} // namespace

std::string Finding::name() const {
    return element ? setting + "[" + std::to_string(*element) + "]" : setting;
}

std::string Finding::label() const {
    const SettingEntry* entry = findSetting(setting);
    return entry ? settingLabel(*entry, element) : name();
}

std::string Finding::page() const {
    const std::string text = label();
    return text.substr(0, text.find(" / "));
}

const std::vector<CheckRule>& checkRules() {
    static const std::vector<CheckRule> rules{
        {"storedLayout", storedLayout},
        {"smdrBytes", smdrBytes},
        {"smdrColumns", smdrColumns},
        {"numberTerminator", numberTerminator},
        {"lineBytes", lineBytes},
        {"coNumbers", coNumbers},
        {"repeatedCoNumbers", repeatedCoNumbers},
        {"numberLengths", numberLengths},
        {"areaForm", areaForm},
        {"exceptionLengths", exceptionLengths},
        {"repeatedAreas", repeatedAreas},
        {"pinCheckingOff", pinCheckingOff},
        {"codeForm", codeForm},
        {"codeRights", codeRights},
        {"duplicateCodes", duplicateCodes},
        {"codesBeyondCount", codesBeyondCount},
        {"freeNumberForm", freeNumberForm},
        {"repeatedFreeNumbers", repeatedFreeNumbers},
        {"callInNumber", callInNumber},
    };
    return rules;
}

std::vector<Finding> checkConfiguration(const SettingsReading& reading) {
    std::vector<Finding> all;
    for (const CheckRule& rule : checkRules()) {
        std::vector<Finding> found = rule.find(reading);
        all.insert(all.end(), std::make_move_iterator(found.begin()),
                   std::make_move_iterator(found.end()));
    }
    return all;
}

std::vector<Finding> checkConfiguration(const DatabaseRecord& record, DeviceModel model) {
    return checkConfiguration(SettingsReading(record, model));
}

FindingCounts countFindings(const std::vector<Finding>& findings) {
    FindingCounts counts;
    for (const Finding& f : findings)
        ++(f.severity == Severity::Error ? counts.errors : counts.warnings);
    return counts;
}

std::string_view severityWord(Severity severity) {
    return severity == Severity::Error ? "hiba" : "figyelmeztetés";
}

std::string findingLine(const Finding& f) {
    return std::string(severityWord(f.severity)) + '\t' + f.label() + '\t' + f.name() + '\t' +
           f.message;
}

std::string uploadWithErrorsQuestion(int errors) {
    return "A konfiguráció " + std::to_string(errors) + " hibát tartalmaz. Feltölti mégis?";
}

std::string findingsSummary(FindingCounts counts) {
    if (counts.errors == 0 && counts.warnings == 0) return "Nincs hiba, nincs figyelmeztetés.";
    return std::to_string(counts.errors) + " hiba, " + std::to_string(counts.warnings) +
           " figyelmeztetés";
}

} // namespace zx
