// CLang's fit check: after a form section is applied, the caption of each control
// it changed is measured through the window framework, in the control's own font,
// and a text that does not fit its room is reported with the pixels it needs and
// the pixels it has. The margin asks for spare room, so that a text that just fits
// with one system's fonts also fits with another's slightly wider ones.
#include <algorithm>
#include <cstdint>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/lang/lang_syntax.h"

namespace twinsweep {

namespace {

// n pixels with nMarginPercent % more, rounded up.
int32_t WithMargin(int32_t n, int32_t nMarginPercent) {
  const int64_t nWith = static_cast<int64_t>(n) * (100 + nMarginPercent);
  return static_cast<int32_t>(std::min<int64_t>((nWith + 99) / 100, INT32_MAX));
}

}  // namespace

void CLang::SetFitCheck(const LangFitCheck& fit) {
  fitCheck = fit;
  fitCheck.nMarginPercent = std::max<int32_t>(0, std::min<int32_t>(fit.nMarginPercent, 100));
}

void CLang::CheckFit(const std::u16string& sName, const std::vector<ChangedControl>& changed) {
  const int32_t nMargin = fitCheck.nMarginPercent;
  for (const ChangedControl& c : changed) {
    platform::CaptionFit fit;
    // An object without a caption (a text box, a line, a picture) has nothing to
    // fit; a caption that could not be measured is said, never passed.
    if (!base::Catch([&] { fit = c.oControl->MeasureCaption(); })) {
      const base::PendingError failure = base::Pending();
      base::ClearPending();
      if (failure.nNumber != base::kNoSuchMember) {
        mMain::LogError(kFitReportSource, failure.nNumber,
                        sprintf1(u"text of control '%s' on form '%s' was not measured: %s",
                                 {base::Variant(c.sName), base::Variant(sName), base::Variant(failure.sDescription)}),
                        std::nullopt, {sName, c.sName, u"", u""});
      }
      continue;
    }
    // The margin goes where the text grows: along the line, or for a text that
    // wraps, down the lines; a single word wider than a wrapping control is clipped too.
    const int32_t nWidth = fit.bWraps ? fit.nNeededWidth : WithMargin(fit.nNeededWidth, nMargin);
    const int32_t nHeight = fit.bWraps ? WithMargin(fit.nNeededHeight, nMargin) : fit.nNeededHeight;
    int32_t nNeeds = 0, nHas = 0;
    if (nWidth > fit.nRoomWidth) {
      nNeeds = nWidth, nHas = fit.nRoomWidth;
    } else if (nHeight > fit.nRoomHeight) {
      nNeeds = nHeight, nHas = fit.nRoomHeight;
    } else {
      continue;
    }
    mMain::LogError(
        kFitReportSource, 0,
        sprintf1(u"text of control '%s' on form '%s' needs %d px, has %d px",
                 {base::Variant(c.sName), base::Variant(sName), base::Variant(nNeeds), base::Variant(nHas)}),
        std::nullopt, {sName, c.sName, base::LongToText(nNeeds), base::LongToText(nHas)});
  }
}

}  // namespace twinsweep
