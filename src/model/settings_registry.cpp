#include "model/settings_registry.h"

#include "model/choice_bytes.h"
#include "model/code_table_shape.h"
#include "model/cp1250_text.h"
#include "model/editor_store.h"
#include "model/new_configuration.h"
#include "model/number_tables.h"
#include "model/right_levels.h"
#include "model/trimmed.h"
#include "model/value_rules.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

namespace zx {

// The record a run of `set` works on, the model its image is read with, how far `set` may go
// and what it tells of what it did.
class SettingEdit {
  public:
    SettingEdit(DatabaseRecord& record, DeviceModel model, const SetOptions& options,
                std::vector<std::string>& notes)
        : record_(record), model_(model), options_(options), notes_(notes) {}

    DeviceModel model() const { return model_; }
    const MemoryMap& map() const { return MemoryMap::of(model_); }
    DatabaseRecord& record() { return record_; }
    ConfigImage& image() { return record_.image; }
    EditorView view() const { return decodeForEditors(record_.image, model_); }
    const SetOptions& options() const { return options_; }
    void note(std::string text) { notes_.push_back(std::move(text)); }

    SettingRefusal store(const Checked<ImagePatch>& result) {
        if (!result) return result.message();
        // Every value a command names must land somewhere; an editor that stores nothing for it
        // (a CO width of 0 leaves no room for a CO number) is a refusal here.
        if (result->empty()) return std::string("Ez az érték itt nem tárolható !!!");
        result->applyTo(record_.image);
        return std::nullopt;
    }

    template <typename Store> SettingRefusal storeTables(const Checked<Store>& result) {
        if (!result) return result.message();
        result->patch.applyTo(record_.image);
        return std::nullopt;
    }

