#include "model/settings_dump.h"

#include "model/code_table.h"
#include "model/code_table_shape.h"
#include "model/code_table_store.h"
#include "model/cp1250_text.h"
#include "model/editor_store.h"
#include "model/free_number_list.h"
#include "model/free_number_table.h"
#include "model/right_levels.h"
#include "model/text_encoding.h"
#include "model/value_rules.h"

#include <algorithm>
#include <array>

namespace zx {

namespace {

struct DumpItem {
    int line = 0;
    std::string value;
};

// One setting of the dump: "NAME: value", or a list "NAME: (n)" with its n elements.
struct DumpEntry {
    int line = 0;
    std::string name;
    std::string value;
    bool list = false;
    std::size_t count = 0;
    std::vector<DumpItem> items;
};

std::string atLine(int line, const std::string& what, const std::string& message) {
    return std::to_string(line) + ". sor: " + what + ": " + message;
}

std::optional<std::size_t> listCount(std::string_view value) {
    if (value.size() < 3 || value.front() != '(' || value.back() != ')') return std::nullopt;
    const std::optional<long long> n = readWholeNumber(value.substr(1, value.size() - 2));
    if (!n || *n < 0 || value[1] == ' ' || value[1] == '+' || value[1] == '-') return std::nullopt;
    return static_cast<std::size_t>(*n);
}

Checked<std::vector<DumpEntry>> parseDump(std::string_view text) {
    std::vector<DumpEntry> entries;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(' ') == std::string_view::npos) continue;
        const std::size_t colon = line.find(": ");
        const auto refused = [&](const std::string& why) {
            return Refusal{std::to_string(number) + ". sor: " + why + " !!!"};
        };
        if (colon == std::string_view::npos) return refused("NÉV: ÉRTÉK alakban várom");
        if (line.starts_with("  ")) {
            if (entries.empty() || !entries.back().list) return refused("listaelem lista nélkül");
            DumpEntry& list = entries.back();
            const std::string expected = "  " + std::to_string(list.items.size() + 1);
            if (line.substr(0, colon) != expected)
                return refused(list.name + " " + std::to_string(list.items.size() + 1) +
                               ". elemét várom");
            list.items.push_back({number, std::string(line.substr(colon + 2))});
            continue;
        }
        DumpEntry entry;
        entry.line = number;
        entry.name = std::string(line.substr(0, colon));
        entry.value = std::string(line.substr(colon + 2));
        if (const auto count = listCount(entry.value)) {
            entry.list = true;
            entry.count = *count;
        }
        entries.push_back(std::move(entry));
    }
    for (const DumpEntry& e : entries)
        if (e.list && e.items.size() != e.count)
            return Refusal{atLine(e.line, e.name,
                                  std::to_string(e.count) + " elemet ír, " +
                                      std::to_string(e.items.size()) + " következik !!!")};
    return entries;
}

// A code table row as show prints it: code="...", rights=... (4-line: the four columns' parts,
// which come back flattened behind "rights"; 16-line: the level's word), and the stored rights
// character where show gives it (rightsByte).
struct DumpCodeRow {
    CodeRowView row;
    std::optional<Byte> rightsByte;
};

Checked<DumpCodeRow> codeRowOf(std::string_view value, DeviceModel model) {
    const std::optional<ShownParts> parts = parseShownParts(withoutInvalidMark(value));
    if (!parts) return Refusal{std::string("code=..., rights=... alakban várom !!!")};
    std::vector<std::pair<std::string, std::string>> named;
    for (const auto& [name, text] : *parts) {
        if (name == "rights" && text.find('=') != std::string::npos) {
            if (const auto inner = parseShownParts(text))
                named.insert(named.end(), inner->begin(), inner->end());
            continue;
        }
        named.emplace_back(name, text);
    }
    const auto find = [&](std::string_view name) -> std::optional<std::string> {
        for (const auto& [n, t] : named)
            if (n == name) return t;
        return std::nullopt;
    };
    DumpCodeRow dumped;
    CodeRowView& row = dumped.row;
    if (const std::optional<std::string> raw = find("rightsByte")) {
        const Checked<Byte> b = checkByteRange(*raw);
        if (!b) return Refusal{"rightsByte: " + b.message()};
        dumped.rightsByte = *b;
    }
    const std::optional<std::string> code = find("code");
    if (!code) return Refusal{std::string("hiányzik a code rész !!!")};
    std::string outside;
    const std::optional<RawText> bytes = cp1250FromUtf8(*code, &outside);
    if (!bytes) return Refusal{outsideCp1250Refusal(outside)};
    row.code = *bytes;
    if (model == DeviceModel::Line4) {
        for (const char* column : {"Helyi", "Távolsági", "Mobil", "Nemzetközi"}) {
            const std::optional<std::string> cell = find(column);
            if (!cell || (*cell != "Igen" && *cell != "Nem"))
                return Refusal{std::string(column) + ": Igen vagy Nem lehet !!!"};
            row.rights.push_back(*cell);
        }
        return dumped;
    }
    const std::string word = find("rights").value_or("");
    for (const char letter : {'T', 'H', 'B', 'M', 'N'})
        if (rightLevelWord(std::string(1, letter)) == word) row.rights = {std::string(1, letter)};
    if (row.rights.empty()) return Refusal{"ismeretlen jogosultság: „" + word + "” !!!"};
    return dumped;
}

