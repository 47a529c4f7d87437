#include "fix.h"

#include "twinsweep/base/text.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/scoped_handle.h"
#include "source_file.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

enum class Written { Not, Partly, Whole };

Written WriteWhole(const std::u16string& sPath, const std::string& bytes) {
  platform::IFiles& files = platform::Files();
  platform::ScopedFile hFile;
  if (files.OpenForWrite(sPath, hFile.Receive()) != platform::kErrorSuccess) return Written::Not;
  return files.Write(hFile.Get(), reinterpret_cast<const uint8_t*>(bytes.data()),
                     static_cast<uint32_t>(bytes.size())) == platform::kErrorSuccess
             ? Written::Whole
             : Written::Partly;
}

}  // namespace

int FixFiles(const std::vector<std::u16string>& paths, std::string* psOut, std::string* psErr) {
  int nStatus = 0;
  for (const std::u16string& sPath : paths) {
    SourceFile file;
    const std::string sName = base::ToUtf8(sPath);
    if (!file.Read(sPath)) {
      *psErr += "lngcheck: cannot read " + sName + "\n";
      nStatus = 2;
      continue;
    }
    if (file.Bytes() == file.Original()) {
      *psOut += sName + ": nothing to fix\n";
      continue;
    }
    // The file is replaced in place: a write that fails half-way must not leave
    // the translator with half a file.
    const Written written = WriteWhole(sPath, file.Bytes());
    if (written != Written::Whole) {
      const bool bRestored = written == Written::Not || WriteWhole(sPath, file.Original()) == Written::Whole;
      *psErr += "lngcheck: cannot write " + sName + (bRestored ? "; it is as it was\n" : "; it may be cut short\n");
      nStatus = 2;
      continue;
    }
    *psOut += sName + ": saved as UTF-8 with a byte-order mark and CR LF line ends\n";
  }
  return nStatus;
}

}  // namespace lngcheck
