#include "support/temp_folder.h"

#include <windows.h>

#include <stdexcept>
#include <string>

#include "support/paths.h"

namespace e2e {

namespace {

[[noreturn]] void Fail(const std::string& sWhat, const std::wstring& sPath) {
  throw std::runtime_error(sWhat + " failed (" + std::to_string(GetLastError()) + ") for " +
                           std::string(sPath.begin(), sPath.end()));
}

}  // namespace

TempFolder::TempFolder(const std::wstring& sPrefix) {
  wchar_t szTemp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, szTemp);
  if (n == 0 || n > MAX_PATH) Fail("GetTempPathW", L"");
  std::wstring sBase = JoinPath(std::wstring(szTemp, n), sPrefix + L"-" + std::to_wstring(GetCurrentProcessId()));
  for (unsigned i = 0;; ++i) {
    std::wstring sCandidate = sBase + L"-" + std::to_wstring(GetTickCount() + i);
    if (CreateDirectoryW(sCandidate.c_str(), nullptr)) {
      sPath_ = sCandidate;
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS || i > 1000) Fail("CreateDirectoryW", sCandidate);
  }
}

TempFolder::~TempFolder() { RemoveTree(sPath_); }

std::wstring TempFolder::operator/(const std::wstring& sName) const { return JoinPath(sPath_, sName); }

void TempFolder::WriteFile(const std::wstring& sName, const std::string& sContent) const {
  std::wstring sPath = *this / sName;
  HANDLE h = CreateFileW(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail("CreateFileW", sPath);
  DWORD nWritten = 0;
  BOOL bOk = sContent.empty() ||
             ::WriteFile(h, sContent.data(), static_cast<DWORD>(sContent.size()), &nWritten, nullptr);
  CloseHandle(h);
  if (!bOk) Fail("WriteFile", sPath);
}

void TempFolder::CreateFolder(const std::wstring& sName) const {
  std::wstring sPath = *this / sName;
  if (!CreateDirectoryW(sPath.c_str(), nullptr)) Fail("CreateDirectoryW", sPath);
}

void TempFolder::CopyIn(const std::wstring& sSource, const std::wstring& sName) const {
  std::wstring sPath = *this / sName;
  if (!CopyFileW(sSource.c_str(), sPath.c_str(), FALSE)) Fail("CopyFileW", sSource);
}

bool RemoveTree(const std::wstring& sPath) {
  if (sPath.empty()) return true;
  WIN32_FIND_DATAW data;
  HANDLE hFind = FindFirstFileW(JoinPath(sPath, L"*").c_str(), &data);
  if (hFind != INVALID_HANDLE_VALUE) {
    do {
      std::wstring sName = data.cFileName;
      if (sName == L"." || sName == L"..") continue;
      std::wstring sChild = JoinPath(sPath, sName);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(sChild);
      } else {
        SetFileAttributesW(sChild.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(sChild.c_str());
      }
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
  }
  return RemoveDirectoryW(sPath.c_str()) != 0;
}

}  // namespace e2e