// CodeLength, CodeCount and the rows of CodeTable together: the table laid out as the dump
// shows it, the records past the count blank as in a new configuration.
SettingRefusal applyCodeTable(DatabaseRecord& record, DeviceModel model, const DumpEntry& length,
                              const DumpEntry& count, const DumpEntry& table) {
    const EditorView shown = decodeForEditors(record.image, model);
    const std::optional<long long> l = readWholeNumber(length.value);
    const std::optional<long long> n = readWholeNumber(count.value);
    std::vector<CodeRowView> rows;
    std::vector<std::optional<Byte>> rawRights;
    for (std::size_t i = 0; i < table.items.size(); ++i) {
        const std::string what = table.name + "[" + std::to_string(i + 1) + "]";
        const Checked<DumpCodeRow> row = codeRowOf(table.items[i].value, model);
        if (!row) return atLine(table.items[i].line, what, row.message());
        rows.push_back(row->row);
        rawRights.push_back(row->rightsByte);
    }
    // The table as shown stores nothing, whatever its length and count hold.
    const SettingValue shownTable = findSetting(table.name)->read(SettingsReading(record, model));
    bool asShown = l == shown.codeLength && n == shown.codeCount &&
                   shownTable.items.size() == table.items.size();
    for (std::size_t i = 0; asShown && i < table.items.size(); ++i)
        asShown = shownText(shownTable.items[i]) == table.items[i].value;
    if (asShown) return std::nullopt;
    if (!l || *l - 1 < MinCodeDigits || *l - 1 > MaxCodeDigits)
        return atLine(length.line, length.name, "3..9 lehet !!!");
    const int codeLength = static_cast<int>(*l);
    if (!n || *n < 0 || *n > codeTableCapacity(codeLength))
        return atLine(count.line, count.name,
                      "0.." + std::to_string(codeTableCapacity(codeLength)) + " lehet !!!");
    const int codeCount = static_cast<int>(*n);
    // Without codes the table shows one empty row, which is no code.
    if (codeCount == 0) rows.clear();
    if (rows.size() != static_cast<std::size_t>(codeCount))
        return atLine(table.line, table.name,
                      std::to_string(codeCount) + " sort várok a CodeCount szerint !!!");
    const FieldRule codeRule{"Kód", static_cast<std::size_t>(codeLength - 1),
                             FieldCharacters::Digits};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string code = rows[i].code.bytes();
        while (!code.empty() && code.back() == ' ')
            code.pop_back();
        if (auto refused = fieldRefusal(codeRule, RawText(code)))
            return atLine(table.items[i].line, table.name + "[" + std::to_string(i + 1) + "]",
                          refused->message);
    }
    const MemoryMap& map = MemoryMap::of(model);
    ImagePatch patch;
    patch.set(*map.offset(Field::CodeLength), static_cast<Byte>(codeLength));
    patch.setWord(*map.offset(Field::CodeCount), static_cast<std::uint16_t>(codeCount));
    ConfigImage counted = record.image;
    patch.applyTo(counted);
    patch.append(codeRecordsPatch(counted, model, rows));
    const std::size_t start = *map.offset(Field::CodeTable);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rawRights[i])
            patch.set(start + (i + 1) * static_cast<std::size_t>(codeLength) - 1, *rawRights[i]);
    withCodeTailBlanked(record.image, model, std::move(patch)).applyTo(record.image);
    return std::nullopt;
}

