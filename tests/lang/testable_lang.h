#pragma once
// CLang with the members for use inside the engine opened, for the engine's
// tests and fuzz targets. Header only, so that it needs nothing but the core.
#include "lang/lang.h"

class TestableLang : public CLang {
 public:
  using CLang::Clear;
  using CLang::colForms;
  using CLang::colTexts;
  using CLang::DumpControl;
  using CLang::DumpControls;
  using CLang::dtFileTime;
  using CLang::EscapeValue;
  using CLang::InStrAny;
  using CLang::LocalizeControls;
  using CLang::nDumpForms;
  using CLang::sFilename;
  using CLang::sMainSection;
  using CLang::sprintf1;
  using CLang::sprintf2;
  using CLang::StripComment;
  using CLang::TabAlign;
  using CLang::TrimBlanks;
  using CLang::Unquote;
};
