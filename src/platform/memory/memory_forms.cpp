// Pictures of the in-memory framework and its services: loading and saving .bmp
// files through platform::Files(), the screen's twips per pixel.
#include <atomic>

#include "base/failure.h"
#include "platform/files.h"
#include "platform/memory/memory_forms.h"

namespace platform {
namespace {

std::intptr_t NextPictureHandle() {
  static std::atomic<std::intptr_t> nNext{0x1000};
  return nNext.fetch_add(4);
}

// The run-time failure the framework gives for a file status.
[[noreturn]] void RaiseFileStatus(int32_t nStatus) {
  switch (nStatus) {
    case kErrorFileNotFound: base::Raise(base::kFileNotFound);
    case kErrorPathNotFound: base::Raise(base::kPathNotFound);
    default: base::Raise(base::kPathFileAccessError);
  }
}

// Closes the file on every path out of the caller.
class FileCloser {
 public:
  explicit FileCloser(FileHandle hFile) : hFile_(hFile) {}
  ~FileCloser() { Files().Close(hFile_); }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;

 private:
  FileHandle hFile_;
};

// Every byte of the file; a picture larger than the biggest accepted bitmap can be
// refused without reading it all.
std::vector<uint8_t> ReadWholeFile(std::u16string_view sPath) {
  constexpr size_t kMaxPictureFile = 4 * static_cast<size_t>(kMaxBitmapPixels) + 4096;
  FileHandle hFile = kInvalidFile;
  const int32_t nOpen = Files().OpenForRead(sPath, &hFile);
  if (nOpen != kErrorSuccess) RaiseFileStatus(nOpen);
  FileCloser closer(hFile);
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  for (;;) {
    uint32_t nRead = 0;
    if (Files().Read(hFile, buffer, sizeof buffer, &nRead) != kErrorSuccess) base::Raise(base::kPathFileAccessError);
    if (nRead == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + nRead);
    if (bytes.size() > kMaxPictureFile) base::Raise(kErrInvalidPicture, u"Invalid picture");
  }
  return bytes;
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
  std::vector<uint8_t> bytes = ReadWholeFile(sPath);
  std::optional<Bitmap> bitmap = DecodeBmp(bytes.data(), bytes.size());
  if (!bitmap) base::Raise(kErrInvalidPicture, u"Invalid picture");
  return std::make_shared<MemoryPicture>(std::move(*bitmap));
}

void MemoryForms::SavePicture(const PictureRef& oPicture, std::u16string_view sPath) {
  if (!oPicture) base::Raise(base::kObjectNotSet);
  auto* pMemory = dynamic_cast<MemoryPicture*>(oPicture.get());
  if (!pMemory || pMemory->Handle() == 0) base::Raise(kErrInvalidPropertyValue, u"Invalid property value");
  const std::vector<uint8_t> bytes = EncodeBmp(pMemory->Image());
  FileHandle hFile = kInvalidFile;
  const int32_t nOpen = Files().OpenForWrite(sPath, &hFile);
  if (nOpen != kErrorSuccess) RaiseFileStatus(nOpen);
  // The close is checked as the write is: a picture cut short is no picture saved.
  const int32_t nWrite = Files().Write(hFile, bytes.data(), static_cast<uint32_t>(bytes.size()));
  const int32_t nClose = Files().Close(hFile);
  if (nWrite != kErrorSuccess || nClose != kErrorSuccess) base::Raise(base::kPathFileAccessError);
}

template <>
IForms& Default<IForms>() {
  static MemoryForms forms;
  return forms;
}

}  // namespace platform
