// Speed of the localization engine on realistic language files:
//  (a) ReadSection of the last section of a 1 MB file, beside inih parsing the
//      same file once, both in bytes per second, with their ratio;
//  (b) Init of a file with 3 global and 40 form sub-sections, 3,000 entries,
//      beside inih parsing the same file into a map (from the file, and both
//      from memory), and Init of a file ten times as large (400 form sub-sections);
//  (c) InitEx choosing among 30 language files in one folder;
//  (d) 50,000 ItemSet replaces on 50,000 keys;
//  (e) Item of a text with two placeholders, beside the same text with numbered
//      placeholders and ItemPlural of the same text as the forms of a Russian
//      rule, with their ratios to Item.
// The figures the engine is held to are printed at the end.
#include <benchmark/benchmark.h>
#include <ini.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/platform/app.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/lang/lang_options.h"
#include "support/lang_file.h"
#include "support/null_services.h"

using namespace twinsweep;

namespace {

// A scratch folder of the benchmark run, removed at the end.
class Scratch {
 public:
  Scratch() {
    char tmpl[] = "/tmp/lang-bench-XXXXXX";
    if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp failed");
    sDir_ = tmpl;
  }
  ~Scratch() { std::system(("rm -rf '" + sDir_ + "'").c_str()); }
  std::string Native(const std::string& sName) const { return sDir_ + "/" + sName; }
  // The program's own path form; the native files service maps "\" to "/".
  std::u16string Path(const std::string& sName) const {
    std::u16string s = base::FromUtf8(Native(sName));
    for (auto& c : s)
      if (c == u'/') c = u'\\';
    return s;
  }
  std::u16string Folder() const { return Path("").substr(0, Path("").size() - 1); }
  size_t Write(const std::string& sName, const std::string& sBytes) const {
    std::ofstream(Native(sName), std::ios::binary) << sBytes;
    return sBytes.size();
  }

 private:
  std::string sDir_;
};

Scratch& Dir() {
  static Scratch s;
  return s;
}

std::string Entry(const std::string& sKey, int n) {
  return sKey + " = \"Text number " + std::to_string(n) + " of the product, with a \"\"quote\"\" and \\n\"   ; note\r\n";
}

std::string Version(const std::string& sLangID) {
  return "; generated\r\n" +
         testing_support::LangFile(sLangID, {""}, testing_support::kLangSignature, {"Language " + sLangID});
}

// (a) About 1 MB of sections of twenty entries; the wanted one comes last.
const std::string& BigFile() {
  static const std::string s = [] {
    std::string b = Version("EN");
    int n = 0;
    for (int nSection = 0; b.size() < (1u << 20) - 4096; ++nSection) {
      b += "\r\n[Section" + std::to_string(nSection) + "]\r\n";
      for (int i = 0; i < 20; ++i, ++n) b += Entry("LID_KEY_" + std::to_string(n), n);
    }
    b += "\r\n[Target]\r\n";
    for (int i = 0; i < 20; ++i, ++n) b += Entry("LID_TARGET_" + std::to_string(i), n);
    return b;
  }();
  return s;
}

void BM_ReadSection_LastOf1MB(benchmark::State& state) {
  const size_t nBytes = Dir().Write("big.lng", BigFile());
  const std::u16string sPath = Dir().Path("big.lng");
  CLang oLang;
  for (auto _ : state) {
    CLang::TextCollection col;
    if (!oLang.ReadSection(sPath, u"Target", col, u"", nullptr) || col.Count() != 20) {
      state.SkipWithError("section not read");
      break;
    }
    benchmark::DoNotOptimize(col);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * nBytes));
}
BENCHMARK(BM_ReadSection_LastOf1MB)->Unit(benchmark::kMillisecond);

int CountEntry(void* user, const char* section, const char* name, const char* value) {
  (void)section, (void)name, (void)value;
  ++*static_cast<long*>(user);
  return 1;
}

void BM_Inih_Parse1MB(benchmark::State& state) {
  const size_t nBytes = Dir().Write("big.ini", BigFile());
  const std::string sPath = Dir().Native("big.ini");
  for (auto _ : state) {
    long nEntries = 0;
    if (ini_parse(sPath.c_str(), CountEntry, &nEntries) != 0) {
      state.SkipWithError("inih failed");
      break;
    }
    benchmark::DoNotOptimize(nEntries);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * nBytes));
}
BENCHMARK(BM_Inih_Parse1MB)->Unit(benchmark::kMillisecond);

