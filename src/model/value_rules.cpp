#include "model/value_rules.h"

#include "model/cp1250_text.h"

#include <algorithm>

namespace zx {

namespace {

// A value longer than this is named by its length: a message line stays readable.
constexpr std::size_t QuotedValueLimit = 40;

std::string_view charactersText(FieldCharacters characters) {
    switch (characters) {
    case FieldCharacters::Any:
        return {};
    case FieldCharacters::Digits:
        return ": számjegy (0..9)";
    case FieldCharacters::DigitsOrUnused:
        return ": számjegy (0..9) vagy ?";
    case FieldCharacters::Dialled:
        return ": számjegy (0..9), * vagy #";
    }
    return {};
}

// The value between quotes; a control character as \xNN, so that none reaches a terminal.
std::string valueText(const FieldRule& rule, const RawText& value) {
    if (rule.secret || value.size() > QuotedValueLimit)
        return "a " + std::to_string(value.size()) + " karakteres érték";
    std::string shown;
    for (const char c : value.view()) {
        const auto b = static_cast<unsigned char>(c);
        // The code page's five undefined bytes read as control characters too.
        const bool undefined = b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
        if (b < 0x20 || b == 0x7F || undefined) {
            static constexpr char Hex[] = "0123456789ABCDEF";
            shown += {'\\', 'x', Hex[b >> 4], Hex[b & 0x0F]};
        } else {
            shown += utf8FromCp1250(std::string_view(&c, 1));
        }
    }
    return "„" + shown + "”";
}

} // namespace

bool allowedCharacters(FieldCharacters characters, std::string_view value) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    switch (characters) {
    case FieldCharacters::Any:
        return true;
    case FieldCharacters::Digits:
        return std::all_of(value.begin(), value.end(), digit);
    case FieldCharacters::DigitsOrUnused:
        return std::all_of(value.begin(), value.end(),
                           [&](char c) { return digit(c) || c == '?'; });
    case FieldCharacters::Dialled:
        return std::all_of(value.begin(), value.end(),
                           [&](char c) { return digit(c) || c == '*' || c == '#'; });
    }
    return false;
}

std::optional<Refusal> fieldRefusal(const FieldRule& rule, std::size_t limit,
                                    const RawText& value) {
    if (value.size() <= limit && allowedCharacters(rule.characters, value.view()))
        return std::nullopt;
    return Refusal{std::string(rule.label) + ": " + valueText(rule, value) +
                   " nem tárolható, legfeljebb " + std::to_string(limit) + " karakter lehet" +
                   std::string(charactersText(rule.characters)) + " !!!"};
}

std::optional<Refusal> fieldRefusal(const FieldRule& rule, const RawText& value) {
    return fieldRefusal(rule, rule.limit, value);
}

FieldRule coNumberRule(std::size_t width) {
    return FieldRule{"CO szám", width, FieldCharacters::Any};
}

std::optional<Refusal> codeRefusal(const RawText& code, int codeLength) {
    std::string_view digits = code.view();
    while (!digits.empty() && digits.back() == ' ')
        digits.remove_suffix(1);
    const FieldRule rule{"Kód", static_cast<std::size_t>(std::max(codeLength - 1, 0)),
                         FieldCharacters::Digits};
    return fieldRefusal(rule, RawText(std::string(digits)));
}

std::optional<Refusal> requiredFieldRefusal(const FieldRule& rule, const RawText& value) {
    if (!value.empty()) return fieldRefusal(rule, value);
    return Refusal{std::string(rule.label) + ": üresen nem tárolható, legalább 1 karakter kell" +
                   std::string(charactersText(rule.characters)) + " !!!"};
}

} // namespace zx
