#pragma once
// The one record the program keeps: header, four short strings and the configuration image.
#include "model/config_image.h"
#include "model/raw_text.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace zx {

class DatabaseRecord {
  public:
    enum class Slot { Site, Owner, Password, ConnectionName };

    DatabaseRecord(); // every byte zero, header included

    // Short strings hold raw single-byte (Windows-1250) characters. The bytes after a text's
    // characters are always zero, so that nothing of an earlier, longer text (a password
    // above all) lives on in the record or in a file saved from it.
    RawText text(Slot s) const;
    // Cut to 255 characters; the rest of the slot becomes zeros.
    void setText(Slot s, const RawText& value);
    int textLength(Slot s) const;

    void writeHeader(); // length byte 10 and "Zendrax1V2"
    // A record of `image` that opens as `textsFrom` does: its header, site, owner and password
    // (a unit's configuration kept before it is overwritten).
    static DatabaseRecord keeping(const ConfigImage& image, const DatabaseRecord& textsFrom);
    bool headerValid() const; // exactly that header

    ConfigImage image;

    std::array<Byte, RecordSize> toBytes() const;
    // Every byte as given, except what follows each short string's characters: those bytes
    // carry no meaning, and files of other writers may hold old texts there.
    static DatabaseRecord fromBytes(std::span<const Byte, RecordSize> bytes);

    // Record offset of a slot's length byte (11, 267, 523, 779).
    static std::size_t slotOffset(Slot s);

    bool operator==(const DatabaseRecord&) const = default;

  private:
    std::array<Byte, 11> header_{};
    std::array<std::array<Byte, ShortStringSlotSize>, 4> slots_{};
};

} // namespace zx