// (b) and (c): files of the launcher's layout, nGlobals + nForms sub-sections.
std::string RealisticFile(const std::string& sLangID, int nGlobals, int nForms, int nEntries) {
  std::string b = Version(sLangID);
  std::string sGlobals, sForms;
  for (int i = 0; i < nGlobals; ++i) sGlobals += (i ? ", " : "") + std::string("texts") + std::to_string(i);
  // Short form names: the list must stay within one 4096-byte line.
  for (int i = 0; i < nForms; ++i) sForms += (i ? "," : "") + std::string("frm") + std::to_string(i);
  b += "[TwinsweepLauncher]\r\nglobals = \"" + sGlobals + "\"\r\nforms = \"" + sForms + "\"\r\n";
  int nSections = nGlobals + nForms, n = 0;
  for (int s = 0; s < nSections; ++s) {
    bool bForm = s >= nGlobals;
    b += "\r\n[TwinsweepLauncher." + (bForm ? "frm" + std::to_string(s - nGlobals) : "texts" + std::to_string(s)) + "]\r\n";
    int nHere = nEntries / nSections + (s < nEntries % nSections ? 1 : 0);
    for (int i = 0; i < nHere; ++i, ++n) {
      b += Entry(bForm ? "cmdButton" + std::to_string(i) + ".Caption" : "LID_TEXT_" + std::to_string(n), n);
    }
  }
  return b;
}

const std::string& File43() {
  static const std::string s = RealisticFile("EN", 3, 40, 3000);
  return s;
}
const std::string& File403() {
  static const std::string s = RealisticFile("EN", 3, 400, 30000);
  return s;
}

void InitFromFile(benchmark::State& state, const std::string& sName, const std::string& sBytes) {
  const size_t nBytes = Dir().Write(sName, sBytes);
  const std::u16string sPath = Dir().Path(sName);
  for (auto _ : state) {
    CLang oLang;
    if (!oLang.Init(sPath, u"TwinsweepLauncher")) {
      state.SkipWithError("Init failed");
      break;
    }
    benchmark::DoNotOptimize(oLang);
  }
  state.counters["file_bytes"] = static_cast<double>(nBytes);
}

void BM_Init_43SubSections_3000Entries(benchmark::State& state) { InitFromFile(state, "real.lng", File43()); }
BENCHMARK(BM_Init_43SubSections_3000Entries)->Unit(benchmark::kMillisecond);

void BM_Init_403SubSections_30000Entries(benchmark::State& state) { InitFromFile(state, "real403.lng", File403()); }
BENCHMARK(BM_Init_403SubSections_30000Entries)->Unit(benchmark::kMillisecond);

void BM_InitFromMemory_43SubSections(benchmark::State& state) {
  for (auto _ : state) {
    CLang oLang;
    if (!oLang.InitFromMemory(u"real.lng", File43(), u"TwinsweepLauncher")) {
      state.SkipWithError("Init failed");
      break;
    }
    benchmark::DoNotOptimize(oLang);
  }
}
BENCHMARK(BM_InitFromMemory_43SubSections)->Unit(benchmark::kMillisecond);

// inih keeping every entry, as a program that uses it keeps its settings.
using IniMap = std::unordered_map<std::string, std::string>;
int KeepEntry(void* user, const char* section, const char* name, const char* value) {
  (*static_cast<IniMap*>(user))[std::string(section) + "." + name] = value;
  return 1;
}

void BM_Inih_43SubSections_File(benchmark::State& state) {
  Dir().Write("real.ini", File43());
  const std::string sPath = Dir().Native("real.ini");
  for (auto _ : state) {
    IniMap entries;
    // A positive answer is the first line inih could not take (the long lists
    // of the main section); it still parses the rest.
    if (ini_parse(sPath.c_str(), KeepEntry, &entries) < 0) {
      state.SkipWithError("inih failed");
      break;
    }
    benchmark::DoNotOptimize(entries);
  }
}
BENCHMARK(BM_Inih_43SubSections_File)->Unit(benchmark::kMillisecond);

void BM_Inih_43SubSections_Memory(benchmark::State& state) {
  for (auto _ : state) {
    IniMap entries;
    if (ini_parse_string(File43().c_str(), KeepEntry, &entries) < 0) {
      state.SkipWithError("inih failed");
      break;
    }
    benchmark::DoNotOptimize(entries);
  }
}
BENCHMARK(BM_Inih_43SubSections_Memory)->Unit(benchmark::kMillisecond);

