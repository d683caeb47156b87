#include "files/cp1250.h"

#include "model/cp1250_text.h"

#include <QByteArray>
#include <QList>
#include <QStringEncoder>

namespace zx {

namespace {
constexpr const char* CodePage = "windows-1250";
}

QString fromCp1250(const RawText& text) {
    // Reading is a fixed table of one character per byte, the same as the converter's. The
    // converter is not opened for it: its code and tables take about a megabyte of memory as
    // soon as the window fills its first views, and only storing a typed text needs them.
    return QString::fromStdString(utf8FromCp1250(text));
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

QString charactersOutsideCp1250(const QString& text) {
    // A character fits when its byte decodes to the same character again: this also catches
    // the converter's nearest-look-alike mappings, which would change the text on the way.
    if (fromCp1250(toCp1250(text)) == text) return {};
    QString outside;
    for (const uint code : text.toUcs4()) {
        const char32_t cp = code;
        const QString one = QString::fromUcs4(&cp, 1);
        const RawText byte = toCp1250(one);
        if (byte.size() != 1 || fromCp1250(byte) != one) outside += one;
    }
    return outside;
}

QString outsideCp1250Message(const QString& characters) {
    QString first = characters;
    if (!characters.isEmpty()) first = characters.left(characters.at(0).isHighSurrogate() ? 2 : 1);
    return QString::fromStdString(outsideCp1250Refusal(first.toStdString()));
}

Checked<RawText> toCp1250Exactly(const QString& text) {
    const QString outside = charactersOutsideCp1250(text);
    if (!outside.isEmpty()) return Refusal{outsideCp1250Message(outside).toStdString()};
    return toCp1250(text);
}

} // namespace zx