  private:
    DatabaseRecord& record_;
    DeviceModel model_;
    const SetOptions& options_;
    std::vector<std::string>& notes_;
};

namespace {

using Scope = SettingEntry::Scope;
using Refusal = SettingRefusal;

std::string joined(const std::vector<std::string>& items, const char* separator = ", ") {
    std::string out;
    for (const std::string& s : items)
        out += (out.empty() ? "" : separator) + s;
    return out;
}

Refusal tooLong(int limit) {
    return "Legfeljebb " + std::to_string(limit) + " karakter lehet !!!";
}

// The value's Windows-1250 bytes, refused (with the character named) when the code page lacks
// a character of it, and when it has more than `limit` characters.
Refusal recordText(std::string_view value, std::optional<int> limit, RawText& bytes) {
    if (limit && characterCount(value) > static_cast<std::size_t>(*limit)) return tooLong(*limit);
    std::string outside;
    const std::optional<RawText> converted = cp1250FromUtf8(value, &outside);
    if (!converted) return outsideCp1250Refusal(outside);
    bytes = *converted;
    return std::nullopt;
}

Refusal requireSingle(const SettingTarget& t) {
    if (!t.index && t.part.empty()) return std::nullopt;
    return std::string("Ez a beállítás egyetlen érték, sem lista, sem összetett !!!");
}

// The element number of a list, 1..count (the count of the model's list).
Refusal requireIndex(const SettingTarget& t, int count, DeviceModel model,
                     bool partAllowed = false) {
    if (!t.index || *t.index < 1 || *t.index > count)
        return "Az elem sorszáma kell: " + t.name + "[1.." + std::to_string(count) + "] (" +
               modelCaption(model) + ") !!!";
    if (!partAllowed && !t.part.empty())
        return std::string("Ennek a listának az elemei nem összetettek !!!");
    return std::nullopt;
}

// The parts a value names: one with NAME.part, several with "part=value, ...". `whole` tells
// which form was used.
Refusal namedParts(const SettingTarget& t, std::string_view raw,
                   const std::vector<std::string>& known, ShownParts& parts, bool& whole) {
    whole = t.part.empty();
    if (!whole) {
        parts = {{t.part, unquotedText(raw)}};
    } else if (const auto parsed = parseShownParts(raw)) {
        parts = *parsed;
    } else {
        return "Összetett érték: rész=érték, rész=érték (lehet: " + joined(known) + ") !!!";
    }
    for (const auto& [part, text] : parts)
        if (std::find(known.begin(), known.end(), part) == known.end())
            return "Ismeretlen rész: " + part + " (lehet: " + joined(known) + ") !!!";
    return std::nullopt;
}

std::optional<bool> parseYesNo(std::string_view text) {
    if (text == "igen" || text == "true") return true;
    if (text == "nem" || text == "false") return false;
    return std::nullopt;
}

bool contains(const std::vector<std::string>& items, std::string_view text) {
    return std::find(items.begin(), items.end(), text) != items.end();
}

// A choice the model cannot hold is refused naming the model, so that a script learns why a
// choice another model (or an earlier version of the window) lists is not taken.
Refusal notHeldRefusal(DeviceModel model, std::string_view text,
                       const std::vector<std::string>& items) {
    return "A(z) " + modelCaption(model) + " nem tárolja: " + std::string(text) +
           " (lehet: " + joined(items) + ") !!!";
}

// `listed`: every choice that the control lists in either model; one of them that `items` (the
// model's) lacks is refused naming the model.
Refusal choose(const std::vector<std::string>& items, const std::vector<std::string>& listed,
               DeviceModel model, std::string_view text, int& item) {
    const auto it = std::find(items.begin(), items.end(), text);
    if (it != items.end()) {
        item = static_cast<int>(it - items.begin());
        return std::nullopt;
    }
    if (contains(listed, text)) return notHeldRefusal(model, text, items);
    return "Ismeretlen érték: " + std::string(text) + " (lehet: " + joined(items) + ") !!!";
}

// One part of a compound value that is chosen: an item of a list, or yes or no.
struct PartChoice {
    std::string name;
    std::vector<std::string> items; // empty: "igen" or "nem"
    std::optional<int> value;       // as shown (a flag as 0 or 1); nothing where there is none
    std::string fixedRefusal;       // for a part that must stay items[0]: its refusal
    std::vector<std::string> listed = {}; // the choices either model lists (see choose)
    std::string absentRefusal = {};       // for a part this element lacks (no value)
};

// Sets the parts a value names. `touched` gets, in the order given, every part whose value
// changes: a value as show prints it, whole or in part, touches nothing.
Refusal chooseParts(const SettingTarget& t, std::string_view raw, DeviceModel model,
                    std::vector<PartChoice>& choices, std::vector<std::size_t>& touched) {
    std::vector<std::string> known;
    for (const PartChoice& c : choices)
        known.push_back(c.name);
    ShownParts parts;
    bool whole = false;
    if (auto e = namedParts(t, raw, known, parts, whole)) return e;
    for (const auto& [part, text] : parts) {
        const auto k =
            static_cast<std::size_t>(std::find(known.begin(), known.end(), part) - known.begin());
        PartChoice& c = choices[k];
        if (!c.fixedRefusal.empty()) {
            if (text != c.items.front()) return c.fixedRefusal;
            continue;
        }
        if (!c.value)
            return c.absentRefusal.empty() ? std::string("Ebben a sorban nincs ilyen választás !!!")
                                           : c.absentRefusal;
        const int shown = *c.value;
        int chosen = shown;
        if (c.items.empty()) {
            const std::optional<bool> b = parseYesNo(text);
            if (!b) return std::string("Igen vagy nem lehet !!!");
            chosen = *b ? 1 : 0;
        } else if (auto e = choose(c.items, c.listed, model, text, chosen)) {
            return e;
        }
        c.value = chosen;
        if (chosen != shown) touched.push_back(k);
    }
    return std::nullopt;
}

SettingValue texts(const auto& range) {
    std::vector<SettingValue> items;
    for (const std::string& s : range)
        items.push_back(SettingValue::ofText(s));
    return SettingValue::ofList(std::move(items));
}

SettingValue item(const std::vector<std::string>& items, int index) {
    return SettingValue::ofText(index >= 0 && index < static_cast<int>(items.size())
                                    ? items[static_cast<std::size_t>(index)]
                                    : std::string());
}

SettingValue textOfRecord(const SettingsReading& r, DatabaseRecord::Slot slot) {
    return SettingValue::ofRaw(r.record.text(slot));
}

// A stored byte that names no choice, as it is, with what the setting may hold there; `beside`
// are the parts shown with it.
SettingValue storedByte(const UnnamedByte& b, std::vector<SettingPart> beside = {}) {
    beside.push_back({"byte", SettingValue::ofNumber(b.value)});
    SettingValue value = SettingValue::ofParts(std::move(beside));
    value.invalid = b.allowed;
    return value;
}

// A line's row; a 16-line line byte that names no choice is shown as the byte, the 4-line
// dialling and seizure bytes of line 1 that name none as "diallingByte" and "seizureByte".
SettingValue lineRow(const SettingsReading& r, int line) {
    const LineRowView& row = r.view.lines[static_cast<std::size_t>(line - 1)];
    const ConfigImage& image = r.record.image;
    if (const auto b = unnamedLineByte(image, r.model, line))
        return storedByte(*b, {{"line", SettingValue::ofNumber(line)}});
    std::vector<SettingPart> parts{{"line", SettingValue::ofNumber(line)},
                                   {"subLine", SettingValue::ofFlag(row.subLine)},
                                   {"callIn", SettingValue::ofFlag(row.callIn)}};
    std::vector<std::string> invalid;
    const auto dial = line == 1 ? unnamedDialByte4(image, r.model) : std::nullopt;
    const auto seizure = line == 1 ? unnamedSeizureByte4(image, r.model) : std::nullopt;
    if (dial) {
        parts.push_back({"diallingByte", SettingValue::ofNumber(dial->value)});
        invalid.push_back("diallingByte " + dial->allowed);
    } else if (row.dialItem) {
        parts.push_back({"dialling", item(dialItems(r.model, line), *row.dialItem)});
    }
    if (seizure) {
        parts.push_back({"seizureByte", SettingValue::ofNumber(seizure->value)});
        invalid.push_back("seizureByte " + seizure->allowed);
    } else if (row.seizureItem) {
        parts.push_back({"seizure", item(seizureItems(), *row.seizureItem)});
    }
    if (row.timerItem) parts.push_back({"timerSet", item(timerSetItems(), *row.timerItem)});
    SettingValue value = SettingValue::ofParts(std::move(parts));
    value.invalid = joined(invalid);
    return value;
}

// A code row; a rights character the grid's store would not write back (a right no cell tells,
// a nibble above the levels) is shown beside the rights as "rightsByte", marked when it names no
// right, so that set --from copies it as it is.
SettingValue codeRow(DeviceModel model, const CodeRowView& row, Byte storedRights) {
    static const std::array<const char*, 4> columns4{"Helyi", "Távolsági", "Mobil", "Nemzetközi"};
    SettingValue rights;
    if (model == DeviceModel::Line4) {
        std::vector<SettingPart> cells;
        for (std::size_t c = 0; c < columns4.size() && c < row.rights.size(); ++c)
            cells.push_back({columns4[c], SettingValue::ofText(row.rights[c])});
        rights = SettingValue::ofParts(std::move(cells));
    } else {
        rights = SettingValue::ofText(
            row.rights.empty() ? std::string() : std::string(rightLevelWord(row.rights[0])));
    }
    std::vector<SettingPart> parts{{"code", SettingValue::ofRaw(row.code)},
                                   {"rights", std::move(rights)}};
    if (rightsCharacter(row, model) == storedRights) return SettingValue::ofParts(std::move(parts));
    parts.push_back({"rightsByte", SettingValue::ofNumber(storedRights)});
    SettingValue value = SettingValue::ofParts(std::move(parts));
    if (const auto unnamed = unnamedRightsByte(storedRights, model))
        value.invalid = "rightsByte " + unnamed->allowed;
    return value;
}

// ---- set of the compound and list settings ----

// The stored byte of a field that two chosen parts share, as show adds it (`byte`) when the
// choices do not tell every bit of it: what storing the choices shown gives differs from it.
std::optional<Byte> untoldByte(const ConfigImage& image, DeviceModel model, Field field,
                               const Checked<ImagePatch>& storedByChoices) {
    const auto at = MemoryMap::of(model).offset(field);
    if (!at || !storedByChoices || storedByChoices->empty()) return std::nullopt;
    const Byte stored = image.at(*at);
    ConfigImage rewritten = image;
    storedByChoices->applyTo(rewritten);
    if (rewritten.at(*at) == stored) return std::nullopt;
    return stored;
}

SettingValue withUntoldByte(SettingValue value, std::optional<Byte> stored) {
    if (!stored) return value;
    std::vector<SettingPart> parts = value.parts;
    parts.push_back({"byte", SettingValue::ofNumber(*stored)});
    return SettingValue::ofParts(std::move(parts));
}

// The stored bytes a value names by the parts `names` (show's "byte" and the like), taken out
// of it, each checked as a byte: the value without them is left in `rest` (empty when nothing
// else is left). Nothing taken from a value that names none of them.
using RawBytes = std::vector<std::pair<std::string, Byte>>;
Checked<RawBytes> takeRawParts(const SettingTarget& t, std::string_view raw,
                               const std::vector<std::string>& names, std::string& rest) {
    rest = std::string(raw);
    ShownParts taken;
    if (contains(names, t.part)) {
        taken.emplace_back(t.part, unquotedText(raw));
        rest.clear();
    } else if (t.part.empty()) {
        const std::optional<ShownParts> parts = parseShownParts(raw);
        if (!parts) return RawBytes{};
        std::string others;
        for (const auto& [name, value] : *parts) {
            if (contains(names, name))
                taken.emplace_back(name, value);
            else
                others += (others.empty() ? "" : ", ") + name + "=" + quotedText(value);
        }
        if (!taken.empty()) rest = others;
    }
    RawBytes bytes;
    for (const auto& [name, text] : taken) {
        const Checked<Byte> value = checkByteRange(text);
        if (!value) return zx::Refusal{name + ": " + value.message()};
        bytes.emplace_back(name, *value);
    }
    return bytes;
}

Checked<std::optional<Byte>> takeBytePart(const SettingTarget& t, std::string_view raw,
                                          std::string& rest) {
    const Checked<RawBytes> bytes = takeRawParts(t, raw, {"byte"}, rest);
    if (!bytes) return zx::Refusal{bytes.message()};
    if (bytes->empty()) return std::optional<Byte>();
    return std::optional<Byte>(bytes->back().second);
}

// A single value given as show prints a stored byte that names no choice ("byte=N", or
// NAME.byte=N): the byte. Nothing for any other value.
Checked<std::optional<Byte>> typedRawByte(const SettingTarget& t, std::string_view raw) {
    if (t.index || (!t.part.empty() && t.part != "byte")) return std::optional<Byte>();
    std::string rest;
    const Checked<std::optional<Byte>> b = takeBytePart(t, raw, rest);
    if (b && *b && !rest.empty())
        return zx::Refusal{std::string("A byte mellett más rész nem adható meg !!!")};
    return b;
}

// The byte stored at the field as it is.
Refusal storeRawByte(SettingEdit& e, Field field, Byte value) {
    ImagePatch patch;
    patch.set(*e.map().offset(field), value);
    patch.applyTo(e.image());
    return std::nullopt;
}

// A compound of two chosen parts that one editor stores together into one byte of `field`;
// parts as show prints them store nothing. A "byte" part stores that byte as it is, when the
// choices named beside it are what it shows.
Refusal setPair(SettingEdit& e, const SettingTarget& t, std::string_view raw,
                std::vector<PartChoice> parts, Field field,
                const std::function<Checked<ImagePatch>(int, int)>& store,
                const std::function<std::pair<int, int>(const EditorView&)>& shown) {
    if (t.index) return requireSingle(t);
    std::string rest;
    const Checked<std::optional<Byte>> rawByte = takeBytePart(t, raw, rest);
    if (!rawByte) return rawByte.message();
    if (*rawByte) {
        ImagePatch patch;
        patch.set(*e.map().offset(field), **rawByte);
        ConfigImage written = e.image();
        patch.applyTo(written);
        const std::pair<int, int> items = shown(decodeForEditors(written, e.model()));
        if (!rest.empty()) {
            std::vector<std::size_t> touched;
            SettingTarget whole = t;
            whole.part.clear();
            parts[0].value = items.first;
            parts[1].value = items.second;
            if (auto refused = chooseParts(whole, rest, e.model(), parts, touched)) return refused;
            if (!touched.empty())
                return "byte: a(z) " + std::to_string(**rawByte) +
                       " nem a mellette megadott választásokat tárolja !!!";
        }
        patch.applyTo(e.image());
        return std::nullopt;
    }
    std::vector<std::size_t> touched;
    if (auto refused = chooseParts(t, raw, e.model(), parts, touched)) return refused;
    if (touched.empty()) return std::nullopt;
    return e.store(store(*parts[0].value, *parts[1].value));
}

std::pair<int, int> speedChoices(const EditorView& v) {
    return {v.speedItem, v.parityItem};
}

std::pair<int, int> modeChoices(const EditorView& v) {
    return {v.modeItem, v.twentyHexItem};
}

// Every choice the control lists in either model.
std::vector<std::string> listedInEither(std::vector<std::string> (*items)(DeviceModel)) {
    std::vector<std::string> all = items(DeviceModel::Line4);
    for (std::string& choice : items(DeviceModel::Line16))
        if (!contains(all, choice)) all.push_back(std::move(choice));
    return all;
}

std::vector<std::string> listedParity() {
    std::vector<std::string> all = parityItems();
    all.push_back(OddParityItem);
    return all;
}

std::vector<std::string> listedDialling(int line) {
    std::vector<std::string> all = dialItems(DeviceModel::Line4, line);
    for (std::string& choice : dialItems(DeviceModel::Line16, line))
        if (!contains(all, choice)) all.push_back(std::move(choice));
    return all;
}

Refusal setSpeed(SettingEdit& e, const SettingTarget& t, std::string_view raw) {
    const EditorView v = e.view();
    return setPair(
        e, t, raw,
        {{"speed", speedItems(e.model()), v.speedItem, {}, listedInEither(speedItems)},
         {"parity", parityItems(), v.parityItem, {}, listedParity()}},
        Field::SmdrSpeed,
        [&](int speed, int parity) { return storeSpeedAndParity(e.model(), speed, parity); },
        speedChoices);
}

Refusal setMode(SettingEdit& e, const SettingTarget& t, std::string_view raw) {
    const EditorView v = e.view();
    return setPair(
        e, t, raw,
        {{"mode", modeItems(e.model()), v.modeItem, {}, listedInEither(modeItems)},
         {"controlCharacters", twentyHexItems(), v.twentyHexItem, {}}},
        Field::SmdrMode,
        [&](int mode, int twentyHex) { return storeMode(e.model(), mode, twentyHex); },
        modeChoices);
}

Refusal setCallInFlags(SettingEdit& e, const SettingTarget& t, std::string_view raw) {
    CallInForm form = callInForm(e.view());
    return setPair(
        e, t, raw,
        {{"foreign", {}, form.foreign ? 1 : 0, {}}, {"domestic", {}, form.domestic ? 1 : 0, {}}},
        Field::CallInFlags,
        [&](int foreign, int domestic) {
            form.foreign = foreign != 0;
            form.domestic = domestic != 0;
            return storeCallIn(e.image(), e.model(), form);
        },
        [](const EditorView& v) {
            return std::pair<int, int>(v.callInForeign ? 1 : 0, v.callInDomestic ? 1 : 0);
        });
}

// CBcokar: the new width rewrites the CO numbers as they are shown. A width that would cut a
// number is refused, naming the numbers, unless the command was told to go on (--force); then
// what was cut is noted.
Refusal setCoWidth(SettingEdit& e, const SettingTarget& t, std::string_view raw) {
    const Checked<std::optional<Byte>> stored = typedRawByte(t, raw);
    if (!stored) return stored.message();
    if (*stored) return storeRawByte(e, Field::CoWidth, **stored);
    if (auto refused = requireSingle(t)) return refused;
    const std::vector<std::string> items = coWidthItems();
    const auto it = std::find(items.begin(), items.end(), unquotedText(raw));
    const int item = it == items.end() ? -1 : static_cast<int>(it - items.begin());
    if (const Checked<ImagePatch> checked = storeCoWidth(e.model(), item); !checked)
        return checked.message();
    const int width = item + 1;
    const std::vector<CoNumberCut> cuts = coNumbersCutBy(e.image(), e.map(), width);
    if (!cuts.empty() && !e.options().force) {
        std::string refusal = std::to_string(cuts.size()) +
                              " CO szám rövidebb lenne, semmi sem változott (a --force mégis "
                              "átírja) !!!";
        for (const CoNumberCut& cut : cuts)
            refusal += "\n  " + coNumberCutText(cut);
        return refusal;
    }
    for (const CoNumberCut& cut : cuts)
        e.note(coNumberCutText(cut));
    return e.store(coWidthPatch(e.image(), e.map(), width));
}

// The stored bytes of a line that show gives as they are where they name no choice: the
// 16-line line's "byte", the 4-line "diallingByte" and "seizureByte" of line 1. They are stored
// as given; the parts beside them are then set as usual.
Refusal setLineBytes(SettingEdit& e, int line, const RawBytes& bytes) {
    const std::size_t start = *e.map().offset(Field::LineSettings);
    const bool four = e.model() == DeviceModel::Line4;
    for (const auto& [name, value] : bytes) {
        std::size_t at = start + static_cast<std::size_t>(line - 1);
        if (name == "diallingByte") at = start + DialByte4;
        if (name == "seizureByte") at = start + SeizureByte4;
        const bool held = name == "byte" ? !four : four && line == 1;
        if (!held)
            return "A(z) " + modelCaption(e.model()) + " " + std::to_string(line) +
                   ". vonalán nincs " + name + " rész !!!";
        ImagePatch patch;
        patch.set(at, value);
        patch.applyTo(e.image());
    }
    return std::nullopt;
}

Refusal setLine(SettingEdit& e, const SettingTarget& t, std::string_view whole) {
    if (auto refused = requireIndex(t, e.map().lineCount(), e.model(), true)) return refused;
    const int line = *t.index;
    std::string rest;
    const Checked<RawBytes> bytes =
        takeRawParts(t, whole, {"byte", "diallingByte", "seizureByte"}, rest);
    if (!bytes) return bytes.message();
    if (auto refused = setLineBytes(e, line, *bytes)) return refused;
    if (!bytes->empty() && rest.empty()) return std::nullopt;
    const std::string_view raw = rest;
    std::vector<LineRowView> rows = e.view().lines;
    LineRowView& row = rows[static_cast<std::size_t>(line - 1)];
    const std::string number = std::to_string(line);
    const auto absent = [&](const char* part) {
        return "A(z) " + modelCaption(e.model()) + " " + number + ". vonalán nincs " + part +
               " választás !!!";
    };
    std::vector<PartChoice> parts{
        {"line", {number}, std::nullopt, "A line rész a sor száma, " + number + " !!!"},
        {"dialling",
         dialItems(e.model(), line),
         row.dialItem,
         {},
         listedDialling(line),
         absent("dialling")},
        {"seizure", seizureItems(), row.seizureItem, {}, {}, absent("seizure")},
        {"timerSet", timerSetItems(), row.timerItem, {}, {}, absent("timerSet")},
        {"subLine", {}, row.subLine ? 1 : 0, {}},
        {"callIn", {}, row.callIn ? 1 : 0, {}}};
    static constexpr std::array<LineControl, 6> controls{
        LineControl::Dial,     LineControl::Dial,    LineControl::Seizure,
        LineControl::TimerSet, LineControl::SubLine, LineControl::CallIn};
    std::vector<std::size_t> touched;
    if (auto refused = chooseParts(t, raw, e.model(), parts, touched)) return refused;
    row.dialItem = parts[1].value;
    row.seizureItem = parts[2].value;
    row.timerItem = parts[3].value;
    row.subLine = *parts[4].value != 0;
    row.callIn = *parts[5].value != 0;
    // The 16-line rows are stored whole from any control; the 4-line unit stores each control
    // left on its own.
    const std::size_t stores = e.model() == DeviceModel::Line16
                                   ? std::min<std::size_t>(touched.size(), 1)
                                   : touched.size();
    for (std::size_t i = 0; i < stores; ++i)
        if (auto refused = e.store(
                storeLineSettings(e.image(), e.model(), {controls[touched[i]], line}, rows)))
            return refused;
    return std::nullopt;
}

Refusal setException(SettingEdit& e, const SettingTarget& t, std::string_view raw) {
    if (auto refused = requireIndex(t, e.map().exceptionCount(), e.model(), true)) return refused;
    const int entry = *t.index - 1;
    const EditorView v = e.view();
    const NumberTablesForm form = numberTablesForm(v);
    if (t.part.empty() && unquotedText(raw).empty())
        return e.storeTables(emptyExceptionEntry(e.model(), form, entry));
    ShownParts parts;
    bool whole = false;
    if (auto refused = namedParts(t, raw, {"area", "length"}, parts, whole)) return refused;
    const ExceptionView& shown = v.exceptions[static_cast<std::size_t>(entry)];
    std::string area = shown.area;
    std::string length = shown.length;
    bool touched = !whole;
    for (const auto& [part, text] : parts) {
        const bool isArea = part == "area";
        // The area is refused by the exception store when it does not fit.
        constexpr int LengthLimit = 3;
        if (!isArea && characterCount(text) > static_cast<std::size_t>(LengthLimit))
            return tooLong(LengthLimit);
        std::string& into = isArea ? area : length;
        touched |= text != into;
        into = text;
    }
    if (!touched) return std::nullopt;
    RawText areaBytes;
    if (auto refused = recordText(area, std::nullopt, areaBytes)) return refused;
    return e.storeTables(changeExceptionEntry(e.model(), form, entry, areaBytes, length));
}

Refusal setPrefix(SettingEdit& e, const SettingTarget& t, std::string_view value, bool mobile) {
    const int count = mobile ? 4 : 2;
    if (auto refused = requireIndex(t, count, e.model())) return refused;
    RawText bytes;
    if (auto refused = recordText(value, std::nullopt, bytes)) return refused;
    const NumberTablesForm stored = numberTablesForm(e.view());
    NumberTablesForm form = stored;
    const auto k = static_cast<std::size_t>(*t.index - 1);
    (mobile ? form.mobilePrefixes[k] : form.intlPrefixes[k]) = bytes;
    return e.storeTables(storeNumberTables(e.model(), form, &stored));
}

Refusal setBarred(SettingEdit& e, const SettingTarget& t, std::string_view value) {
    CallInForm form = callInForm(e.view());
    if (auto refused = requireIndex(t, BarredAreaCount, e.model())) return refused;
    RawText bytes;
    if (auto refused = recordText(value, std::nullopt, bytes)) return refused;
    const int entry = *t.index - 1;
    return e.storeTables(bytes.empty()
                             ? emptyBarredEntry(e.image(), e.model(), form, entry)
                             : changeBarredEntry(e.image(), e.model(), form, entry, bytes));
}

// ---- the entries ----

// A part's texts as the help lists them, per model where the models differ.
std::string itemsHelp(const std::string& part,
                      const std::function<std::vector<std::string>(DeviceModel)>& items) {
    const std::vector<std::string> four = items(DeviceModel::Line4);
    const std::vector<std::string> sixteen = items(DeviceModel::Line16);
    if (four == sixteen) return "." + part + ": " + joined(four);
    return "." + part + ": " + joined(four) + "\n." + part + " (16 vonalas): " + joined(sixteen);
}

SettingEntry shownOnly(std::string name, std::string label, Scope scope, std::optional<Field> field,
                       std::function<SettingValue(const SettingsReading&)> read,
                       bool compared = true) {
    SettingEntry e;
    e.name = std::move(name);
    e.label = std::move(label);
    e.scope = scope;
    e.field = field;
    e.compared = compared;
    e.read = std::move(read);
    return e;
}

// A setting of the unit's configuration, shown under its field's name.
SettingEntry shownOnly(Field field, std::string label,
                       std::function<SettingValue(const SettingsReading&)> read) {
    return shownOnly(std::string(fieldName(field)), std::move(label), Scope::Unit, field,
                     std::move(read));
}

SettingEntry
settable(Field field, std::string label, bool list,
         std::function<SettingValue(const SettingsReading&)> read,
         std::function<Refusal(SettingEdit&, const SettingTarget&, std::string_view)> store,
         std::string help) {
    SettingEntry e = shownOnly(field, std::move(label), std::move(read));
    e.list = list;
    e.store = std::move(store);
    e.help = std::move(help);
    return e;
}

// A numeric edit under the byte-range check: the field's byte in decimal.
SettingEntry byteRange(Field field, std::string label, int (*shown)(const EditorView&)) {
    return settable(
        field, std::move(label), false,
        [shown](const SettingsReading& r) { return SettingValue::ofNumber(shown(r.view)); },
        [field](SettingEdit& e, const SettingTarget& t, std::string_view value) -> Refusal {
            if (auto refused = requireSingle(t)) return refused;
            return e.store(storeByteRange(e.model(), field, unquotedText(value)));
        },
        "egész szám 0..255");
}

// A text of the record around the image (site, owner, connection name): as typed into the
// preferences, refused when it does not fit its 255 characters.
SettingEntry recordTextEntry(std::string name, std::string label, DatabaseRecord::Slot slot,
                             FieldRule rule) {
    SettingEntry e = shownOnly(std::move(name), std::move(label), Scope::File, std::nullopt,
                               [slot](const SettingsReading& r) { return textOfRecord(r, slot); });
    e.store = [slot, rule](SettingEdit& ed, const SettingTarget& t,
                           std::string_view value) -> Refusal {
        if (auto refused = requireSingle(t)) return refused;
        RawText bytes;
        if (auto refused = recordText(unquotedText(value), std::nullopt, bytes)) return refused;
        if (auto refused = fieldRefusal(rule, bytes)) return refused->message;
        ed.record().setText(slot, bytes);
        return std::nullopt;
    };
    e.help = "szöveg, legfeljebb " + std::to_string(rule.limit) + " karakter";
    return e;
}

// The help of the "byte" part that show adds where the choices do not tell the stored byte.
constexpr const char* ByteHelp =
    ".byte: 0..255, a tárolt bájt, ahol a választások nem írják le (a show ekkor kiírja)";
// The help of a stored byte that names no choice, which show prints as it is.
constexpr const char* RawByteHelp =
    "byte=0..255: a tárolt bájt, ahol egyik választást sem adja (a show így írja ki)";

std::vector<SettingEntry> buildRegistry() {
    using Slot = DatabaseRecord::Slot;
    using R = const SettingsReading&;
    using T = const SettingTarget&;
    using V = std::string_view;
    std::vector<SettingEntry> e;

    e.push_back(shownOnly("Model", "Típus", Scope::File, std::nullopt,
                          [](R r) { return SettingValue::ofText(modelCaption(r.model)); }));
    e.push_back(recordTextEntry("Site", "Preferenciák / Telepítés", Slot::Site, SiteRule));
    e.push_back(recordTextEntry("Owner", "Preferenciák / Tulajdonos", Slot::Owner, OwnerRule));
    e.push_back(recordTextEntry("ConnectionName", "Com port beállítások / Kapcsolat",
                                Slot::ConnectionName, ConnectionNameRule));
    e.push_back(shownOnly(
        "LastModified", "Preferenciák / Utolsó módosítás", Scope::File, std::nullopt,
        [](R r) { return SettingValue::ofText(r.lastModified); }, false));

    e.push_back(settable(
        Field::SmdrSpeed, "Alap / SMDR sebesség, Paritás", false,
        [](R r) {
            if (const auto b = unnamedSmdrSpeed(r.record.image, r.model)) return storedByte(*b);
            return withUntoldByte(
                SettingValue::ofParts({{"speed", item(speedItems(r.model), r.view.speedItem)},
                                       {"parity", item(parityItems(), r.view.parityItem)}}),
                untoldByte(r.record.image, r.model, Field::SmdrSpeed,
                           storeSpeedAndParity(r.model, r.view.speedItem, r.view.parityItem)));
        },
        setSpeed,
        itemsHelp("speed", speedItems) + "\n" +
            itemsHelp("parity", [](DeviceModel) { return parityItems(); }) +
            " (páratlan paritást egyik típus sem tárol)\n" + ByteHelp));
    e.push_back(settable(
        Field::SmdrMode, "Alap / SMDR mód, 20hex alatti karakterek", false,
        [](R r) {
            if (const auto b = unnamedSmdrMode(r.record.image, r.model)) return storedByte(*b);
            return withUntoldByte(
                SettingValue::ofParts(
                    {{"mode", item(modeItems(r.model), r.view.modeItem)},
                     {"controlCharacters", item(twentyHexItems(), r.view.twentyHexItem)}}),
                untoldByte(r.record.image, r.model, Field::SmdrMode,
                           storeMode(r.model, r.view.modeItem, r.view.twentyHexItem)));
        },
        setMode,
        itemsHelp("mode", modeItems) + "\n" +
            itemsHelp("controlCharacters", [](DeviceModel) { return twentyHexItems(); }) + "\n" +
            ByteHelp));
    e.push_back(byteRange(Field::CoPosition, "Alap / CO pozíció",
                          [](const EditorView& v) { return v.coPosition; }));
    e.push_back(settable(
        Field::CoWidth, "Alap / CO karakterszám", false,
        [](R r) {
            if (const auto b = unnamedCoWidth(r.record.image, r.model)) return storedByte(*b);
            return item(coWidthItems(), r.view.coWidthItem);
        },
        setCoWidth,
        joined(coWidthItems()) +
            "; a CO számokat az új szélességre írja át, ahogy a Vonalak mutatja őket;\n"
            "ha egy szám rövidebb lenne, elutasítja, --force esetén megrövidíti és kiírja\n" +
            RawByteHelp));
    e.push_back(byteRange(Field::CalledPosition, "Alap / Hívottszám pozíció",
                          [](const EditorView& v) { return v.calledPosition; }));
    e.push_back(settable(
        Field::RecordTerminator, "Alap / Rekord záró kód", false,
        [](R r) { return SettingValue::ofNumber(r.view.recordTerminator); },
        [](SettingEdit& ed, T t, V value) -> Refusal {
            if (auto refused = requireSingle(t)) return refused;
            return ed.store(storeRecordTerminator(ed.model(), unquotedText(value)));
        },
        "egész szám 0..255"));
    e.push_back(settable(
        Field::NumberTerminator, "Alap / Számzáró kód", false,
        [](R r) {
            if (const auto b = unnamedNumberTerminator(r.record.image, r.model))
                return storedByte(*b);
            return SettingValue::ofText(std::string(1, r.view.numberTerminator.value_or(' ')));
        },
        [](SettingEdit& ed, T t, V value) -> Refusal {
            const Checked<std::optional<Byte>> stored = typedRawByte(t, value);
            if (!stored) return stored.message();
            if (*stored) return storeRawByte(ed, Field::NumberTerminator, **stored);
            if (auto refused = requireSingle(t)) return refused;
            RawText bytes;
            if (auto refused = recordText(unquotedText(value), 1, bytes)) return refused;
            return ed.store(storeNumberTerminator(ed.model(), bytes));
        },
        std::string("egy karakter: 0..9, *, # vagy szóköz\n") + RawByteHelp));
    for (const bool pin : {true, false}) {
        e.push_back(settable(
            pin ? Field::PinEnable : Field::DstEnable,
            pin ? "Alap / Pinkód engedélyezés" : "Alap / Átállás a téli/nyári időszámításra", false,
            [pin](R r) {
                return SettingValue::ofFlag(
                    (pin ? r.view.pinEnable : r.view.dstEnable).value_or(false));
            },
            [pin](SettingEdit& ed, T t, V value) -> Refusal {
                if (auto refused = requireSingle(t)) return refused;
                const EditorView v = ed.view();
                bool pinOn = v.pinEnable.value_or(false);
                bool dstOn = v.dstEnable.value_or(false);
                const std::optional<bool> b = parseYesNo(unquotedText(value));
                if (!b) return std::string("Igen vagy nem lehet !!!");
                (pin ? pinOn : dstOn) = *b;
                return ed.store(storePinAndSummerTime(ed.model(), pinOn, dstOn));
            },
            "igen vagy nem"));
    }

    e.push_back(settable(
        Field::LineSettings, "Vonalak / #. vonal", true,
        [](R r) {
            std::vector<SettingValue> rows;
            for (std::size_t n = 0; n < r.view.lines.size(); ++n)
                rows.push_back(lineRow(r, static_cast<int>(n + 1)));
            return SettingValue::ofList(std::move(rows));
        },
        setLine,
        itemsHelp("dialling", [](DeviceModel m) { return dialItems(m, 2); }) +
            "\n.dialling (4 vonalas, 1. vonal): " + joined(dialItems(DeviceModel::Line4, 1)) +
            "\n" + itemsHelp("seizure", [](DeviceModel) { return seizureItems(); }) + "\n" +
            itemsHelp("timerSet", [](DeviceModel) { return timerSetItems(); }) +
            " (16 vonalas)\n.subLine, .callIn: igen vagy nem\n"
            "4 vonalas: dialling és seizure csak az 1. vonalon\n"
            ".byte (16 vonalas), .diallingByte, .seizureByte (4 vonalas, 1. vonal): 0..255,\n"
            "a tárolt bájt, ahol egyik választást sem adja (a show ekkor így írja ki)"));
    e.push_back(settable(
        Field::CoNumbers, "Vonalak / #. vonal CO szám", true,
        [](R r) {
            std::vector<SettingValue> numbers;
            for (const LineRowView& row : r.view.lines)
                numbers.push_back(SettingValue::ofRaw(row.coNumber));
            return SettingValue::ofList(std::move(numbers));
        },
        [](SettingEdit& ed, T t, V value) -> Refusal {
            if (auto refused = requireIndex(t, ed.map().lineCount(), ed.model())) return refused;
            RawText bytes;
            if (auto refused = recordText(unquotedText(value), std::nullopt, bytes)) return refused;
            return ed.store(storeCoNumber(ed.image(), ed.model(), *t.index, bytes));
        },
        "szöveg, legfeljebb CoWidth karakter"));

    // The timers, in the order the views show them.
    using Shown = int (*)(const EditorView&);
    const std::tuple<Field, const char*, Shown> timers[] = {
        {Field::SeizeTime, "Időzítők / Beemelési", [](const EditorView& v) { return v.seizeTime; }},
        {Field::ReleaseTime, "Időzítők / Bontási",
         [](const EditorView& v) { return v.releaseTime; }},
        {Field::InterdigitTime, "Időzítők / Interdigit",
         [](const EditorView& v) { return v.interdigitTime; }},
        {Field::FirstToneTime1, "Időzítők / Elsö T. hang #1",
         [](const EditorView& v) { return v.firstTone1; }},
        {Field::SecondToneTime1, "Időzítők / Második T. hang #1",
         [](const EditorView& v) { return v.secondTone1; }},
        {Field::CoTimeout1, "Időzítők / CO leidözítés #1",
         [](const EditorView& v) { return v.coTimeout1; }},
        {Field::CoResetTime1, "Időzítők / CO reszet #1",
         [](const EditorView& v) { return v.coReset1; }},
        {Field::FirstToneTime2, "Időzítők / Elsö T. hang #2",
         [](const EditorView& v) { return v.firstTone2.value_or(0); }},
        {Field::SecondToneTime2, "Időzítők / Második T. hang #2",
         [](const EditorView& v) { return v.secondTone2.value_or(0); }},
        {Field::CoTimeout2, "Időzítők / CO leidözítés #2",
         [](const EditorView& v) { return v.coTimeout2.value_or(0); }},
        {Field::CoResetTime2, "Időzítők / CO reszet #2",
         [](const EditorView& v) { return v.coReset2.value_or(0); }},
        {Field::LoopPulseDelta, "Időzítők / Hurok/Imp különbség",
         [](const EditorView& v) { return v.loopPulseDelta.value_or(0); }},
    };
    for (const auto& [field, label, shown] : timers)
        e.push_back(byteRange(field, label, shown));

    e.push_back(byteRange(Field::LocalLength, "Számhosszak / Helyi számhossz",
                          [](const EditorView& v) { return v.localLength; }));
    e.push_back(byteRange(Field::NationalLength, "Számhosszak / Belföldi számhossz",
                          [](const EditorView& v) { return v.nationalLength; }));
    e.push_back(settable(
        Field::NationalExceptions, "Számhosszak / #. belföldi kivétel", true,
        [](R r) {
            std::vector<SettingValue> entries;
            for (const ExceptionView& x : r.view.exceptions)
                entries.push_back(
                    SettingValue::ofParts({{"area", SettingValue::ofText(x.area)},
                                           {"length", SettingValue::ofText(x.length)}}));
            return SettingValue::ofList(std::move(entries));
        },
        setException,
        ".area: 4 vonalas: legfeljebb 4 számjegy vagy ?, ==== üres, 16 vonalas:\n"
        "pontosan két számjegy 0-9; .length: 0..255; üres érték\n"
        "törli a bejegyzést (i = 1..16)"));
    e.push_back(settable(
        Field::MobilePrefixes, "Számhosszak / #. mobil prefix", true,
        [](R r) { return texts(*r.view.mobilePrefixes); },
        [](SettingEdit& ed, T t, V value) { return setPrefix(ed, t, unquotedText(value), true); },
        "(i = 1..4) legfeljebb 4 számjegy vagy ?; üres: nincs előtag"));
    e.push_back(settable(
        Field::IntlPrefixes, "Számhosszak / #. nemzetközi prefix", true,
        [](R r) { return texts(*r.view.intlPrefixes); },
        [](SettingEdit& ed, T t, V value) { return setPrefix(ed, t, unquotedText(value), false); },
        "(i = 1..2) legfeljebb 2 számjegy vagy ?; üres: nincs előtag"));

    e.push_back(settable(
        Field::CallInNumber, "Behívás / Behívószám", false,
        [](R r) { return SettingValue::ofRaw(r.view.callInNumber); },
        [](SettingEdit& ed, T t, V value) -> Refusal {
            if (auto refused = requireSingle(t)) return refused;
            CallInForm form = callInForm(ed.view());
            if (auto refused = recordText(unquotedText(value), std::nullopt, form.number))
                return refused;
            return ed.store(storeCallIn(ed.image(), ed.model(), form));
        },
        "legfeljebb " + std::to_string(CallInNumberSize) + " karakter: számjegy, * vagy #"));
    e.push_back(settable(
        Field::CallInFlags, "Behívás / Behívás külföldi, belföldi szám esetén", false,
        [](R r) {
            return SettingValue::ofParts(
                {{"foreign", SettingValue::ofFlag(r.view.callInForeign)},
                 {"domestic", SettingValue::ofFlag(r.view.callInDomestic)}});
        },
        setCallInFlags, ".foreign, .domestic: igen vagy nem"));
    e.push_back(settable(
        Field::BarredCallInAreas, "Behívás / #. tiltott körzetszám", true,
        [](R r) { return texts(r.view.barredAreas); },
        [](SettingEdit& ed, T t, V value) { return setBarred(ed, t, unquotedText(value)); },
        "(i = 1.." + std::to_string(BarredAreaCount) +
            ") legfeljebb 2 számjegy vagy ?; üres: felszabadítja"));

    e.push_back(shownOnly(Field::CodeLength, "Preferenciák / Kódjegyek száma",
                          [](R r) { return SettingValue::ofNumber(r.view.codeLength); }));
    e.push_back(shownOnly(Field::CodeCount, "Preferenciák / Kódok darabszáma",
                          [](R r) { return SettingValue::ofNumber(r.view.codeCount); }));
    e.push_back(shownOnly(Field::CodeTable, "Kódok / #. sor", [](R r) {
        std::vector<SettingValue> rows;
        rows.reserve(r.view.codes.size());
        const std::size_t start = *MemoryMap::of(r.model).offset(Field::CodeTable);
        const auto length = static_cast<std::size_t>(r.view.codeLength);
        for (std::size_t i = 0; i < r.view.codes.size(); ++i) {
            // Without codes the grid's one row is no record.
            const Byte stored = r.view.codeCount == 0
                                    ? rightsCharacter(r.view.codes[i], r.model)
                                    : r.record.image.at(start + i * length + length - 1);
            rows.push_back(codeRow(r.model, r.view.codes[i], stored));
        }
        return SettingValue::ofList(std::move(rows));
    }));
    // What follows from the code count and length: nothing of its own to compare.
    e.push_back(shownOnly(
        "CodeStatus", "Állapotsor / Kódok", Scope::Unit, std::nullopt,
        [](R r) { return SettingValue::ofText(r.view.codePanelText()); }, false));
    e.push_back(shownOnly(Field::FreeNumbers, "Számok / #. szám", [](R r) {
        std::vector<SettingValue> numbers;
        for (const RawText& n : r.view.freeNumbers)
            numbers.push_back(SettingValue::ofRaw(n));
        return SettingValue::ofList(std::move(numbers));
    }));
    return e;
}

// Where the name column of the help ends.
constexpr std::size_t HelpColumn = 32;

std::string helpLines(const SettingEntry& entry) {
    std::string name = "  " + entry.name + (entry.list ? "[i]" : "");
    if (entry.field) {
        const bool four = entry.availableIn(DeviceModel::Line4);
        const bool sixteen = entry.availableIn(DeviceModel::Line16);
        if (four != sixteen) name += four ? " (4 vonalas)" : " (16 vonalas)";
    }
    std::string out;
    std::size_t start = 0;
    bool first = true;
    while (start <= entry.help.size()) {
        const std::size_t end = std::min(entry.help.find('\n', start), entry.help.size());
        std::string line = first ? name : std::string();
        line += std::string(line.size() < HelpColumn ? HelpColumn - line.size() : 1, ' ');
        if (!first && line.size() > HelpColumn) line.resize(HelpColumn);
        out += line + entry.help.substr(start, end - start) + '\n';
        first = false;
        start = end + 1;
    }
    return out;
}

} // namespace

SettingsReading::SettingsReading(const DatabaseRecord& r, DeviceModel m, std::string modified)
    : model(m), record(r), view(decodeForEditors(r.image, m)), lastModified(std::move(modified)) {}

const std::vector<SettingEntry>& settingsRegistry() {
    static const std::vector<SettingEntry> registry = buildRegistry();
    return registry;
}

std::string settingLabel(const SettingEntry& entry, std::optional<int> index) {
    std::string label = entry.label;
    // "#." is where a list element's number goes ("#1" of a timer's label is the window's own).
    if (const std::size_t at = label.find("#."); at != std::string::npos)
        label.replace(at, 1, index ? std::to_string(*index) : std::string("n"));
    return label;
}

const SettingEntry* findSetting(std::string_view name) {
    for (const SettingEntry& entry : settingsRegistry())
        if (entry.name == name) return &entry;
    return nullptr;
}

std::string notInModelRefusal(DeviceModel model) {
    return "A(z) " + modelCaption(model) + " típusban nincs ilyen beállítás !!!";
}

std::vector<ShownSetting> readSettings(const SettingsReading& reading) {
    std::vector<ShownSetting> shown;
    for (const SettingEntry& entry : settingsRegistry())
        if (entry.availableIn(reading.model)) shown.push_back({&entry, entry.read(reading)});
    return shown;
}

namespace {

// What show prints for a target: the value, a list's element, a part of either.
std::optional<SettingValue> shownTarget(const SettingValue& value, const SettingTarget& t) {
    const SettingValue* at = &value;
    if (t.index) {
        if (value.kind != SettingValue::Kind::List || *t.index < 1 ||
            static_cast<std::size_t>(*t.index) > value.items.size())
            return std::nullopt;
        at = &value.items[static_cast<std::size_t>(*t.index - 1)];
    }
    if (t.part.empty()) return *at;
    for (const SettingPart& p : at->parts)
        if (p.name == t.part) return p.value;
    return std::nullopt;
}

std::string_view trimmedSpaces(std::string_view s) {
    return trimmed(s, [](char c) { return c == ' '; });
}

} // namespace

Checked<SettingValue> readSetting(const SettingsReading& reading, std::string_view name) {
    const std::optional<SettingTarget> target = parseSettingTarget(name);
    if (!target) return zx::Refusal{std::string("NÉV, NÉV[i] vagy NÉV.rész alakban várom !!!")};
    const SettingEntry* entry = findSetting(target->name);
    if (!entry) return zx::Refusal{std::string("Ismeretlen beállítás (set --help) !!!")};
    if (!entry->availableIn(reading.model)) return zx::Refusal{notInModelRefusal(reading.model)};
    const std::optional<SettingValue> value = shownTarget(entry->read(reading), *target);
    if (!value) return zx::Refusal{std::string("Nincs ilyen eleme vagy része !!!")};
    return *value;
}

std::vector<ListedChoices> listedChoices() {
    const auto yesNo = [](DeviceModel) { return std::vector<std::string>{"igen", "nem"}; };
    using Items = std::function<std::vector<std::string>(DeviceModel)>;
    const std::vector<std::pair<std::string, Items>> single{
        {"SmdrSpeed.speed", speedItems},
        {"SmdrSpeed.parity", [](DeviceModel) { return listedParity(); }},
        {"SmdrMode.mode", modeItems},
        {"SmdrMode.controlCharacters", [](DeviceModel) { return twentyHexItems(); }},
        {"CoWidth", [](DeviceModel) { return coWidthItems(); }},
        {"PinEnable", yesNo},
        {"DstEnable", yesNo},
        {"CallInFlags.foreign", yesNo},
        {"CallInFlags.domestic", yesNo}};
    std::vector<ListedChoices> all;
    const auto add = [&all](std::string target, const Items& items) {
        std::vector<std::string> choices = items(DeviceModel::Line4);
        for (std::string& c : items(DeviceModel::Line16))
            if (!contains(choices, c)) choices.push_back(std::move(c));
        all.push_back({std::move(target), std::move(choices)});
    };
    for (const auto& [target, items] : single)
        add(target, items);
    const int lines = std::max(MemoryMap::of(DeviceModel::Line4).lineCount(),
                               MemoryMap::of(DeviceModel::Line16).lineCount());
    for (int n = 1; n <= lines; ++n) {
        const std::string row = "LineSettings[" + std::to_string(n) + "].";
        add(row + "dialling", [n](DeviceModel m) { return dialItems(m, n); });
        add(row + "seizure", [](DeviceModel) { return seizureItems(); });
        add(row + "timerSet", [](DeviceModel) { return timerSetItems(); });
        add(row + "subLine", yesNo);
        add(row + "callIn", yesNo);
    }
    return all;
}

bool sameAsShown(const SettingValue& shown, std::string_view typed) {
    switch (shown.kind) {
    case SettingValue::Kind::Text:
        return unquotedText(typed) == shown.text;
    case SettingValue::Kind::Number:
        return trimmedSpaces(unquotedText(typed)) == std::to_string(shown.number);
    case SettingValue::Kind::Flag: {
        const std::optional<bool> b = parseYesNo(unquotedText(typed));
        return b && *b == shown.flag;
    }
    case SettingValue::Kind::Parts: {
        const std::optional<ShownParts> parts = parseShownParts(typed);
        if (!parts) return false;
        for (const auto& [name, text] : *parts) {
            const auto p = std::find_if(shown.parts.begin(), shown.parts.end(),
                                        [&](const SettingPart& sp) { return sp.name == name; });
            // The parts of a part come back flattened; only plain parts are compared.
            if (p == shown.parts.end() || p->value.kind == SettingValue::Kind::Parts ||
                !sameAsShown(p->value, quotedText(text)))
                return false;
        }
        return true;
    }
    case SettingValue::Kind::List:
        return false;
    }
    return false;
}

SettingRefusal applySetting(DatabaseRecord& record, DeviceModel model, std::string_view assignment,
                            const SetOptions& options, std::vector<std::string>* notes) {
    const std::size_t eq = assignment.find('=');
    const std::optional<SettingTarget> target = eq != std::string_view::npos && eq > 0
                                                    ? parseSettingTarget(assignment.substr(0, eq))
                                                    : std::nullopt;
    if (!target) return std::string("NÉV=ÉRTÉK alakban várom (set --help) !!!");
    const SettingEntry* entry = findSetting(target->name);
    if (!entry) return std::string("Ismeretlen beállítás (set --help) !!!");
    if (!entry->store) return std::string("Ezt a set parancs nem állítja !!!");
    if (!entry->availableIn(model)) return notInModelRefusal(model);
    // The mark show puts after a stored byte that names no choice is no part of the value.
    const std::string_view value = withoutInvalidMark(assignment.substr(eq + 1));
    // What show prints is what is stored: it stores nothing, whatever bits the editor would
    // rewrite.
    const std::optional<SettingValue> shown =
        shownTarget(entry->read(SettingsReading(record, model)), *target);
    if (shown && sameAsShown(*shown, value)) return std::nullopt;
    // A value is stored whole or not at all.
    DatabaseRecord changed = record;
    std::vector<std::string> said;
    SettingEdit edit(changed, model, options, said);
    if (auto refused = entry->store(edit, *target, value)) return refused;
    record = changed;
    if (notes) notes->insert(notes->end(), said.begin(), said.end());
    return std::nullopt;
}

SettingRefusal applySetting(ConfigImage& image, DeviceModel model, std::string_view assignment) {
    DatabaseRecord record;
    record.image = image;
    if (auto refused = applySetting(record, model, assignment)) return refused;
    image = record.image;
    return std::nullopt;
}

std::vector<std::string> settableNames(DeviceModel model) {
    DatabaseRecord record;
    applyNewConfiguration(record, model);
    const SettingsReading reading(record, model);
    std::vector<std::string> names;
    for (const SettingEntry& entry : settingsRegistry()) {
        if (!entry.store || !entry.availableIn(model)) continue;
        const SettingValue value = entry.read(reading);
        if (value.kind == SettingValue::Kind::List) {
            for (std::size_t i = 1; i <= value.items.size(); ++i)
                names.push_back(entry.name + "[" + std::to_string(i) + "]");
            continue;
        }
        names.push_back(entry.name);
        for (const SettingPart& part : value.parts)
            if (part.name != "byte") names.push_back(entry.name + "." + part.name);
    }
    return names;
}

std::string setHelpText() {
    std::string text =
        "set FÁJL|- [--model|--as-model 4|16] [--password JELSZÓ] [--force] [--from LISTA|-]\n"
        "    [--site HELY] [--owner TULAJDONOS] [--password-new JELSZÓ] [NÉV=ÉRTÉK...]\n"
        "\n"
        "Az adatbázis file beállításait változtatja, az ablak szerkesztőmezőinek szabályai "
        "szerint.\n"
        "Az értékek a megadás sorrendjében érvényesülnek (CoWidth=3 CoNumbers[1]=123 három "
        "karaktert\n"
        "tárol); a file egyszer, egy lépésben íródik, miután minden értéket elfogadott. Egy "
        "elutasított\n"
        "érték üzenetét (a mező, a korlát és az érték) a hibakimenetre írja, a file nem "
        "változik, a\n"
        "kilépési érték 1. Amit a show kiír, az egyetlen bájtot sem változtat.\n"
        "--model nélkül a file 4 vonalas konfigurációként olvasódik, hacsak elrendezése csak\n"
        "a 16 vonalas típusénak felel meg (kódhossz és kódszám, CO szélesség, SMDR sebesség);\n"
        "ezt a hibakimenet jelzi. Ha a --model ellentmond a file elrendezésének, a parancs "
        "semmit\n"
        "sem ír (kilépési érték 2); az --as-model mégis annak olvassa.\n"
        "A --force csak a CO számokat levágó CoWidth értéket engedi meg.\n"
        "--from LISTA: a show kimenetének formájában adott beállításokat alkalmazza (a - a\n"
        "szabványos bemenet), a listákat egészben; show A | zendrax-cli set B --from - B minden\n"
        "beállítását A-éra állítja; egyetlen beállítást sem tartalmazó bemenetet elutasít.\n"
        "--site, --owner, --password-new (--password-new-file FÁJL|-): a telepítés, a "
        "tulajdonos és\n"
        "az új jelszó (legfeljebb 255 karakter).\n"
        "\n"
        "A NÉV és az ÉRTÉK úgy írandó, ahogy a show kiírja:\n"
        "  NÉV=ÉRTÉK                     egyetlen érték\n"
        "  NÉV[i]=ÉRTÉK                  a lista i. eleme, 1-től számolva, ahogy a show "
        "számozza\n"
        "  NÉV.rész=ÉRTÉK                összetett érték egy része (listaelemé: "
        "NÉV[i].rész)\n"
        "  NÉV=rész=ÉRTÉK, rész=ÉRTÉK    több rész, ahogy a show sora; az a rész, amelynek "
        "értéke\n"
        "                                megegyezik a kiírttal, nem változik (a visszaadott "
        "show sor\n"
        "                                nem változtat semmit)\n"
        "Az érték körüli idézőjel elhagyható; a lista és az összetett érték a parancsértelmezőnek "
        "idézendő.\n"
        "Egy választást, amelyet a file típusa nem tárolhat, a típust megnevezve elutasít.\n"
        "Ahol a tárolt bájt egyik választást sem adja, a show byte=N alakban írja ki (utána\n"
        "# nem érvényes: és amit tarthat); a set ezt bájtra pontosan visszaveszi.\n"
        "\n"
        "Nevek (4 vonalas vagy 16 vonalas: csak abban a típusban):\n";
    std::vector<std::string> shownOnly;
    for (const SettingEntry& entry : settingsRegistry()) {
        if (entry.store)
            text += helpLines(entry);
        else
            shownOnly.push_back(entry.name);
    }
    text += "\nA show kiírja, a set egyenként nem állítja (a --from listájából a CodeLength, a "
            "CodeCount\nés a CodeTable együtt, a FreeNumbers egészben érvényesül, a Model "
            "egyezése kötelező):\n  " +
            joined(shownOnly, " ") + "\n";
    return text;
}

} // namespace zx
