#pragma once
// Files and folders, in the vocabulary of the Windows file functions (wide forms),
// except where a function's name is a macro of <windows.h> (CreateDirectory,
// RemoveDirectory, DeleteFile): those members are named otherwise, so that a
// program including both this header and <windows.h>, in either order, keeps
// its macros and these members their names.
//
// Paths use "\" as the separator, as the program builds them; the native
// implementation maps them to its own. Every call answers a Windows status code:
// 0 success, 2 missing file, 3 missing folder, 5 refused, 18 end of a search,
// 38 read past the end. A path with an inner NUL names no file (2): the system
// would read only the part before the NUL.
#include <cstdint>
#include <string>
#include <string_view>

#include "twinsweep/platform/services.h"
#include "twinsweep/platform/win_status.h"

namespace twinsweep {

namespace platform {

using FileHandle = std::intptr_t;        ///< An open file or search.
constexpr FileHandle kInvalidFile = -1;  ///< No file (INVALID_HANDLE_VALUE).

constexpr uint32_t kFileAttributeDirectory = 0x10;  ///< FILE_ATTRIBUTE_DIRECTORY

/// SYSTEMTIME: calendar fields of a time.
struct SystemTime {
  int32_t nYear = 0;          ///< wYear
  int32_t nMonth = 0;         ///< wMonth, 1 to 12
  int32_t nDay = 0;           ///< wDay
  int32_t nHour = 0;          ///< wHour
  int32_t nMinute = 0;        ///< wMinute
  int32_t nSecond = 0;        ///< wSecond
  int32_t nMilliseconds = 0;  ///< wMilliseconds
};

/// One entry of a directory search (WIN32_FIND_DATA, the parts the program reads).
struct FindData {
  std::u16string sName;      ///< the entry's name, without its folder
  uint32_t nAttributes = 0;  ///< its attributes (kFileAttributeDirectory for a folder)
};

/// Files and folders: the file service of the build (platform::Files()).
class IFiles {
 public:
  virtual ~IFiles() = default;
  /// CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0):
  /// a handle only for questions about the file. A folder cannot be opened so (5).
  [[nodiscard]] virtual int32_t OpenForQuery(std::u16string_view sPath, FileHandle* phFile) = 0;
  /// CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
  /// OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL): the reader never stops another program
  /// (a translator's editor, a setup replacing the file) from writing or removing it.
  [[nodiscard]] virtual int32_t OpenForRead(std::u16string_view sPath, FileHandle* phFile) = 0;
  /// CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL):
  /// creates the file or empties an existing one.
  [[nodiscard]] virtual int32_t OpenForWrite(std::u16string_view sPath, FileHandle* phFile) = 0;
  /// ReadFile: 0 and *pnRead = 0 at the end of the file.
  virtual int32_t Read(FileHandle hFile, uint8_t* pBuffer, uint32_t nToRead, uint32_t* pnRead) = 0;
  /// WriteFile: all nSize bytes, or a failure.
  virtual int32_t Write(FileHandle hFile, const uint8_t* pData, uint32_t nSize) = 0;
  /// CloseHandle.
  virtual int32_t Close(FileHandle hFile) = 0;
  /// GetFileSizeEx: the size of an open file in bytes, as it stands now.
  virtual int32_t GetSize(FileHandle hFile, uint64_t* pnSize) = 0;
  /// GetFileTime (last write), FileTimeToLocalFileTime, FileTimeToSystemTime.
  virtual int32_t GetLastWriteLocalTime(FileHandle hFile, SystemTime* pTime) = 0;
  /// Sets a file's last-write time from a local time; for tests and tools.
  virtual int32_t SetLastWriteLocalTime(std::u16string_view sPath, const SystemTime& time) = 0;
  /// FindFirstFileW with the system's wildcard rules ("*", "*.lng"), FindNextFileW
  /// (18 after the last entry), FindClose.
  [[nodiscard]] virtual int32_t FindFirst(std::u16string_view sPattern, FileHandle* phFind, FindData* pData) = 0;
  virtual int32_t FindNext(FileHandle hFind, FindData* pData) = 0;  ///< \copydoc FindFirst
  virtual int32_t FindClose(FileHandle hFind) = 0;                  ///< \copydoc FindFirst
  /// CreateDirectoryW without security attributes: one folder (183 when it exists).
  [[nodiscard]] virtual int32_t MakeDirectory(std::u16string_view sPath) = 0;
  /// RemoveDirectoryW: removes only an empty folder.
  virtual int32_t RemoveEmptyDirectory(std::u16string_view sPath) = 0;
  /// DeleteFileW.
  virtual int32_t RemoveFile(std::u16string_view sPath) = 0;

  // Whole files by path, as an append-only log shared by processes uses them.

  /// GetFileAttributesExW: the size in bytes of the file at sPath; a folder is refused (5).
  virtual int32_t GetSizeByPath(std::u16string_view sPath, uint64_t* pnSize) = 0;
  /// Appends the bytes at the file's end, creating the file (not its folder). Each
  /// call is one write, so that the lines of processes appending at the same time
  /// do not mix; 112 when only some of the bytes were written.
  virtual int32_t AppendToFile(std::u16string_view sPath, std::string_view sBytes) = 0;
  /// MoveFileExW(MOVEFILE_REPLACE_EXISTING): sFrom takes sTo's place.
  virtual int32_t MoveReplacing(std::u16string_view sFrom, std::u16string_view sTo) = 0;
  /// Empties the existing file (its size becomes 0) while others may hold it open.
  virtual int32_t EmptyFile(std::u16string_view sPath) = 0;
  /// Creates the folder and the missing ones above it; 0 when it is a folder
  /// afterwards, 183 when a file stands in its place.
  virtual int32_t CreateFolders(std::u16string_view sPath) = 0;
};

/// The build's own file service.
template <>
IFiles& Default<IFiles>();
/// The file service in use (a test's double while one is set).
inline IFiles& Files() { return Get<IFiles>(); }

}  // namespace platform

}  // namespace twinsweep
