#pragma once
// Record texts and text files hold Windows-1250 bytes; the user interface works in QString.
#include "model/raw_text.h"

#include <QString>

#include <string>
#include <string_view>

namespace zx {

QString fromCp1250(const RawText& bytes);
// Characters the code page lacks become '?'.
RawText toCp1250(const QString& text);

} // namespace zx
