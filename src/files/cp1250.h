#pragma once
// Record texts and text files hold Windows-1250 bytes; the user interface works in QString.
#include "model/checked.h"
#include "model/raw_text.h"

#include <QString>

#include <string>
#include <string_view>

namespace zx {

QString fromCp1250(const RawText& bytes);
// Characters the code page lacks become '?'.
RawText toCp1250(const QString& text);

// The characters of `text` that the code page cannot hold (each one that does not come back
// unchanged from its byte), in order of appearance; empty when the whole text fits.
QString charactersOutsideCp1250(const QString& text);
// "A(z) „ñ” karakter nem tárolható ... !!!": the refusal of a text naming its first such
// character.
QString outsideCp1250Message(const QString& characters);
// The text's bytes, or the refusal above: for texts that must not silently turn into '?'
// (a password "ñ" must not open a file whose password is "?").
Checked<RawText> toCp1250Exactly(const QString& text);

} // namespace zx
