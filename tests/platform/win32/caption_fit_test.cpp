// The fit check's measure on real windows (Windows tree, under Wine): each style
// of control measured with the flags it draws with, at the window's own scale,
// and a window that cannot be measured reported rather than passed.
#include <gtest/gtest.h>

#include <string>

#include "lang/forms_fixture.h"
#include "twinsweep/platform/win32/win32_fit_calls.h"
#include "twinsweep/platform/win32/win32_form_parts.h"

using namespace twinsweep;
using platform::CaptionFit;
using platform::win32::ControlType;

namespace {

class CaptionFitTest : public forms_testing::FormsTest {
 protected:
  CaptionFitTest() : systemForms_(platform::Default<platform::IForms>()) {
    SetProcessDPIAware();
    platform::win32::RegisterFormClasses();
    hParent_ =
        CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
  }
  ~CaptionFitTest() override { DestroyWindow(hParent_); }

  HWND Control(const wchar_t* szClass, DWORD nStyle, const wchar_t* szText, int cx, int cy, int nId = 0) {
    HWND h = CreateWindowExW(0, szClass, szText, WS_CHILD | WS_VISIBLE | nStyle, 0, 0, cx, cy, hParent_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return h;
  }
  CaptionFit Measure(DWORD nStyle, const wchar_t* szText, int cx, ControlType type = ControlType::Label) {
    const bool bLabel = type == ControlType::Label;  // a static control; the other types are buttons
    return platform::win32::MeasureCaptionOf(
        Control(bLabel ? L"Static" : L"Button", nStyle, szText, cx, bLabel ? 100 : 30), type, false);
  }

  platform::ScopedOverride<platform::IForms> systemForms_;
  HWND hParent_ = nullptr;
};

TEST_F(CaptionFitTest, EachStyleIsMeasuredAsItDraws) {
  const int nLine = Measure(SS_LEFT, L"Ag", 400).nNeededHeight;
  const int nTabbed = Measure(SS_LEFTNOWORDWRAP, L"a\tb", 400).nNeededWidth;
  const int nPlain = Measure(SS_LEFT, L"Key&&", 400).nNeededWidth;
  const int nPushButton = Measure(BS_PUSHBUTTON, L"Go", 100, ControlType::CommandButton).nRoomWidth;
  const wchar_t* kWords = L"one two three four";
  // What is measured, compared (-1 less, 0 equal, 1 more) with what.
  const struct {
    const char* szName; DWORD nStyle; const wchar_t* szText; int cx; int32_t CaptionFit::*pMeasure; int nSign, nThan;
    ControlType type = ControlType::Label;
  } rows[] = {
      {"SS_LEFTNOWORDWRAP", SS_LEFTNOWORDWRAP, L"one\r\ntwo", 400, &CaptionFit::nNeededHeight, 0, 2 * nLine},
      {"SS_LEFT", SS_LEFT, kWords, 40, &CaptionFit::nNeededHeight, 1, nLine},
      {"SS_CENTERIMAGE", SS_LEFT | SS_CENTERIMAGE, kWords, 40, &CaptionFit::nNeededHeight, 0, nLine},
      {"SS_ENDELLIPSIS", SS_LEFT | SS_ENDELLIPSIS, kWords, 40, &CaptionFit::nNeededHeight, 0, nLine},
      {"SS_PATHELLIPSIS", SS_LEFT | SS_PATHELLIPSIS, kWords, 40, &CaptionFit::nNeededHeight, 0, nLine},
      {"SS_WORDELLIPSIS", SS_LEFT | SS_WORDELLIPSIS, kWords, 40, &CaptionFit::nNeededHeight, 0, nLine},
      {"SS_SIMPLE", SS_SIMPLE, L"a\tb", 400, &CaptionFit::nNeededWidth, -1, nTabbed},
      {"SS_LEFT with a prefix", SS_LEFT, L"&Key&&", 400, &CaptionFit::nNeededWidth, 0, nPlain},
      {"SS_NOPREFIX", SS_LEFT | SS_NOPREFIX, L"Key&&", 400, &CaptionFit::nNeededWidth, 1, nPlain},
      // A check box drawn as a push button has a push button's room, no glyph.
      {"BS_PUSHLIKE", BS_AUTOCHECKBOX | BS_PUSHLIKE, L"Go", 100, &CaptionFit::nRoomWidth, 0, nPushButton, ControlType::CheckBox},
  };
  for (const auto& r : rows) {
    const int n = Measure(r.nStyle, r.szText, r.cx, r.type).*r.pMeasure;
    EXPECT_EQ((n > r.nThan) - (n < r.nThan), r.nSign) << r.szName << ": " << n << " against " << r.nThan;
  }
}

// A per-monitor-aware window on a monitor of another scale than the system's:
// the allowances and the title bar follow the window's DPI.
TEST_F(CaptionFitTest, TheWindowsOwnScaleServesWhereItDiffersFromTheSystems) {
  const CaptionFit atSystem = Measure(BS_AUTOCHECKBOX, L"Go", 200, ControlType::CheckBox);
  const CaptionFit titleAtSystem = platform::win32::MeasureCaptionOf(hParent_, ControlType::Other, true);
  platform::win32::FitCalls calls = platform::win32::SystemFitCalls();
  ASSERT_TRUE(calls.pGetDpiForWindow && calls.pSystemParametersInfoForDpi && calls.pGetSystemMetricsForDpi);
  static UINT nWindowDpi;
  nWindowDpi = 2 * calls.pGetDpiForWindow(hParent_);
  calls.pGetDpiForWindow = [](HWND) -> UINT { return nWindowDpi; };
  const platform::win32::ScopedFitCalls scoped(calls);
  const CaptionFit atWindow = Measure(BS_AUTOCHECKBOX, L"Go", 200, ControlType::CheckBox);
  EXPECT_LT(atWindow.nRoomWidth, atSystem.nRoomWidth);  // the wider glyph
  EXPECT_GT(platform::win32::MeasureCaptionOf(hParent_, ControlType::Other, true).nRoomHeight,
            titleAtSystem.nRoomHeight);
}

TEST_F(CaptionFitTest, AWindowWithoutADrawingContextIsReportedNotPassed) {
  Control(L"Button", BS_PUSHBUTTON, L"Go", 100, 30, 1);
  auto frm = platform::win32::AttachForm(hParent_, u"frmFit", {{1, u"cmdOK"}});
  platform::win32::FitCalls calls = platform::win32::SystemFitCalls();
  calls.pGetDC = [](HWND) -> HDC { return nullptr; };
  const platform::win32::ScopedFitCalls scoped(calls);
  CLang lang;
  const std::string sFile =
      "[version]\nsignature = \"Orvex.LangLngFile\"\nlang = \"English\"\nlangid = \"EN\"\n"
      "[Fit]\nglobals = \"texts\"\nforms = \"frmFit\"\ncheckfit = \"1\"\n"
      "[Fit.texts]\nLID = \"x\"\n[Fit.frmFit]\ncmdOK = \"Go\"\n";
  ASSERT_TRUE(lang.Init(tmp_.Write(u"Fit.lng", forms_testing::Crlf(sFile)), u"Fit"));
  lang.LocalizeForm(frm);
  ASSERT_EQ(log_.Errors().size(), 1u) << log_.Lines()[0];
  EXPECT_EQ(
      base::ToUtf8(log_.Errors()[0].sText),
      "text of control 'cmdok' on form 'frmFit' was not measured: the window has no drawing context (GetDC failed)");
}

}  // namespace
