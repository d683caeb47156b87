#include "files/text_lines.h"

namespace zx {

std::vector<RawText> splitLines(std::string_view bytes, std::size_t maxLines, bool* more) {
    std::vector<RawText> lines;
    std::size_t at = 0;
    if (maxLines > 0)
        at = forEachLine(bytes, [&](std::string_view line) {
            lines.emplace_back(line);
            return lines.size() < maxLines;
        });
    if (more) *more = at < bytes.size();
    return lines;
}

std::string joinLines(const std::vector<RawText>& lines) {
    std::string out;
    for (const RawText& line : lines) {
        out += line.view();
        out += "\r\n";
    }
    return out;
}

} // namespace zx
