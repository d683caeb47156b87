#pragma once
// Text as the record, the image and the files hold it: single-byte Windows-1250 characters.
// The program's own texts (captions, messages) are UTF-8 std::strings; keeping the two in
// different types means one cannot be passed where the other is meant.
#include <iosfwd>
#include <string>
#include <string_view>

namespace zx {

class RawText {
  public:
    RawText() = default;
    explicit RawText(std::string bytes) : bytes_(std::move(bytes)) {}
    explicit RawText(std::string_view bytes) : bytes_(bytes) {}
    explicit RawText(const char* bytes) : bytes_(bytes) {}

    const std::string& bytes() const { return bytes_; }
    std::string& bytes() { return bytes_; }
    std::string_view view() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }

    bool operator==(const RawText&) const = default;
    auto operator<=>(const RawText&) const = default;
    bool operator==(std::string_view bytes) const { return bytes_ == bytes; }

  private:
    std::string bytes_;
};

// Printable form for test output: printable ASCII as it is, every other byte as \xNN.
std::ostream& operator<<(std::ostream& out, const RawText& text);

} // namespace zx
