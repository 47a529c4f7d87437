#pragma once
// The diagnostic log's system in memory: debug output, the log's files (the
// whole-file calls of IFiles; the other file calls reach the real files), a
// fixed clock and process id, and switches that make writes fail or raise.
// ScopedLogSystem puts it in place of all three services.
#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/platform/diagnostics.h"
#include "twinsweep/platform/this_process.h"
#include "support/pass_through_files.h"
#include "support/scoped_overrides.h"

using namespace twinsweep;

namespace testing_support {

class RecordingDiagnostics : public platform::IDiagnostics, public platform::IThisProcess, public PassThroughFiles {
 public:
  std::vector<std::u16string> debugOutput;
  std::map<std::u16string, std::string> files;
  std::set<std::u16string> folders;
  std::u16string sLocalAppData = u"C:\\Users\\Ann\\AppData\\Local";
  platform::SystemTime time{2026, 3, 4, 5, 6, 7, 89};
  uint32_t nProcessId = 4242;
  bool bFailWrites = false;
  bool bFailReplace = false;   // the previous file cannot be replaced (held open, a folder)
  size_t nWriteRoom = SIZE_MAX;  // bytes the disk takes before it is full
  bool bRaise = false;  // every call raises, as a broken implementation might
  uint32_t nLastError = 0;

  void DebugOutput(std::u16string_view sText) override {
    Check();
    debugOutput.emplace_back(sText);
  }
  platform::SystemTime LocalTime() override { return Check(), time; }
  uint32_t ProcessId() override { return Check(), nProcessId; }
  std::u16string LocalAppDataFolder() override { return Check(), sLocalAppData; }
  int32_t GetSizeByPath(std::u16string_view sPath, uint64_t* pnSize) override {
    Check();
    auto it = files.find(std::u16string(sPath));
    if (it != files.end()) *pnSize = it->second.size();
    return Status(it != files.end());
  }
  int32_t AppendToFile(std::u16string_view sPath, std::string_view sBytes) override {
    Check();
    const std::u16string path(sPath);
    if (bFailWrites || !folders.count(path.substr(0, path.find_last_of(u'\\')))) return Status(false);
    const size_t n = std::min(sBytes.size(), nWriteRoom);
    files[path].append(sBytes.substr(0, n));
    nWriteRoom -= n;
    return Status(n == sBytes.size());
  }
  int32_t MoveReplacing(std::u16string_view sFrom, std::u16string_view sTo) override {
    Check();
    auto it = files.find(std::u16string(sFrom));
    if (bFailWrites || bFailReplace || it == files.end()) return Status(false);
    files[std::u16string(sTo)] = std::move(it->second);
    files.erase(std::u16string(sFrom));
    return Status(true);
  }
  int32_t EmptyFile(std::u16string_view sPath) override {
    Check();
    auto it = files.find(std::u16string(sPath));
    if (bFailWrites || it == files.end()) return Status(false);
    it->second.clear();
    return Status(true);
  }
  int32_t CreateFolders(std::u16string_view sPath) override {
    Check();
    if (bFailWrites) return Status(false);
    const std::u16string path(sPath);
    for (size_t i = path.find(u'\\'); i != std::u16string::npos; i = path.find(u'\\', i + 1))
      folders.insert(path.substr(0, i));
    folders.insert(path);
    return Status(true);
  }
  uint32_t LastError() override { return nLastError; }
  std::map<uint32_t, std::u16string> errorTexts;  // the others read "system text <code>"
  std::u16string ErrorText(uint32_t nError) override {
    auto it = errorTexts.find(nError);
    return it != errorTexts.end() ? it->second : u"system text " + base::LongToText(nError);
  }

 private:
  void Check() const {
    if (bRaise) base::Raise(base::kPathFileAccessError);
  }
  static int32_t Status(bool bDone) { return bDone ? platform::kErrorSuccess : platform::kErrorAccessDenied; }
};

// The log's three services replaced by one RecordingDiagnostics for the scope.
using ScopedLogSystem = ScopedOverrides<platform::IDiagnostics, platform::IFiles, platform::IThisProcess>;

}  // namespace testing_support
