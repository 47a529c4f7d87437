#pragma once
// CLang's load steps opened, for the engine's own checking tool, tests and fuzz
// targets, which read a file's sections one by one after a load, or look at the
// state that a load leaves. What is not a load step has the header of its own
// concern: the file's syntax lang_syntax.h, the formatters lang_format.h, the
// placeholders lang_placeholder.h, the plural rule plural_rule.h. Not installed
// with the engine's public headers; a program needs only lang/lang.h.
#include "twinsweep/lang/lang.h"

namespace twinsweep {

class CLangInternals : public CLang {
 public:
  // The steps of a load, in their order.
  using CLang::Clear;
  using CLang::IndexSections;
  using CLang::nLoadProblemsOneByOne;
  using CLang::OpenLanguageFile;
  using CLang::ReadIndexedSection;

  // The state that a load leaves, for tests that set it up without a file and
  // for the fuzz target's loader of old, which writes it.
  using CLang::colForms;
  using CLang::colTexts;
  using CLang::nDumpForms;
  using CLang::sFilename;
  using CLang::sLangID;
  using CLang::sLangName;
  using CLang::sMainSection;
};

}  // namespace twinsweep
