#include "model/path_ellipsis.h"

#include <vector>

namespace zx {

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

// Length of the root that stays in front of the ellipsis: "/", "\\", "C:\" or "C:".
std::size_t rootLength(std::string_view path) {
    std::size_t n = 0;
    if (path.size() >= 2 && path[1] == ':') n = 2;
    while (n < path.size() && isSeparator(path[n]))
        ++n;
    return n;
}

} // namespace

std::string ellipsizePath(std::string_view path,
                          const std::function<bool(std::string_view)>& fits) {
    if (fits(path)) return std::string(path);

    const std::size_t root = rootLength(path);
    // Start of every name after the root; the last one is the file name.
    std::vector<std::size_t> starts;
    std::size_t pos = root;
    while (pos < path.size()) {
        starts.push_back(pos);
        while (pos < path.size() && !isSeparator(path[pos]))
            ++pos;
        while (pos < path.size() && isSeparator(path[pos]))
            ++pos;
    }
    if (starts.size() < 2) return std::string(path); // no directory to give way

    const std::string_view rootText = path.substr(0, root);
    auto separatorBefore = [&](std::size_t start) { return path[start - 1]; };
    std::string candidate;
    for (std::size_t k = 1; k < starts.size(); ++k) {
        candidate.assign(rootText);
        candidate += "...";
        candidate += separatorBefore(starts[k]);
        candidate += path.substr(starts[k]);
        if (fits(candidate)) return candidate;
    }
    const std::size_t last = starts.back();
    candidate = "...";
    candidate += separatorBefore(last);
    candidate += path.substr(last);
    return candidate;
}

} // namespace zx
