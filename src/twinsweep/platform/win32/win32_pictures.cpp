// Pictures of the Win32 framework and its services: bitmaps loaded from files with
// LoadImageW, saved as .bmp files from their pixels (GetDIBits), and the screen's
// twips per pixel.
#include <vector>

#include "twinsweep/base/failure.h"
#include "twinsweep/platform/bmp_file.h"
#include "twinsweep/platform/win32/win32_form_parts.h"
#include "twinsweep/platform/win32/win32_strings.h"

namespace twinsweep {

namespace platform::win32 {
namespace {

// A bitmap; deleted with the last reference unless a window of another owner holds it.
class Win32Picture : public IPicture {
 public:
  Win32Picture(HBITMAP hBitmap, bool bOwned) : hBitmap_(hBitmap), bOwned_(bOwned) {}
  ~Win32Picture() override {
    if (bOwned_ && hBitmap_) DeleteObject(hBitmap_);
  }
  Win32Picture(const Win32Picture&) = delete;
  Win32Picture& operator=(const Win32Picture&) = delete;
  std::intptr_t Handle() override { return reinterpret_cast<std::intptr_t>(hBitmap_); }
  HBITMAP Bitmap() const { return hBitmap_; }

 private:
  HBITMAP hBitmap_;
  bool bOwned_;
};

// The picture's pixels, top row first, as the .bmp writer takes them.
platform::Bitmap PixelsOf(HBITMAP hBitmap) {
  BITMAP bm = {};
  if (!GetObjectW(hBitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0 ||
      static_cast<int64_t>(bm.bmWidth) * bm.bmHeight > kMaxBitmapPixels)
    base::Raise(kErrInvalidPropertyValue, u"Invalid property value");
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = bm.bmWidth;
  bmi.bmiHeader.biHeight = -bm.bmHeight;  // top-down
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  platform::Bitmap out;
  out.nWidth = bm.bmWidth;
  out.nHeight = bm.bmHeight;
  out.pixels.resize(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
  HDC dc = GetDC(nullptr);
  const int nLines = GetDIBits(dc, hBitmap, 0, static_cast<UINT>(bm.bmHeight), out.pixels.data(), &bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (nLines != bm.bmHeight) base::Raise(kErrInvalidPropertyValue, u"Invalid property value");
  for (uint32_t& p : out.pixels) p &= 0x00FFFFFF;  // BGRA in memory: 0x00RRGGBB without the alpha byte
  return out;
}

class Win32Forms : public IForms {
 public:
  PictureRef LoadPicture(std::u16string_view sPath) override {
    const auto wide = Wide(sPath);
    if (!wide) base::Raise(base::kFileNotFound);
    const std::wstring& sWide = *wide;
    const DWORD nAttributes = GetFileAttributesW(sWide.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES) {
      const DWORD nError = GetLastError();
      if (nError == ERROR_FILE_NOT_FOUND) base::Raise(base::kFileNotFound);
      if (nError == ERROR_PATH_NOT_FOUND) base::Raise(base::kPathNotFound);
      base::Raise(base::kPathFileAccessError);
    }
    if (nAttributes & FILE_ATTRIBUTE_DIRECTORY) base::Raise(base::kPathFileAccessError);
    HANDLE hImage = LoadImageW(nullptr, sWide.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!hImage) base::Raise(kErrInvalidPicture, u"Invalid picture");
    return std::make_shared<Win32Picture>(static_cast<HBITMAP>(hImage), true);
  }

  void SavePicture(const PictureRef& oPicture, std::u16string_view sPath) override {
    if (!oPicture) base::Raise(base::kObjectNotSet);
    HBITMAP hBitmap = BitmapOf(oPicture);
    if (!hBitmap) base::Raise(kErrInvalidPropertyValue, u"Invalid property value");
    WriteBmpFile(PixelsOf(hBitmap), sPath);
  }

  float TwipsPerPixelX() override { return ScreenTwipsPerPixel(true); }
  float TwipsPerPixelY() override { return ScreenTwipsPerPixel(false); }
};

}  // namespace

HBITMAP BitmapOf(const PictureRef& oPicture) {
  if (!oPicture) return nullptr;
  auto* p = dynamic_cast<Win32Picture*>(oPicture.get());
  if (!p) base::Raise(kErrInvalidPropertyValue, u"Invalid property value");
  return p->Bitmap();
}

PictureRef ForeignPicture(HBITMAP hBitmap) { return std::make_shared<Win32Picture>(hBitmap, false); }

float ScreenTwipsPerPixel(bool bHorizontal) {
  HDC dc = GetDC(nullptr);
  const int nDpi = dc ? GetDeviceCaps(dc, bHorizontal ? LOGPIXELSX : LOGPIXELSY) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  return nDpi > 0 ? 1440.0f / static_cast<float>(nDpi) : 15.0f;
}

}  // namespace platform::win32

namespace platform {

template <>
IForms& Default<IForms>() {
  return StaticInstance<win32::Win32Forms>();
}

}  // namespace platform

}  // namespace twinsweep
