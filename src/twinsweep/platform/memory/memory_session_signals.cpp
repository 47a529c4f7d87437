#include "twinsweep/platform/memory/memory_session_signals.h"

namespace twinsweep {

namespace platform {

KernelHandle MemorySessionSignals::Hold(const std::u16string& sName) {
  ++objects_[sName].nHolders;
  const KernelHandle h = ++nNext_;
  handles_[h] = sName;
  return h;
}

MemorySessionSignals::Object* MemorySessionSignals::Find(KernelHandle h) {
  auto it = handles_.find(h);
  return it == handles_.end() ? nullptr : &objects_[it->second];
}

bool MemorySessionSignals::Exists(std::u16string_view sName) const {
  return objects_.count(std::u16string(sName)) != 0;
}

KernelHandle MemorySessionSignals::CreateValue(std::u16string_view sName, bool* pbExisted) {
  *pbExisted = Exists(sName);
  return Hold(std::u16string(sName));
}

KernelHandle MemorySessionSignals::OpenValue(std::u16string_view sName) {
  return Exists(sName) ? Hold(std::u16string(sName)) : 0;
}

uint64_t MemorySessionSignals::ReadValue(KernelHandle hValue) {
  const Object* o = Find(hValue);
  return o ? o->nValue : 0;
}

void MemorySessionSignals::WriteValue(KernelHandle hValue, uint64_t nValue) {
  if (Object* o = Find(hValue)) o->nValue = nValue;
}

// As the Windows build does, an event already there is reset: it may have been
// set for an earlier holder.
KernelHandle MemorySessionSignals::CreateEventByName(std::u16string_view sName) {
  const KernelHandle h = Hold(std::u16string(sName));
  Find(h)->bEventSet = false;
  return h;
}

bool MemorySessionSignals::SetEventByName(std::u16string_view sName) {
  auto it = objects_.find(std::u16string(sName));
  if (it == objects_.end()) return false;
  it->second.bEventSet = true;
  return true;
}

bool MemorySessionSignals::IsEventSet(KernelHandle hEvent) {
  const Object* o = Find(hEvent);
  return o && o->bEventSet;
}

// The object goes with its last holder, as a named kernel object does.
void MemorySessionSignals::Close(KernelHandle h) {
  auto it = handles_.find(h);
  if (it == handles_.end()) return;
  auto object = objects_.find(it->second);
  if (--object->second.nHolders == 0) objects_.erase(object);
  handles_.erase(it);
}

}  // namespace platform

}  // namespace twinsweep
