// CLang: the language-file syntax. IndexSections finds the section headers of a
// file's lines in one scan; ReadIndexedSection reads one section's entries from
// there, and ReadSection is the two on a file; TrimBlanks, StripComment and
// Unquote take an entry apart with lang_syntax.h.
#include <cstdint>
#include <optional>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/lang/lang_file.h"
#include "twinsweep/lang/lang_section_index.h"
#include "twinsweep/lang/lang_syntax.h"
#include "twinsweep/base/error_log.h"

namespace twinsweep {

namespace {

constexpr char16_t kSource[] = u"CLang.ReadSection";

}  // namespace

CLang::LoadReports::LoadReports(CLang& oLang, const std::u16string& sFilename) : oLang_(oLang), sFilename_(sFilename) {
  if (oLang_.nLoadDepth++ == 0) oLang_.nLoadProblems = 0;
}

CLang::LoadReports::~LoadReports() {
  if (--oLang_.nLoadDepth != 0) return;
  const int32_t nRest = oLang_.nLoadProblems - oLang_.nLoadProblemsOneByOne;
  if (nRest <= 0) return;
  base::Ignore([&] { mMain::LogError(kSource, 0, sprintf1(u"%d more problems, file = '%s'", {nRest, sFilename_})); });
}

void CLang::ReportLoadProblem(const char16_t* sFormat, const base::VariantList& params) {
  // Counted to the bound, so that even a file of more lines than a count holds
  // cannot wrap it.
  if (nLoadProblems < INT32_MAX) ++nLoadProblems;
  if (nLoadDepth > 0 && nLoadProblems > nLoadProblemsOneByOne) return;
  mMain::LogError(kSource, 0, sprintf1(sFormat, params));
}

bool CLang::ReadSection(const std::u16string& sFilename, const std::u16string& sSection, TextCollection& colValues,
                        const std::u16string& sPrefix, TextCollection* colNames) {
  LoadReports reports(*this, sFilename);
  try {
    CLangFile oFile;
    if (!OpenLanguageFile(oFile, sFilename)) return false;
    LangSectionIndex index;
    IndexSections(oFile, sFilename, index);
    return ReadIndexedSection(oFile, index, sFilename, sSection, colValues, sPrefix, colNames);
  } catch (...) {
    base::SetPendingFromCurrentException();
    mMain::LogError(kSource, -1, std::nullopt, sFilename);
    return false;
  }
}

bool CLang::OpenLanguageFile(CLangFile& oFile, const std::u16string& sFilename, const std::string_view* pBytes) {
  if (pBytes ? oFile.OpenMemory(*pBytes) : oFile.OpenFile(sFilename)) return true;
  mMain::LogError(kSource, oFile.LastError(),
                  std::u16string(oFile.LastError() == CLangFile::kErrorFileTooLarge
                                     ? u"oFile.OpenFile failed: the file is larger than 16 MiB"
                                     : u"oFile.OpenFile failed"));
  return false;
}

void CLang::IndexSections(CLangFile& oFile, const std::u16string& sFilename, LangSectionIndex& index) {
  auto report = [&](const char16_t* sFormat, base::VariantList params) {
    index.stop = LangSectionIndex::Stop::BadHeader;
    index.sStopReport = sprintf1(sFormat, params);
  };
  LangSectionIndex::Section* pOpen = nullptr;  // the section whose body is being passed
  LangSectionIndex::Section ignored;           // a later occurrence of a name already indexed
  CLangFile::Piece piece;
  std::u16string sRaw;  // reused from line to line
  int32_t nLine = 0;
  const uint8_t* pBytes = oFile.Bytes();
  while (oFile.NextPiece(piece)) {
    ++nLine;
    // Only a line whose first character after blanks is "[" can be a header.
    // An ASCII byte is one character in UTF-8 and in every ANSI code page, so
    // most lines are decided without being converted.
    size_t i = piece.nStart, nEnd = piece.nStart + piece.nLength;
    while (i < nEnd && (pBytes[i] == ' ' || pBytes[i] == '\t')) ++i;
    if (i == nEnd || (pBytes[i] != '[' && pBytes[i] < 0x80)) continue;
    oFile.Decode(piece, sRaw);
    const std::u16string_view sLine = TrimBlanksView(sRaw);
    if (sLine.empty() || sLine[0] != u'[') continue;

    // Any header ends the body before it; a malformed one also ends the scan,
    // and the section before it is then the last one indexed.
    if (pOpen) {
      pOpen->nBodyEnd = piece.nStart;
      pOpen->nBodyLines = nLine - 1 - pOpen->nHeaderLine;
    }
    size_t nClose = sLine.find(u']', 1);
    if (nClose == std::u16string_view::npos) {
      return report(u"symbol ']' is absent, line = %d, file = '%s'", {nLine, sFilename});
    }
    std::u16string_view sName = sLine.substr(1, nClose - 1);
    if (sName.empty()) return report(u"empty section name, line - %d, file = '%s'", {nLine, sFilename});
    std::u16string_view sRest = TrimBlanksView(sLine.substr(nClose + 1));
    if (!sRest.empty() && !IsCommentStart(sRest[0])) {
      return report(u"'%s' is not the comment, line - %d, file = '%s'", {std::u16string(sRest), nLine, sFilename});
    }
    // Only the first occurrence of a name is ever read; a later one still ends
    // the section before it.
    if (pOpen) pOpen->bLast = false;
    auto [it, bNew] = index.sections.try_emplace(base::LCase(sName));
    pOpen = bNew ? &it->second : &ignored;
    *pOpen = LangSectionIndex::Section{oFile.Position(), oFile.Position(), nLine, 0, true};
  }
  if (pOpen) {
    pOpen->nBodyEnd = oFile.Position();
    pOpen->nBodyLines = nLine - pOpen->nHeaderLine;
  }
  if (oFile.StoppedByFailure()) {
    index.stop = LangSectionIndex::Stop::ReadFailed;
    index.nStopNumber = oFile.FailureNumber();
  }
}

bool CLang::ReadIndexedSection(CLangFile& oFile, const LangSectionIndex& index, const std::u16string& sFilename,
                               const std::u16string& sSection, TextCollection& colValues, const std::u16string& sPrefix,
                               TextCollection* colNames) {
  try {
    bool bInSection = false;
    auto it = index.sections.find(base::LCase(sSection));
    if (it != index.sections.end()) {
      const LangSectionIndex::Section& section = it->second;
      bInSection = true;
      const std::u16string sFoldedPrefix = base::LCase(sPrefix);
      CLangFile::Piece piece;
      std::u16string sRaw;
      EntryBuffers buffers;
      int32_t nLine = section.nHeaderLine;
      oFile.Rewind(section.nBodyStart);
      while (oFile.Position() < section.nBodyEnd && oFile.NextPiece(piece)) {
        ++nLine;
        oFile.Decode(piece, sRaw);
        const std::u16string_view sLine = TrimBlanksView(sRaw);
        if (sLine.empty() || IsCommentStart(sLine[0])) continue;
        ReadEntry(sLine, nLine, sFilename, colValues, sFoldedPrefix, colNames, buffers);
      }
      // A well-formed header ended the section.
      if (!section.bLast) return true;
    }
    // The read went on to where the scan stopped.
    switch (index.stop) {
      case LangSectionIndex::Stop::End: break;
      case LangSectionIndex::Stop::BadHeader: mMain::LogError(kSource, 0, index.sStopReport); return false;
      case LangSectionIndex::Stop::ReadFailed:
        mMain::LogError(kSource, index.nStopNumber, std::u16string(u"oFile.ReadLine failed"));
        break;
    }
    return bInSection;
  } catch (...) {
    base::SetPendingFromCurrentException();
    mMain::LogError(kSource, -1, std::nullopt, sFilename);
    return false;
  }
}

void CLang::ReadEntry(std::u16string_view sLine, int32_t nLine, const std::u16string& sFilename,
                      TextCollection& colValues, const std::u16string& sFoldedPrefix, TextCollection* colNames,
                      EntryBuffers& buffers) {
  auto report = [&](const char16_t* sFormat, const base::VariantList& params) { ReportLoadProblem(sFormat, params); };
  size_t nEq = sLine.find(u'=');
  if (nEq == std::u16string_view::npos) {
    return report(u"symbol '=' is absent, line = %d, file = '%s'", {nLine, sFilename});
  }
  std::u16string_view sKey = TrimBlanksView(sLine.substr(0, nEq));
  std::u16string_view sValuePart = TrimBlanksView(sLine.substr(nEq + 1));
  if (sKey.empty()) return report(u"Const's name does not exist, line - %d, file = '%s'", {nLine, sFilename});
  std::u16string& sValue = buffers.sValue;
  sValue.assign(TrimBlanksView(sValuePart.substr(0, CommentCut(sValuePart))));
  if (sValue.empty()) return report(u"Const's value does not exist, line - %d, file = '%s'", {nLine, sFilename});
  std::u16string sError;
  if (!Unquote(sValue, sError)) {
    return report(u"Syntactic error - '%s', line - %d, file = '%s'", {sError, nLine, sFilename});
  }
  // The key is folded once and serves both collections: the texts' key is the
  // prefix and the name.
  std::u16string& sKeyBuffer = buffers.sKey;
  sKeyBuffer.assign(sFoldedPrefix);
  const size_t nNameStart = sKeyBuffer.size();
  for (const char16_t c : sKey) {
    const bool bAsciiCapital = c >= u'A' && c <= u'Z';
    sKeyBuffer.push_back(bAsciiCapital ? static_cast<char16_t>(c + 32) : c < 0x80 ? c : base::ToLowerChar(c));
  }
  try {
    colValues.AddFolded(sValue, sKeyBuffer);
  } catch (const base::Failure& e) {
    if (e.Number() != base::kKeyAlreadyExists) throw;
    report(u"declaration of constant '%s' repeats in a line %d of '%s' file", {std::u16string(sKey), nLine, sFilename});
  }
  // The same key twice in one section, or no name list: nothing to record.
  if (colNames) base::Ignore([&] { colNames->AddFoldedName(std::u16string_view(sKeyBuffer).substr(nNameStart)); });
}

bool CLang::Unquote(std::u16string& sText, std::u16string& sError) { return UnquoteValue(sText, sError); }

std::u16string CLang::TrimBlanks(std::u16string_view sText) { return std::u16string(TrimBlanksView(sText)); }

std::u16string CLang::StripComment(std::u16string_view sText) {
  return std::u16string(sText.substr(0, CommentCut(sText)));
}

}  // namespace twinsweep
