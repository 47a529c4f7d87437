#pragma once
// The .bmp file format, as the window frameworks read and write it.
//
// Reading takes uncompressed bitmaps (BI_RGB) of 1, 4, 8, 24 and 32 bits per
// pixel, bottom-up or top-down, with the core (12-byte) or any later info
// header. Everything a header claims is checked against the bytes actually
// present, so a truncated or hostile file is refused, never read past its end.
// Writing produces the common form: 24 bits per pixel, bottom-up, rows padded
// to four bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace twinsweep {

namespace platform {

struct Bitmap {
  int32_t nWidth = 0;
  int32_t nHeight = 0;
  // 0x00RRGGBB, the top row first, nWidth * nHeight entries.
  std::vector<uint32_t> pixels;
};

// Largest picture accepted, in pixels; a header asking for more is refused.
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 24;

// The bitmap in the bytes, or nullopt when they are not one this reader takes.
std::optional<Bitmap> DecodeBmp(const uint8_t* pBytes, size_t nBytes);
std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap);

}  // namespace platform

}  // namespace twinsweep
