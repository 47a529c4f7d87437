// Pictures of the in-memory framework and its services: loading and saving .bmp
// files through platform::Files().
#include <atomic>

#include "twinsweep/base/failure.h"
#include "twinsweep/platform/bmp_file.h"
#include "twinsweep/platform/memory/memory_forms.h"

namespace twinsweep {

namespace platform {
namespace {

std::intptr_t NextPictureHandle() {
  static std::atomic<std::intptr_t> nNext{0x1000};
  return nNext.fetch_add(4);
}

}  // namespace

MemoryPicture::MemoryPicture(Bitmap bitmap)
    : bitmap_(std::move(bitmap)), hHandle_(bitmap_.pixels.empty() ? 0 : NextPictureHandle()) {}

std::shared_ptr<MemoryPicture> MemoryPicture::Solid(int32_t nWidth, int32_t nHeight, uint32_t nColor) {
  Bitmap b;
  b.nWidth = nWidth;
  b.nHeight = nHeight;
  b.pixels.assign(static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight), nColor);
  return std::make_shared<MemoryPicture>(std::move(b));
}

PictureRef MemoryForms::LoadPicture(std::u16string_view sPath) {
  return std::make_shared<MemoryPicture>(ReadBmpFile(sPath));
}

void MemoryForms::SavePicture(const PictureRef& oPicture, std::u16string_view sPath) {
  if (!oPicture) base::Raise(base::kObjectNotSet);
  auto* pMemory = dynamic_cast<MemoryPicture*>(oPicture.get());
  if (!pMemory || pMemory->Handle() == 0) base::Raise(kErrInvalidPropertyValue, u"Invalid property value");
  WriteBmpFile(pMemory->Image(), sPath);
}

}  // namespace platform

}  // namespace twinsweep