void BM_ItemSet_50000ReplacesOn50000Keys(benchmark::State& state) {
  std::string sFile = Version("EN") + "[TwinsweepLauncher]\r\nglobals = \"texts\"\r\n[TwinsweepLauncher.texts]\r\n";
  for (int i = 0; i < 50000; ++i) sFile += Entry("LID_" + std::to_string(i), i);
  std::vector<std::u16string> keys;
  for (int i = 0; i < 50000; ++i) keys.push_back(base::FromAscii("LID_" + std::to_string(i)));
  CLang oLang;
  if (!oLang.InitFromMemory(u"items.lng", sFile, u"TwinsweepLauncher")) state.SkipWithError("Init failed");
  for (auto _ : state) {
    // Every key once per run, in an order that jumps about.
    for (int i = 0; i < 50000; ++i) oLang.ItemSet(keys[(i * 7919) % 50000], u"replaced");
    benchmark::DoNotOptimize(oLang);
  }
}
BENCHMARK(BM_ItemSet_50000ReplacesOn50000Keys)->Unit(benchmark::kMillisecond);

// 1,000 texts of each kind, in a file with a Russian plural rule: "Found %d
// files in '%s'" under LID_PLAIN_i, the same numbered under LID_NUMBERED_i, and
// the same as the three forms of LID_FILES_i.
CLang& TextsLang() {
  static CLang* pLang = [] {
    std::string sFile = Version("RU") +
                        "plural = \"nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && "
                        "(n%100<10 || n%100>=20) ? 1 : 2);\"\r\n[TwinsweepLauncher]\r\nglobals = \"texts\"\r\n"
                        "[TwinsweepLauncher.texts]\r\n";
    for (int i = 0; i < 1000; ++i) {
      const std::string n = std::to_string(i);
      sFile += "LID_PLAIN_" + n + " = \"Found %d files in '%s'\"\r\n";
      sFile += "LID_NUMBERED_" + n + " = \"Found %1$d files in '%2$s'\"\r\n";
      for (int k = 0; k < 3; ++k) sFile += "LID_FILES_" + n + "[" + std::to_string(k) + "] = \"Found %d files in '%s'\"\r\n";
    }
    auto* p = new CLang;
    p->InitFromMemory(u"texts.lng", sFile, u"TwinsweepLauncher");
    return p;
  }();
  return *pLang;
}

std::vector<std::u16string> TextKeys(const char* szPrefix) {
  std::vector<std::u16string> keys;
  for (int i = 0; i < 1000; ++i) keys.push_back(base::FromAscii(szPrefix + std::to_string(i)));
  return keys;
}

// Each run looks up the 1,000 texts of one kind once, with counts 0 to 29.
template <typename Lookup>
void RunTexts(benchmark::State& state, const char* szPrefix, Lookup lookup) {
  CLang& oLang = TextsLang();
  const std::vector<std::u16string> keys = TextKeys(szPrefix);
  if (!oLang.ItemFind(keys[0]) && !oLang.ItemFind(keys[0] + u"[0]")) state.SkipWithError("no texts");
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      const int32_t n = i % 30;
      benchmark::DoNotOptimize(lookup(oLang, keys[static_cast<size_t>(i)], n));
    }
  }
}
void BM_Item_1000Texts(benchmark::State& state) {
  RunTexts(state, "LID_PLAIN_",
           [](CLang& o, const std::u16string& k, int32_t n) { return o.Item(k, {n, u"Inbox"}); });
}
BENCHMARK(BM_Item_1000Texts)->Unit(benchmark::kMicrosecond);
void BM_ItemNumbered_1000Texts(benchmark::State& state) {
  RunTexts(state, "LID_NUMBERED_",
           [](CLang& o, const std::u16string& k, int32_t n) { return o.Item(k, {n, u"Inbox"}); });
}
BENCHMARK(BM_ItemNumbered_1000Texts)->Unit(benchmark::kMicrosecond);
void BM_ItemPlural_1000Texts(benchmark::State& state) {
  RunTexts(state, "LID_FILES_",
           [](CLang& o, const std::u16string& k, int32_t n) { return o.ItemPlural(k, n, {n, u"Inbox"}); });
}
BENCHMARK(BM_ItemPlural_1000Texts)->Unit(benchmark::kMicrosecond);
// Counts past the forms the rule tabled when it was parsed, so that the
// expression runs; the parameters stay those of Item's runs, whose formatting
// is not what is measured here.
void BM_ItemPluralLargeCounts_1000Texts(benchmark::State& state) {
  RunTexts(state, "LID_FILES_", [](CLang& o, const std::u16string& k, int32_t n) {
    return o.ItemPlural(k, 100000 + n, {n, u"Inbox"});
  });
}
BENCHMARK(BM_ItemPluralLargeCounts_1000Texts)->Unit(benchmark::kMicrosecond);

