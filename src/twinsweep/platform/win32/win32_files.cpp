// Files and folders through the wide Windows file functions.
#include "twinsweep/platform/win32/win32_strings.h"
#include "twinsweep/platform/files.h"

namespace twinsweep {

namespace platform {
namespace {

HANDLE H(FileHandle h) { return reinterpret_cast<HANDLE>(h); }

int32_t Open(std::u16string_view sPath, DWORD access, DWORD share, DWORD disposition, DWORD flags, FileHandle* phFile) {
  *phFile = kInvalidFile;
  const auto path = win32::Wide(sPath);
  if (!path) return win32::kRefusedName;
  HANDLE h = CreateFileW(path->c_str(), access, share, nullptr, disposition, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    *phFile = kInvalidFile;
    return static_cast<int32_t>(GetLastError());
  }
  *phFile = reinterpret_cast<FileHandle>(h);
  return kErrorSuccess;
}

FindData ToFindData(const WIN32_FIND_DATAW& d) {
  return FindData{win32::FromWide(d.cFileName, wcslen(d.cFileName)), d.dwFileAttributes};
}

int32_t Status(BOOL ok) { return ok ? kErrorSuccess : static_cast<int32_t>(GetLastError()); }

class Win32Files : public IFiles {
 public:
  int32_t OpenForQuery(std::u16string_view sPath, FileHandle* phFile) override {
    return Open(sPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0, phFile);
  }
  int32_t OpenForRead(std::u16string_view sPath, FileHandle* phFile) override {
    return Open(sPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                FILE_ATTRIBUTE_NORMAL, phFile);
  }
  int32_t OpenForWrite(std::u16string_view sPath, FileHandle* phFile) override {
    return Open(sPath, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, phFile);
  }
  int32_t Read(FileHandle hFile, uint8_t* pBuffer, uint32_t nToRead, uint32_t* pnRead) override {
    DWORD n = 0;
    BOOL ok = ReadFile(H(hFile), pBuffer, nToRead, &n, nullptr);
    *pnRead = ok ? n : 0;
    return Status(ok);
  }
  int32_t Write(FileHandle hFile, const uint8_t* pData, uint32_t nSize) override {
    while (nSize > 0) {
      DWORD n = 0;
      if (!WriteFile(H(hFile), pData, nSize, &n, nullptr)) return static_cast<int32_t>(GetLastError());
      if (n == 0) return ERROR_DISK_FULL;  // no progress: the device takes no more
      pData += n;
      nSize -= n;
    }
    return kErrorSuccess;
  }
  int32_t Close(FileHandle hFile) override { return Status(CloseHandle(H(hFile))); }
  int32_t GetSize(FileHandle hFile, uint64_t* pnSize) override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(H(hFile), &size)) return static_cast<int32_t>(GetLastError());
    *pnSize = static_cast<uint64_t>(size.QuadPart);
    return kErrorSuccess;
  }
  int32_t GetLastWriteLocalTime(FileHandle hFile, SystemTime* pTime) override {
    FILETIME created, accessed, written, local;
    SYSTEMTIME st;
    if (!GetFileTime(H(hFile), &created, &accessed, &written)) return static_cast<int32_t>(GetLastError());
    if (!FileTimeToLocalFileTime(&written, &local)) return static_cast<int32_t>(GetLastError());
    if (!FileTimeToSystemTime(&local, &st)) return static_cast<int32_t>(GetLastError());
    *pTime = SystemTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
    return kErrorSuccess;
  }
  int32_t SetLastWriteLocalTime(std::u16string_view sPath, const SystemTime& t) override {
    SYSTEMTIME st = {static_cast<WORD>(t.nYear),   static_cast<WORD>(t.nMonth),       0,
                     static_cast<WORD>(t.nDay),    static_cast<WORD>(t.nHour),        static_cast<WORD>(t.nMinute),
                     static_cast<WORD>(t.nSecond), static_cast<WORD>(t.nMilliseconds)};
    FILETIME local, utc;
    if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc))
      return static_cast<int32_t>(GetLastError());
    const auto path = win32::Wide(sPath);
    if (!path) return win32::kRefusedName;
    HANDLE h = CreateFileW(path->c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
    int32_t rc = Status(SetFileTime(h, nullptr, nullptr, &utc));
    CloseHandle(h);
    return rc;
  }
  int32_t FindFirst(std::u16string_view sPattern, FileHandle* phFind, FindData* pData) override {
    *phFind = kInvalidFile;
    const auto pattern = win32::Wide(sPattern);
    if (!pattern) return win32::kRefusedName;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW(pattern->c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) {
      *phFind = kInvalidFile;
      return static_cast<int32_t>(GetLastError());
    }
    *phFind = reinterpret_cast<FileHandle>(h);
    *pData = ToFindData(d);
    return kErrorSuccess;
  }
  int32_t FindNext(FileHandle hFind, FindData* pData) override {
    WIN32_FIND_DATAW d;
    if (!FindNextFileW(H(hFind), &d)) return static_cast<int32_t>(GetLastError());
    *pData = ToFindData(d);
    return kErrorSuccess;
  }
  int32_t FindClose(FileHandle hFind) override { return Status(::FindClose(H(hFind))); }
  int32_t MakeDirectory(std::u16string_view sPath) override {
    const auto path = win32::Wide(sPath);
    return path ? Status(CreateDirectoryW(path->c_str(), nullptr)) : win32::kRefusedName;
  }
  int32_t RemoveEmptyDirectory(std::u16string_view sPath) override {
    const auto path = win32::Wide(sPath);
    return path ? Status(RemoveDirectoryW(path->c_str())) : win32::kRefusedName;
  }
  int32_t RemoveFile(std::u16string_view sPath) override {
    const auto path = win32::Wide(sPath);
    return path ? Status(DeleteFileW(path->c_str())) : win32::kRefusedName;
  }
  int32_t GetSizeByPath(std::u16string_view sPath, uint64_t* pnSize) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    const auto path = win32::Wide(sPath);
    if (!path) return win32::kRefusedName;
    if (!GetFileAttributesExW(path->c_str(), GetFileExInfoStandard, &data)) return static_cast<int32_t>(GetLastError());
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kErrorAccessDenied;
    *pnSize = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return kErrorSuccess;
  }
  int32_t AppendToFile(std::u16string_view sPath, std::string_view sBytes) override {
    // FILE_APPEND_DATA alone: every write goes to the end of the file as it is then,
    // whoever else appends meanwhile.
    FileHandle hFile = kInvalidFile;
    const int32_t rc = Open(sPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, &hFile);
    if (rc != kErrorSuccess) return rc;
    DWORD nWritten = 0;
    int32_t nStatus = Status(WriteFile(H(hFile), sBytes.data(), static_cast<DWORD>(sBytes.size()), &nWritten, nullptr));
    if (nStatus == kErrorSuccess && nWritten != sBytes.size()) nStatus = kErrorDiskFull;
    CloseHandle(H(hFile));
    return nStatus;
  }
  int32_t MoveReplacing(std::u16string_view sFrom, std::u16string_view sTo) override {
    const auto from = win32::Wide(sFrom), to = win32::Wide(sTo);
    if (!from || !to) return win32::kRefusedName;
    return Status(MoveFileExW(from->c_str(), to->c_str(), MOVEFILE_REPLACE_EXISTING));
  }
  int32_t EmptyFile(std::u16string_view sPath) override {
    // Shared as the appends share it, so that a viewer holding the file does not stop it.
    FileHandle hFile = kInvalidFile;
    const int32_t rc = Open(sPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, &hFile);
    if (rc == kErrorSuccess) CloseHandle(H(hFile));
    return rc;
  }
  int32_t CreateFolders(std::u16string_view sPath) override {
    const auto wide = win32::Wide(sPath);
    if (!wide) return win32::kRefusedName;
    const std::wstring& path = *wide;
    // Each folder from the top down; the ones that exist already fail harmlessly.
    for (size_t i = path.find(L'\\', 3); i != std::wstring::npos; i = path.find(L'\\', i + 1))
      CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
    const DWORD n = GetFileAttributesW(path.c_str());
    if (n == INVALID_FILE_ATTRIBUTES) return static_cast<int32_t>(GetLastError());
    return (n & FILE_ATTRIBUTE_DIRECTORY) ? kErrorSuccess : kErrorAlreadyExists;
  }
};

}  // namespace

template <>
IFiles& Default<IFiles>() {
  return StaticInstance<Win32Files>();
}

}  // namespace platform

}  // namespace twinsweep
