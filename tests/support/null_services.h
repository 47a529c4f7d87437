#pragma once
// Null doubles: each implements every member of one platform interface with a
// harmless answer (nothing there, nothing done), so that a test's double derives
// from one and overrides only the calls it scripts.
#include "twinsweep/platform/automation.h"
#include "twinsweep/platform/app.h"
#include "twinsweep/platform/files.h"

using namespace twinsweep;

namespace testing_support {

// No file or folder exists, and none can be made.
class NullFiles : public platform::IFiles {
 public:
  int32_t OpenForQuery(std::u16string_view, platform::FileHandle* p) override { return Missing(p); }
  int32_t OpenForRead(std::u16string_view, platform::FileHandle* p) override { return Missing(p); }
  int32_t OpenForWrite(std::u16string_view, platform::FileHandle* p) override { return Missing(p); }
  int32_t Read(platform::FileHandle, uint8_t*, uint32_t, uint32_t*) override { return platform::kErrorInvalidHandle; }
  int32_t Write(platform::FileHandle, const uint8_t*, uint32_t) override { return platform::kErrorInvalidHandle; }
  int32_t Close(platform::FileHandle) override { return platform::kErrorInvalidHandle; }
  int32_t GetSize(platform::FileHandle, uint64_t*) override { return platform::kErrorInvalidHandle; }
  int32_t GetLastWriteLocalTime(platform::FileHandle, platform::SystemTime*) override { return platform::kErrorInvalidHandle; }
  int32_t SetLastWriteLocalTime(std::u16string_view, const platform::SystemTime&) override { return platform::kErrorFileNotFound; }
  int32_t FindFirst(std::u16string_view, platform::FileHandle* p, platform::FindData*) override { return Missing(p); }
  int32_t FindNext(platform::FileHandle, platform::FindData*) override { return platform::kErrorInvalidHandle; }
  int32_t FindClose(platform::FileHandle) override { return platform::kErrorInvalidHandle; }
  int32_t MakeDirectory(std::u16string_view) override { return platform::kErrorAccessDenied; }
  int32_t RemoveEmptyDirectory(std::u16string_view) override { return platform::kErrorFileNotFound; }
  int32_t RemoveFile(std::u16string_view) override { return platform::kErrorFileNotFound; }
  int32_t GetSizeByPath(std::u16string_view, uint64_t*) override { return platform::kErrorFileNotFound; }
  int32_t AppendToFile(std::u16string_view, std::string_view) override { return platform::kErrorAccessDenied; }
  int32_t MoveReplacing(std::u16string_view, std::u16string_view) override { return platform::kErrorFileNotFound; }
  int32_t EmptyFile(std::u16string_view) override { return platform::kErrorFileNotFound; }
  int32_t CreateFolders(std::u16string_view) override { return platform::kErrorAccessDenied; }

 private:
  static int32_t Missing(platform::FileHandle* p) {
    *p = platform::kInvalidFile;
    return platform::kErrorFileNotFound;
  }
};

// An application in the current folder, on a system as new as the program knows.
class NullApp : public platform::IApp {
 public:
  std::u16string AppFolder() override { return u"."; }
  bool ShapingKnowsIsolates() override { return true; }
};

// An object without members that wraps none.
class NullAutomationObject : public platform::IAutomationObject {
 public:
  platform::AutomationResult Invoke(std::u16string_view, platform::InvokeKind, const platform::AutomationArgs&) override {
    return {};
  }
  platform::IAutomationObject& Target() override { return *this; }
};

}  // namespace testing_support
