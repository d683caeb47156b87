#pragma once
// Lines of the list files' text: Windows-1250 bytes, lines ended by CR LF when written; CR LF and
// a bare LF both end a line when read.
#include "model/raw_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zx {

// Calls f(line) for each line, without its end, until f returns false. The end of the last
// line starts no further line; a last line without an end still counts, so "a\r\nb" and
// "a\nb\r\n" are both two lines and "" none. Returns where reading stopped.
template <class F> std::size_t forEachLine(std::string_view bytes, F&& f) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        else if (end > at && bytes[end - 1] == '\r')
            --end;
        const bool goOn = f(bytes.substr(at, end - at));
        at = next;
        if (!goOn) break;
    }
    return at;
}

// The lines, at most maxLines of them; `more` then says whether any text is left.
std::vector<RawText> splitLines(std::string_view bytes, std::size_t maxLines = SIZE_MAX,
                                bool* more = nullptr);

// Each line followed by CR LF.
std::string joinLines(const std::vector<RawText>& lines);

} // namespace zx
