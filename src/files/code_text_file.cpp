#include "files/code_text_file.h"

#include "files/text_lines.h"
#include "model/code_table.h"
#include "model/trimmed.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace zx {

namespace {

constexpr char Tab = '\t';

// Spaces and control characters.
bool blank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string refused(const std::string& reason) {
    return "A kódszöveg nem tölthető be: " + reason + " !!!";
}

// The words of the rights as the file holds them ("T\xE1v" is "Táv" in Windows-1250): the
// one table the writer writes and the reader reads.
// 4-line: one column per right, in the grid's order (local, long-distance, mobile,
// international), holding its word or nothing.
constexpr std::array<std::string_view, 4> RightColumns{"Helyi", "T\xE1v", "Mobil", "Nemz"};
// 16-line: one column holding the word of the right level.
struct RightLevelWord {
    char letter;
    std::string_view word;
};
constexpr std::array<RightLevelWord, 5> RightLevels{{
    {'T', "Tilt"},
    {'H', "Helyi"},
    {'B', "T\xE1v"},
    {'M', "Mobil"},
    {'N', "Nemz"},
}};

// The text before the line's first TAB, without blanks around it.
std::string_view codeOf(std::string_view line) {
    return trimmed(line.substr(0, line.find(Tab)), blank);
}

bool startsWith(const std::vector<std::string>& rights, std::size_t i, char c) {
    return i < rights.size() && !rights[i].empty() && rights[i].front() == c;
}

std::string rightsFields(const CodeRowView& row, DeviceModel model) {
    std::string out;
    if (model == DeviceModel::Line4) {
        for (std::size_t c = 0; c < RightColumns.size(); ++c) {
            out += Tab;
            if (startsWith(row.rights, c, 'I')) out += RightColumns[c];
        }
        return out;
    }
    out += Tab;
    for (const RightLevelWord& level : RightLevels)
        if (startsWith(row.rights, 0, level.letter)) out += level.word;
    return out;
}

// The fields after the code: the line's text behind its first TAB, split at every TAB, each
// without blanks around it; none for a line without a TAB.
std::vector<std::string_view> fieldsAfterCode(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = line.find(Tab);
    while (at != std::string_view::npos) {
        const std::size_t next = line.find(Tab, at + 1);
        fields.push_back(
            trimmed(line.substr(at + 1, next == std::string_view::npos ? std::string_view::npos
                                                                       : next - at - 1),
                    blank));
        at = next;
    }
    return fields;
}

// The rights a line carries in the layout the writer gives it: 4-line, four columns each
// holding its own word or nothing; 16-line, one column holding a level's word (or nothing,
// which the store writes as barred). Any other line carries none.
std::optional<std::vector<std::string>> rightsOf(std::string_view line, DeviceModel model) {
    const std::vector<std::string_view> fields = fieldsAfterCode(line);
    if (model == DeviceModel::Line4) {
        if (fields.size() != RightColumns.size()) return std::nullopt;
        std::vector<std::string> rights;
        for (std::size_t c = 0; c < RightColumns.size(); ++c) {
            if (!fields[c].empty() && fields[c] != RightColumns[c]) return std::nullopt;
            rights.push_back(fields[c].empty() ? "Nem" : "Igen");
        }
        return rights;
    }
    if (fields.size() != 1) return std::nullopt;
    if (fields.front().empty()) return std::vector<std::string>{"T"};
    for (const RightLevelWord& level : RightLevels)
        if (fields.front() == level.word) return std::vector<std::string>{{level.letter}};
    return std::nullopt;
}

} // namespace

Checked<CodeList> parseCodeTextFile(std::string_view bytes, DeviceModel model) {
    // First the whole file is measured, so that nothing is built from a file that is refused.
    std::size_t lines = 0;
    std::size_t longest = 0;
    std::size_t notDigits = 0; // the first line whose code holds anything but digits
    forEachLine(bytes, [&](std::string_view line) {
        ++lines;
        const std::string_view code = codeOf(line);
        longest = std::max(longest, code.size());
        // The grid takes digits only; a code of letters or control bytes could never be typed.
        if (!std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }))
            notDigits = lines;
        return notDigits == 0;
    });
    if (notDigits > 0)
        return Refusal{
            refused("nem számjegy van a fájl " + std::to_string(notDigits) + ". sorának kódjában")};
    if (lines == 0) return Refusal{refused("a file egyetlen kódot sem tartalmaz")};
    const int digits = static_cast<int>(std::min<std::size_t>(longest, 1000000));
    if (digits < MinCodeLength - 1 || digits > MaxCodeLength - 1)
        return Refusal{
            refused("a leghosszabb kód " + std::to_string(digits) + " jegyű, 2..8 jegyű lehet")};
    CodeList list;
    list.codeLength = digits + 1;
    const auto capacity = static_cast<std::size_t>(codeTableCapacity(list.codeLength));
    if (lines > capacity)
        return Refusal{refused(std::to_string(lines) + " darab " + std::to_string(digits) +
                               " jegyű kód nem fér el a kódtáblában, legfeljebb " +
                               std::to_string(capacity) + " fér el")};
    list.codeCount = static_cast<int>(lines);
    list.rows.reserve(lines);
    forEachLine(bytes, [&](std::string_view line) {
        // A line with its rights in the writer's layout keeps them; any other, a code alone
        // included, gets every right.
        list.rows.push_back(
            CodeRowView{RawText(codeOf(line)), rightsOf(line, model).value_or(allRights(model))});
        return true;
    });
    return list;
}

std::string codeTextFileBytes(const CodeList& list, DeviceModel model) {
    std::string out;
    const CodeRowView empty;
    for (std::size_t n = 0; n < static_cast<std::size_t>(std::max(list.codeCount, 0)); ++n) {
        const CodeRowView& row = n < list.rows.size() ? list.rows[n] : empty;
        out += row.code.view();
        out += rightsFields(row, model);
        out += "\r\n";
    }
    return out;
}

Checked<CodeList> readCodeTextFile(const QString& path, DeviceModel model) {
    const FileReadResult file = readFileBytes(path);
    if (!file.ok()) return Refusal{file.message.toStdString()};
    return parseCodeTextFile(
        std::string_view(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size())),
        model);
}

FileWriteResult writeCodeTextFile(const QString& path, const CodeList& list, DeviceModel model) {
    const std::string bytes = codeTextFileBytes(list, model);
    return writeFileAtomically(path,
                               QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace zx
