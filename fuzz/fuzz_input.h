#pragma once
// FuzzInput: takes the fuzzer's bytes apart into the pieces a target needs.
// Every read succeeds: past the end it answers zeros and empty texts, so any
// input is a valid one.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace fuzz_support {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* p, size_t n) : p_(p), n_(n) {}

  bool Empty() const { return n_ == 0; }
  uint8_t Byte() {
    if (n_ == 0) return 0;
    --n_;
    return *p_++;
  }
  uint32_t U32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{Byte()} << (8 * i);
    return v;
  }
  // Up to nMax bytes, the count given by one byte of the input.
  std::string Bytes(size_t nMax = 255) {
    size_t n = Byte();
    if (n > nMax) n = nMax;
    return Take(n);
  }
  // A UTF-16 text of up to nMax units, two bytes each (little-endian).
  std::u16string Text(size_t nMax = 127) {
    const std::string b = Bytes(2 * nMax);
    std::u16string s(b.size() / 2, u'\0');
    for (size_t i = 0; i < s.size(); ++i)
      s[i] = static_cast<char16_t>(static_cast<uint8_t>(b[2 * i]) | static_cast<uint8_t>(b[2 * i + 1]) << 8);
    return s;
  }
  // Every byte not yet taken.
  std::string Rest() { return Take(n_); }
  std::u16string RestAsText() {
    const std::string b = Rest();
    std::u16string s(b.size() / 2, u'\0');
    std::memcpy(s.data(), b.data(), s.size() * 2);
    return s;
  }

 private:
  std::string Take(size_t n) {
    if (n > n_) n = n_;
    std::string s(reinterpret_cast<const char*>(p_), n);
    p_ += n;
    n_ -= n;
    return s;
  }
  const uint8_t* p_;
  size_t n_;
};

}  // namespace fuzz_support
