// <windows.h>'s macros as the engine's headers found them. MessageBox is only
// taken, not called: a box would wait for a click.
#include "consumer_macros.h"

#include "twinsweep/platform/win32/win32_forms.h"

bool WindowsMacrosKept() {
  const bool bMade = CreateDirectory(TEXT("consumer-macros"), nullptr) != 0;
  const bool bRemoved = RemoveDirectory(TEXT("consumer-macros")) != 0;
  const bool bNoFile = DeleteFile(TEXT("consumer-no-such-file")) == 0;
  const auto pBox = &MessageBox;
  return bMade && bRemoved && bNoFile && pBox != nullptr;
}
