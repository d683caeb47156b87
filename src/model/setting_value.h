#pragma once
// A setting's value as `show` prints it and the JSON output carries it: a text, a whole number,
// a yes/no flag, named parts (a compound value such as the SMDR speed and its parity) or a list.
// The text form here is both what the operator reads and what `set` reads back.
#include "model/raw_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zx {

struct SettingPart;

struct SettingValue {
    enum class Kind { Text, Number, Flag, Parts, List };

    Kind kind = Kind::Text;
    std::string text;                // Text, UTF-8
    long long number = 0;            // Number
    bool flag = false;               // Flag
    std::vector<SettingPart> parts;  // Parts, in name order
    std::vector<SettingValue> items; // List
    // A stored byte that names none of the setting's choices is shown as that byte, marked with
    // what the setting may hold there ("1..4"): the mark follows the value as " # nem érvényes:
    // 1..4". Empty for a valid value.
    std::string invalid;

    static SettingValue ofText(std::string utf8);
    // A text the record or the image holds in Windows-1250.
    static SettingValue ofRaw(const RawText& text);
    static SettingValue ofNumber(long long n);
    static SettingValue ofFlag(bool b);
    // The parts are kept in name order, whatever order they are given in.
    static SettingValue ofParts(std::vector<SettingPart> parts);
    static SettingValue ofList(std::vector<SettingValue> items);

    bool operator==(const SettingValue& other) const;
};

struct SettingPart {
    std::string name;
    SettingValue value;
    bool operator==(const SettingPart& other) const;
};

// A text between quotes, as it can be read back: control characters as \xNN, the backslash and
// the quote escaped, so that a stored text can neither start lines of its own nor reach a
// terminal as an escape sequence.
std::string quotedText(std::string_view utf8);

// A value as one line of `show` prints it: texts quoted, flags "igen"/"nem", numbers in
// decimal, parts as "name=value, name=value" in name order, then the mark of an invalid value.
// A list prints its items one per line, so here it gives nothing.
std::string shownText(const SettingValue& value);

// " # nem érvényes: " and what the setting may hold.
std::string invalidMark(std::string_view allowed);
// The value without the mark of an invalid value that show puts after it (outside quotes).
std::string_view withoutInvalidMark(std::string_view text);

// What `show` prints for one setting: "NAME: value", or for a list "NAME: (n)" and then each
// item as "  i: value", counted from 1.
void appendShownLines(std::vector<std::string>& lines, std::string_view name,
                      const SettingValue& value);

// The reverse of quotedText for a value in quotes (\\, \" and \xNN stand for one character
// each); a value without its quotes is taken as it is.
std::string unquotedText(std::string_view text);

// "part=value, part=value" as a compound value is shown; values may be quoted, and a quoted
// value may hold commas. Nothing when the text is not of that form.
using ShownParts = std::vector<std::pair<std::string, std::string>>;
std::optional<ShownParts> parseShownParts(std::string_view text);

// The name an assignment of `set` addresses: NAME, NAME[i] (a list element counted from 1) and
// NAME.part or NAME[i].part (one part of a compound value).
struct SettingTarget {
    std::string name;
    std::optional<int> index;
    std::string part;
};
std::optional<SettingTarget> parseSettingTarget(std::string_view text);

// Characters (code points) of a UTF-8 text.
std::size_t characterCount(std::string_view utf8);

} // namespace zx
