#pragma once
// COptions: the product's persisted options, read from and written to the registry
// at each access (nothing is cached). Writes go to the user's scope only; the
// machine's scope is a read-only fallback. The administrator's policies (the
// machine's, then the user's) come before both for LANG and DiagnosticLog, and the
// program never writes them.
#include <cstdint>
#include <string>

#include "twinsweep/lang/lang_options.h"

namespace twinsweep {

// The product's language options are CLang::InitEx's options source.
class COptions : public ILangOptions {
 public:
  std::u16string LangID() override;
  void LangID(const std::u16string& sValue) override;
  std::u16string LangFile() override;
  void LangFile(const std::u16string& sValue) override;
  // The DWORD "DiagnosticLog" is 1: the error log also writes its file. A policy's
  // value, else the user's, else the machine's (a value of another type counts as
  // none).
  bool DiagnosticLog();

 private:
  std::u16string ReadOption(const std::u16string& sName, const std::u16string& sDefault, bool bUserScope);
  bool WriteOption(const std::u16string& sName, const std::u16string& sValue, bool bUserScope);
  // The DWORD, or -1 when the scope has none.
  int32_t ReadNumberOption(const std::u16string& sName, bool bUserScope);
  static std::u16string OptionsKeyPath();
  // The policies' text or DWORD sName: empty, or -1, when no policy sets it.
  std::u16string ReadPolicy(const std::u16string& sName);
  int32_t ReadNumberPolicy(const std::u16string& sName);
  static std::u16string PolicyKeyPath();
};

// The one process-wide instance, created on first use.
COptions& Options();

}  // namespace twinsweep
