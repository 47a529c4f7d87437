#pragma once
// FaultInjectingFiles: the build's real files service with faults on demand, in
// the manner of "fail the Nth call, once or from then on".
//
// Every call through the double is counted (1, 2, ...). FailCall(n, status) makes
// call n answer status without reaching the real service; with bPersistent every
// later call fails too. Reads can also be made short (CapReads) or fail once a
// number of bytes has been read in all (FailReadsAfter). OpenHandles() counts the
// file and search handles opened through the double and not yet closed, which a
// loop test checks after every run.
//
//   FaultInjectingFiles files;
//   platform::ScopedOverride<platform::IFiles> use(files);
//   for (int n = 1;; ++n) { files.Reset(); files.FailCall(n, 5); Run(); ...; if (!files.Fired()) break; }
#include <cstdint>
#include <limits>
#include <set>

#include "support/pass_through_files.h"

namespace testing_support {

class FaultInjectingFiles : public PassThroughFiles {
 public:
  // Forgets the faults, the count of calls and the bytes read; keeps the handle count.
  void Reset() {
    nCalls_ = 0;
    nFailAt_ = 0;
    bPersistent_ = false;
    bFired_ = false;
    nReadCap_ = std::numeric_limits<uint32_t>::max();
    nReadBudget_ = std::numeric_limits<uint64_t>::max();
    nBytesRead_ = 0;
  }
  void FailCall(int64_t nCall, int32_t nStatus, bool bPersistent = false) {
    nFailAt_ = nCall;
    nStatus_ = nStatus;
    bPersistent_ = bPersistent;
  }
  // Every read answers at most nBytes (at least 1), as a network share may.
  void CapReads(uint32_t nBytes) { nReadCap_ = nBytes == 0 ? 1 : nBytes; }
  // Reads deliver nBytes in all; the read that would go beyond fails with nStatus.
  void FailReadsAfter(uint64_t nBytes, int32_t nStatus) {
    nReadBudget_ = nBytes;
    nReadStatus_ = nStatus;
  }
  int64_t Calls() const { return nCalls_; }
  bool Fired() const { return bFired_; }
  size_t OpenHandles() const { return files_.size() + finds_.size(); }

  int32_t OpenForQuery(std::u16string_view s, platform::FileHandle* p) override {
    return Opened(Fault() ? nStatus_ : real().OpenForQuery(s, p), p, files_);
  }
  int32_t OpenForRead(std::u16string_view s, platform::FileHandle* p) override {
    return Opened(Fault() ? nStatus_ : real().OpenForRead(s, p), p, files_);
  }
  int32_t OpenForWrite(std::u16string_view s, platform::FileHandle* p) override {
    return Opened(Fault() ? nStatus_ : real().OpenForWrite(s, p), p, files_);
  }
  int32_t Read(platform::FileHandle h, uint8_t* p, uint32_t n, uint32_t* pn) override {
    if (pn) *pn = 0;
    if (Fault()) return nStatus_;
    if (n > nReadCap_) n = nReadCap_;
    if (nBytesRead_ >= nReadBudget_ && n > 0) return nReadStatus_;
    if (nReadBudget_ - nBytesRead_ < n) n = static_cast<uint32_t>(nReadBudget_ - nBytesRead_);
    const int32_t rc = real().Read(h, p, n, pn);
    if (rc == platform::kErrorSuccess && pn) nBytesRead_ += *pn;
    return rc;
  }
  int32_t Write(platform::FileHandle h, const uint8_t* p, uint32_t n) override {
    return Fault() ? nStatus_ : real().Write(h, p, n);
  }
  int32_t Close(platform::FileHandle h) override {
    files_.erase(h);  // a failed close still gives the handle up, as on Windows
    const bool bFault = Fault();
    const int32_t rc = real().Close(h);
    return bFault ? nStatus_ : rc;
  }
  int32_t GetLastWriteLocalTime(platform::FileHandle h, platform::SystemTime* p) override {
    return Fault() ? nStatus_ : real().GetLastWriteLocalTime(h, p);
  }
  int32_t FindFirst(std::u16string_view s, platform::FileHandle* p, platform::FindData* d) override {
    return Opened(Fault() ? nStatus_ : real().FindFirst(s, p, d), p, finds_);
  }
  int32_t FindNext(platform::FileHandle h, platform::FindData* d) override {
    return Fault() ? nStatus_ : real().FindNext(h, d);
  }
  int32_t FindClose(platform::FileHandle h) override {
    finds_.erase(h);
    const bool bFault = Fault();
    const int32_t rc = real().FindClose(h);
    return bFault ? nStatus_ : rc;
  }
  int32_t CreateDirectory(std::u16string_view s) override { return Fault() ? nStatus_ : real().CreateDirectory(s); }
  int32_t RemoveDirectory(std::u16string_view s) override { return Fault() ? nStatus_ : real().RemoveDirectory(s); }
  int32_t DeleteFile(std::u16string_view s) override { return Fault() ? nStatus_ : real().DeleteFile(s); }

 private:
  bool Fault() {
    ++nCalls_;
    const bool bFail = nFailAt_ > 0 && (nCalls_ == nFailAt_ || (bPersistent_ && nCalls_ > nFailAt_));
    bFired_ = bFired_ || bFail;
    return bFail;
  }
  static int32_t Opened(int32_t rc, platform::FileHandle* p, std::set<platform::FileHandle>& open) {
    if (rc == platform::kErrorSuccess && p) open.insert(*p);
    return rc;
  }

  int64_t nCalls_ = 0;
  int64_t nFailAt_ = 0;
  int32_t nStatus_ = 5;
  bool bPersistent_ = false;
  bool bFired_ = false;
  uint32_t nReadCap_ = std::numeric_limits<uint32_t>::max();
  uint64_t nReadBudget_ = std::numeric_limits<uint64_t>::max();
  uint64_t nBytesRead_ = 0;
  int32_t nReadStatus_ = 30;  // ERROR_READ_FAULT
  std::set<platform::FileHandle> files_;
  std::set<platform::FileHandle> finds_;
};

}  // namespace testing_support
