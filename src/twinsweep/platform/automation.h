#pragma once
// Late-bound automation: objects created from a ProgID and called by name at run
// time (CLSIDFromProgID, CoCreateInstance, IDispatch::GetIDsOfNames and Invoke).
//
// An object reference is a shared pointer; a null one is the empty object
// reference ("Nothing"). Every failure is raised as a base::Failure whose number
// is the system's HRESULT (signed 32-bit), or the error code an automation server
// reported, with the system's text as its description.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "twinsweep/base/variant.h"
#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IAutomationObject;
using AutomationObject = std::shared_ptr<IAutomationObject>;

// HRESULTs of a server that cannot take a call yet.
constexpr int32_t kRpcECallRejected = static_cast<int32_t>(0x80010001u);          // RPC_E_CALL_REJECTED
constexpr int32_t kRpcEServerCallRetryLater = static_cast<int32_t>(0x8001010Au);  // RPC_E_SERVERCALL_RETRYLATER
// HRESULTs of an activation that failed while the server was still starting.
constexpr int32_t kCoEServerExecFailure = static_cast<int32_t>(0x80080005u);   // CO_E_SERVER_EXEC_FAILURE
constexpr int32_t kCoEServerStopping = static_cast<int32_t>(0x80080008u);      // CO_E_SERVER_STOPPING
constexpr int32_t kCoEServerStartTimeout = static_cast<int32_t>(0x8000401Eu);  // CO_E_SERVER_START_TIMEOUT
// HRESULTs a user meets when a call or a creation fails for good.
constexpr int32_t kRpcECallCanceled = static_cast<int32_t>(0x80010002u);       // RPC_E_CALL_CANCELED
constexpr int32_t kRpcEServerFault = static_cast<int32_t>(0x80010105u);        // RPC_E_SERVERFAULT
constexpr int32_t kRpcEDisconnected = static_cast<int32_t>(0x80010108u);       // RPC_E_DISCONNECTED
constexpr int32_t kRpcSServerUnavailable = static_cast<int32_t>(0x800706BAu);  // HRESULT of RPC_S_SERVER_UNAVAILABLE
constexpr int32_t kRpcSCallFailed = static_cast<int32_t>(0x800706BEu);         // HRESULT of RPC_S_CALL_FAILED
constexpr int32_t kEAccessDenied = static_cast<int32_t>(0x80070005u);          // E_ACCESSDENIED
constexpr int32_t kRegDbEClassNotReg = static_cast<int32_t>(0x80040154u);      // REGDB_E_CLASSNOTREG
constexpr int32_t kCoEClassString = static_cast<int32_t>(0x800401F3u);         // CO_E_CLASSSTRING
constexpr int32_t kMkEUnavailable = static_cast<int32_t>(0x800401E3u);         // MK_E_UNAVAILABLE

// One argument of a call: a value, an object reference (possibly empty), or a
// 32-bit integer passed by reference (VT_I4 | VT_BYREF), which the callee may change.
struct AutomationArg {
  enum class Kind { Value, Object, LongByRef };
  Kind kind = Kind::Value;
  base::Variant vValue;
  AutomationObject oObject;
  int32_t* pnLong = nullptr;

  static AutomationArg Value(base::Variant v) { return {Kind::Value, std::move(v), nullptr, nullptr}; }
  static AutomationArg Object(AutomationObject o) { return {Kind::Object, {}, std::move(o), nullptr}; }
  static AutomationArg LongByRef(int32_t& n) { return {Kind::LongByRef, {}, nullptr, &n}; }
};
using AutomationArgs = std::vector<AutomationArg>;

// What a call answered: an object reference (possibly empty) or a value.
struct AutomationResult {
  bool bIsObject = false;
  AutomationObject oObject;
  base::Variant vValue;
};

// DISPATCH_METHOD, DISPATCH_PROPERTYGET, or both (how a call with a result and
// arguments, such as a collection's Item, is made late-bound).
enum class InvokeKind : uint16_t { Method = 1, PropertyGet = 2, MethodOrPropertyGet = 3 };

class IAutomationObject {
 public:
  virtual ~IAutomationObject() = default;
  // Looks the member up by name and calls it; args are given in their natural
  // order (the implementation reverses them as the call convention requires).
  virtual AutomationResult Invoke(std::u16string_view sName, InvokeKind kind, const AutomationArgs& args) = 0;
  // The object that really answers calls, for a wrapper the object it wraps: what
  // an implementation looks at when the reference is passed as an argument (an
  // object that wraps none answers itself).
  virtual IAutomationObject& Target() = 0;
};

class IAutomation {
 public:
  virtual ~IAutomation() = default;
  // The object of the class registered under sProgID, created in the calling
  // thread's single-threaded apartment; a local server is started when needed.
  // The thread must have joined one (apartment.h): it fails otherwise
  // (CO_E_NOTINITIALIZED).
  virtual AutomationObject CreateObject(std::u16string_view sProgID) = 0;
};

template <>
IAutomation& Default<IAutomation>();
inline IAutomation& Automation() { return Get<IAutomation>(); }

}  // namespace platform

}  // namespace twinsweep
