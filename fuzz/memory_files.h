#pragma once
// MemoryFiles: a whole file system in memory for the fuzz targets, so that an
// input costs no disk traffic and runs leave nothing behind.
//
// It keeps the rules the engine depends on: paths compared without regard to
// case, a file opened for writing emptied, a folder found by "folder\*" (its "."
// entry, as on Windows), RemoveEmptyDirectory refusing a folder that holds anything.
// Every file has the same last-write time. Parent folders are not checked. The
// whole-file calls, which the engine does not make, are NullFiles' own.
#include <cstring>
#include <map>
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "twinsweep/base/text.h"
#include "support/null_services.h"
#include "twinsweep/platform/files.h"

using namespace twinsweep;

namespace fuzz_support {

class MemoryFiles : public testing_support::NullFiles {
 public:
  // Puts a file in place (an existing one is replaced).
  void Put(const std::u16string& sPath, std::string sBytes) {
    auto file = std::make_shared<File>();
    file->bytes.assign(sBytes.begin(), sBytes.end());
    files_[Key(sPath)] = file;
  }
  // The bytes of a file; false when there is none.
  bool Get(const std::u16string& sPath, std::string* pBytes) const {
    auto it = files_.find(Key(sPath));
    if (it == files_.end()) return false;
    pBytes->assign(it->second->bytes.begin(), it->second->bytes.end());
    return true;
  }
  bool HasFolder(const std::u16string& sPath) const { return folders_.count(Key(sPath)) != 0; }
  size_t OpenHandles() const { return open_.size() + finds_.size(); }
  // Forgets every file and folder; handles must all be closed.
  void Clear() {
    files_.clear();
    folders_.clear();
  }

  int32_t OpenForQuery(std::u16string_view s, platform::FileHandle* p) override { return Open(s, p, false); }
  int32_t OpenForRead(std::u16string_view s, platform::FileHandle* p) override { return Open(s, p, false); }
  int32_t OpenForWrite(std::u16string_view s, platform::FileHandle* p) override {
    if (folders_.count(Key(s))) return platform::kErrorAccessDenied;
    auto& file = files_[Key(s)];
    file = std::make_shared<File>();
    return Open(s, p, true);
  }
  int32_t Read(platform::FileHandle h, uint8_t* p, uint32_t n, uint32_t* pn) override {
    *pn = 0;
    auto it = open_.find(h);
    if (it == open_.end()) return platform::kErrorInvalidHandle;
    Open_& o = it->second;
    const size_t nLeft = o.file->bytes.size() - std::min(o.nPos, o.file->bytes.size());
    const size_t nTake = std::min<size_t>(n, nLeft);
    if (nTake) std::memcpy(p, o.file->bytes.data() + o.nPos, nTake);
    o.nPos += nTake;
    *pn = static_cast<uint32_t>(nTake);
    return platform::kErrorSuccess;
  }
  int32_t Write(platform::FileHandle h, const uint8_t* p, uint32_t n) override {
    auto it = open_.find(h);
    if (it == open_.end() || !it->second.bWrite) return platform::kErrorInvalidHandle;
    it->second.file->bytes.insert(it->second.file->bytes.end(), p, p + n);
    return platform::kErrorSuccess;
  }
  int32_t Close(platform::FileHandle h) override {
    return open_.erase(h) ? platform::kErrorSuccess : platform::kErrorInvalidHandle;
  }
  int32_t GetSize(platform::FileHandle h, uint64_t* pn) override {
    auto it = open_.find(h);
    if (it == open_.end()) return platform::kErrorInvalidHandle;
    *pn = it->second.file->bytes.size();
    return platform::kErrorSuccess;
  }
  int32_t GetLastWriteLocalTime(platform::FileHandle h, platform::SystemTime* p) override {
    if (!open_.count(h)) return platform::kErrorInvalidHandle;
    *p = platform::SystemTime{2024, 5, 17, 10, 30, 0, 0};
    return platform::kErrorSuccess;
  }
  int32_t SetLastWriteLocalTime(std::u16string_view, const platform::SystemTime&) override {
    return platform::kErrorSuccess;
  }
  // Only "folder\*": the folder's "." entry, then its direct files.
  int32_t FindFirst(std::u16string_view sPattern, platform::FileHandle* p, platform::FindData* d) override {
    if (sPattern.size() < 2 || sPattern.substr(sPattern.size() - 2) != u"\\*") return platform::kErrorFileNotFound;
    const std::u16string sFolder = Key(sPattern.substr(0, sPattern.size() - 2));
    if (!folders_.count(sFolder)) return platform::kErrorPathNotFound;
    std::vector<std::u16string> names{u"."};
    for (const auto& f : files_)
      if (f.first.size() > sFolder.size() + 1 && f.first.compare(0, sFolder.size(), sFolder) == 0 &&
          f.first[sFolder.size()] == u'\\' && f.first.find(u'\\', sFolder.size() + 1) == std::u16string::npos)
        names.push_back(f.first.substr(sFolder.size() + 1));
    *p = nNext_++;
    finds_[*p] = Find_{names, 0};
    return FindNext(*p, d);
  }
  int32_t FindNext(platform::FileHandle h, platform::FindData* d) override {
    auto it = finds_.find(h);
    if (it == finds_.end()) return platform::kErrorInvalidHandle;
    if (it->second.nNext >= it->second.names.size()) return platform::kErrorNoMoreFiles;
    d->sName = it->second.names[it->second.nNext++];
    d->nAttributes = d->sName == u"." ? platform::kFileAttributeDirectory : 0;
    return platform::kErrorSuccess;
  }
  int32_t FindClose(platform::FileHandle h) override {
    return finds_.erase(h) ? platform::kErrorSuccess : platform::kErrorInvalidHandle;
  }
  int32_t MakeDirectory(std::u16string_view s) override {
    if (!folders_.insert(Key(s)).second) return platform::kErrorAlreadyExists;
    return platform::kErrorSuccess;
  }
  int32_t RemoveEmptyDirectory(std::u16string_view s) override {
    const std::u16string sFolder = Key(s) + u"\\";
    for (const auto& f : files_)
      if (f.first.compare(0, sFolder.size(), sFolder) == 0) return platform::kErrorDirNotEmpty;
    return folders_.erase(Key(s)) ? platform::kErrorSuccess : platform::kErrorFileNotFound;
  }
  int32_t RemoveFile(std::u16string_view s) override {
    return files_.erase(Key(s)) ? platform::kErrorSuccess : platform::kErrorFileNotFound;
  }

 private:
  struct File {
    std::vector<uint8_t> bytes;
  };
  struct Open_ {
    std::shared_ptr<File> file;
    size_t nPos;
    bool bWrite;
  };
  struct Find_ {
    std::vector<std::u16string> names;
    size_t nNext;
  };
  static std::u16string Key(std::u16string_view s) { return base::LCase(s); }
  int32_t Open(std::u16string_view s, platform::FileHandle* p, bool bWrite) {
    auto it = files_.find(Key(s));
    if (it == files_.end()) return folders_.count(Key(s)) ? platform::kErrorAccessDenied : platform::kErrorFileNotFound;
    *p = nNext_++;
    open_[*p] = Open_{it->second, 0, bWrite};
    return platform::kErrorSuccess;
  }

  std::map<std::u16string, std::shared_ptr<File>> files_;
  std::set<std::u16string> folders_;
  std::map<platform::FileHandle, Open_> open_;
  std::map<platform::FileHandle, Find_> finds_;
  platform::FileHandle nNext_ = 0x100;
};

}  // namespace fuzz_support
