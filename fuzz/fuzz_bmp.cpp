// Any bytes as a .bmp file: the decoder takes them or refuses them, never reads
// past their end, and what it takes survives an encode → decode round trip
// unchanged. The bytes also describe a bitmap of their own (size and pixels),
// which must come back from the encoder and decoder as it went in.
#include <cstdint>

#include "fuzz_input.h"
#include "twinsweep/platform/bmp_codec.h"

using namespace twinsweep;

namespace {

bool Same(const platform::Bitmap& a, const platform::Bitmap& b) {
  return a.nWidth == b.nWidth && a.nHeight == b.nHeight && a.pixels == b.pixels;
}

void RoundTrip(const platform::Bitmap& bitmap) {
  const std::vector<uint8_t> bytes = platform::EncodeBmp(bitmap);
  const std::optional<platform::Bitmap> back = platform::DecodeBmp(bytes.data(), bytes.size());
  if (!back || !Same(*back, bitmap)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The exact bytes, in a block of their own, so that a read past the end is caught.
  std::vector<uint8_t> bytes(data, data + size);
  if (std::optional<platform::Bitmap> decoded = platform::DecodeBmp(bytes.data(), bytes.size())) {
    if (decoded->nWidth <= 0 || decoded->nHeight <= 0 ||
        decoded->pixels.size() != static_cast<size_t>(decoded->nWidth) * static_cast<size_t>(decoded->nHeight))
      __builtin_trap();
    for (uint32_t px : decoded->pixels)
      if (px > 0xFFFFFF) __builtin_trap();
    RoundTrip(*decoded);
  }

  fuzz_support::FuzzInput in(data, size);
  platform::Bitmap own;
  own.nWidth = 1 + in.Byte() % 64;
  own.nHeight = 1 + in.Byte() % 64;
  for (int32_t i = 0; i < own.nWidth * own.nHeight; ++i) own.pixels.push_back(in.U32() & 0xFFFFFF);
  RoundTrip(own);
  return 0;
}
