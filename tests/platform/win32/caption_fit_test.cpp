// The fit check's measure on real windows (Windows tree, under Wine): each style
// of control measured with the flags it draws with, at the window's own scale,
// and a window that cannot be measured reported rather than passed.
#include <gtest/gtest.h>

#include <functional>
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
    hParent_ = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
  }
  ~CaptionFitTest() override { DestroyWindow(hParent_); }

  HWND Control(const wchar_t* szClass, DWORD nStyle, const wchar_t* szText, int cx, int cy, int nId = 0) {
    HWND h = CreateWindowExW(0, szClass, szText, WS_CHILD | WS_VISIBLE | nStyle, 0, 0, cx, cy, hParent_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return h;
  }
  CaptionFit Label(DWORD nStyle, const wchar_t* szText, int cx = 40) {
    return platform::win32::MeasureCaptionOf(Control(L"Static", nStyle, szText, cx, 100), ControlType::Label, false);
  }

  platform::ScopedOverride<platform::IForms> systemForms_;
  HWND hParent_ = nullptr;
};

TEST_F(CaptionFitTest, EachStyleIsMeasuredAsItDraws) {
  const int nLine = Label(SS_LEFT, L"Ag", 400).nNeededHeight;
  const int nTabbed = Label(SS_LEFTNOWORDWRAP, L"a\tb", 400).nNeededWidth;
  const int nPlain = Label(SS_LEFT, L"Key&&", 400).nNeededWidth;
  const wchar_t* kWords = L"one two three four";
  const struct {
    const char* szWhat;
    std::function<CaptionFit()> measure;
    std::function<bool(const CaptionFit&)> holds;
  } rows[] = {
      {"SS_LEFTNOWORDWRAP keeps its line breaks", [&] { return Label(SS_LEFTNOWORDWRAP, L"one\r\ntwo", 400); },
       [&](const CaptionFit& f) { return f.nNeededHeight == 2 * nLine && !f.bWraps; }},
      {"SS_LEFT wraps", [&] { return Label(SS_LEFT, kWords); }, [&](const CaptionFit& f) { return f.nNeededHeight > nLine && f.bWraps; }},
      {"SS_CENTERIMAGE draws one line", [&] { return Label(SS_LEFT | SS_CENTERIMAGE, kWords); },
       [&](const CaptionFit& f) { return f.nNeededHeight == nLine && !f.bWraps; }},
      {"SS_ENDELLIPSIS draws one line", [&] { return Label(SS_LEFT | SS_ENDELLIPSIS, kWords); },
       [&](const CaptionFit& f) { return f.nNeededHeight == nLine && !f.bWraps; }},
      {"SS_PATHELLIPSIS draws one line", [&] { return Label(SS_LEFT | SS_PATHELLIPSIS, kWords); },
       [&](const CaptionFit& f) { return f.nNeededHeight == nLine && !f.bWraps; }},
      {"SS_WORDELLIPSIS draws one line", [&] { return Label(SS_LEFT | SS_WORDELLIPSIS, kWords); },
       [&](const CaptionFit& f) { return f.nNeededHeight == nLine && !f.bWraps; }},
      {"SS_SIMPLE expands no tab", [&] { return Label(SS_SIMPLE, L"a\tb", 400); },
       [&](const CaptionFit& f) { return f.nNeededWidth < nTabbed; }},
      {"an access key's & takes no room", [&] { return Label(SS_LEFT, L"&Key&&", 400); },
       [&](const CaptionFit& f) { return f.nNeededWidth == nPlain; }},
      {"SS_NOPREFIX shows &", [&] { return Label(SS_LEFT | SS_NOPREFIX, L"Key&&", 400); },
       [&](const CaptionFit& f) { return f.nNeededWidth > nPlain; }},
      {"a BS_PUSHLIKE check box has no glyph",
       [&] {
         return platform::win32::MeasureCaptionOf(Control(L"Button", BS_AUTOCHECKBOX | BS_PUSHLIKE, L"Go", 100, 30),
                                                  ControlType::CheckBox, false);
       },
       [&](const CaptionFit& f) {
         const CaptionFit push = platform::win32::MeasureCaptionOf(Control(L"Button", BS_PUSHBUTTON, L"Go", 100, 30),
                                                                   ControlType::CommandButton, false);
         return f.nRoomWidth == push.nRoomWidth && f.nRoomHeight == push.nRoomHeight;
       }},
  };
  for (const auto& r : rows) {
    const CaptionFit f = r.measure();
    EXPECT_TRUE(r.holds(f)) << r.szWhat << ": needs " << f.nNeededWidth << " x " << f.nNeededHeight << ", has "
                            << f.nRoomWidth << " x " << f.nRoomHeight << " (a line is " << nLine << ")";
  }
}

// A per-monitor-aware window on a monitor of another scale than the system's:
// the allowances and the title bar follow the window's DPI.
TEST_F(CaptionFitTest, TheWindowsOwnScaleServesWhereItDiffersFromTheSystems) {
  HWND hBox = Control(L"Button", BS_AUTOCHECKBOX, L"Go", 200, 30);
  const CaptionFit atSystem = platform::win32::MeasureCaptionOf(hBox, ControlType::CheckBox, false);
  const CaptionFit titleAtSystem = platform::win32::MeasureCaptionOf(hParent_, ControlType::Other, true);
  static UINT nWindowDpi;
  HDC dc = GetDC(nullptr);
  nWindowDpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSX)) * 2;
  ReleaseDC(nullptr, dc);
  platform::win32::FitCalls calls = platform::win32::SystemFitCalls();
  ASSERT_TRUE(calls.pGetDpiForWindow && calls.pSystemParametersInfoForDpi && calls.pGetSystemMetricsForDpi);
  calls.pGetDpiForWindow = [](HWND) -> UINT { return nWindowDpi; };
  const platform::win32::ScopedFitCalls scoped(calls);
  const CaptionFit atWindow = platform::win32::MeasureCaptionOf(hBox, ControlType::CheckBox, false);
  EXPECT_EQ(atSystem.nRoomWidth - atWindow.nRoomWidth, MulDiv(17, static_cast<int>(nWindowDpi) / 2, 96));
  EXPECT_GT(platform::win32::MeasureCaptionOf(hParent_, ControlType::Other, true).nRoomHeight, titleAtSystem.nRoomHeight);
}

TEST_F(CaptionFitTest, AWindowWithoutADrawingContextIsReportedNotPassed) {
  Control(L"Button", BS_PUSHBUTTON, L"Go", 100, 30, 1);
  auto frm = platform::win32::AttachForm(hParent_, u"frmFit", {{1, u"cmdOK"}});
  platform::win32::FitCalls calls = platform::win32::SystemFitCalls();
  calls.pGetDC = [](HWND) -> HDC { return nullptr; };
  const platform::win32::ScopedFitCalls scoped(calls);
  CLang lang;
  ASSERT_TRUE(lang.Init(tmp_.Write(u"Fit.lng", forms_testing::Crlf(u8R"([version]
signature = "Orvex.LangLngFile"
lang      = "English"
langid    = "EN"

[Fit]
globals   = "texts"
forms     = "frmFit"
checkfit  = "1"

[Fit.texts]
LID_TITLE = "Fit"

[Fit.frmFit]
cmdOK = "Go"
)")),
                        u"Fit"));
  lang.LocalizeForm(frm);
  ASSERT_EQ(log_.Errors().size(), 1u);
  EXPECT_EQ(base::ToUtf8(log_.Errors()[0].sText),
            "text of control 'cmdok' on form 'frmFit' was not measured: the window has no drawing context (GetDC failed)");
}

}  // namespace
