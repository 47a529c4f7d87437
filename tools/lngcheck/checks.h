#pragma once
// The checks of one language file and of a translation against its reference.
// Each adds its findings, at the line and column they concern, to the context's
// Findings.
#include <string>

#include "diagnostics.h"
#include "engine.h"
#include "layout.h"
#include "source_file.h"

namespace lngcheck {

// One file under check: its bytes, where its sections and entries stand, and what
// the engine made of it.
struct CheckedFile {
  std::string sDisplayName;  // the path as the user gave it, UTF-8
  const SourceFile& source;
  const Layout& layout;
  const LoadedLanguage& language;
};

struct CheckContext {
  const CheckedFile& file;
  std::u16string sMainSection;
  Findings& findings;

  void Add(int nLine, int nColumn, Severity severity, const std::u16string& sMessage, const char* szCheck) const;
  // The layout of a sub-section listed by the main section, or null.
  const LayoutSection* SubSection(const CheckedFile& f, const std::u16string& sName) const;
  // The line of the main section's entry sKey, else of its header, else 1.
  int MainEntryLine(const std::u16string& sKey) const;
  // The line of the main section's entry (globals or forms) that lists the
  // sub-section sName, else that of globals.
  int ListingLine(const std::u16string& sName) const;
};

// Whether the entry sKey of a listed sub-section is a text that a translator
// translates: every entry of a global sub-section, and in a form sub-section the
// captions and tool tips (positions, sizes and pictures are not texts).
bool IsText(const LoadedSection& section, const std::u16string& sKey);

// Each report of the engine's load, with its own text, at the line it concerns.
void ReportEngine(const CheckContext& ctx);
// encoding, invalid-utf8, line-ending, nul-byte.
void CheckBytes(const CheckContext& ctx);
// duplicate-key, duplicate-section.
void CheckKeys(const CheckContext& ctx);
// bad-escape, bad-percent and mixed-placeholders, in the texts of the listed sub-sections.
void CheckEscapes(const CheckContext& ctx);
// french-spacing: in a file whose langid is FR, a plain space before ? ! : or ;.
void CheckFrenchSpacing(const CheckContext& ctx);
// bidi: a directional control (LRE, RLE, LRO, RLO, LRI, RLI, FSI) not closed
// (PDF, PDI) within its line of a text, or a PDF or PDI that closes nothing.
void CheckBidi(const CheckContext& ctx);
// plural-forms (each text with forms has as many as the file's plural rule) and
// plural-count (the rule has gettext's number of forms for the language).
void CheckPlurals(const CheckContext& ctx);
// access-key: a text that lost the reference's access key (with a reference), and
// two controls of one form with the same key, compared without regard to case.
void CheckAccessKeys(const CheckContext& ctx, const CheckedFile* reference);
// missing-/extra-section, missing-/extra-key, format-mismatch, escape-mismatch,
// untranslated, version. The forms of a text with plural forms are compared
// with the reference's forms of the text, whatever their number.
void CompareWithReference(const CheckContext& ctx, const CheckedFile& reference);

}  // namespace lngcheck
