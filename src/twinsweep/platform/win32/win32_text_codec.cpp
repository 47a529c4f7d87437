// Code-page conversion through MultiByteToWideChar and WideCharToMultiByte.
#include "twinsweep/platform/win32/win32_strings.h"
#include "twinsweep/platform/text_codec.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32TextCodec : public ITextCodec {
 public:
  int32_t MultiByteToWide(uint32_t nCodePage, const uint8_t* pBytes, int32_t nBytes, char16_t* pOut, int32_t nCapacity,
                          int32_t* pnLastError) override {
    int n = MultiByteToWideChar(nCodePage, 0, reinterpret_cast<const char*>(pBytes), nBytes,
                                reinterpret_cast<wchar_t*>(pOut), pOut ? nCapacity : 0);
    if (n == 0 && pnLastError) *pnLastError = static_cast<int32_t>(GetLastError());
    return n;
  }
  std::string WideToMultiByte(uint32_t nCodePage, std::u16string_view s) override {
    if (s.empty()) return {};
    const wchar_t* p = reinterpret_cast<const wchar_t*>(s.data());
    int n = WideCharToMultiByte(nCodePage, 0, p, static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(nCodePage, 0, p, static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
  }
  uint32_t AnsiCodePage() override { return GetACP(); }
};

}  // namespace

template <>
ITextCodec& Default<ITextCodec>() {
  return StaticInstance<Win32TextCodec>();
}

}  // namespace platform

}  // namespace twinsweep
