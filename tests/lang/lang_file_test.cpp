// CLangFile: lines cut at CR LF only, across block refills, in the file's encoding.
#include "twinsweep/lang/lang_file.h"

#include <gtest/gtest.h>

#include "lang_test_util.h"
#include "twinsweep/platform/text_codec.h"
#include "support/fault_injecting_files.h"
#include "support/pass_through_files.h"

using namespace twinsweep;

namespace {

using langtest::CrLf;
using langtest::kBom;
using langtest::WriteFile;

struct ReadResult {
  std::vector<std::u16string> lines;
  bool bEOF = false;
  int32_t nLastError = -1;
};

// Reads as the section parser does: while not at the end, until a line fails.
ReadResult ReadAll(const std::u16string& sPath) {
  ReadResult r;
  CLangFile oFile;
  EXPECT_TRUE(oFile.OpenFile(sPath));
  std::u16string sLine;
  while (!oFile.FEOF()) {
    if (!oFile.ReadLine(sLine)) break;
    r.lines.push_back(sLine);
  }
  r.bEOF = oFile.FEOF();
  r.nLastError = oFile.LastError();
  return r;
}

std::u16string Ascii(const std::string& s) { return base::FromAscii(s); }

std::u16string Ansi(const std::string& s) {
  return platform::DecodeBytes(platform::kCodePageAnsi, reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

struct LinesCase {
  const char* name;
  std::string bytes;
  std::vector<std::u16string> lines;
};

std::string Bytes(char c, size_t n) { return std::string(n, c); }

class LangFileLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(LangFileLines, SplitsAsExpected) {
  TempFolder folder;
  std::u16string sPath = WriteFile(folder, "t.lng", GetParam().bytes);
  LogCapture log;
  ReadResult r = ReadAll(sPath);
  ASSERT_EQ(GetParam().lines.size(), r.lines.size());
  for (size_t i = 0; i < r.lines.size(); ++i) {
    EXPECT_EQ(GetParam().lines[i].size(), r.lines[i].size()) << "line " << i;
    EXPECT_TRUE(GetParam().lines[i] == r.lines[i]) << "line " << i;
  }
  EXPECT_TRUE(r.bEOF);
  EXPECT_EQ(0, r.nLastError);
  EXPECT_TRUE(langtest::Reports(log).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LangFileLines,
    ::testing::Values(
        LinesCase{"Empty", "", {}},
        LinesCase{"EmptyLineBetween", "a\r\n\r\nb", {u"a", u"", u"b"}},
        LinesCase{"NoEmptyLineAfterFinalCrLf", "a\r\nb\r\n", {u"a", u"b"}},
        LinesCase{"LfAloneIsText", "a\nb\n", {u"a\nb\n"}},
        LinesCase{"CrAloneIsText", "a\rb\r\nc\r", {u"a\rb", u"c\r"}},
        // 2002 + 2094 bytes: the file ends where the first block ends.
        LinesCase{"EndsAtBlockEnd", Bytes('a', 2000) + "\r\n" + Bytes('b', 2094), {Ascii(Bytes('a', 2000)), Ascii(Bytes('b', 2094))}},
        // The CR is the 4096th byte, its LF the first of the next block.
        LinesCase{"CrLfSplitAcrossBlocks",
                  Bytes('a', 10) + "\r\n" + Bytes('b', 4083) + "\r\nc",
                  {Ascii(Bytes('a', 10)), Ascii(Bytes('b', 4083)), u"c"}},
        // The same split when the line fills the block from its first byte.
        LinesCase{"CrLfSplitAfterFullBlockLine", Bytes('a', 4095) + "\r\nc", {Ascii(Bytes('a', 4095)), u"c"}},
        // A CR that ends a full block stays in the piece unless its LF follows.
        LinesCase{"CrAtFullBlockEndThenEnd", Bytes('a', 4095) + "\r", {Ascii(Bytes('a', 4095) + "\r")}},
        LinesCase{"CrAtFullBlockEndThenText", Bytes('a', 4095) + "\rb\r\n",
                  {Ascii(Bytes('a', 4095) + "\r"), u"b"}},
        LinesCase{"CrLfSplitAfterMovedLine",
                  Bytes('a', 100) + "\r\n" + Bytes('b', 4095) + "\r\n" + "c\r\n",
                  {Ascii(Bytes('a', 100)), Ascii(Bytes('b', 4095)), u"c"}},
        LinesCase{"LongLineInPieces", Bytes('x', 10000),
                  {Ascii(Bytes('x', 4096)), Ascii(Bytes('x', 4096)), Ascii(Bytes('x', 1808))}},
        LinesCase{"LongLineThenMore", Bytes('x', 10000) + "\r\ntail",
                  {Ascii(Bytes('x', 4096)), Ascii(Bytes('x', 4096)), Ascii(Bytes('x', 1808)), u"tail"}},
        // A line of whole blocks: the CR LF after its last piece makes no empty line.
        LinesCase{"LineOfWholeBlocksThenMore", Bytes('x', 8192) + "\r\ntail",
                  {Ascii(Bytes('x', 4096)), Ascii(Bytes('x', 4096)), u"tail"}},
        LinesCase{"BomThenLongFirstLine", kBom + Bytes('x', 10000),
                  {Ascii(Bytes('x', 4096)), Ascii(Bytes('x', 4096)), Ascii(Bytes('x', 1808))}},
        LinesCase{"BomThenFirstLineToBlockEnd", kBom + Bytes('x', 4093), {Ascii(Bytes('x', 4093))}},
        LinesCase{"BomThenUtf8", kBom + "Gr\xC3\xBC\xC3\x9F" "e\r\n\xD0\x96\r\n\xE6\x97\xA5",
                  {u"Grüße", u"Ж", u"日"}},
        LinesCase{"BomLaterIsText", "a\r\n" + kBom + "b", {u"a", Ansi(kBom + "b")}},
        LinesCase{"Utf8WithoutBomIsAnsi", "Gr\xC3\xBC\r\n", {Ansi("Gr\xC3\xBC")}},
        LinesCase{"AnsiAbove127", "caf\xE9 \x80\r\n", {Ansi("caf\xE9 \x80")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LangFile, AnsiTextUsesTheSystemCodePage) {
  if (platform::TextCodec().AnsiCodePage() != 1252) GTEST_SKIP() << "ANSI code page is not 1252";
  EXPECT_TRUE(Ansi("caf\xE9 \x80") == u"café €");
}

TEST(LangFile, BomOnlyFileEndsOnTheSecondCall) {
  TempFolder folder;
  std::u16string sPath = WriteFile(folder, "bom.lng", kBom);
  CLangFile oFile;
  ASSERT_TRUE(oFile.OpenFile(sPath));
  std::u16string sLine = u"unchanged";
  EXPECT_FALSE(oFile.ReadLine(sLine));
  EXPECT_FALSE(oFile.FEOF());
  EXPECT_EQ(0, oFile.LastError());
  EXPECT_FALSE(oFile.ReadLine(sLine));
  EXPECT_TRUE(oFile.FEOF());
  EXPECT_TRUE(sLine == u"unchanged");
}

TEST(LangFile, MissingFileAndReopen) {
  TempFolder folder;
  CLangFile oFile;
  EXPECT_FALSE(oFile.OpenFile(langtest::In(folder, "missing.lng")));
  EXPECT_EQ(2, oFile.LastError());

  WriteFile(folder, "a.lng", "one\r\n");
  WriteFile(folder, "b.lng", kBom + "two\r\nthree");
  std::u16string sLine;
  ASSERT_TRUE(oFile.OpenFile(langtest::In(folder, "a.lng")));
  EXPECT_TRUE(oFile.ReadLine(sLine));
  EXPECT_FALSE(oFile.ReadLine(sLine));
  EXPECT_TRUE(oFile.FEOF());
  ASSERT_TRUE(oFile.OpenFile(langtest::In(folder, "b.lng")));
  EXPECT_FALSE(oFile.FEOF());
  ASSERT_TRUE(oFile.ReadLine(sLine));
  EXPECT_TRUE(sLine == u"two");
}

TEST(LangFile, ReadFailureInTheMiddleIsNotTheEnd) {
  TempFolder folder;
  std::string sBytes = "[s]\r\n";
  for (int i = 0; i < 20; ++i) sBytes += "k" + std::to_string(100 + i) + " = \"" + Bytes('v', 990) + "\"\r\n";
  std::u16string sPath = WriteFile(folder, "long.lng", sBytes);

  // Two blocks' worth of bytes arrive, then the device fails.
  constexpr int32_t kError = 23;  // ERROR_CRC
  testing_support::FaultInjectingFiles files;
  platform::ScopedOverride<platform::IFiles> use(files);
  files.FailReadsAfter(8192, kError);
  ReadResult r = ReadAll(sPath);
  EXPECT_FALSE(r.bEOF);
  EXPECT_EQ(kError, r.nLastError);
  EXPECT_EQ(9u, r.lines.size());  // the lines complete within the good bytes

  // The parser reports it and keeps what it had: the section was found.
  files.Reset();
  files.FailReadsAfter(8192, kError);
  LogCapture log;
  CLang oLang;
  CLang::TextCollection colValues;
  EXPECT_TRUE(oLang.ReadSection(sPath, u"s", colValues, u"", nullptr));
  EXPECT_EQ(8, colValues.Count());
  EXPECT_EQ(std::vector<std::string>{"E CLang.ReadSection 23 oFile.ReadLine failed"}, langtest::Reports(log));
  EXPECT_EQ(0u, files.OpenHandles());
}

// The size of the open file is only the reader's first guess: a file that grew
// since, or a size that cannot be told, is still read to its end.
class MisstatedSize : public testing_support::PassThroughFiles {
 public:
  int32_t nStatus = 0;
  uint64_t nSize = 0;
  int32_t GetSize(platform::FileHandle, uint64_t* pn) override {
    *pn = nSize;
    return nStatus;
  }
};

TEST(LangFile, AWrongOrUnknownSizeStillReadsTheWholeFile) {
  TempFolder folder;
  std::string sBytes;
  for (int i = 0; i < 100; ++i) sBytes += "k" + std::to_string(i) + " = \"" + Bytes('v', 990) + "\"\r\n";
  const std::u16string sPath = WriteFile(folder, "grown.lng", sBytes);
  for (const auto& [nStatus, nSize] : {std::pair<int32_t, uint64_t>{0, 10}, {0, 0}, {1, 0}, {0, uint64_t{1} << 40}}) {
    MisstatedSize files;
    files.nStatus = nStatus;
    files.nSize = nSize;
    platform::ScopedOverride<platform::IFiles> use(files);
    const ReadResult r = ReadAll(sPath);
    EXPECT_TRUE(r.bEOF);
    EXPECT_EQ(100u, r.lines.size()) << "size " << nSize << ", status " << nStatus;
  }
}

// A code-page service whose UTF-8 conversion fails.
class Utf8Fails : public platform::ITextCodec {
 public:
  platform::ITextCodec& real = platform::Default<platform::ITextCodec>();
  int32_t nFailOnCall = 1;  // 1: the length query, 2: the conversion
  int32_t nUtf8Calls = 0;
  int32_t MultiByteToWide(uint32_t cp, const uint8_t* p, int32_t n, char16_t* out, int32_t cap, int32_t* err) override {
    if (cp == platform::kCodePageUtf8 && ++nUtf8Calls == nFailOnCall) {
      *err = platform::kErrorNoUnicodeTranslation;
      return 0;
    }
    return real.MultiByteToWide(cp, p, n, out, cap, err);
  }
  std::string WideToMultiByte(uint32_t cp, std::u16string_view s) override { return real.WideToMultiByte(cp, s); }
  uint32_t AnsiCodePage() override { return real.AnsiCodePage(); }
};

TEST(LangFile, FailedUtf8ConversionFallsBackToAnsiAndIsReported) {
  TempFolder folder;
  std::u16string sPath = WriteFile(folder, "u.lng", kBom + "caf\xC3\xA9\r\n");
  for (int32_t nCall : {1, 2}) {
    Utf8Fails codec;
    codec.nFailOnCall = nCall;
    platform::ScopedOverride<platform::ITextCodec> use(codec);
    LogCapture log;
    ReadResult r = ReadAll(sPath);
    ASSERT_EQ(1u, r.lines.size());
    EXPECT_TRUE(r.lines[0] == Ansi("caf\xC3\xA9"));
    std::string sText = nCall == 1 ? "MultiByteToWideChar failed" : "MultiByteToWideChar(2) failed";
    EXPECT_EQ((std::vector<std::string>{"E CTextFile.Mem2Str 1113 " + sText,
                                        "E CTextFile.Mem2Str 0 ASSERT FAILED - 269"}),
              langtest::Reports(log));
  }
}

}  // namespace
