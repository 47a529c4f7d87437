#pragma once
// Picture files of the window frameworks: a .bmp file read whole or written anew
// through platform::Files(), with the run-time failures a picture file gives
// (53 missing, 76 bad path, 75 refused; 481 for bytes that are not a bitmap).
#include <string_view>

#include "twinsweep/platform/bmp_codec.h"

namespace twinsweep {

namespace platform {

Bitmap ReadBmpFile(std::u16string_view sPath);
void WriteBmpFile(const Bitmap& bitmap, std::u16string_view sPath);

}  // namespace platform

}  // namespace twinsweep
