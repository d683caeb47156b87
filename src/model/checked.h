#pragma once
// What a check of the operator's input gives: the value to store, or the refusal with the
// message the operator is shown ("Értéknek 0..255 között kell lenni !!!"). A refusal is a
// result, not an exception: the caller shows the message and keeps everything as it was.
#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace zx {

struct Refusal {
    std::string message; // UTF-8
    bool operator==(const Refusal&) const = default;
};

template <class T> class Checked {
  public:
    Checked(T value) : v_(std::move(value)) {}
    Checked(Refusal refusal) : v_(std::move(refusal)) {}

    bool ok() const { return std::holds_alternative<T>(v_); }
    explicit operator bool() const { return ok(); }

    const T& value() const {
        assert(ok());
        return std::get<T>(v_);
    }
    T& value() {
        assert(ok());
        return std::get<T>(v_);
    }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }

    // The refusal's message; empty when the value was accepted.
    const std::string& message() const {
        static const std::string none;
        return ok() ? none : std::get<Refusal>(v_).message;
    }

  private:
    std::variant<T, Refusal> v_;
};

} // namespace zx
