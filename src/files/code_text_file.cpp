#include "files/code_text_file.h"

#include "files/text_lines.h"
#include "model/code_table.h"
#include "model/trimmed.h"

#include <algorithm>

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

// The words of the rights as the file holds them ("T\xE1v" is "Táv" in Windows-1250).
constexpr const char* Local = "Helyi";
constexpr const char* LongDistance = "T\xE1v";
constexpr const char* Mobile = "Mobil";
constexpr const char* International = "Nemz";
constexpr const char* Barred = "Tilt";

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
        static const char* const names[] = {Local, LongDistance, Mobile, International};
        for (std::size_t c = 0; c < 4; ++c) {
            out += Tab;
            if (startsWith(row.rights, c, 'I')) out += names[c];
        }
        return out;
    }
    static const std::pair<char, const char*> levels[] = {
        {'T', Barred}, {'H', Local}, {'B', LongDistance}, {'M', Mobile}, {'N', International}};
    out += Tab;
    for (const auto& [letter, name] : levels)
        if (startsWith(row.rights, 0, letter)) out += name;
    return out;
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
        list.rows.push_back(CodeRowView{RawText(codeOf(line)), allRights(model)});
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
