#pragma once
// MemorySessionSignals: the session's named values and events kept in this
// process's memory, as one session would see them. The native build's own, and
// the double of the launcher's tests, which play a second process by reading and
// setting the same names.
#include <cstdint>
#include <map>
#include <string>

#include "twinsweep/platform/session_signals.h"

namespace twinsweep {

namespace platform {

class MemorySessionSignals : public ISessionSignals {
 public:
  KernelHandle CreateValue(std::u16string_view sName, bool* pbExisted) override;
  KernelHandle OpenValue(std::u16string_view sName) override;
  uint64_t ReadValue(KernelHandle hValue) override;
  void WriteValue(KernelHandle hValue, uint64_t nValue) override;
  KernelHandle CreateEventByName(std::u16string_view sName) override;
  bool SetEventByName(std::u16string_view sName) override;
  bool IsEventSet(KernelHandle hEvent) override;
  void Close(KernelHandle h) override;

  // An object of the name is held by someone (it exists).
  bool Exists(std::u16string_view sName) const;
  int OpenHandles() const { return static_cast<int>(handles_.size()); }

 private:
  struct Object {
    uint64_t nValue = 0;
    bool bEventSet = false;
    int nHolders = 0;
  };
  KernelHandle Hold(const std::u16string& sName);
  Object* Find(KernelHandle h);

  std::map<std::u16string, Object> objects_;
  std::map<KernelHandle, std::u16string> handles_;
  KernelHandle nNext_ = 0x5000;
};

}  // namespace platform

}  // namespace twinsweep
