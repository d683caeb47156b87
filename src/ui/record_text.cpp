#include "ui/record_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zx {

QString fromRecordText(std::string_view bytes) {
    QStringDecoder decode("windows-1250");
    return decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toRecordText(const QString& text) {
    QStringEncoder encode("windows-1250");
    const QByteArray bytes = encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace zx
