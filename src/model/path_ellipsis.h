#pragma once
// Shortening of a file path for a narrow place (the file panel of the status bar).
#include <functional>
#include <string>
#include <string_view>

namespace zx {

// The path itself when fits() accepts it; otherwise its leading directory names give way to
// "..." one by one (the root, such as "/" or "C:\", is kept as long as possible) until fits()
// accepts the text. When even ".../name" does not fit, that text is returned anyway: the file
// name is the part the operator needs. Paths use "/" or "\" as separators (UTF-8 is safe).
std::string ellipsizePath(std::string_view path, const std::function<bool(std::string_view)>& fits);

} // namespace zx
