#pragma once
// The printed reports as text: the code list and the free-number list laid out in columns with
// spaces for a fixed-pitch font, with headers that name the database file and repeat with the
// page number on every further page. A report writer hands its lines one by one to an output
// and asks it after each line which page it has reached, so the headers of further pages come
// where the output's pages break; the line printer is one output, a plain list another.
#include "model/code_record.h"
#include "model/types.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zx {

struct ReportLine {
    std::string text; // UTF-8; empty for an empty line
    bool bold = false;
    // The next line goes on the same page as this one (a code list entry and its rule line).
    bool keepWithNext = false;
    bool operator==(const ReportLine&) const = default;
};

class ReportOutput {
  public:
    virtual ~ReportOutput() = default;
    virtual void writeLine(const ReportLine& line) = 0;
    // The page the next line goes on, counted from 1.
    virtual int pageNumber() const = 0;
};

// The lines of a report in a list, all on page 1: what the command line prints.
class ReportLines : public ReportOutput {
  public:
    void writeLine(const ReportLine& line) override { lines.push_back(line); }
    int pageNumber() const override { return 1; }
    std::vector<ReportLine> lines;
};

// What the print dialog's choice prints: everything, the selection, or a range of numbers.
// The numbers of a range are row or item numbers, not printed pages.
enum class PrintChoice { All, Selection, Range };

// Numbers first..last, both included; empty when last < first.
struct NumberSpan {
    int first = 1;
    int last = 0;
    bool operator==(const NumberSpan&) const = default;
};

// The code rows a choice prints of a grid with rowCount code rows: all of them, the rows of the
// grid's selected block (none without a selection), or the range. Never a row the grid lacks.
NumberSpan chosenCodeRows(PrintChoice choice, int rowCount, std::optional<NumberSpan> selectedBlock,
                          NumberSpan range);

struct CodeListReport {
    DeviceModel model = DeviceModel::Line4;
    std::span<const CodeRowView> rows; // grid row r is rows[r - 1], as the grid shows it
    NumberSpan chosen;                 // grid rows to print; rows the grid lacks are left out
    std::string fileName;              // CurrentFileName; empty for a new configuration
    std::string site, owner;
    std::string dateTime; // when printed, in the operator's short date and long time format
};

// The 34-character entry of grid row r (more with a code longer than 9 characters): the row
// number, the code padded to 9 characters and the rights padded to 16.
std::string codeListEntry(int r, const CodeRowView& row, DeviceModel model);

// First-page header, two entries per line each followed by a rule line kept on the entry's page,
// and a shorter header with the page number at the top of every further page. Headings and
// rule lines stand over the entry columns: the second at the column where the second entry of
// a line begins.
void writeCodeListReport(ReportOutput& out, const CodeListReport& report);

struct FreeNumberReport {
    std::span<const std::string> items; // the list's items in order, UTF-8
    // With the selection choice only the items marked here are printed.
    std::vector<bool> selected;
    PrintChoice choice = PrintChoice::All;
    NumberSpan range;     // item numbers, with the range choice
    std::string fileName; // CurrentFileName
};

// A header line with the file name and page number and an empty line, repeated at the top of
// every page, then one line per item.
void writeFreeNumberReport(ReportOutput& out, const FreeNumberReport& report);

// Lines as they are, in the normal face (the terminal screen's text).
void writePlainReport(ReportOutput& out, std::span<const std::string> lines);

} // namespace zx
