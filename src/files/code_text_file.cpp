#include "files/code_text_file.h"

#include "files/text_lines.h"
#include "model/code_table.h"
#include "model/cp1250_text.h"
#include "model/text_encoding.h"
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

// The words of the rights as the writer writes them ("T\xE1v" is "Táv" in Windows-1250).
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

// What a word of a rights field means, read without regard to letter case or accents: the
// writer's words, the window's (the grid's column headings and 16-line levels, "Igen"/"Nem"
// under a 4-line column) and, in the 16-line model, the grid's letters.
enum class RightWord { Local, LongDistance, Mobile, International, Barred, Yes, No };
struct ReadWord {
    std::string_view folded;
    RightWord meaning;
    bool onlySixteen = false; // a letter of the 16-line grid
};
constexpr std::array<ReadWord, 16> ReadWords{{
    {"helyi", RightWord::Local},
    {"tav", RightWord::LongDistance},
    {"tavolsagi", RightWord::LongDistance},
    {"belfoldi", RightWord::LongDistance},
    {"mobil", RightWord::Mobile},
    {"nemz", RightWord::International},
    {"nemzetkozi", RightWord::International},
    {"tilt", RightWord::Barred},
    {"tiltott", RightWord::Barred},
    {"igen", RightWord::Yes},
    {"nem", RightWord::No},
    {"t", RightWord::Barred, true},
    {"h", RightWord::Local, true},
    {"b", RightWord::LongDistance, true},
    {"m", RightWord::Mobile, true},
    {"n", RightWord::International, true},
}};

// The 16-line level letter of a right, in the order of RightWord.
constexpr std::array<char, 5> LevelLetters{'H', 'B', 'M', 'N', 'T'};

// A UTF-8 text in lower case without the accents of Hungarian letters (and of the Latin-1
// letters that stand in for them, o and u with a tilde or a circumflex).
std::string folded(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c));
            continue;
        }
        unsigned code = 0;
        if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            ++i;
        }
        switch (code) {
        case 0xC1:
        case 0xE1:
            out.push_back('a');
            break;
        case 0xC9:
        case 0xE9:
            out.push_back('e');
            break;
        case 0xCD:
        case 0xED:
            out.push_back('i');
            break;
        case 0xD3:
        case 0xF3:
        case 0xD6:
        case 0xF6:
        case 0xD5:
        case 0xF5:
        case 0x150:
        case 0x151:
        case 0xD4:
        case 0xF4:
            out.push_back('o');
            break;
        case 0xDA:
        case 0xFA:
        case 0xDC:
        case 0xFC:
        case 0xDB:
        case 0xFB:
        case 0x170:
        case 0x171:
            out.push_back('u');
            break;
        default:
            out.push_back('\x7F');
            break; // matches no word
        }
    }
    return out;
}

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

std::optional<RightWord> meaningOf(std::string_view field, DeviceModel model) {
    const std::string word = folded(field);
    for (const ReadWord& w : ReadWords)
        if (w.folded == word && (!w.onlySixteen || model == DeviceModel::Line16)) return w.meaning;
    return std::nullopt;
}

// The rights of a line, or why they cannot be read (the reason, without the line number).
// A line without a TAB is a code alone: every right. 4-line: each field names a right
// ("Helyi", "Távolsági", ...) wherever it stands, or says "Igen"/"Nem" for the column it stands
// in; an empty field gives nothing, a barred word gives nothing and stands alone. 16-line: at
// most one field holds a level; none at all is barred, as the writer writes it.
Checked<std::vector<std::string>> rightsOf(std::string_view line, DeviceModel model) {
    const std::vector<std::string_view> fields = fieldsAfterCode(line);
    if (fields.empty()) return allRights(model);
    const auto unknown = [](std::string_view field) {
        return Refusal{"ismeretlen jogosultság: „" + std::string(field) + "”"};
    };
    if (model == DeviceModel::Line4) {
        std::array<bool, 4> granted{};
        bool barred = false;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].empty()) continue;
            const std::optional<RightWord> word = meaningOf(fields[i], model);
            if (!word) return unknown(fields[i]);
            switch (*word) {
            case RightWord::Yes:
            case RightWord::No:
                if (i >= granted.size())
                    return Refusal{"a(z) „" + std::string(fields[i]) +
                                   "” a négy jogosultság oszlopán túl áll"};
                granted[i] = granted[i] || *word == RightWord::Yes;
                break;
            case RightWord::Barred:
                barred = true;
                break;
            default:
                granted[static_cast<std::size_t>(*word)] = true;
            }
        }
        if (barred && std::find(granted.begin(), granted.end(), true) != granted.end())
            return Refusal{std::string("a tiltott kód mellett jogosultság is áll")};
        std::vector<std::string> rights;
        for (const bool right : granted)
            rights.push_back(right ? "Igen" : "Nem");
        return rights;
    }
    std::optional<RightWord> level;
    for (const std::string_view field : fields) {
        if (field.empty()) continue;
        const std::optional<RightWord> word = meaningOf(field, model);
        if (!word || *word == RightWord::Yes || *word == RightWord::No) return unknown(field);
        if (level) return Refusal{std::string("egy kódnak egy jogosultsági szintje lehet")};
        level = word;
    }
    const char letter = level ? LevelLetters[static_cast<std::size_t>(*level)] : 'T';
    return std::vector<std::string>{std::string(1, letter)};
}

// A line of nothing but spaces holds no code (the export writes a TAB after every code, even an
// empty one).
bool blankLine(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

} // namespace

Checked<CodeList> parseCodeTextFile(std::string_view bytes, DeviceModel model) {
    const Checked<std::string> decoded = utf8TextOf(bytes);
    if (!decoded) return Refusal{refused(decoded.message())};
    const std::string& text = *decoded;
    // First the whole file is read and checked, so that nothing is built from a file that is
    // refused; the first line at fault is named.
    std::size_t lines = 0;
    std::size_t longest = 0;
    std::optional<std::string> fault;
    std::vector<CodeRowView> rows;
    std::size_t lineNumber = 0;
    forEachLine(text, [&](std::string_view line) {
        ++lineNumber;
        if (blankLine(line)) return true;
        ++lines;
        const std::string_view code = codeOf(line);
        longest = std::max(longest, code.size());
        const std::string where = "a fájl " + std::to_string(lineNumber) + ". sorában ";
        // The grid takes digits only; a code of letters or control bytes could never be typed.
        if (!std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            fault = where + "nem számjegy van a kódban";
            return false;
        }
        const Checked<std::vector<std::string>> rights = rightsOf(line, model);
        if (!rights) {
            fault = where + rights.message();
            return false;
        }
        rows.push_back(CodeRowView{RawText(code), *rights});
        return true;
    });
    if (fault) return Refusal{refused(*fault)};
    // An empty file is an empty table (what the export writes for one); the code length stays.
    if (lines == 0) return CodeList{};
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
    list.rows = std::move(rows);
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
                               QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                               FileAccess::OwnerOnly);
}

} // namespace zx
