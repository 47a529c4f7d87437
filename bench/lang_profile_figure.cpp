// Windows only (run under Wine): Init of a 40-section language file beside the
// Windows profile API, GetPrivateProfileSectionW, reading the same 40 sections
// of the same file, the function a Win32 program would reach for instead.
// Prints the time of each (the best of several batches) and their ratio.
//
//   lang_profile_figure [BATCHES]
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "twinsweep/lang/lang.h"
#include "twinsweep/platform/win32/win32_windows.h"

#include "performance_clock.h"

using namespace twinsweep;

namespace {

double Now() { return PerformanceSeconds(); }

// The version and main sections, 3 global and 35 form sub-sections of 70 entries.
std::vector<std::wstring> WriteLanguageFile(const std::wstring& sPath) {
  std::vector<std::wstring> sections{L"version", L"TwinsweepLauncher"};
  std::string s = "[version]\r\nsignature = \"Orvex.LangLngFile\"\r\nlang = \"English\"\r\nlangid = \"EN\"\r\n\r\n";
  std::string sGlobals, sForms, sBody;
  for (int i = 0; i < 38; ++i) {
    const bool bForm = i >= 3;
    const std::string sName = bForm ? "frm" + std::to_string(i - 3) : "texts" + std::to_string(i);
    (bForm ? sForms : sGlobals) += ((bForm ? sForms : sGlobals).empty() ? "" : ",") + sName;
    sections.push_back(L"TwinsweepLauncher." + std::wstring(sName.begin(), sName.end()));
    sBody += "\r\n[TwinsweepLauncher." + sName + "]\r\n";
    for (int k = 0; k < 70; ++k) {
      sBody += (bForm ? "cmdButton" + std::to_string(k) + ".Caption" : "LID_" + std::to_string(i) + "_" + std::to_string(k)) +
               " = \"Text number " + std::to_string(k) + " of the product\\n\"   ; note\r\n";
    }
  }
  s += "[TwinsweepLauncher]\r\nglobals = \"" + sGlobals + "\"\r\nforms = \"" + sForms + "\"\r\n" + sBody;
  HANDLE h = CreateFileW(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD n = 0;
  WriteFile(h, s.data(), static_cast<DWORD>(s.size()), &n, nullptr);
  CloseHandle(h);
  return sections;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int nBatches = argc > 1 ? _wtoi(argv[1]) : 7;
  wchar_t sTemp[MAX_PATH];
  GetTempPathW(MAX_PATH, sTemp);
  const std::wstring sPath = std::wstring(sTemp) + L"lang_profile_figure.lng";
  const std::vector<std::wstring> sections = WriteLanguageFile(sPath);
  const std::u16string sPath16(sPath.begin(), sPath.end());

  const int nRuns = 20;
  std::vector<wchar_t> buffer(1 << 16);
  std::string sBytes;
  {
    std::ifstream in(sPath.c_str(), std::ios::binary);
    sBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  double dInit = 1e9, dProfile = 1e9, dMemory = 1e9;
  long nChars = 0;
  for (int b = 0; b < nBatches; ++b) {
    double t0 = Now();
    for (int r = 0; r < nRuns; ++r) {
      CLang oLang;
      if (!oLang.Init(sPath16, u"TwinsweepLauncher")) {
        std::printf("Init failed\n");
        return 1;
      }
    }
    double t1 = Now();
    for (int r = 0; r < nRuns; ++r) {
      nChars = 0;
      for (const std::wstring& sSection : sections) {
        nChars += static_cast<long>(GetPrivateProfileSectionW(sSection.c_str(), buffer.data(),
                                                              static_cast<DWORD>(buffer.size()), sPath.c_str()));
      }
    }
    double t2 = Now();
    for (int r = 0; r < nRuns; ++r) {
      CLang oLang;
      oLang.InitFromMemory(sPath16, sBytes, u"TwinsweepLauncher");
    }
    double t3 = Now();
    dInit = std::min(dInit, (t1 - t0) / nRuns);
    dProfile = std::min(dProfile, (t2 - t1) / nRuns);
    dMemory = std::min(dMemory, (t3 - t2) / nRuns);
  }
  DeleteFileW(sPath.c_str());
  std::printf("Init of a %zu-section file: %.3f ms; GetPrivateProfileSectionW of the same %zu sections: %.3f ms "
              "(%ld characters)\n",
              sections.size(), dInit * 1e3, sections.size(), dProfile * 1e3, nChars);
  std::printf("Init / GetPrivateProfileSectionW = %.2fx (target <= 1.0x)\n", dInit / dProfile);
  std::printf("InitFromMemory of the same bytes (no file calls): %.3f ms\n", dMemory * 1e3);
  return 0;
}
