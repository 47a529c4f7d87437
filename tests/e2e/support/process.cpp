#include "support/process.h"

#include <stdexcept>
#include <string>

namespace e2e {

namespace {

[[noreturn]] void Fail(const char* szWhat) {
  throw std::runtime_error(std::string(szWhat) + " failed (" + std::to_string(GetLastError()) + ")");
}

bool SameName(const std::wstring& sEntry, const std::wstring& sName) {
  return sEntry.size() > sName.size() && sEntry[sName.size()] == L'=' &&
         CompareStringOrdinal(sEntry.c_str(), static_cast<int>(sName.size()), sName.c_str(),
                              static_cast<int>(sName.size()), TRUE) == CSTR_EQUAL;
}

// The test's environment with the changes applied, as a CREATE_UNICODE_ENVIRONMENT block.
std::wstring EnvironmentBlock(const EnvironmentChanges& changes) {
  std::vector<std::wstring> entries;
  if (wchar_t* pBlock = GetEnvironmentStringsW()) {
    for (const wchar_t* p = pBlock; *p; p += wcslen(p) + 1) entries.emplace_back(p);
    FreeEnvironmentStringsW(pBlock);
  }
  for (const auto& [sName, vValue] : changes) {
    for (auto it = entries.begin(); it != entries.end();) {
      it = SameName(*it, sName) ? entries.erase(it) : it + 1;
    }
    if (vValue) entries.push_back(sName + L"=" + *vValue);
  }
  std::wstring sBlock;
  for (const std::wstring& s : entries) sBlock.append(s).push_back(L'\0');
  sBlock.push_back(L'\0');
  return sBlock;
}

// Wine runs the session's desktop in a process of its own (explorer.exe), started
// by the first program that needs a window and ended when no program uses the
// desktop any more. Were a program under test the one to start it, it would belong
// to that program's job, and the tree would never end. The test itself takes the
// desktop into use before it starts anything, so the desktop outlives every tree.
void HoldTheDesktop() {
  static const HWND hDesktop = GetDesktopWindow();
  (void)hDesktop;
}

}  // namespace

ProcessTree::ProcessTree(const std::wstring& sProgram, const std::wstring& sArgs,
                         const EnvironmentChanges& environment, const std::wstring& sWorkingFolder) {
  HoldTheDesktop();
  job_.Reset(CreateJobObjectW(nullptr, nullptr));
  if (!job_.IsValid()) Fail("CreateJobObjectW");
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

  std::wstring sCommandLine = L"\"" + sProgram + L"\"";
  if (!sArgs.empty()) sCommandLine += L" " + sArgs;
  std::wstring sEnvironment = EnvironmentBlock(environment);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  // Suspended until it is in the job, so that nothing it starts can escape the job.
  if (!CreateProcessW(sProgram.c_str(), &sCommandLine[0], nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT, &sEnvironment[0],
                      sWorkingFolder.empty() ? nullptr : sWorkingFolder.c_str(), &startup, &info)) {
    Fail("CreateProcessW");  // the job is closed with the half-made object
  }
  const OwnedHandle thread(info.hThread);
  process_.Reset(info.hProcess);
  nProcessId_ = info.dwProcessId;
  if (!AssignProcessToJobObject(job_.Get(), process_.Get())) {
    TerminateProcess(process_.Get(), 1);
    Fail("AssignProcessToJobObject");  // thread, process and job are closed in that order
  }
  ResumeThread(thread.Get());
}

ProcessTree::~ProcessTree() { Terminate(); }

bool ProcessTree::WaitForExit(DWORD nTimeoutMs) const {
  return WaitForSingleObject(process_.Get(), nTimeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> ProcessTree::ExitCode() const {
  DWORD nCode = 0;
  if (!WaitForExit(0) || !GetExitCodeProcess(process_.Get(), &nCode)) return std::nullopt;
  return nCode;
}

bool ProcessTree::WaitForTreeExit(DWORD nTimeoutMs) const {
  const ULONGLONG nEnd = GetTickCount64() + nTimeoutMs;
  for (;;) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (!QueryInformationJobObject(job_.Get(), JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                   nullptr)) {
      Fail("QueryInformationJobObject");
    }
    if (accounting.ActiveProcesses == 0) return true;
    if (GetTickCount64() >= nEnd) return false;
    Sleep(50);
  }
}

void ProcessTree::Terminate() const { TerminateJobObject(job_.Get(), 1); }

}  // namespace e2e
