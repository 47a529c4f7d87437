// Differential target: for any bytes and any main section, the one-pass load
// (CLang::InitFromMemory) must give the same result, the same collections in
// the same order, the same fields and the same reports in the same order as
// the per-section loading it replaced, kept here in compact form as the oracle:
// a reader with a 4096-byte block refilled by whole reads, a section parser
// that reads from the first line for every section, and Init over the two.
//
// Input: the first byte's value modulo 24 is the length of the main section's
// name, which follows as Latin-1 (0: "TwinsweepLauncher"); the rest is the file.
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/lang/lang_internals.h"
#include "twinsweep/lang/lang_syntax.h"
#include "twinsweep/lang/plural_rule.h"
#include "twinsweep/platform/text_codec.h"

using namespace twinsweep;

namespace {

// The block reader: ideal reads of the bytes, the CR at the end of a full block
// decided by the byte after it.
class OldReader {
 public:
  explicit OldReader(const std::string& bytes) : b_(bytes) {}
  bool FEOF() const { return eof_; }
  bool ReadLine(std::u16string& s) {
    if (GetLine(s)) return true;
    if (Append()) {
      if (GetLine(s)) return true;
      if (len_ - pos_ < 1) return false;
      if (Append()) return GetLine(s);
    }
    if (eof_ && len_ - pos_ > 0) {
      Str(pos_, len_ - pos_, s);
      pos_ = len_;
      return true;
    }
    return false;
  }

 private:
  bool Append() {
    if (eof_) return false;
    std::memmove(blk_, blk_ + pos_, static_cast<size_t>(len_ - pos_));
    len_ -= pos_;
    pos_ = 0;
    const size_t n = std::min(static_cast<size_t>(4096 - len_), b_.size() - off_);
    std::memcpy(blk_ + len_, b_.data() + off_, n);
    off_ += n;
    len_ += static_cast<int>(n);
    eof_ = n == 0;
    if (enc_ == -1) {
      enc_ = n >= 3 && blk_[0] == 0xEF && blk_[1] == 0xBB && blk_[2] == 0xBF ? 1 : 0;
      if (enc_ == 1) pos_ = 3;
    }
    return !eof_;
  }
  bool GetLine(std::u16string& s) {
    if (len_ - pos_ < 1) return false;
    for (int i = pos_; i < len_ - 1; ++i) {
      if (blk_[i] == 13 && blk_[i + 1] == 10) {
        Str(pos_, i - pos_, s);
        pos_ = i + 2;
        return true;
      }
    }
    if (len_ < 4096) {
      Str(pos_, len_ - pos_, s);
      pos_ = len_;
      return true;
    }
    if (pos_ != 0) return false;
    if (blk_[4095] == 13 && off_ < b_.size() && b_[off_] == 10) {
      Str(0, 4095, s);
      ++off_;
    } else {
      Str(0, 4096, s);
      // A CR LF right after the block ends this line, not an empty line after it.
      if (off_ + 1 < b_.size() && b_[off_] == 13 && b_[off_ + 1] == 10) off_ += 2;
    }
    pos_ = len_;
    return true;
  }
  void Str(int start, int n, std::u16string& s) {
    s = platform::DecodeBytes(enc_ == 1 ? platform::kCodePageUtf8 : platform::kCodePageAnsi, blk_ + start,
                              static_cast<size_t>(n));
  }

  const std::string& b_;
  size_t off_ = 0;
  uint8_t blk_[4096];
  int len_ = 0, pos_ = 0, enc_ = -1;
  bool eof_ = false;
};

// The text without blanks at either end, as the old loading took it.
std::u16string Trim(std::u16string_view s) { return std::u16string(TrimBlanksView(s)); }

// CLang with the loading of old: every section read from the first line.
class OldLang : public CLangInternals {
 public:

  bool ReadOld(const std::string& bytes, const std::u16string& sFile, const std::u16string& sSection,
               TextCollection& colValues, const std::u16string& sPrefix, TextCollection* colNames) {
    const char16_t* kSrc = u"CLang.ReadSection";
    auto report = [&](const char16_t* f, base::VariantList p) { mMain::LogError(kSrc, 0, sprintf1(f, p)); };
    OldReader oFile(bytes);
    int32_t nLine = 0;
    bool bIn = false;
    std::u16string sRaw;
    while (!oFile.FEOF()) {
      if (!oFile.ReadLine(sRaw)) {
        if (!oFile.FEOF()) mMain::LogError(kSrc, 0, std::u16string(u"oFile.ReadLine failed"));
        break;
      }
      const std::u16string sLine = Trim(sRaw);
      ++nLine;
      if (sLine.empty() || sLine[0] == u';' || sLine[0] == u'\'') continue;
      if (sLine[0] == u'[') {
        size_t c = sLine.find(u']', 1);
        if (c == std::u16string::npos) return report(u"symbol ']' is absent, line = %d, file = '%s'", {nLine, sFile}), false;
        std::u16string sName = sLine.substr(1, c - 1);
        if (sName.empty()) return report(u"empty section name, line - %d, file = '%s'", {nLine, sFile}), false;
        std::u16string sRest = Trim(sLine.substr(c + 1));
        if (!sRest.empty() && sRest[0] != u';' && sRest[0] != u'\'') {
          return report(u"'%s' is not the comment, line - %d, file = '%s'", {sRest, nLine, sFile}), false;
        }
        if (bIn) return true;
        if (base::EqualsNoCase(sName, sSection)) bIn = true;
        continue;
      }
      if (!bIn) continue;
      size_t nEq = sLine.find(u'=');
      if (nEq == std::u16string::npos) {
        report(u"symbol '=' is absent, line = %d, file = '%s'", {nLine, sFile});
        continue;
      }
      std::u16string sKey = Trim(sLine.substr(0, nEq));
      if (sKey.empty()) {
        report(u"Const's name does not exist, line - %d, file = '%s'", {nLine, sFile});
        continue;
      }
      std::u16string sValue = Trim(OldStripComment(Trim(sLine.substr(nEq + 1)))), sError;
      if (sValue.empty()) {
        report(u"Const's value does not exist, line - %d, file = '%s'", {nLine, sFile});
        continue;
      }
      if (!OldUnquote(sValue, sError)) {
        report(u"Syntactic error - '%s', line - %d, file = '%s'", {sError, nLine, sFile});
        continue;
      }
      try {
        colValues.Add(sValue, base::LCase(sPrefix + sKey));
      } catch (const base::Failure&) {
        report(u"declaration of constant '%s' repeats in a line %d of '%s' file", {sKey, nLine, sFile});
      }
      if (colNames) base::Ignore([&] { colNames->Add(base::LCase(sKey), sKey); });
    }
    return bIn;
  }

  // Unquote as it was written first: cut the enclosing quotes, then undouble.
  static bool OldUnquote(std::u16string& s, std::u16string& sError) {
    if (s.size() < 2 || s.front() != u'"' || s.back() != u'"') return sError = u"The string should be in quotes", false;
    s = s.substr(1, s.size() - 2);
    for (size_t p = 0;;) {
      size_t q = s.find(u'"', p);
      if (q == std::u16string::npos) return true;
      if (q + 1 >= s.size() || s[q + 1] != u'"') return sError = u"quoted string has unary quotes", false;
      s.erase(q + 1, 1);
      p = q + 1;
    }
  }

  // The comment cut as it was written first, positions counted from 1.
  std::u16string OldStripComment(const std::u16string& s) {
    int32_t c = InStrAny(s, u";'", 1), q = base::InStr(1, s, u"\"");
    bool bIn = false;
    while (q != 0) {
      if (c == 0) return s;
      if (q < c) {
        bIn = !bIn;
        q = base::InStr(q + 1, s, u"\"");
      } else if (!bIn) {
        return s.substr(0, static_cast<size_t>(c - 1));
      } else {
        c = InStrAny(s, u";'", c + 1);
      }
    }
    return c == 0 ? s : s.substr(0, static_cast<size_t>(c - 1));
  }

  TextCollectionRef GetOld(const std::string& bytes, const std::u16string& sFile, const std::u16string& sSection) {
    TextCollectionRef c = base::NewCollection<std::u16string>();
    return ReadOld(bytes, sFile, sSection, *c, u"", nullptr) ? c : nullptr;
  }