class BenchApp : public testing_support::NullApp {
 public:
  std::u16string AppFolder() override { return sFolder; }
  std::u16string sFolder;
};

void BM_InitEx_Among30Files(benchmark::State& state) {
  static const std::string kSub = "langs30";
  ::mkdir(Dir().Native(kSub).c_str(), 0755);
  for (int i = 0; i < 30; ++i) {
    std::string sID = "L" + std::to_string(i);
    Dir().Write(kSub + "/lang" + std::to_string(i) + ".lng", RealisticFile(sID, 3, 10, 300));
  }
  BenchApp app;
  app.sFolder = Dir().Path(kSub);
  platform::ScopedOverride<platform::IApp> useApp(app);
  for (auto _ : state) {
    // No remembered file: the folder is listed and searched each time.
    CRegistryLangOptions oOptions(u"Software\\Orvex\\Twinsweep");
    oOptions.LangID(u"L29");
    oOptions.LangFile(u"");
    CLang oLang;
    if (!oLang.InitEx(u"TwinsweepLauncher", oOptions)) {
      state.SkipWithError("InitEx failed");
      break;
    }
    benchmark::DoNotOptimize(oLang);
  }
}
BENCHMARK(BM_InitEx_Among30Files)->Unit(benchmark::kMillisecond);

// Prints the runs as usual and keeps their speeds and times for the figures.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}  // plain text: the figures are read and copied
  std::map<std::string, double> bytesPerSecond;
  std::map<std::string, double> msPerRun;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      auto it = r.counters.find("bytes_per_second");
      if (it != r.counters.end()) bytesPerSecond[r.benchmark_name()] = it->second;
      // CPU time: the machines these run on are shared, and wall time there
      // measures the neighbours.
      if (r.iterations > 0) {
        msPerRun[r.benchmark_name()] = r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit) * 1e3;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  auto& bps = reporter.bytesPerSecond;
  auto& ms = reporter.msPerRun;
  auto has = [](const std::map<std::string, double>& m, const char* k) { return m.count(k) && m.at(k) > 0; };
  std::printf("\n");
  if (has(bps, "BM_ReadSection_LastOf1MB") && has(bps, "BM_Inih_Parse1MB")) {
    std::printf("ReadSection %.1f MB/s, inih %.1f MB/s: ReadSection/inih speed ratio per byte = %.2f\n",
                bps["BM_ReadSection_LastOf1MB"] / 1e6, bps["BM_Inih_Parse1MB"] / 1e6,
                bps["BM_ReadSection_LastOf1MB"] / bps["BM_Inih_Parse1MB"]);
  }
  if (has(ms, "BM_Init_43SubSections_3000Entries") && has(ms, "BM_Inih_43SubSections_File")) {
    std::printf("Init / inih into a map, same 43-section file, from the file: %.2fx (target <= 1.5x)\n",
                ms["BM_Init_43SubSections_3000Entries"] / ms["BM_Inih_43SubSections_File"]);
  }
  if (has(ms, "BM_InitFromMemory_43SubSections") && has(ms, "BM_Inih_43SubSections_Memory")) {
    std::printf("InitFromMemory / inih into a map, same bytes in memory: %.2fx\n",
                ms["BM_InitFromMemory_43SubSections"] / ms["BM_Inih_43SubSections_Memory"]);
  }
  if (has(ms, "BM_Init_403SubSections_30000Entries") && has(ms, "BM_Init_43SubSections_3000Entries")) {
    std::printf("Init at 403 sections / at 43 sections: %.1fx (the file is %.1fx as large; target <= 12x)\n",
                ms["BM_Init_403SubSections_30000Entries"] / ms["BM_Init_43SubSections_3000Entries"],
                static_cast<double>(File403().size()) / static_cast<double>(File43().size()));
  }
  if (has(ms, "BM_ItemSet_50000ReplacesOn50000Keys")) {
    std::printf("50,000 ItemSet replaces on 50,000 keys: %.1f ms (target <= 50 ms)\n",
                ms["BM_ItemSet_50000ReplacesOn50000Keys"]);
  }
  for (const char* szOther :
       {"BM_ItemNumbered_1000Texts", "BM_ItemPlural_1000Texts", "BM_ItemPluralLargeCounts_1000Texts"}) {
    if (!has(ms, szOther) || !has(ms, "BM_Item_1000Texts")) continue;
    std::printf("%s / Item, same text: %.2fx (target <= 1.5x)\n", szOther + 3, ms[szOther] / ms["BM_Item_1000Texts"]);
  }
  return 0;
}
