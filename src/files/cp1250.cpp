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
    const QList<uint> codes = text.toUcs4();
    if (!bytes.contains('\x1A') && bytes.size() == codes.size())
        return RawText(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // The converter marks a character it cannot map with the control code SUB, and drops
    // zero-width ones without a trace; the operator should see '?' for both, so map one
    // character at a time and tell them from a real SUB.
    std::string out;
    for (const uint code : codes) {
        const char32_t cp = code;
        const QByteArray one = encoder.encode(QString::fromUcs4(&cp, 1));
        if ((one == "\x1A" && cp != 0x1A) || one.size() != 1)
            out.push_back('?');
        else
            out.append(one.constData(), static_cast<std::size_t>(one.size()));
    }
    return RawText(std::move(out));
}

} // namespace zx
