#pragma once
// A files double that hands every call to the build's real files service; a
// test derives from it and overrides only the calls it scripts (a read that
// fails on its third block, an open that is refused).
#include "twinsweep/platform/files.h"

using namespace twinsweep;

namespace testing_support {

class PassThroughFiles : public platform::IFiles {
 public:
  int32_t OpenForQuery(std::u16string_view s, platform::FileHandle* p) override { return real().OpenForQuery(s, p); }
  int32_t OpenForRead(std::u16string_view s, platform::FileHandle* p) override { return real().OpenForRead(s, p); }
  int32_t OpenForWrite(std::u16string_view s, platform::FileHandle* p) override { return real().OpenForWrite(s, p); }
  int32_t Read(platform::FileHandle h, uint8_t* p, uint32_t n, uint32_t* pn) override { return real().Read(h, p, n, pn); }
  int32_t Write(platform::FileHandle h, const uint8_t* p, uint32_t n) override { return real().Write(h, p, n); }
  int32_t Close(platform::FileHandle h) override { return real().Close(h); }
  int32_t GetSize(platform::FileHandle h, uint64_t* pn) override { return real().GetSize(h, pn); }
  int32_t GetLastWriteLocalTime(platform::FileHandle h, platform::SystemTime* p) override {
    return real().GetLastWriteLocalTime(h, p);
  }
  int32_t SetLastWriteLocalTime(std::u16string_view s, const platform::SystemTime& t) override {
    return real().SetLastWriteLocalTime(s, t);
  }
  int32_t FindFirst(std::u16string_view s, platform::FileHandle* p, platform::FindData* d) override {
    return real().FindFirst(s, p, d);
  }
  int32_t FindNext(platform::FileHandle h, platform::FindData* d) override { return real().FindNext(h, d); }
  int32_t FindClose(platform::FileHandle h) override { return real().FindClose(h); }
  int32_t MakeDirectory(std::u16string_view s) override { return real().MakeDirectory(s); }
  int32_t RemoveEmptyDirectory(std::u16string_view s) override { return real().RemoveEmptyDirectory(s); }
  int32_t RemoveFile(std::u16string_view s) override { return real().RemoveFile(s); }
  int32_t GetSizeByPath(std::u16string_view s, uint64_t* pn) override { return real().GetSizeByPath(s, pn); }
  int32_t AppendToFile(std::u16string_view s, std::string_view b) override { return real().AppendToFile(s, b); }
  int32_t MoveReplacing(std::u16string_view f, std::u16string_view t) override { return real().MoveReplacing(f, t); }
  int32_t EmptyFile(std::u16string_view s) override { return real().EmptyFile(s); }
  int32_t CreateFolders(std::u16string_view s) override { return real().CreateFolders(s); }

 protected:
  static platform::IFiles& real() { return platform::Default<platform::IFiles>(); }
};

}  // namespace testing_support
