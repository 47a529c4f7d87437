// access-key: a translation's control texts against the access keys a keyboard
// user has. A text that lost the reference's key leaves its control out of reach
// of Alt+key; two controls of one form with the same key make Alt+key go to the
// first only.
#include <map>

#include "twinsweep/base/access_key.h"
#include "twinsweep/base/text.h"
#include "checks.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

// The control whose caption the entry sets ("optMode(1)" of "optMode(1).Caption"),
// or empty for the form's own title and for other properties.
std::u16string CaptionOwner(const std::u16string& sKey) {
  const size_t nDot = sKey.find(u'.');
  if (nDot == std::u16string::npos) return sKey;
  if (nDot == 0 || !base::EqualsNoCase(std::u16string_view(sKey).substr(nDot + 1), u"caption")) return u"";
  return sKey.substr(0, nDot);
}

std::u16string KeyName(char16_t c) { return std::u16string(1, c); }

void CheckLostKeys(const CheckContext& ctx, const LoadedSection& loaded, const LayoutSection& section,
                   const CheckedFile& reference) {
  const LayoutSection* refSection = ctx.SubSection(reference, loaded.sName);
  if (!refSection) return;
  for (const LayoutEntry& e : section.entries) {
    const LayoutEntry* ref = refSection->Find(e.sKey);
    // A form's title and tool tips show "&" as written: only a control's caption has a key.
    if (!e.bQuoted || !ref || !ref->bQuoted || (loaded.bForm && CaptionOwner(e.sKey).empty())) continue;
    const char16_t cRef = base::AccessKeyOf(EntryText(reference.source, *ref));
    if (!cRef || base::HasAccessKey(EntryText(ctx.file.source, e))) continue;
    ctx.Add(e.nLine, e.nValueColumn, Severity::Warning,
            u"'" + e.sKey + u"' has no access key, the reference's has '" + KeyName(cRef) +
                u"'; mark one letter with & (\"&&\" is a plain ampersand)",
            "access-key");
  }
}

void CheckSameKeys(const CheckContext& ctx, const LayoutSection& section) {
  std::map<char16_t, std::u16string> owners;  // key -> the first control that has it
  for (const LayoutEntry& e : section.entries) {
    const std::u16string sControl = CaptionOwner(e.sKey);
    if (!e.bQuoted || sControl.empty()) continue;
    const char16_t c = base::AccessKeyOf(EntryText(ctx.file.source, e));
    if (!c) continue;
    auto [it, bNew] = owners.emplace(c, sControl);
    if (bNew || base::EqualsNoCase(it->second, sControl)) continue;
    ctx.Add(e.nLine, e.nValueColumn, Severity::Warning,
            u"'" + it->second + u"' and '" + sControl + u"' have the same access key '" + KeyName(c) + u"'; Alt+" +
                KeyName(c) + u" reaches only the first",
            "access-key");
  }
}

}  // namespace

void CheckAccessKeys(const CheckContext& ctx, const CheckedFile* reference) {
  for (const LoadedSection& loaded : ctx.file.language.sections) {
    const LayoutSection* section = ctx.SubSection(ctx.file, loaded.sName);
    if (!section || !loaded.bRead) continue;
    if (reference) CheckLostKeys(ctx, loaded, *section, *reference);
    if (loaded.bForm) CheckSameKeys(ctx, *section);
  }
}

}  // namespace lngcheck
