// CLang's form dump writer: DumpForm, DumpUserControl, DumpControls,
// DumpControl, EscapeValue, TabAlign.
//
// A dump is the designed state of a form written in the language-file syntax,
// so that a translator starts from the real keys and texts. It never fails
// towards its caller: a step that cannot be done is left out. A dump file that
// cannot be created, or whose write or close fails, is reported, and a file cut
// short is removed, so that no dump that looks complete lacks its end. A picture
// that cannot be saved is reported and leaves no file behind; a value whose line
// is too long to be read back whole is reported and still written.
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/lang/lang_syntax.h"
#include "twinsweep/lang/lang_file.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/platform/app.h"
#include "twinsweep/platform/scoped_handle.h"
#include "twinsweep/platform/text_codec.h"
#include "twinsweep/platform/file_utils.h"

namespace twinsweep {

namespace {

constexpr char16_t kCrLf[] = u"\r\n";
constexpr int32_t kDumpTabStops = 4;

// A write or close of the dump file that failed, with the system's status. It
// ends the dump: the file is removed and the failure reported by DumpControls.
struct DumpWriteFailure {
  int32_t nStatus;
};

// Writes one line of the dump file: the text in the ANSI code page, then CR LF.
void WriteDumpLine(platform::FileHandle hFile, const std::u16string& sLine) {
  const std::string bytes = platform::TextCodec().WideToMultiByte(platform::kCodePageAnsi, sLine + kCrLf);
  const int32_t nStatus = platform::Files().Write(hFile, reinterpret_cast<const uint8_t*>(bytes.data()),
                                                  static_cast<uint32_t>(bytes.size()));
  if (nStatus != platform::kErrorSuccess) throw DumpWriteFailure{nStatus};
}

// The length in bytes of the line as the dump writes it, when it may exceed the
// reader's block (no code page takes more than three bytes for a UTF-16 unit).
size_t DumpLineBytes(const std::u16string& sLine) {
  if (sLine.size() * 3 <= static_cast<size_t>(CLangFile::kBlockSize)) return sLine.size();
  return platform::TextCodec().WideToMultiByte(platform::kCodePageAnsi, sLine).size();
}

// The failure opening a file for output gives for a file status.
[[noreturn]] void RaiseOpenFailure(int32_t nStatus) {
  if (nStatus == platform::kErrorPathNotFound || nStatus == platform::kErrorFileNotFound)
    base::Raise(base::kPathNotFound);
  base::Raise(base::kPathFileAccessError);
}

platform::FormObjectRef Checked(const platform::FormObjectRef& o) {
  if (!o) base::Raise(base::kObjectNotSet);
  return o;
}

}  // namespace

void CLang::DumpForm(const platform::FormObjectRef& oFrm) {
  base::Ignore([&] { DumpControls(Checked(oFrm)->Name(), oFrm, oFrm->Controls()); });
  base::ClearPending();
}

void CLang::DumpUserControl(const std::u16string& sName, const platform::FormObjectRef& oUserControl,
                            const platform::ControlsRef& oUserControl_Controls) {
  base::Ignore([&] { DumpControls(sName, oUserControl, oUserControl_Controls); });
  base::ClearPending();
}

void CLang::DumpControls(const std::u16string& sName, const platform::FormObjectRef& oContainer,
                         const platform::ControlsRef& oControls) {
  platform::ScopedFile hFile;
  std::u16string sFile;
  try {
    const std::u16string sDumpFolder = platform::App().AppFolder() + u"\\Dump";
    mFileUtils::CreateFolder(sDumpFolder);
    sFile = sDumpFolder + u"\\" + sName + u".txt";
    const int32_t nStatus = platform::Files().OpenForWrite(sFile, hFile.Receive());
    if (nStatus != platform::kErrorSuccess) RaiseOpenFailure(nStatus);
    WriteDumpLine(hFile.Get(), sprintf1(u"[%s.%s]", {sMainSection, sName}));
    const std::u16string sPictureFolder = sDumpFolder + u"\\" + sName;
    DumpControl(oContainer, u"", hFile.Get(), sPictureFolder);
    if (!oControls) base::Raise(base::kObjectNotSet);
    const int32_t nCount = oControls->Count();
    for (int32_t i = 0; i < nCount; ++i) {
      platform::FormObjectRef oControl = Checked(oControls->Item(i));
      DumpControl(oControl, oControl->Name(), hFile.Get(), sPictureFolder);
    }
    // Closing is the dump's last write: what the system held back may fail only now.
    const int32_t nClose = platform::Files().Close(hFile.Take());
    if (nClose != platform::kErrorSuccess) throw DumpWriteFailure{nClose};
  } catch (const DumpWriteFailure& failure) {
    hFile.Reset();
    const bool bRemoved = platform::Files().RemoveFile(sFile) == platform::kErrorSuccess;
    mMain::LogError(u"CLang.DumpControls", failure.nStatus,
                    sprintf1(bRemoved ? u"dump file '%s' could not be written (system error %d); it was removed"
                                      : u"dump file '%s' could not be written (system error %d) nor removed",
                             {sFile, failure.nStatus}));
  } catch (...) {
    base::SetPendingFromCurrentException();
    mMain::LogError(u"CLang.DumpControls", -1);
  }
}

void CLang::DumpControl(const platform::FormObjectRef& oControl, const std::u16string& sName,
                        platform::FileHandle hFile, const std::u16string& sPictureFolder) {
  // Every step is guarded on its own: a property the object lacks leaves out
  // that line, and the rest of the block is still written.
  std::u16string sType;
  base::Ignore([&] { sType = Checked(oControl)->TypeName(); });
  std::u16string sDumpName = sName;
  base::Ignore([&] { sDumpName = sName + u"(" + base::CStr(Checked(oControl)->GetProperty(u"Index")) + u")"; });
  const bool bLine = base::EqualsNoCase(sType, u"Line");

  std::u16string sComment;
  if (nDumpForms == 2 || nDumpForms == 3) base::Ignore([&] { sComment = sprintf1(u"; %s(%s)", {sDumpName, sType}); });

  std::u16string sBlock;
  auto append = [&](std::u16string_view sPattern, const base::VariantList& params) {
    const std::u16string sLine = TabAlign(sprintf1(sPattern, params), kDumpTabStops);
    // The reader takes a line in blocks: a longer one comes back in pieces and
    // its value is lost. The translator learns it now, and the line is kept.
    const size_t nBytes = DumpLineBytes(sLine);
    if (nBytes > static_cast<size_t>(CLangFile::kBlockSize))
      mMain::LogError(u"CLang.DumpControl", 0,
                      sprintf1(u"the line of '%s' is %d bytes long, too long to be read back (at most %d)",
                               {sLine.substr(0, sLine.find_first_of(u"\t=")), static_cast<int32_t>(nBytes),
                                CLangFile::kBlockSize}));
    sBlock += sLine + kCrLf;
  };
  auto appendProperty = [&](std::u16string_view sPattern, std::u16string_view sProperty) {
    base::Ignore([&] { append(sPattern, {sDumpName, base::CStr(Checked(oControl)->GetProperty(sProperty))}); });
  };

  std::u16string sCaption;
  base::Ignore([&] { sCaption = EscapeValue(base::CStr(Checked(oControl)->GetProperty(u"Caption"))); });
  if (!(sCaption.empty() && nDumpForms == 3)) {
    base::Ignore([&] {
      if (sDumpName.empty())
        append(u".Caption=\"%s\"", {sCaption});
      else if (!bLine)
        append(u"%s=\"%s\"", {sDumpName, sCaption});
    });
  }

  if (nDumpForms == 1) {
    appendProperty(u"%s.Left=\"%s\"", u"Left");
    appendProperty(u"%s.Top=\"%s\"", u"Top");
    appendProperty(u"%s.Width=\"%s\"", u"Width");
    appendProperty(u"%s.Height=\"%s\"", u"Height");

    base::ClearPending();
    platform::PictureRef oPicture;
    base::Ignore([&] { oPicture = Checked(oControl)->GetPicture(); });
    if (oPicture && oPicture->Handle() != 0) {
      // The pattern's doubled backslash becomes one in the formatted path.
      const std::u16string sPath = sprintf1(u"%s\\\\%s.bmp", {sPictureFolder, sDumpName});
      mFileUtils::CreateFolder(sPictureFolder);
      base::ClearPending();
      if (base::Catch([&] { platform::Forms().SavePicture(oPicture, sPath); })) {
        base::Ignore([&] { append(u"%s.Picture= \"%s\"", {sDumpName, EscapeValue(sPath)}); });
      } else {
        mMain::LogError(u"CLang.DumpControl", -1);
        // A save cut short leaves no empty or partial picture, so that a folder
        // with no other picture goes too.
        platform::Files().RemoveFile(sPath);
        platform::Files().RemoveEmptyDirectory(sPictureFolder);
      }
    }

    if (bLine) {
      appendProperty(u"%s.X1=\"%s\"", u"X1");
      appendProperty(u"%s.Y1=\"%s\"", u"Y1");
      appendProperty(u"%s.X2=\"%s\"", u"X2");
      appendProperty(u"%s.Y2=\"%s\"", u"Y2");
    }
  }

  std::u16string sTip;
  base::Ignore([&] { sTip = EscapeValue(base::CStr(Checked(oControl)->GetProperty(u"ToolTipText"))); });
  if (!sTip.empty()) base::Ignore([&] { append(u"%s.ToolTipText=\"%s\"", {sDumpName, sTip}); });

  base::ClearPending();
  if (!sBlock.empty()) {
    sBlock.resize(sBlock.size() - 2);  // the final CR LF; WriteDumpLine ends the block
    // A failed write is not a step to leave out: it ends the dump (DumpControls).
    WriteDumpLine(hFile, sComment);
    WriteDumpLine(hFile, sBlock);
  }
}

}  // namespace twinsweep
