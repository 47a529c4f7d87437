#pragma once
// mRegistryViews: reading a value that an installation may have written in either
// registry view of a 64-bit system. A 32-bit installer (32-bit Office, a 32-bit
// setup of this product) writes HKLM\Software and its class registrations only in
// the 32-bit view, which this 64-bit program does not see unless it asks for it.
#include <cstdint>
#include <string>

namespace twinsweep {

namespace mRegistryViews {

// The string value sName of the key strSubKey under nRootKey in the native view,
// or, when that is empty or missing, in the 32-bit view; empty when neither has
// one. Never raises; no key stays open.
std::u16string ReadString(int32_t nRootKey, const std::u16string& strSubKey, const std::u16string& sName);
// ReadString, and when the value found is of the type REG_EXPAND_SZ, its
// environment variables expanded, as COM expands a server's registered command.
std::u16string ReadExpandedString(int32_t nRootKey, const std::u16string& strSubKey, const std::u16string& sName);
// The DWORD value sName likewise: the native view's unless it is missing (or equals
// nDefault), else the 32-bit view's; nDefault when neither has one.
int32_t ReadDWord(int32_t nRootKey, const std::u16string& strSubKey, const std::u16string& sName, int32_t nDefault);

}  // namespace mRegistryViews

}  // namespace twinsweep
