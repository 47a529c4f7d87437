// CLang's form localization: LocalizeForm, LocalizeUserControl, LocalizeControls.
// The fit check of what a pass changed is in lang_fit.cpp.
//
// A form section is applied entry by entry. A bad entry is reported and skipped;
// a property the control lacks, or a value that does not fit, leaves the control
// as it was without a report. Nothing here lets a failure reach the caller.
#include <algorithm>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/platform/app.h"
#include "twinsweep/platform/file_utils.h"

namespace twinsweep {

namespace {

constexpr char16_t kSource[] = u"CLang.LocalizeControls";

enum class Action { Text, Absolute, RelativeX, RelativeY, Picture };

struct PropertyRule {
  std::u16string_view sKey;  // the property name of the key, lower case
  Action action;
  std::u16string_view sHost;  // the host's property
};

// The properties a form section may set, in the order in which they are matched.
constexpr PropertyRule kProperties[] = {
    {u"caption", Action::Text, u"Caption"},
    {u"left", Action::Absolute, u"Left"},
    {u"top", Action::Absolute, u"Top"},
    {u"width", Action::Absolute, u"Width"},
    {u"height", Action::Absolute, u"Height"},
    {u"dleft", Action::RelativeX, u"Left"},
    {u"dtop", Action::RelativeY, u"Top"},
    {u"dwidth", Action::RelativeX, u"Width"},
    {u"dheight", Action::RelativeY, u"Height"},
    {u"picture", Action::Picture, u"Picture"},
    {u"tooltiptext", Action::Text, u"ToolTipText"},
    {u"x1", Action::Absolute, u"X1"},
    {u"y1", Action::Absolute, u"Y1"},
    {u"x2", Action::Absolute, u"X2"},
    {u"y2", Action::Absolute, u"Y2"},
};

const PropertyRule* FindRule(std::u16string_view sProperty) {
  const std::u16string sLower = base::LCase(sProperty);
  for (const PropertyRule& rule : kProperties)
    if (rule.sKey == sLower) return &rule;
  return nullptr;
}

double NumericValue(const base::Variant& v) {
  if (v.GetKind() == base::Variant::Kind::Double) return v.AsDouble();
  return base::CLng(v);
}

}  // namespace

void CLang::LocalizeForm(const platform::FormObjectRef& oFrm) {
  // The dump comes first, so that it records the form as designed.
  if (nDumpForms != 0) base::Ignore([&] { DumpForm(oFrm); });
  base::Ignore([&] {
    if (!oFrm) base::Raise(base::kObjectNotSet);
    LocalizeControls(oFrm->Name(), oFrm, oFrm->Controls());
  });
  base::ClearPending();
}

void CLang::LocalizeUserControl(const std::u16string& sName, const platform::FormObjectRef& oUserControl,
                                const platform::ControlsRef& oUserControl_Controls) {
  if (nDumpForms != 0) base::Ignore([&] { DumpUserControl(sName, oUserControl, oUserControl_Controls); });
  base::Ignore([&] { LocalizeControls(sName, oUserControl, oUserControl_Controls); });
  base::ClearPending();
}

void CLang::LocalizeControls(const std::u16string& sName, const platform::FormObjectRef& oContainer,
                             const platform::ControlsRef& oControls) {
  // A language file saved again since it was loaded is loaded anew, so that a
  // translator sees the change on the next form without a restart.
  base::Ignore([&] {
    base::Date dtNow;
    if (mFileUtils::GetFileLastModificationTime(sFilename, dtNow) && dtNow > dtFileTime) {
      mMain::LogDebug(kSource,
                      sprintf1(u"last modification time of file '%s' was changed, reloading file...", {sFilename}));
      Init(sFilename, sMainSection);  // Init copies its arguments before it forgets the language
    }
  });

  // The direction first, whether or not the language has a section for the
  // container: a form turns with its language. Positions in the section are
  // counted from the leading edge, so they need no change; a framework without
  // mirroring (438) keeps its forms as they are.
  base::Ignore([&] {
    if (oContainer) oContainer->SetProperty(u"RightToLeft", base::Variant(bRightToLeft));
  });
  base::ClearPending();

  TextCollectionRef colEntries;
  base::Ignore([&] {
    if (colForms)
      if (const TextCollectionRef* p = colForms->Find(base::LCase(sName))) colEntries = *p;
  });
  if (!colEntries) {
    base::Ignore([&] { mMain::LogDebug(kSource, sprintf1(u"Locale for '%s' form not exists", {sName})); });
    base::ClearPending();
    return;
  }

  // The texts in force for this pass (a reload cannot happen inside it).
  const TextCollectionRef colValues = colTexts;
  // The controls this pass changes, each once, for the fit check.
  std::vector<ChangedControl> changed;
  const bool bCheckFit = FitCheckOn();
  // Each report of an entry names the form in its fields, for a reader of the log.
  const auto Report = [&](int32_t nNumber, const std::optional<std::u16string>& vText) {
    mMain::LogError(kSource, nNumber, vText, std::nullopt, {sName});
  };
  const int32_t nCount = colEntries->Count();
  for (int32_t i = 1; i <= nCount; ++i) {
    base::Ignore([&] {
      const std::u16string sKey(colEntries->Item(i));

      // Control part and property: split at the first ".", the property defaults to caption.
      std::u16string sControl = sKey;
      std::u16string sProperty = u"caption";
      const size_t nDot = sKey.find(u'.');
      if (nDot != std::u16string::npos) {
        sControl = sKey.substr(0, nDot);
        sProperty = sKey.substr(nDot + 1);
      }

      // An array index: "name(n)".
      std::u16string sIndex;
      int32_t nIndex = 0;
      const size_t nParen = sControl.find(u'(');
      if (nParen != std::u16string::npos) {
        sIndex = sControl.substr(nParen + 1);
        sControl.resize(nParen);
        if (!sIndex.empty() && sIndex.back() == u')')
          sIndex.pop_back();
        else
          sIndex.clear();
        base::ClearPending();
        const bool bIndexOk = base::Catch([&] { nIndex = base::CLng(base::Variant(sIndex)); });
        base::ClearPending();
        if (!bIndexOk || sControl.empty()) {
          Report(0, sprintf1(u"invalid key '%s' for form '%s'", {sKey, sName}));
          sIndex.clear();
        }
      }

      platform::FormObjectRef oTarget;
      if (sControl.empty()) {
        oTarget = oContainer;
      } else {
        platform::FormObjectRef oFound;
        base::Ignore([&] {
          if (!oControls) base::Raise(base::kObjectNotSet);
          oFound = oControls->Find(sControl);
        });
        if (sIndex.empty()) {
          oTarget = oFound;
        } else if (oFound && !base::Catch([&] { oTarget = oFound->Element(nIndex); })) {
          Report(-1, std::nullopt);
          oTarget = nullptr;
        }
      }
      if (!oTarget) {
        Report(0, sprintf1(u"'%s%s' control does not exist on '%s' form",
                           {sControl, sIndex.empty() ? std::u16string() : u"(" + sIndex + u")", sName}));
        return;
      }

      std::u16string sValue;
      if (colValues)
        if (const auto p = colValues->Find(base::LCase(sName + sKey))) sValue = *p;
      sValue = sprintf2(sValue);

      const PropertyRule* pRule = FindRule(sProperty);
      if (!pRule) {
        Report(0, sprintf1(u"'%s' property does not supported", {sProperty}));
        return;
      }
      if (bCheckFit) {
        const std::u16string sChanged =
            sControl.empty() ? sName : sControl + (sIndex.empty() ? std::u16string() : u"(" + sIndex + u")");
        if (std::none_of(changed.begin(), changed.end(), [&](const ChangedControl& c) { return c.sName == sChanged; }))
          changed.push_back({sChanged, oTarget});
      }
      switch (pRule->action) {
        case Action::Text: base::Ignore([&] { oTarget->SetProperty(pRule->sHost, base::Variant(sValue)); }); break;
        case Action::Absolute:
          base::Ignore([&] { oTarget->SetProperty(pRule->sHost, base::Variant(base::CLng(base::Variant(sValue)))); });
          break;
        case Action::RelativeX:
        case Action::RelativeY:
          base::Ignore([&] {
            const double dCurrent = NumericValue(oTarget->GetProperty(pRule->sHost));
            const double dTwips = pRule->action == Action::RelativeX ? platform::Forms().TwipsPerPixelX()
                                                                     : platform::Forms().TwipsPerPixelY();
            const double dPixels = base::CLng(base::Variant(sValue));
            oTarget->SetProperty(pRule->sHost, base::Variant(dCurrent + dPixels * dTwips));
          });
          break;
        case Action::Picture:
          if (sValue.find(u':') != std::u16string::npos) {
            Report(0, sprintf1(u"You should specify a relative file path for %s.%s.%s", {sName, sControl, sProperty}));
          } else {
            base::Ignore([&] {
              oTarget->SetPicture(platform::Forms().LoadPicture(platform::App().AppFolder() + u"\\" + sValue));
            });
          }
          break;
      }
    });
  }
  if (bCheckFit) base::Ignore([&] { CheckFit(sName, changed); });
  base::ClearPending();
}

}  // namespace twinsweep
