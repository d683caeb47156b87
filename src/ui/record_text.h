#pragma once
// Texts of the record are single-byte Windows-1250; the window works in Unicode.
#include <QString>

#include <string>
#include <string_view>

namespace zx {

QString fromRecordText(std::string_view bytes);
std::string toRecordText(const QString& text);
// The UTF-8 texts of the model layer (item captions) as window texts.
QString fromUtf8(std::string_view text);

} // namespace zx
