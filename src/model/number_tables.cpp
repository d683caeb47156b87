#include "model/number_tables.h"

#include "model/codecs.h"
#include "model/editor_store.h"
#include "model/memory_map.h"
#include "model/value_rules.h"

#include <algorithm>

namespace zx {

namespace {

constexpr std::size_t AreaChars4 = 4;

RawText padRight(const RawText& text, std::size_t width, char pad) {
    std::string s = text.bytes();
    if (s.size() < width) s.append(width - s.size(), pad);
    return RawText(std::move(s));
}

std::string padLeft(std::string_view text, std::size_t width, char pad) {
    std::string s(text);
    if (s.size() < width) s.insert(0, width - s.size(), pad);
    return s;
}

// Digit pair parse of characters first and first + 1 (238 when the text is too short).
Byte pairAt(const RawText& text, std::size_t first) {
    return parseDigitPair(text.view().substr(std::min(first, text.size()), 2));
}

std::optional<int> selection(std::optional<int> selected, int count) {
    if (selected && *selected >= 0 && *selected < count) return selected;
    return std::nullopt;
}

// The call-in number as the refill shows it: its characters up to the first zero byte.
RawText storedCallInNumber(const ConfigImage& image, std::size_t start) {
    std::string number;
    for (std::size_t i = 0; i < static_cast<std::size_t>(CallInNumberSize); ++i) {
        const Byte c = image.at(start + i);
        if (c == 0) break;
        number.push_back(static_cast<char>(c));
    }
    return RawText(std::move(number));
}

NumberTablesStore unchanged(const NumberTablesForm& form) {
    return NumberTablesStore{ImagePatch{}, form, std::nullopt};
}

} // namespace

NumberTablesForm numberTablesForm(const EditorView& view) {
    NumberTablesForm form;
    for (std::size_t i = 0; i < form.exceptionItems.size(); ++i)
        form.exceptionItems[i] = RawText(view.exceptions[i].text());
    if (view.mobilePrefixes)
        for (std::size_t k = 0; k < form.mobilePrefixes.size(); ++k)
            form.mobilePrefixes[k] = RawText((*view.mobilePrefixes)[k]);
    if (view.intlPrefixes)
        for (std::size_t k = 0; k < form.intlPrefixes.size(); ++k)
            form.intlPrefixes[k] = RawText((*view.intlPrefixes)[k]);
    return form;
}

namespace {

// A prefix typed into its field: digits and "?" up to the field's width, the empty mark, or
// what the field showed after the refill.
std::optional<Refusal> prefixRefusal(const FieldRule& rule, const RawText& typed,
                                     const RawText* stored) {
    const std::string emptyMark(rule.limit, '=');
    if (typed.empty() || typed == emptyMark || (stored && typed == *stored)) return std::nullopt;
    return fieldRefusal(rule, typed);
}

} // namespace

Checked<NumberTablesStore> storeNumberTables(DeviceModel model, const NumberTablesForm& form,
                                             const NumberTablesForm* stored) {
    if (model != DeviceModel::Line4) return unchanged(form);
    for (std::size_t k = 0; k < form.mobilePrefixes.size(); ++k)
        if (auto refused = prefixRefusal(MobilePrefixRule, form.mobilePrefixes[k],
                                         stored ? &stored->mobilePrefixes[k] : nullptr))
            return *refused;
    for (std::size_t k = 0; k < form.intlPrefixes.size(); ++k)
        if (auto refused = prefixRefusal(IntlPrefixRule, form.intlPrefixes[k],
                                         stored ? &stored->intlPrefixes[k] : nullptr))
            return *refused;
    const MemoryMap& map = MemoryMap::of(model);
    NumberTablesStore store = unchanged(form);

    for (RawText& prefix : store.shown.mobilePrefixes)
        prefix = prefix.empty() ? RawText("====") : padRight(prefix, 4, '?');
    for (RawText& prefix : store.shown.intlPrefixes)
        prefix = prefix.empty() ? RawText("==") : padRight(prefix, 2, '?');

    const std::size_t exceptions = *map.offset(Field::NationalExceptions);
    for (std::size_t i = 0; i < store.shown.exceptionItems.size(); ++i) {
        const RawText& item = store.shown.exceptionItems[i];
        // The length is everything after the four area characters, so a stored length of 100
        // or more, shown with three digits, is stored back as it was.
        const std::string_view lengthText =
            item.size() > AreaChars4 ? item.view().substr(AreaChars4) : std::string_view();
        const Checked<Byte> length = checkByteRange(lengthText);
        if (!length) return Refusal{length.message()};
        store.patch.set(exceptions + 3 * i, pairAt(item, 0));
        store.patch.set(exceptions + 3 * i + 1, pairAt(item, 2));
        store.patch.set(exceptions + 3 * i + 2, *length);
    }

    const std::size_t mobile = *map.offset(Field::MobilePrefixes);
    for (std::size_t k = 0; k < store.shown.mobilePrefixes.size(); ++k) {
        store.patch.set(mobile + 2 * k, pairAt(store.shown.mobilePrefixes[k], 0));
        store.patch.set(mobile + 2 * k + 1, pairAt(store.shown.mobilePrefixes[k], 2));
    }
    const std::size_t intl = *map.offset(Field::IntlPrefixes);
    for (std::size_t k = 0; k < store.shown.intlPrefixes.size(); ++k)
        store.patch.set(intl + k, parseDigitPair(store.shown.intlPrefixes[k].view()));
    return store;
}

std::optional<Refusal> exceptionAreaRefusal(DeviceModel model, const RawText& area) {
    // Nothing typed is no area: padded, it would be "????", an exception for every area.
    if (model != DeviceModel::Line16)
        return area == "====" ? std::nullopt : requiredFieldRefusal(ExceptionAreaRule, area);
    const std::string_view text = area.view();
    const bool twoDigits = text.size() == 2 && std::all_of(text.begin(), text.end(), [](char c) {
                               return c >= '0' && c <= '9';
                           });
    if (twoDigits) return std::nullopt;
    return Refusal{"A körzetszám pontosan két számjegy lehet !!!"};
}

Checked<NumberTablesStore> changeExceptionEntry(DeviceModel model, const NumberTablesForm& form,
                                                std::optional<int> selected, const RawText& area,
                                                std::string_view length) {
    const MemoryMap& map = MemoryMap::of(model);
    const auto entry = selection(selected, map.exceptionCount());
    if (!entry) return unchanged(form);
    if (auto refused = exceptionAreaRefusal(model, area)) return *refused;
    const Checked<Byte> lengthByte = checkByteRange(length);
    if (!lengthByte) return Refusal{lengthByte.message()};
    const std::size_t i = static_cast<std::size_t>(*entry);

    if (model == DeviceModel::Line16) {
        NumberTablesStore store = unchanged(form);
        const std::size_t p = *map.offset(Field::NationalExceptions) + 2 * i;
        store.patch.set(p, parseDigitPair(area.view()));
        store.patch.set(p + 1, *lengthByte);
        return store;
    }

    const ExceptionFields fields{padRight(area, AreaChars4, '?'), padLeft(length, 2, '0')};
    NumberTablesForm changed = form;
    changed.exceptionItems[i] = RawText(fields.area.bytes() + fields.length);
    // The prefixes are as their fields were left: only the entry is new.
    Checked<NumberTablesStore> stored = storeNumberTables(model, changed, &form);
    if (stored) stored.value().entry = fields;
    return stored;
}

Checked<NumberTablesStore> emptyExceptionEntry(DeviceModel model, const NumberTablesForm& form,
                                               std::optional<int> selected) {
    if (model == DeviceModel::Line4) {
        Checked<NumberTablesStore> stored =
            changeExceptionEntry(model, form, selected, RawText("===="), "00");
        // The fields are emptied even when no entry is selected.
        if (stored) stored.value().entry = ExceptionFields{RawText("===="), "00"};
        return stored;
    }
    const MemoryMap& map = MemoryMap::of(model);
    const auto entry = selection(selected, map.exceptionCount());
    NumberTablesStore store = unchanged(form);
    if (!entry) return store;
    const std::size_t p =
        *map.offset(Field::NationalExceptions) + 2 * static_cast<std::size_t>(*entry);
    store.patch.set(p, 0);
    store.patch.set(p + 1, 255);
    return store;
}

CallInForm callInForm(const EditorView& view) {
    CallInForm form;
    form.number = view.callInNumber;
    form.foreign = view.callInForeign;
    form.domestic = view.callInDomestic;
    for (std::size_t j = 0; j < form.barredItems.size(); ++j)
        form.barredItems[j] = RawText(view.barredAreas[j]);
    return form;
}

Checked<ImagePatch> storeCallIn(const ConfigImage& image, DeviceModel model,
                                const CallInForm& form) {
    const MemoryMap& map = MemoryMap::of(model);
    ImagePatch patch;

    const auto size = static_cast<std::size_t>(CallInNumberSize);
    if (form.number != storedCallInNumber(image, *map.offset(Field::CallInNumber)))
        if (auto refused = fieldRefusal(CallInNumberRule, form.number)) return *refused;
    std::string number = form.number.bytes().substr(0, size);
    number.resize(size, '\0');
    patch.setChars(*map.offset(Field::CallInNumber), number);

    const std::size_t flagsAt = *map.offset(Field::CallInFlags);
    Byte flags = image.at(flagsAt);
    flags = form.foreign ? static_cast<Byte>(flags | 0x02) : static_cast<Byte>(flags & 0x01);
    flags = form.domestic ? static_cast<Byte>(flags | 0x01) : static_cast<Byte>(flags & 0x02);
    patch.set(flagsAt, flags);

    const std::size_t barred = *map.offset(Field::BarredCallInAreas);
    for (std::size_t j = 0; j < form.barredItems.size(); ++j)
        patch.set(barred + j, parseDigitPair(form.barredItems[j].view()));
    return patch;
}

Checked<CallInStore> changeBarredEntry(const ConfigImage& image, DeviceModel model,
                                       const CallInForm& form, std::optional<int> selected,
                                       const RawText& area) {
    const auto entry = selection(selected, static_cast<int>(form.barredItems.size()));
    if (!entry) return CallInStore{ImagePatch{}, form, area};
    // Nothing typed is no area (padded, "??" would empty the entry).
    if (auto refused = requiredFieldRefusal(BarredAreaRule, area)) return *refused;
    CallInStore store{ImagePatch{}, form, padRight(area, 2, '?')};
    store.shown.barredItems[static_cast<std::size_t>(*entry)] = store.areaField;
    const Checked<ImagePatch> stored = storeCallIn(image, model, store.shown);
    if (!stored) return Refusal{stored.message()};
    store.patch = *stored;
    return store;
}

Checked<CallInStore> emptyBarredEntry(const ConfigImage& image, DeviceModel model,
                                      const CallInForm& form, std::optional<int> selected) {
    return changeBarredEntry(image, model, form, selected, RawText("??"));
}

} // namespace zx