  bool InitOld(const std::string& bytes, const std::u16string& sFile, const std::u16string& sMain) {
    auto report = [&](const char16_t* f, base::VariantList p) { mMain::LogError(u"CLang.Init", 0, sprintf1(f, p)); };
    auto value = [](const TextCollection& c, const char16_t* k) {
      const auto p = c.Find(k);
      return p ? std::u16string(*p) : std::u16string();
    };
    try {
      Clear();
      TextCollectionRef colV = GetOld(bytes, sFile, u"version");
      if (!colV) return report(u"file '%s' has no version section", {sFile}), false;
      if (value(*colV, u"signature") != u"Orvex.LangLngFile" || value(*colV, u"langid").empty() ||
          value(*colV, u"lang").empty()) {
        return report(u"file '%s' has no(or wrong) signature or lang or langid in [version] section", {sFile}), false;
      }
      // The plural rule came with the one-pass load; its parser is shared, its report kept in step.
      PluralRule rule;
      std::u16string sWhy;
      if (!value(*colV, u"plural").empty() && !rule.Parse(value(*colV, u"plural"), &sWhy))
        report(u"file '%s' has a plural rule that cannot be read (%s); English plurals are used", {sFile, sWhy});
      FormCollectionRef colF = base::NewCollection<TextCollectionRef>();
      TextCollectionRef colM = GetOld(bytes, sFile, sMain);
      if (!colM) return report(u"file '%s' has no [%s] section", {sFile, sMain}), false;
      const std::u16string sGlobals = value(*colM, u"globals"), sForms = value(*colM, u"forms");
      if (sGlobals.empty()) report(u"file '%s' has no (or empty) [%s].texts", {sFile, sMain});
      if (sForms.empty()) mMain::LogDebug(u"CLang.Init", sprintf1(u"file '%s' has no (or empty) [%s].forms", {sFile, sMain}));
      double d = base::RoundHalfEven(base::LeadingNumber(value(*colM, u"dumpforms")));
      if (d == 1.0 || d == 2.0 || d == 3.0) {
        nDumpForms = static_cast<int32_t>(d);
        mMain::LogDebug(u"CLang.Init", u"The forms will be dumped when they will appear");
      }
      TextCollectionRef colT = base::NewCollection<std::u16string>();
      for (bool bForms : {false, true}) {
        for (const std::u16string& sPiece : base::Split(bForms ? sForms : sGlobals, u",")) {
          std::u16string sN = Trim(sPiece);
          if (sN.empty()) {
            return report(bForms ? u"file '%s' has error in [%s].forms" : u"file '%s' has error in [%s].texts",
                          {sFile, sMain}),
                   false;
          }
          TextCollectionRef colK = base::NewCollection<std::u16string>();
          if (!ReadOld(bytes, sFile, sMain + u"." + sN, *colT, bForms ? sN : u"", colK.get())) {
            return report(u"Error readig section [%s] in file '%s'", {sMain + u"." + sN, sFile}), false;
          }
          colF->Add(colK, base::LCase(sN));
        }
      }
      colTexts = colT;
      colForms = colF;
      sMainSection = sMain;
      sFilename = sFile;
      sLangID = value(*colV, u"langid");
      sLangName = value(*colV, u"lang");
      return true;
    } catch (...) {
      base::SetPendingFromCurrentException();
      mMain::LogError(u"CLang.Init", -1, std::nullopt, u"file = '" + sFile + u"'");
      Clear();
      return false;
    }
  }
};

struct Trace {
  bool bResult = false;
  std::vector<std::u16string> lines;  // reports, fields and collections as text
};

void Add(Trace& t, std::u16string s) { t.lines.push_back(std::move(s)); }

void DumpTexts(Trace& t, const CLang::TextCollection& c) {
  Add(t, u"count " + base::FromAscii(std::to_string(c.Count())));
  for (const auto& e : c) Add(t, (e.foldedKey.value_or(u"<no key>")) + u"=" + std::u16string(e.item));
}

Trace Snapshot(bool bResult, OldLang& o, const std::vector<std::u16string>& reports) {
  Trace t;
  t.bResult = bResult;
  t.lines = reports;
  Add(t, o.Filename() + u"|" + o.LangID() + u"|" + o.LangName() + u"|" + o.sMainSection + u"|" +
             base::FromAscii(std::to_string(o.nDumpForms)));
  if (o.colTexts) DumpTexts(t, *o.colTexts); else Add(t, u"no texts");
  if (o.colForms) {
    for (const auto& e : *o.colForms) {
      Add(t, u"form " + *e.foldedKey);
      DumpTexts(t, *e.item);
    }
  } else {
    Add(t, u"no forms");
  }
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  size_t nName = std::min<size_t>(data[0] % 24, size - 1);
  std::u16string sMain = u"TwinsweepLauncher";
  if (nName > 0) sMain.assign(data + 1, data + 1 + nName);
  const std::string bytes(reinterpret_cast<const char*>(data) + 1 + nName, size - 1 - nName);
  const std::u16string sFile = u"C:\\fuzz\\x.lng";

  std::vector<std::u16string> reports;
  mMain::SetLogObserver([&](const mMain::LogEntry& e) {
    reports.push_back((e.kind == mMain::LogEntry::Kind::Error ? u"E " : u"D ") + e.sSource + u" " +
                      base::FromAscii(std::to_string(e.nNumber)) + u" " + e.sText);
  });
  OldLang oOld;
  bool bOld = oOld.InitOld(bytes, sFile, sMain);
  Trace old = Snapshot(bOld, oOld, reports);
  reports.clear();
  OldLang oNew;
  bool bNew = oNew.InitFromMemory(sFile, bytes, sMain);
  Trace now = Snapshot(bNew, oNew, reports);
  mMain::SetLogObserver(nullptr);

  if (old.bResult != now.bResult || old.lines != now.lines) {
    for (size_t i = 0; i < std::max(old.lines.size(), now.lines.size()); ++i) {
      std::string a = i < old.lines.size() ? base::ToUtf8(old.lines[i]) : "<none>";
      std::string b = i < now.lines.size() ? base::ToUtf8(now.lines[i]) : "<none>";
      if (a != b) fprintf(stderr, "differs at %zu:\n  old: %s\n  new: %s\n", i, a.substr(0, 300).c_str(), b.substr(0, 300).c_str());
    }
    fprintf(stderr, "results: old %d new %d\n", old.bResult, now.bResult);
    __builtin_trap();
  }
  if (base::HasPending()) __builtin_trap();
  return 0;
}
