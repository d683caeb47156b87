#include "files/code_list_file.h"

#include "model/code_table.h"

namespace zx {

namespace {

constexpr std::size_t HeaderSize = 3;
constexpr char EndMark = 0;

std::string refused(const std::string& reason) {
    return "A kódlista nem tölthető be: " + reason + " !!!";
}

std::string notFitting(int count, int codeLength) {
    return std::to_string(count) + " darab " + std::to_string(codeLength - 1) +
           " jegyű kód nem fér el a kódtáblában, legfeljebb " +
           std::to_string(codeTableCapacity(codeLength)) + " fér el";
}

} // namespace

Checked<CodeList> parseCodeListFile(std::string_view bytes, DeviceModel model) {
    if (bytes.size() < HeaderSize)
        return Refusal{
            refused("a file " + std::to_string(bytes.size()) + " bájtos, a fejléce is hiányos")};
    CodeList list;
    list.codeLength = static_cast<unsigned char>(bytes[0]);
    const int low = static_cast<unsigned char>(bytes[1]);
    const int high = static_cast<unsigned char>(bytes[2]);
    list.codeCount = low | high << 8;
    if (list.codeLength < MinCodeLength || list.codeLength > MaxCodeLength)
        return Refusal{refused("a kódhossz " + std::to_string(list.codeLength) +
                               ", 3..9 között kell lenni (2..8 számjegy)")};
    if (list.codeCount > codeTableCapacity(list.codeLength))
        return Refusal{refused(notFitting(list.codeCount, list.codeLength))};
    const auto length = static_cast<std::size_t>(list.codeLength);
    const std::size_t whole = (bytes.size() - HeaderSize) / length;
    if (whole < static_cast<std::size_t>(list.codeCount))
        return Refusal{refused("a file " + std::to_string(list.codeCount) + " kód helyett csak " +
                               std::to_string(whole) + " teljes kódot tartalmaz")};
    list.rows.reserve(static_cast<std::size_t>(list.codeCount));
    for (std::size_t n = 0; n < static_cast<std::size_t>(list.codeCount); ++n) {
        const auto* record = reinterpret_cast<const Byte*>(bytes.data() + HeaderSize + n * length);
        list.rows.push_back(decodeCodeRecord({record, length}, model));
    }
    return list;
}

Checked<std::string> codeListFileBytes(const CodeList& list, DeviceModel model) {
    if (list.codeLength < MinCodeLength || list.codeLength > MaxCodeLength)
        return Refusal{meaninglessCodeLengthMessage(list.codeLength)};
    if (list.codeCount < 0 || list.codeCount > codeTableCapacity(list.codeLength))
        return Refusal{meaninglessCodeCountMessage(list.codeCount)};
    std::string out;
    out.push_back(static_cast<char>(list.codeLength));
    out.push_back(static_cast<char>(list.codeCount & 0xFF));
    out.push_back(static_cast<char>(list.codeCount >> 8));
    const CodeRowView empty;
    for (std::size_t n = 0; n < static_cast<std::size_t>(list.codeCount); ++n) {
        const CodeRowView& row = n < list.rows.size() ? list.rows[n] : empty;
        for (Byte b : encodeCodeRecord(row, list.codeLength, model))
            out.push_back(static_cast<char>(b));
    }
    out.push_back(EndMark);
    return out;
}

Checked<CodeList> readCodeListFile(const QString& path, DeviceModel model) {
    const FileReadResult file = readFileBytes(path);
    if (!file.ok()) return Refusal{file.message.toStdString()};
    return parseCodeListFile(
        std::string_view(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size())),
        model);
}

FileWriteResult writeCodeListFile(const QString& path, const CodeList& list, DeviceModel model) {
    const Checked<std::string> bytes = codeListFileBytes(list, model);
    if (!bytes) return FileWriteResult{false, QString::fromStdString(bytes.message())};
    return writeFileAtomically(path,
                               QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())),
                               FileAccess::OwnerOnly);
}

} // namespace zx
