// Any bytes of any type stored as a value, read back through every typed read:
// ReadBinary gives the bytes, QueryValueInfo the type and size, ReadString the
// text of a string value (without its terminating NUL, or up to its first NUL)
// and "" for any other, ReadDWord the number of a REG_DWORD of up to four bytes
// and the default for anything else; ReadDate never fails. No handle is left
// open, no failure pending. A string counted without its terminator, with a NUL
// after it in memory, is stored with that NUL (as Windows does); the fuzzer
// decides what follows.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "twinsweep/base/failure.h"
#include "fuzz_input.h"
#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/settings/win_reg.h"

using namespace twinsweep;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_support::FuzzInput in(data, size);
  platform::MemoryRegistry registry;
  platform::ScopedOverride<platform::IRegistry> use(registry);
  const uint32_t nType = in.Byte() % 12;
  const bool bNulAfter = in.Byte() & 1;
  const std::u16string sName = in.Text(8);
  const std::string given = in.Rest();
  std::string memory = given + (bNulAfter ? std::string(2, '\0') : std::string("xy"));
  std::string stored = given;
  const bool bString = nType == platform::kRegSz || nType == platform::kRegExpandSz || nType == 7;
  if (bString && given.size() >= 2) {
    const size_t nLast = given.size() / 2 * 2 - 2;
    if ((memory[nLast] | memory[nLast + 1]) != 0 && (memory[nLast + 2] | memory[nLast + 3]) == 0)
      stored = memory.substr(0, given.size() + 2);
  }
  {
    CWinReg reg;
    if (!reg.InitForWrite(reg.HKEY_CURRENT_USER(), u"Software\\Fuzz", true)) __builtin_trap();
    // Names with a NUL inside are refused; everything else is stored.
    if (registry.SetValue(reg.Handle(), sName, nType, reinterpret_cast<const uint8_t*>(memory.data()),
                          static_cast<uint32_t>(given.size())) != platform::kErrorSuccess) {
      if (sName.find(u'\0') == std::u16string::npos) __builtin_trap();
      return 0;
    }

    std::vector<uint8_t> abData;
    const bool bBinary = reg.ReadBinary(sName, abData);
    if (bBinary != !stored.empty()) __builtin_trap();
    if (bBinary && std::string(abData.begin(), abData.end()) != stored) __builtin_trap();

    int32_t nQueriedType = -1, nQueriedSize = -1;
    if (reg.QueryValueInfo(sName, nQueriedType, nQueriedSize) != platform::kErrorSuccess ||
        nQueriedType != static_cast<int32_t>(nType) || nQueriedSize != static_cast<int32_t>(stored.size()))
      __builtin_trap();

    std::u16string sWant;
    if (nType == platform::kRegSz || nType == platform::kRegExpandSz) {
      sWant.resize(stored.size() / 2);
      std::memcpy(sWant.data(), stored.data(), sWant.size() * 2);
      if (!sWant.empty() && sWant.back() == u'\0') sWant.pop_back();
    }
    // A text with a NUL inside may also end at that NUL, as the system's own readers end it.
    const std::u16string sGot = reg.ReadString(sName);
    if (sGot != sWant && sGot != sWant.substr(0, sWant.find(u'\0'))) __builtin_trap();

    int32_t nWant = -7;
    if (nType == platform::kRegDword && stored.size() <= 4) {
      nWant = 0;
      std::memcpy(&nWant, stored.data(), stored.size());
    }
    if (reg.ReadDWord(sName, -7) != nWant) __builtin_trap();

    reg.ReadDate(sName, base::Date{});
    reg.ReadBool(sName);
  }
  if (registry.OpenHandleCount() != 0 || base::HasPending()) __builtin_trap();
  return 0;
}
