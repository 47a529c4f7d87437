#pragma once
// Finds a message box of another process and answers it, as a user would.
//
// A message box is a top-level dialog of the system's dialog class "#32770". Under
// Wine's null graphics driver it is never drawn, but it is a real window with real
// controls: it can be found by class and caption, its text read from its static
// control and its buttons pressed with BM_CLICK.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct MessageBoxView {
  HWND hWnd = nullptr;
  DWORD nProcessId = 0;
  std::wstring sCaption;
  std::wstring sText;
  // Control ids of the visible buttons (IDOK, IDYES, IDNO, ...), in ascending order.
  std::vector<int> buttons;
  // True when the box shows an icon (a visible icon control that holds one).
  bool bHasIcon = false;
};

struct MessageBoxQuery {
  // The process that owns the box; 0 for any.
  DWORD nProcessId = 0;
  // The exact caption; nullopt for any.
  std::optional<std::wstring> vCaption;
};

// Waits until a box that matches is shown (its set-up is finished) and its text can
// be read, and describes it; a box whose text stays empty is described when the
// time is up; nullopt when none appears within the time.
std::optional<MessageBoxView> WaitForMessageBox(const MessageBoxQuery& query, DWORD nTimeoutMs);
// Presses the box's button with the control id nButton (IDOK, IDYES, IDNO); false if
// the box has no such button or did not take the click.
bool PressButton(const MessageBoxView& box, int nButton);

}  // namespace e2e
