#include "model/report_text.h"

#include "model/cp1250_text.h"

#include <algorithm>
#include <cstdio>

namespace zx {

namespace {

const std::string Indent(10, ' ');
constexpr const char* Heading = "Sorsz. |Kód      |Jog              ";
constexpr const char* Rule = "-------+---------+-----------------";
constexpr const char* ShortHeading = "Sorsz. |Kód      |Jog        ";
constexpr const char* ShortRule = "-------+---------+-----------";
constexpr std::size_t CodeWidth = 9;
constexpr std::size_t RightsWidth = 16;
// Row number, "|", code, "|", rights.
constexpr std::size_t EntryWidth = 7 + 1 + CodeWidth + 1 + RightsWidth;
// Where the second entry of a line begins, for codes of up to 9 characters.
const std::size_t SecondColumn = 2 * Indent.size() + EntryWidth;

// Local, long-distance, mobile, international: the order of the 4-line rights columns.
constexpr const char* RightsTags[] = {"Loc,", "Nat,", "Mob,", "Int,"};

// Characters of a UTF-8 text (its width in a fixed-pitch font).
std::size_t characters(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

// A heading or rule over both entry columns. The headings are not as wide as an entry (the
// first page's one character wider, the continuation's five narrower), so the space between
// them is what puts the second over the second entry.
std::string overBothColumns(const char* column) {
    std::string line = Indent + column;
    const std::size_t width = characters(line);
    line.append(width < SecondColumn ? SecondColumn - width : 1, ' ');
    return line + column;
}

bool beginsWith(const std::string& cell, char c) {
    return !cell.empty() && cell.front() == c;
}

std::string rightsText(const CodeRowView& row, DeviceModel model) {
    std::string text;
    if (model == DeviceModel::Line4) {
        for (std::size_t c = 0; c < 4 && c < row.rights.size(); ++c)
            if (beginsWith(row.rights[c], 'I')) text += RightsTags[c];
        return text;
    }
    if (row.rights.empty() || row.rights.front().empty()) return text;
    switch (row.rights.front().front()) {
    case 'H':
        return RightsTags[0];
    case 'B':
        return RightsTags[1];
    case 'M':
        return RightsTags[2];
    case 'N':
        return RightsTags[3];
    case 'T':
        return "Tilt";
    default:
        return text;
    }
}

NumberSpan within(NumberSpan span, int count) {
    return {std::max(span.first, 1), std::min(span.last, count)};
}

} // namespace

NumberSpan chosenCodeRows(PrintChoice choice, int rowCount, std::optional<NumberSpan> selectedBlock,
                          NumberSpan range) {
    switch (choice) {
    case PrintChoice::All:
        return {1, rowCount};
    case PrintChoice::Selection:
        return selectedBlock ? within(*selectedBlock, rowCount) : NumberSpan{};
    case PrintChoice::Range:
        return within(range, rowCount);
    }
    return {};
}

std::string codeListEntry(int r, const CodeRowView& row, DeviceModel model) {
    char number[16];
    std::snprintf(number, sizeof number, "   %04d", r);
    // One byte is one character of the code, so the padding counts before the conversion.
    std::string code = row.code.bytes();
    if (code.size() < CodeWidth) code.append(CodeWidth - code.size(), ' ');
    std::string rights = rightsText(row, model);
    rights.append(RightsWidth - rights.size(), ' ');
    std::string entry = number;
    entry += '|';
    entry += utf8FromCp1250(code);
    entry += '|';
    entry += rights;
    return entry;
}

void writeCodeListReport(ReportOutput& out, const CodeListReport& report) {
    const auto bold = [&out](std::string text) { out.writeLine({std::move(text), true}); };
    const auto pageLine = [&out] { return Indent + "Oldal:" + std::to_string(out.pageNumber()); };

    bold(Indent + "Személyi kódok:" + report.fileName + Indent + report.dateTime);
    bold(Indent + "Telepítési hely:" + report.site);
    bold(Indent + "Telepítő       :" + report.owner);
    bold("");
    bold(pageLine());
    bold("");
    bold(overBothColumns(Heading));
    bold(overBothColumns(Rule));
    int page = out.pageNumber();

    const NumberSpan rows = within(report.chosen, static_cast<int>(report.rows.size()));
    const auto entry = [&](int r) {
        return codeListEntry(r, report.rows[static_cast<std::size_t>(r - 1)], report.model);
    };
    for (int r = rows.first; r <= rows.last; r += 2) {
        std::string line = Indent + entry(r);
        if (r + 1 <= rows.last) line += Indent + entry(r + 1);
        out.writeLine({line, false, true});
        out.writeLine({overBothColumns(Rule), false});
        if (out.pageNumber() > page) {
            page = out.pageNumber();
            bold("");
            bold(pageLine());
            bold("");
            bold(overBothColumns(ShortHeading));
            bold(overBothColumns(ShortRule));
        }
    }
}

void writeFreeNumberReport(ReportOutput& out, const FreeNumberReport& report) {
    const auto header = [&] {
        out.writeLine({Indent + "Szabadon hívható számok " + report.fileName +
                           "              Oldal:" + std::to_string(out.pageNumber()),
                       true});
        out.writeLine({"", false});
    };
    header();
    int page = out.pageNumber();

    const int count = static_cast<int>(report.items.size());
    const NumberSpan items =
        report.choice == PrintChoice::Range ? within(report.range, count) : NumberSpan{1, count};
    for (int i = items.first; i <= items.last; ++i) {
        const auto index = static_cast<std::size_t>(i - 1);
        if (report.choice == PrintChoice::Selection &&
            (index >= report.selected.size() || !report.selected[index]))
            continue;
        out.writeLine({Indent + report.items[index], false});
        if (out.pageNumber() > page) {
            page = out.pageNumber();
            header();
        }
    }
}

void writePlainReport(ReportOutput& out, std::span<const std::string> lines) {
    for (const std::string& line : lines)
        out.writeLine({line, false});
}

} // namespace zx
