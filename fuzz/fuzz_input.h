// Reads typed values off the front of a fuzzer's input; past the end everything is zero
// or empty, so any input decodes to something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace vantiq::fuzz {

// A broken promise of the code under test. libFuzzer keeps the input of an abort; the
// corpus replay in the core tests (VANTIQ_FUZZ_REPLAY) throws instead and names the file.
[[noreturn]] inline void Fail(const char* what) {
#ifdef VANTIQ_FUZZ_REPLAY
  throw std::logic_error(what);
#else
  (void)what;
  std::abort();
#endif
}

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return pos_ >= size_; }
  std::size_t Remaining() const { return size_ - pos_; }

  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  template <typename T>
  T Raw() {
    T value{};
    const std::size_t n = sizeof(T) < Remaining() ? sizeof(T) : Remaining();
    if (n) std::memcpy(&value, data_ + pos_, n);
    pos_ += n;
    return value;
  }
  // A length-prefixed string of UTF-16 units (any units, surrogates unpaired or not).
  std::u16string Text(std::size_t maxUnits = 4096) {
    std::size_t n = Raw<std::uint16_t>() % (maxUnits + 1);
    std::u16string text;
    while (n-- && !Empty()) text.push_back(static_cast<char16_t>(Raw<std::uint16_t>()));
    return text;
  }
  // A length-prefixed string of one-byte characters, as UTF-8 held in UTF-16 arrives.
  std::u16string ByteText(std::size_t maxUnits = 4096) {
    std::size_t n = Raw<std::uint16_t>() % (maxUnits + 1);
    std::u16string text;
    while (n-- && !Empty()) text.push_back(static_cast<char16_t>(Byte()));
    return text;
  }
  // The rest of the input as UTF-16 units.
  std::u16string RestAsText() {
    std::u16string text;
    while (Remaining() >= 2) text.push_back(static_cast<char16_t>(Raw<std::uint16_t>()));
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace vantiq::fuzz
