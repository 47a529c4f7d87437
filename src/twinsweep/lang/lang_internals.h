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

  using CLang::Clear;
  using CLang::GetSection;
  using CLang::InitFrom;
  using CLang::OpenLanguageFile;
  using CLang::IndexSections;
  using CLang::ReadIndexedSection;
  using CLang::ReadEntry;
  using CLang::Unquote;
  using CLang::TrimBlanks;
  using CLang::StripComment;
  using CLang::DumpControls;
  using CLang::DumpControl;
  using CLang::EscapeValue;
  using CLang::TabAlign;
  using CLang::LocalizeControls;
  using CLang::CheckFit;
  using CLang::InStrAny;
  using CLang::sprintf1;
  using CLang::sprintf2;

  using CLang::colTexts;
  using CLang::colForms;
  using CLang::sFilename;
  using CLang::sLangID;
  using CLang::sLangName;
  using CLang::sMainSection;
  using CLang::dtFileTime;
  using CLang::nDumpForms;
  using CLang::nCheckFit;
  using CLang::nLoadProblemsOneByOne;
  using CLang::bRightToLeft;
};

}  // namespace twinsweep