SettingRefusal applyFreeNumbers(DatabaseRecord& record, DeviceModel model, const DumpEntry& list) {
    std::vector<RawText> entries;
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const std::string what = list.name + "[" + std::to_string(i + 1) + "]";
        std::string outside;
        const std::optional<RawText> bytes =
            cp1250FromUtf8(unquotedText(list.items[i].value), &outside);
        if (!bytes) return atLine(list.items[i].line, what, outsideCp1250Refusal(outside));
        entries.push_back(*bytes);
    }
    if (entries == decodeForEditors(record.image, model).freeNumbers) return std::nullopt;
    const int capacity = freeNumberCapacity(model);
    if (entries.size() > static_cast<std::size_t>(capacity))
        return atLine(list.line, list.name,
                      "legfeljebb " + std::to_string(capacity) + " szám lehet !!!");
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (auto refused = freeNumberRefusal(entries[i]))
            return atLine(list.items[i].line, list.name + "[" + std::to_string(i + 1) + "]",
                          refused->message);
    for (RawText& entry : entries)
        entry = freeNumberEntry(entry);
    writeFreeNumbers(record.image, model, entries);
    return std::nullopt;
}

SettingRefusal applyEntry(DatabaseRecord& record, DeviceModel model, const DumpEntry& e) {
    const SettingEntry* setting = findSetting(e.name);
    if (!setting) return atLine(e.line, e.name, "Ismeretlen beállítás !!!");
    if (!setting->availableIn(model)) return atLine(e.line, e.name, notInModelRefusal(model));
    if (!setting->store) return atLine(e.line, e.name, "Ezt a set parancs nem állítja !!!");
    // The CO numbers follow their width in the dump: a width that cuts the numbers held is
    // followed by the numbers that fit it.
    const SetOptions options{true};
    if (!e.list) {
        if (auto refused = applySetting(record, model, e.name + "=" + e.value, options))
            return atLine(e.line, e.name, *refused);
        return std::nullopt;
    }
    const SettingValue shown = setting->read(SettingsReading(record, model));
    if (shown.items.size() != e.count)
        return atLine(e.line, e.name,
                      std::to_string(shown.items.size()) + " elemű lista, nem " +
                          std::to_string(e.count) + " !!!");
    for (std::size_t i = 0; i < e.items.size(); ++i) {
        const std::string name = e.name + "[" + std::to_string(i + 1) + "]";
        if (auto refused = applySetting(record, model, name + "=" + e.items[i].value, options))
            return atLine(e.items[i].line, name, *refused);
    }
    return std::nullopt;
}

} // namespace

SettingRefusal applySettingsDump(DatabaseRecord& record, DeviceModel model, std::string_view dump) {
    if (const std::string refused = encodingRefusal(dump); !refused.empty())
        return "A lista nem olvasható: " + refused + " !!!";
    const Checked<std::vector<DumpEntry>> parsed = parseDump(dump);
    if (!parsed) return parsed.message();
    // An empty input is no copy: a show that failed in front of the pipe gives nothing.
    if (parsed->empty()) return std::string("Nincs beállítás a bemeneten, semmi sem változott !!!");
    DatabaseRecord changed = record;
    const DumpEntry* codeParts[3] = {nullptr, nullptr, nullptr}; // length, count, table
    static const std::array<std::string_view, 3> codeNames{"CodeLength", "CodeCount", "CodeTable"};
    for (const DumpEntry& e : *parsed) {
        if (e.name == "Model") {
            if (unquotedText(e.value) != modelCaption(model))
                return atLine(e.line, e.name,
                              "a lista " + unquotedText(e.value) + " konfigurációé, a file " +
                                  modelCaption(model) + " szerint olvasva !!!");
            continue;
        }
        // What follows from the file or from other settings.
        if (e.name == "LastModified" || e.name == "CodeStatus") continue;
        const auto code = std::find(codeNames.begin(), codeNames.end(), e.name);
        if (code != codeNames.end()) {
            codeParts[code - codeNames.begin()] = &e;
            continue;
        }
        const SettingRefusal refused = e.name == "FreeNumbers" && e.list
                                           ? applyFreeNumbers(changed, model, e)
                                           : applyEntry(changed, model, e);
        if (refused) return refused;
    }
    const auto missing = std::count(codeParts, codeParts + 3, nullptr);
    if (missing == 0) {
        if (auto refused =
                applyCodeTable(changed, model, *codeParts[0], *codeParts[1], *codeParts[2]))
            return refused;
    } else if (missing != 3) {
        return std::string("A CodeLength, a CodeCount és a CodeTable csak együtt adható meg !!!");
    }
    record = changed;
    return std::nullopt;
}

std::vector<std::string> settingsDumpLines(const SettingsReading& reading) {
    std::vector<std::string> lines;
    for (const ShownSetting& s : readSettings(reading))
        appendShownLines(lines, s.entry->name, s.value);
    return lines;
}

} // namespace zx
