#pragma once
// The binary code list ("PIN.DAT"): CodeLength L, CodeCount N low byte then high byte, N code
// records of L bytes each as the code table holds them, and an end mark 0. The file does not
// say which model wrote it; the rights character is read with the model in use.
#include "files/code_list.h"
#include "files/file_bytes.h"
#include "model/checked.h"

#include <QString>

#include <string>
#include <string_view>

namespace zx {

// The whole list, or a refusal when L is outside 3..9, when N records of L bytes would not fit
// the code table, or when the file ends before its last record. The end mark and anything
// after it are not read.
Checked<CodeList> parseCodeListFile(std::string_view bytes, DeviceModel model);

// The file's bytes: N records from the rows (codes padded with spaces or cut to L - 1
// characters, the rights character of the model), then the end mark. A list whose L or N the
// table cannot hold is refused, so that no file is written that no import would take.
Checked<std::string> codeListFileBytes(const CodeList& list, DeviceModel model);

Checked<CodeList> readCodeListFile(const QString& path, DeviceModel model);
[[nodiscard]] FileWriteResult writeCodeListFile(const QString& path, const CodeList& list,
                                                DeviceModel model);

} // namespace zx
