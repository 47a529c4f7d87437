#pragma once
// Doubles of the desktop services: an application with a chosen folder and
// command line, a shell that records what it was asked to open, message boxes
// that record what they showed and answer as scripted, and the apartment the
// shell's calls are made in.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "twinsweep/platform/apartment.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/desktop_rights.h"
#include "twinsweep/platform/program_start.h"

using namespace twinsweep;

namespace testing_support {

// The apartment: how often a thread joined it and left it.
class FakeApartment : public platform::IApartment {
 public:
  std::atomic<int> nEntered{0}, nLeft{0};
  bool Enter() override {
    ++nEntered;
    return true;
  }
  void Leave() override { ++nLeft; }
};

class FakeApp : public platform::IApp, public platform::IProgramStart {
 public:
  std::u16string sAppFolder;
  std::u16string sCommandLineArgs;
  bool bDllSearchRestricted = true;
  bool bShapingKnowsIsolates = true;
  std::u16string AppFolder() override { return sAppFolder; }
  std::u16string CommandLineArgs() override { return sCommandLineArgs; }
  bool DllSearchRestricted() override { return bDllSearchRestricted; }
  bool ShapingKnowsIsolates() override { return bShapingKnowsIsolates; }
};

class RecordingShell : public platform::IShell {
 public:
  std::vector<std::u16string> opened;
  uint32_t nError = 0;  // what every open answers
  std::function<void()> onOpen;
  uint32_t Open(std::u16string_view sTarget) override {
    opened.emplace_back(sTarget);
    if (onOpen) onOpen();
    return nError;
  }
};

// The integrity levels as scripted, and a record of the starts through the desktop's shell.
class FakeDesktopRights : public platform::IDesktopRights {
 public:
  uint32_t nOwn = platform::kIntegrityMedium, nShell = platform::kIntegrityMedium;
  int32_t nStartResult = 0;
  std::vector<std::u16string> startedWith;
  uint32_t OwnIntegrity() override { return nOwn; }
  uint32_t ShellIntegrity() override { return nShell; }
  int32_t StartAgainThroughDesktopShell(std::u16string_view sArgs) override {
    startedWith.emplace_back(sArgs);
    return nStartResult;
  }
};

// Message boxes: each shown one recorded, answered with nAnswer after whileOpen
// has run (to act while the box is open).
class ScriptedDialogs : public platform::IDialogs {
 public:
  struct Shown {
    std::u16string sText, sCaption;
    uint32_t nType;
  };
  std::vector<Shown> shown;
  int32_t nAnswer = platform::kIdYes;
  std::function<void()> whileOpen;
  int32_t ShowMessageBox(std::u16string_view sText, std::u16string_view sCaption, uint32_t nType) override {
    shown.push_back(Shown{std::u16string(sText), std::u16string(sCaption), nType});
    if (whileOpen) whileOpen();
    return nAnswer;
  }
  // Whether another launcher's box is showing, and how often it was brought to the front.
  bool bOtherInstanceBox = false;
  int nBroughtToFront = 0;
  bool BringOtherInstanceBoxToFront() override {
    ++nBroughtToFront;
    return bOtherInstanceBox;
  }
};

}  // namespace testing_support
