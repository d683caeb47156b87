#include "model/setting_value.h"

#include "model/cp1250_text.h"
#include "model/trimmed.h"

#include <algorithm>
#include <cstdio>

namespace zx {

SettingValue SettingValue::ofText(std::string utf8) {
    SettingValue v;
    v.text = std::move(utf8);
    return v;
}

SettingValue SettingValue::ofRaw(const RawText& text) {
    return ofText(utf8FromCp1250(text));
}

SettingValue SettingValue::ofNumber(long long n) {
    SettingValue v;
    v.kind = Kind::Number;
    v.number = n;
    return v;
}

SettingValue SettingValue::ofFlag(bool b) {
    SettingValue v;
    v.kind = Kind::Flag;
    v.flag = b;
    return v;
}

SettingValue SettingValue::ofParts(std::vector<SettingPart> parts) {
    SettingValue v;
    v.kind = Kind::Parts;
    std::stable_sort(parts.begin(), parts.end(),
                     [](const SettingPart& a, const SettingPart& b) { return a.name < b.name; });
    v.parts = std::move(parts);
    return v;
}

SettingValue SettingValue::ofList(std::vector<SettingValue> items) {
    SettingValue v;
    v.kind = Kind::List;
    v.items = std::move(items);
    return v;
}

bool SettingValue::operator==(const SettingValue& o) const {
    if (kind != o.kind || invalid != o.invalid) return false;
    switch (kind) {
    case Kind::Text:
        return text == o.text;
    case Kind::Number:
        return number == o.number;
    case Kind::Flag:
        return flag == o.flag;
    case Kind::Parts:
        return parts == o.parts;
    case Kind::List:
        return items == o.items;
    }
    return false;
}

bool SettingPart::operator==(const SettingPart& o) const {
    return name == o.name && value == o.value;
}

namespace {

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::string hexEscape(unsigned code) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02X", code);
    return buffer;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trimmed(std::string_view s) {
    return zx::trimmed(s, isBlank);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes of the UTF-8 character that starts with `lead`.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// The text between quotes: \\, \" and \xNN stand for one character each.
std::string unescape(std::string_view inner) {
    std::string out;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] != '\\' || i + 1 == inner.size()) {
            out.push_back(inner[i]);
            continue;
        }
        const char next = inner[++i];
        if (next == 'x' && i + 2 < inner.size() && hexDigit(inner[i + 1]) >= 0 &&
            hexDigit(inner[i + 2]) >= 0) {
            appendUtf8(out,
                       static_cast<unsigned>(hexDigit(inner[i + 1]) * 16 + hexDigit(inner[i + 2])));
            i += 2;
        } else {
            // The escaped character whole, however many bytes it takes.
            const std::size_t n =
                std::min(sequenceLength(static_cast<unsigned char>(next)), inner.size() - i);
            out.append(inner.substr(i, n));
            i += n - 1;
        }
    }
    return out;
}

// Where the quoted text starting at `open` ends: the next quote that no backslash escapes.
std::optional<std::size_t> closingQuote(std::string_view text, std::size_t open) {
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            return i;
    }
    return std::nullopt;
}

} // namespace

std::string quotedText(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\\' || c == '"') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20 || c == 0x7F) {
            out += hexEscape(c);
        } else if (c == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            // U+0080..U+009F, the second block of control characters.
            out += hexEscape(static_cast<unsigned char>(utf8[++i]));
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out + '"';
}

namespace {

std::string shownValue(const SettingValue& value);

} // namespace

std::string invalidMark(std::string_view allowed) {
    return " # nem érvényes: " + std::string(allowed);
}

std::string_view withoutInvalidMark(std::string_view text) {
    static constexpr std::string_view Mark = " # nem érvényes:";
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (quoted && text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && text.substr(i).starts_with(Mark)) {
            return text.substr(0, i);
        }
    }
    return text;
}

