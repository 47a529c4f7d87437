// Speed of the localization engine on realistic language files:
//  (a) ReadSection of the last section of a 1 MB file, beside inih parsing the
//      same file once, both in bytes per second, with their ratio;
//  (b) Init of a file with 3 global and 40 form sub-sections, 3,000 entries;
//  (c) InitEx choosing among 30 language files in one folder.
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

#include "base/text.h"
#include "lang/lang.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "settings/options.h"

namespace {

// The engine's internal members, for the section reader of (a).
class BenchLang : public CLang {
 public:
  using CLang::ReadSection;
};

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
  return "; generated\r\n[version]\r\nsignature = \"Orvex.LangLngFile\"\r\nlang = \"Language " + sLangID +
         "\"\r\nlangid = \"" + sLangID + "\"\r\n\r\n";
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
  BenchLang oLang;
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
  for (int i = 0; i < nForms; ++i) sForms += (i ? "," : "") + std::string("frmForm") + std::to_string(i);
  b += "[TwinsweepLauncher]\r\nglobals = \"" + sGlobals + "\"\r\nforms = \"" + sForms + "\"\r\n";
  int nSections = nGlobals + nForms, n = 0;
  for (int s = 0; s < nSections; ++s) {
    bool bForm = s >= nGlobals;
    b += "\r\n[TwinsweepLauncher." + (bForm ? "frmForm" + std::to_string(s - nGlobals) : "texts" + std::to_string(s)) + "]\r\n";
    int nHere = nEntries / nSections + (s < nEntries % nSections ? 1 : 0);
    for (int i = 0; i < nHere; ++i, ++n) {
      b += Entry(bForm ? "cmdButton" + std::to_string(i) + ".Caption" : "LID_TEXT_" + std::to_string(n), n);
    }
  }
  return b;
}

void BM_Init_43SubSections_3000Entries(benchmark::State& state) {
  const size_t nBytes = Dir().Write("real.lng", RealisticFile("EN", 3, 40, 3000));
  const std::u16string sPath = Dir().Path("real.lng");
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
BENCHMARK(BM_Init_43SubSections_3000Entries)->Unit(benchmark::kMillisecond);

class BenchApp : public platform::IApp {
 public:
  std::u16string AppFolder() override { return sFolder; }
  std::u16string CommandLineArgs() override { return u""; }
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
    Options().LangID(u"L29");
    Options().LangFile(u"");
    CLang oLang;
    if (!oLang.InitEx(u"TwinsweepLauncher")) {
      state.SkipWithError("InitEx failed");
      break;
    }
    benchmark::DoNotOptimize(oLang);
  }
}
BENCHMARK(BM_InitEx_Among30Files)->Unit(benchmark::kMillisecond);

// Prints the runs as usual and keeps their speeds for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}  // plain text: the figures are read and copied
  std::map<std::string, double> bytesPerSecond;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      auto it = r.counters.find("bytes_per_second");
      if (it != r.counters.end()) bytesPerSecond[r.benchmark_name()] = it->second;
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
  double dOurs = reporter.bytesPerSecond["BM_ReadSection_LastOf1MB"];
  double dInih = reporter.bytesPerSecond["BM_Inih_Parse1MB"];
  if (dOurs > 0 && dInih > 0) {
    std::printf("\nReadSection %.1f MB/s, inih %.1f MB/s: ReadSection/inih speed ratio per byte = %.2f\n",
                dOurs / 1e6, dInih / 1e6, dOurs / dInih);
  }
  return 0;
}
