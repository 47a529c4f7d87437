#pragma once
// CLang with the members for use inside the engine opened: for the engine's own
// checking tool, tests, fuzz targets and benchmarks, which read sections one by
// one, call the parser's pieces or look at the loaded fields. Not installed with
// the engine's public headers; a program needs only lang/lang.h.
#include "twinsweep/lang/lang.h"

namespace twinsweep {

class CLangInternals : public CLang {
 public:
  using CLang::EntryBuffers;

  using CLang::CheckFit;
  using CLang::Clear;
  using CLang::DumpControl;
  using CLang::DumpControls;
  using CLang::EscapeValue;
  using CLang::GetSection;
  using CLang::IndexSections;
  using CLang::InitFrom;
  using CLang::InStrAny;
  using CLang::LocalizeControls;
  using CLang::OpenLanguageFile;
  using CLang::ReadEntry;
  using CLang::ReadIndexedSection;
  using CLang::sprintf1;
  using CLang::sprintf2;
  using CLang::StripComment;
  using CLang::TabAlign;
  using CLang::TrimBlanks;
  using CLang::Unquote;

  using CLang::bRightToLeft;
  using CLang::colForms;
  using CLang::colTexts;
  using CLang::dtFileTime;
  using CLang::nCheckFit;
  using CLang::nDumpForms;
  using CLang::nLoadProblemsOneByOne;
  using CLang::sFilename;
  using CLang::sLangID;
  using CLang::sLangName;
  using CLang::sMainSection;
};

}  // namespace twinsweep
