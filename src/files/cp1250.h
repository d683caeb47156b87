#pragma once
// Record texts and text files hold Windows-1250 bytes; the user interface works in QString.
#include <QString>

#include <string>
#include <string_view>

namespace zx {

QString fromCp1250(std::string_view bytes);
// Characters the code page lacks become '?'.
std::string toCp1250(const QString& text);

} // namespace zx
