#include "files/cp1250.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace zx {

namespace {
constexpr const char* CodePage = "windows-1250";
}

QString fromCp1250(const RawText& text) {
    QStringDecoder decoder(CodePage);
    const std::string_view bytes = text.view();
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

RawText toCp1250(const QString& text) {
    QStringEncoder encoder(CodePage);
    const QByteArray bytes = encoder.encode(text);
    if (!bytes.contains('\x1A'))
        return RawText(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // The converter marks a character it cannot map with the control code SUB; the operator
    // should see '?' instead, so map one character at a time and tell the two apart.
    std::string out;
    for (const uint code : text.toUcs4()) {
        const char32_t cp = code;
        const QByteArray one = encoder.encode(QString::fromUcs4(&cp, 1));
        if (one == "\x1A" && cp != 0x1A)
            out.push_back('?');
        else
            out.append(one.constData(), static_cast<std::size_t>(one.size()));
    }
    return RawText(std::move(out));
}

} // namespace zx
