#include "twinsweep/platform/bmp_file.h"

#include <vector>

#include "twinsweep/base/failure.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/forms.h"
#include "twinsweep/platform/scoped_handle.h"

namespace twinsweep {

namespace platform {
namespace {

// The run-time failure the framework gives for a file status.
[[noreturn]] void RaiseFileStatus(int32_t nStatus) {
  switch (nStatus) {
    case kErrorFileNotFound: base::Raise(base::kFileNotFound);
    case kErrorPathNotFound: base::Raise(base::kPathNotFound);
    default: base::Raise(base::kPathFileAccessError);
  }
}

}  // namespace

Bitmap ReadBmpFile(std::u16string_view sPath) {
  // A file larger than the biggest accepted bitmap is refused without reading it all.
  constexpr size_t kMaxPictureFile = 4 * static_cast<size_t>(kMaxBitmapPixels) + 4096;
  ScopedFile hFile;
  const int32_t nOpen = Files().OpenForRead(sPath, hFile.Receive());
  if (nOpen != kErrorSuccess) RaiseFileStatus(nOpen);
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  for (;;) {
    uint32_t nRead = 0;
    if (Files().Read(hFile.Get(), buffer, sizeof buffer, &nRead) != kErrorSuccess)
      base::Raise(base::kPathFileAccessError);
    if (nRead == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + nRead);
    if (bytes.size() > kMaxPictureFile) base::Raise(kErrInvalidPicture, u"Invalid picture");
  }
  std::optional<Bitmap> bitmap = DecodeBmp(bytes.data(), bytes.size());
  if (!bitmap) base::Raise(kErrInvalidPicture, u"Invalid picture");
  return std::move(*bitmap);
}

void WriteBmpFile(const Bitmap& bitmap, std::u16string_view sPath) {
  const std::vector<uint8_t> bytes = EncodeBmp(bitmap);
  ScopedFile hFile;
  const int32_t nOpen = Files().OpenForWrite(sPath, hFile.Receive());
  if (nOpen != kErrorSuccess) RaiseFileStatus(nOpen);
  if (Files().Write(hFile.Get(), bytes.data(), static_cast<uint32_t>(bytes.size())) != kErrorSuccess)
    base::Raise(base::kPathFileAccessError);
  if (Files().Close(hFile.Take()) != kErrorSuccess) base::Raise(base::kPathFileAccessError);
}

}  // namespace platform

}  // namespace twinsweep
