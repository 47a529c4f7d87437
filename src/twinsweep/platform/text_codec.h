#pragma once
// Code-page conversion (MultiByteToWideChar and WideCharToMultiByte).
//
// The ANSI code page is the system's: on Windows the active one, natively
// windows-1252 unless TWINSWEEP_ANSI_CODEPAGE names 1251, 1252 or 65001.
#include <cstdint>
#include <string>
#include <string_view>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

constexpr uint32_t kCodePageAnsi = 0;  // CP_ACP
constexpr uint32_t kCodePageUtf8 = 65001;

class ITextCodec {
 public:
  virtual ~ITextCodec() = default;
  // MultiByteToWideChar with flags 0 (invalid bytes become U+FFFD). With pOut null
  // it answers the length needed; it answers 0 on failure and sets *pnLastError.
  virtual int32_t MultiByteToWide(uint32_t nCodePage, const uint8_t* pBytes, int32_t nBytes, char16_t* pOut,
                                  int32_t nCapacity, int32_t* pnLastError) = 0;
  // WideCharToMultiByte: characters the code page lacks become "?".
  virtual std::string WideToMultiByte(uint32_t nCodePage, std::u16string_view s) = 0;
  // The number of the ANSI code page in force (1252, 1251, ...).
  virtual uint32_t AnsiCodePage() = 0;
};

template <>
ITextCodec& Default<ITextCodec>();
inline ITextCodec& TextCodec() { return Get<ITextCodec>(); }

// Convenience over MultiByteToWide for whole byte runs (no failure report).
std::u16string DecodeBytes(uint32_t nCodePage, const uint8_t* pBytes, size_t nBytes);
// The same into sOut (its storage reused). On failure sOut is empty, *pnStep
// tells the call that failed (1 the length query, 2 the conversion) and
// *pnLastError its code.
bool DecodeBytesInto(uint32_t nCodePage, const uint8_t* pBytes, size_t nBytes, std::u16string& sOut,
                     int32_t* pnStep = nullptr, int32_t* pnLastError = nullptr);

}  // namespace platform

}  // namespace twinsweep
