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

#include "support/fault_schedule.h"
#include "support/pass_through_files.h"

namespace testing_support {

class FaultInjectingFiles : public PassThroughFiles, public FaultSchedule {
 public:
  // Forgets the faults, the count of calls and the bytes read; keeps the handle count.
  void Reset() {
    ResetSchedule();
    nReadCap_ = std::numeric_limits<uint32_t>::max();
    nReadBudget_ = std::numeric_limits<uint64_t>::max();
    nBytesRead_ = 0;
  }
  // Every read answers at most nBytes (at least 1), as a network share may.
  void CapReads(uint32_t nBytes) { nReadCap_ = nBytes == 0 ? 1 : nBytes; }
  // Reads deliver nBytes in all; the read that would go beyond fails with nStatus.
  void FailReadsAfter(uint64_t nBytes, int32_t nStatus) {
    nReadBudget_ = nBytes;
    nReadStatus_ = nStatus;
  }
  size_t OpenHandles() const { return files_.size() + finds_.size(); }

  int32_t OpenForQuery(std::u16string_view s, platform::FileHandle* p) override {
    return Opened(Fault() ? FaultStatus() : real().OpenForQuery(s, p), p, files_);
  }
  int32_t OpenForRead(std::u16string_view s, platform::FileHandle* p) override {
    return Opened(Fault() ? FaultStatus() : real().OpenForRead(s, p), p, files_);
  }
  int32_t OpenForWrite(std::u16string_view s, platform::FileHandle* p) override {
    return Opened(Fault() ? FaultStatus() : real().OpenForWrite(s, p), p, files_);
  }
  int32_t Read(platform::FileHandle h, uint8_t* p, uint32_t n, uint32_t* pn) override {
    if (pn) *pn = 0;
    if (Fault()) return FaultStatus();
    if (n > nReadCap_) n = nReadCap_;
    if (nBytesRead_ >= nReadBudget_ && n > 0) return nReadStatus_;
    if (nReadBudget_ - nBytesRead_ < n) n = static_cast<uint32_t>(nReadBudget_ - nBytesRead_);
    const int32_t rc = real().Read(h, p, n, pn);
    if (rc == platform::kErrorSuccess && pn) nBytesRead_ += *pn;
    return rc;
  }
  int32_t Write(platform::FileHandle h, const uint8_t* p, uint32_t n) override {
    return Fault() ? FaultStatus() : real().Write(h, p, n);
  }
  int32_t Close(platform::FileHandle h) override {
    files_.erase(h);  // a failed close still gives the handle up, as on Windows
    const bool bFault = Fault();
    const int32_t rc = real().Close(h);
    return bFault ? FaultStatus() : rc;
  }
  int32_t GetSize(platform::FileHandle h, uint64_t* pn) override {
    return Fault() ? FaultStatus() : real().GetSize(h, pn);
  }
  int32_t GetLastWriteLocalTime(platform::FileHandle h, platform::SystemTime* p) override {
    return Fault() ? FaultStatus() : real().GetLastWriteLocalTime(h, p);
  }
  int32_t FindFirst(std::u16string_view s, platform::FileHandle* p, platform::FindData* d) override {
    return Opened(Fault() ? FaultStatus() : real().FindFirst(s, p, d), p, finds_);
  }
  int32_t FindNext(platform::FileHandle h, platform::FindData* d) override {
    return Fault() ? FaultStatus() : real().FindNext(h, d);
  }
  int32_t FindClose(platform::FileHandle h) override {
    finds_.erase(h);
    const bool bFault = Fault();
    const int32_t rc = real().FindClose(h);
    return bFault ? FaultStatus() : rc;
  }
  int32_t MakeDirectory(std::u16string_view s) override { return Fault() ? FaultStatus() : real().MakeDirectory(s); }
  int32_t RemoveEmptyDirectory(std::u16string_view s) override { return Fault() ? FaultStatus() : real().RemoveEmptyDirectory(s); }
  int32_t RemoveFile(std::u16string_view s) override { return Fault() ? FaultStatus() : real().RemoveFile(s); }

 private:
  static int32_t Opened(int32_t rc, platform::FileHandle* p, std::set<platform::FileHandle>& open) {
    if (rc == platform::kErrorSuccess && p) open.insert(*p);
    return rc;
  }

  uint32_t nReadCap_ = std::numeric_limits<uint32_t>::max();
  uint64_t nReadBudget_ = std::numeric_limits<uint64_t>::max();
  uint64_t nBytesRead_ = 0;
  int32_t nReadStatus_ = 30;  // ERROR_READ_FAULT
  std::set<platform::FileHandle> files_;
  std::set<platform::FileHandle> finds_;
};

}  // namespace testing_support
