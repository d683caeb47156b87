#include "files/cp1250.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace zx {

namespace {
constexpr const char* CodePage = "windows-1250";
}

QString fromCp1250(std::string_view bytes) {
    QStringDecoder decoder(CodePage);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toCp1250(const QString& text) {
    QStringEncoder encoder(CodePage);
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace zx