std::string shownText(const SettingValue& value) {
    if (value.invalid.empty()) return shownValue(value);
    return shownValue(value) + invalidMark(value.invalid);
}

namespace {

std::string shownValue(const SettingValue& value) {
    switch (value.kind) {
    case SettingValue::Kind::Text:
        return quotedText(value.text);
    case SettingValue::Kind::Number:
        return std::to_string(value.number);
    case SettingValue::Kind::Flag:
        return value.flag ? "igen" : "nem";
    case SettingValue::Kind::Parts: {
        std::string out;
        for (const SettingPart& p : value.parts) {
            if (!out.empty()) out += ", ";
            out += p.name + '=' + shownText(p.value);
        }
        return out;
    }
    case SettingValue::Kind::List:
        break;
    }
    return {};
}

} // namespace

void appendShownLines(std::vector<std::string>& lines, std::string_view name,
                      const SettingValue& value) {
    if (value.kind != SettingValue::Kind::List) {
        lines.push_back(std::string(name) + ": " + shownText(value));
        return;
    }
    lines.push_back(std::string(name) + ": (" + std::to_string(value.items.size()) + ")");
    for (std::size_t i = 0; i < value.items.size(); ++i)
        lines.push_back("  " + std::to_string(i + 1) + ": " + shownText(value.items[i]));
}

std::string unquotedText(std::string_view text) {
    if (!text.empty() && text.front() == '"') {
        const std::optional<std::size_t> close = closingQuote(text, 0);
        if (close && *close == text.size() - 1) return unescape(text.substr(1, text.size() - 2));
    }
    return std::string(text);
}

std::optional<ShownParts> parseShownParts(std::string_view text) {
    ShownParts parts;
    std::size_t i = 0;
    const auto skipSpaces = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
    skipSpaces();
    while (i < text.size()) {
        const std::size_t eq = text.find('=', i);
        if (eq == std::string_view::npos) return std::nullopt;
        const std::string_view key = trimmed(text.substr(i, eq - i));
        i = eq + 1;
        std::string value;
        if (i < text.size() && text[i] == '"') {
            // The closing quote is the first unescaped one followed by the end or by a comma.
            std::size_t close = i;
            for (;;) {
                const std::optional<std::size_t> next = closingQuote(text, close);
                if (!next) return std::nullopt;
                close = *next;
                std::size_t after = close + 1;
                while (after < text.size() && text[after] == ' ')
                    ++after;
                if (after == text.size() || text[after] == ',') break;
            }
            value = unescape(text.substr(i + 1, close - i - 1));
            i = close + 1;
            skipSpaces();
        } else {
            const std::size_t comma = text.find(',', i);
            const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
            value = std::string(trimmed(text.substr(i, end - i)));
            i = end;
        }
        if (key.empty()) return std::nullopt;
        parts.emplace_back(std::string(key), std::move(value));
        if (i < text.size()) {
            if (text[i] != ',') return std::nullopt;
            ++i;
            skipSpaces();
            if (i == text.size()) return std::nullopt;
        }
    }
    if (parts.empty()) return std::nullopt;
    return parts;
}

std::optional<SettingTarget> parseSettingTarget(std::string_view text) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    if (text.empty() || !letter(text[0])) return std::nullopt;
    while (i < text.size() && (letter(text[i]) || digit(text[i])))
        ++i;
    SettingTarget t{std::string(text.substr(0, i)), std::nullopt, {}};
    if (i < text.size() && text[i] == '[') {
        const std::size_t first = ++i;
        int index = 0;
        while (i < text.size() && digit(text[i]) && i - first < 3)
            index = index * 10 + (text[i++] - '0');
        if (i == first || i >= text.size() || text[i] != ']') return std::nullopt;
        t.index = index;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        const std::size_t first = ++i;
        while (i < text.size() && letter(text[i]))
            ++i;
        if (i == first) return std::nullopt;
        t.part = std::string(text.substr(first, i - first));
    }
    if (i != text.size()) return std::nullopt;
    return t;
}

std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace zx
