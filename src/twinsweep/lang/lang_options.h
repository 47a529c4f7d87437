#pragma once
// Where CLang::InitEx takes the user's language from, and where it remembers the
// file it chose for it.
//
// A program gives InitEx one of these: the key of its own product in the
// registry (CRegistryLangOptions), an object of its own that implements
// ILangOptions (the launcher gives the product's COptions), or nothing, which is
// CFixedLangOptions(u"EN"): English, no file remembered, nothing written.
#include <cstdint>
#include <string>

namespace twinsweep {
/// How form localization checks that the texts it sets fit their controls.
struct LangFitCheck {
  /// Check every form localized, whatever the language file says (its main
  /// section's `checkfit = 1` turns the check on as well).
  bool bOn = false;
  /// Spare room a text must leave, in percent of what it needs: 5 reports a text
  /// that needs 100 px in a control of 104 px. Wine's fonts are a few percent
  /// narrower than Windows' ones, so a check under Wine should ask for about 5.
  int32_t nMarginPercent = 0;
};

/// Where CLang::InitEx takes the user's language id from, and where it remembers
/// the language file it chose for it.
class ILangOptions {
 public:
  virtual ~ILangOptions() = default;
  /// The chosen language's id ("EN", "DE"); empty when none has been chosen.
  virtual std::u16string LangID() = 0;
  /// Remembers the chosen language; InitEx writes "EN" here when none was chosen.
  virtual void LangID(const std::u16string& sValue) = 0;
  /// The name of the remembered language file in the application's folder; empty
  /// when none is remembered.
  virtual std::u16string LangFile() = 0;
  /// Remembers the file InitEx loaded for the language.
  virtual void LangFile(const std::u16string& sValue) = 0;
  /// The fit check InitEx sets when it turns the check on; by default none.
  virtual LangFitCheck FitCheck() { return LangFitCheck(); }
};

/// One language for every run: the given id, no remembered file, and writes that
/// change nothing.
class CFixedLangOptions : public ILangOptions {
 public:
  /// Options that always answer sLangID.
  explicit CFixedLangOptions(std::u16string sLangID) : sLangID_(std::move(sLangID)) {}
  std::u16string LangID() override { return sLangID_; }
  void LangID(const std::u16string&) override {}
  std::u16string LangFile() override { return u""; }
  void LangFile(const std::u16string&) override {}

 private:
  std::u16string sLangID_;
};

/// The values "LANG" (language id) and "LANG_" (file name) of a product's key,
/// e.g. u"Software\\Maker\\Product": the current user's, else the machine's; writes
/// go to the current user's key. A remembered file that is not a plain file name
/// (a path, a device) counts as none, so that a value written by someone else
/// cannot make a program load texts from outside its folder. Failures to read
/// count as no value; a failed write is reported to the error log.
class CRegistryLangOptions : public ILangOptions {
 public:
  /// The options of the product key sKeyPath (under HKEY_CURRENT_USER, then HKEY_LOCAL_MACHINE).
  explicit CRegistryLangOptions(std::u16string sKeyPath) : sKeyPath_(std::move(sKeyPath)) {}
  std::u16string LangID() override;
  void LangID(const std::u16string& sValue) override;
  std::u16string LangFile() override;
  void LangFile(const std::u16string& sValue) override;

 private:
  std::u16string Read(const std::u16string& sName);
  void Write(const std::u16string& sName, const std::u16string& sValue);
  std::u16string sKeyPath_;
};

}  // namespace twinsweep
