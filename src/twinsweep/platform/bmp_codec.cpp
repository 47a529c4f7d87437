#include "twinsweep/platform/bmp_codec.h"

namespace twinsweep {

namespace platform {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr int32_t kPixelsPerMeter96Dpi = 3780;

uint32_t U16(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8; }
uint32_t U32(const uint8_t* p) { return U16(p) | U16(p + 2) << 16; }
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Bytes of one row of nWidth pixels at nBits per pixel, padded to four bytes.
uint64_t RowStride(int64_t nWidth, uint32_t nBits) { return ((static_cast<uint64_t>(nWidth) * nBits + 31) / 32) * 4; }

}  // namespace

std::optional<Bitmap> DecodeBmp(const uint8_t* p, size_t n) {
  if (n < kFileHeaderSize + 4 || p[0] != 'B' || p[1] != 'M') return std::nullopt;
  const uint32_t nPixelOffset = U32(p + 10);
  const uint32_t nHeaderSize = U32(p + kFileHeaderSize);
  if (nHeaderSize != kCoreHeaderSize && nHeaderSize < kInfoHeaderSize) return std::nullopt;
  if (n - kFileHeaderSize < nHeaderSize) return std::nullopt;
  const uint8_t* h = p + kFileHeaderSize;

  int64_t nWidth, nHeight;
  uint32_t nPlanes, nBits, nCompression = kBiRgb, nColorsUsed = 0, nPaletteEntrySize;
  if (nHeaderSize == kCoreHeaderSize) {
    nWidth = U16(h + 4);
    nHeight = U16(h + 6);
    nPlanes = U16(h + 8);
    nBits = U16(h + 10);
    nPaletteEntrySize = 3;
  } else {
    nWidth = S32(h + 4);
    nHeight = S32(h + 8);
    nPlanes = U16(h + 12);
    nBits = U16(h + 14);
    nCompression = U32(h + 16);
    nColorsUsed = U32(h + 32);
    nPaletteEntrySize = 4;
  }
  const bool bTopDown = nHeight < 0;
  if (bTopDown) nHeight = -nHeight;
  if (nPlanes != 1 || nCompression != kBiRgb) return std::nullopt;
  if (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 24 && nBits != 32) return std::nullopt;
  if (nWidth <= 0 || nHeight <= 0 || nWidth * nHeight > kMaxBitmapPixels) return std::nullopt;

  // The palette follows the header; a count of 0 means the full table for the depth.
  std::vector<uint32_t> palette;
  if (nBits <= 8) {
    const uint32_t nFull = 1u << nBits;
    const uint32_t nColors = nColorsUsed == 0 ? nFull : nColorsUsed;
    if (nColors > nFull) return std::nullopt;
    const uint64_t nStart = kFileHeaderSize + nHeaderSize;
    if (nStart + uint64_t{nColors} * nPaletteEntrySize > n) return std::nullopt;
    for (uint32_t i = 0; i < nColors; ++i) {
      const uint8_t* e = p + nStart + uint64_t{i} * nPaletteEntrySize;
      palette.push_back(uint32_t{e[2]} << 16 | uint32_t{e[1]} << 8 | e[0]);
    }
  }

  const uint64_t nStride = RowStride(nWidth, nBits);
  if (nPixelOffset > n || nStride * static_cast<uint64_t>(nHeight) > n - nPixelOffset) return std::nullopt;

  Bitmap bitmap;
  bitmap.nWidth = static_cast<int32_t>(nWidth);
  bitmap.nHeight = static_cast<int32_t>(nHeight);
  bitmap.pixels.resize(static_cast<size_t>(nWidth * nHeight));
  for (int64_t y = 0; y < nHeight; ++y) {
    const int64_t nFileRow = bTopDown ? y : nHeight - 1 - y;
    const uint8_t* row = p + nPixelOffset + nStride * static_cast<uint64_t>(nFileRow);
    uint32_t* out = &bitmap.pixels[static_cast<size_t>(y * nWidth)];
    for (int64_t x = 0; x < nWidth; ++x) {
      if (nBits >= 24) {
        const uint8_t* px = row + x * (nBits / 8);
        out[x] = uint32_t{px[2]} << 16 | uint32_t{px[1]} << 8 | px[0];
      } else {
        const uint64_t nBit = static_cast<uint64_t>(x) * nBits;
        const uint32_t nShift = 8 - nBits - static_cast<uint32_t>(nBit % 8);
        const uint32_t nIndex = (row[nBit / 8] >> nShift) & ((1u << nBits) - 1);
        if (nIndex >= palette.size()) return std::nullopt;
        out[x] = palette[nIndex];
      }
    }
  }
  return bitmap;
}

std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap) {
  const uint32_t nStride = static_cast<uint32_t>(RowStride(bitmap.nWidth, 24));
  const uint32_t nImageSize = nStride * static_cast<uint32_t>(bitmap.nHeight);
  const uint32_t nOffset = static_cast<uint32_t>(kFileHeaderSize) + kInfoHeaderSize;
  std::vector<uint8_t> out;
  out.reserve(nOffset + nImageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, nOffset + nImageSize);
  Put32(out, 0);  // reserved
  Put32(out, nOffset);
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(bitmap.nWidth));
  Put32(out, static_cast<uint32_t>(bitmap.nHeight));  // positive: bottom-up
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, kBiRgb);
  Put32(out, nImageSize);
  Put32(out, kPixelsPerMeter96Dpi);
  Put32(out, kPixelsPerMeter96Dpi);
  Put32(out, 0);
  Put32(out, 0);
  for (int32_t y = bitmap.nHeight - 1; y >= 0; --y) {
    const size_t nRowStart = out.size();
    for (int32_t x = 0; x < bitmap.nWidth; ++x) {
      const uint32_t c =
          bitmap.pixels[static_cast<size_t>(y) * static_cast<size_t>(bitmap.nWidth) + static_cast<size_t>(x)];
      out.push_back(static_cast<uint8_t>(c));
      out.push_back(static_cast<uint8_t>(c >> 8));
      out.push_back(static_cast<uint8_t>(c >> 16));
    }
    out.resize(nRowStart + nStride, 0);
  }
  return out;
}

}  // namespace platform

}  // namespace twinsweep
