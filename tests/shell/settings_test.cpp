#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>

#include "scratch_folder.h"
#include "shell/shell_state.h"

using namespace std::string_literals;

namespace {

auto persisted(const GameSettings& s) {
  return std::make_tuple(s.marks, s.safe, s.level, s.small, int{s.proxy}, s.proxyport, s.proxyaddr,
                         s.serverport, s.serveraddr, s.serverpath);
}

// Values unlike the defaults and unlike every case below, so that a field the reader
// leaves alone shows up.
GameSettings scrambled() {
  GameSettings s;
  s.marks = 41;
  s.safe = 42;
  s.level = 43;
  s.small = 44;
  s.proxy = 45;
  s.proxyport = 46;
  s.proxyaddr = "stale-proxy";
  s.serverport = 47;
  s.serveraddr = "stale-server";
  s.serverpath = "/stale";
  return s;
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    gameSettings = GameSettings{};
    settingsLoaded = false;
  }
  void TearDown() override { gameSettings = GameSettings{}; }

  ScratchFolder folder_;
};

TEST_F(SettingsFile, DefaultsReplaceThePersistedFieldsOnly) {
  gameSettings = scrambled();
  gameSettings.rows = 20;
  gameSettings.columns = 41;
  gameSettings.difficulty = 4;

  SetDefaultSettings();

  EXPECT_EQ(persisted(gameSettings),
            std::make_tuple(1, 1, 0, 0, 0, 8080, "proxy"s, 8080, "localhost"s,
                            "/examples/servlet/TessaraHST"s));
  EXPECT_EQ(gameSettings.rows, 20u);
  EXPECT_EQ(gameSettings.columns, 41u);
  EXPECT_EQ(gameSettings.difficulty, 4u);
}

TEST_F(SettingsFile, MissingFileIsReportedAndChangesNothing) {
  gameSettings = scrambled();
  EXPECT_FALSE(LoadSettings());
  EXPECT_EQ(persisted(gameSettings), persisted(scrambled()));
}

TEST_F(SettingsFile, OversizedFileIsTreatedAsUnreadable) {
  ScratchFolder::writeFile(kSettingsFileName, "marks=0\n" + std::string(2 << 20, ' '));
  EXPECT_FALSE(LoadSettings());
  EXPECT_EQ(gameSettings.marks, 1);
}

TEST_F(SettingsFile, SaveWritesTenCrLfLines) {
  gameSettings.marks = 0;
  gameSettings.level = 5;
  gameSettings.small = 1;
  gameSettings.proxy = 200;
  gameSettings.proxyport = -3;
  gameSettings.serveraddr = "";

  ASSERT_TRUE(SaveSettings());

  EXPECT_EQ(ScratchFolder::readFile(kSettingsFileName),
            "marks=0\r\nsafe=1\r\nlevel=5\r\nsmall=1\r\nproxy=200\r\nproxyport=-3\r\n"
            "proxyaddr=proxy\r\nserverport=8080\r\nserveraddr=\r\n"
            "serverpath=/examples/servlet/TessaraHST\r\n");
}

TEST_F(SettingsFile, SaveReplacesAnExistingFile) {
  ScratchFolder::writeFile(kSettingsFileName, std::string(5000, '#'));
  ASSERT_TRUE(SaveSettings());
  const std::string saved = ScratchFolder::readFile(kSettingsFileName);
  EXPECT_EQ(saved.rfind("marks=1\r\n", 0), 0u);
  EXPECT_EQ(saved.find('#'), std::string::npos);
  EXPECT_FALSE(ScratchFolder::exists(kSettingsFileName + ".new"s));
}

TEST_F(SettingsFile, SaveFailsQuietlyWhenTheFileCannotBeReplaced) {
  std::filesystem::create_directory(kSettingsFileName);
  EXPECT_FALSE(SaveSettings());
  EXPECT_TRUE(std::filesystem::is_directory(kSettingsFileName));
}

struct RoundTripCase {
  const char* name;
  std::function<void(GameSettings&)> change;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class SettingsRoundTrip : public SettingsFile,
                          public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(SettingsRoundTrip, ReadsBackWhatWasSaved) {
  GetParam().change(gameSettings);
  const GameSettings saved = gameSettings;
  ASSERT_TRUE(SaveSettings());

  gameSettings = scrambled();
  ASSERT_TRUE(LoadSettings());

  EXPECT_EQ(persisted(gameSettings), persisted(saved));
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsRoundTrip,
    ::testing::Values(RoundTripCase{"Defaults", [](GameSettings&) {}},
                      RoundTripCase{"Ordinary",
                                    [](GameSettings& s) {
                                      s.marks = 0;
                                      s.safe = 0;
                                      s.level = 3;
                                      s.small = 1;
                                      s.proxy = 1;
                                      s.proxyport = 3128;
                                      s.proxyaddr = "10.0.0.1";
                                      s.serverport = 80;
                                      s.serveraddr = "scores.example.org";
                                      s.serverpath = "/hs/Servlet?x=1";
                                    }},
                      RoundTripCase{"EmptyTexts",
                                    [](GameSettings& s) {
                                      s.proxyaddr = "";
                                      s.serveraddr = "";
                                      s.serverpath = "";
                                    }},
                      RoundTripCase{"ExtremeNumbers",
                                    [](GameSettings& s) {
                                      s.marks = INT32_MIN;
                                      s.safe = INT32_MAX;
                                      s.level = 9;
                                      s.small = -1;
                                      s.proxy = 255;
                                      s.proxyport = -8080;
                                      s.serverport = 0;
                                    }},
                      RoundTripCase{"LongestTexts",
                                    [](GameSettings& s) {
                                      s.proxyaddr = std::string(kSettingsTextMax, 'p');
                                      s.serveraddr = std::string(kSettingsTextMax, 's');
                                      s.serverpath = "/" + std::string(kSettingsTextMax - 1, 'q');
                                    }}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

// A complete file whose every value differs from the default.
const std::string kFullFile =
    "marks=0\nsafe=0\nlevel=3\nsmall=1\nproxy=1\nproxyport=3128\nproxyaddr=cache.local\n"
    "serverport=9090\nserveraddr=scores.local\nserverpath=/hs\n";

std::string fullFileWithout(const std::string& key) {
  const size_t start = kFullFile.find("\n" + key) + 1;
  const size_t end = kFullFile.find('\n', start) + 1;
  return kFullFile.substr(0, start) + kFullFile.substr(end);
}

std::string withCrLf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? "\r\n"s : std::string(1, c);
  return out;
}

// Sets what the first `count` lines of kFullFile hold.
void firstLinesOfFullFile(GameSettings& s, int count) {
  const std::function<void()> lines[] = {
      [&] { s.marks = 0; },
      [&] { s.safe = 0; },
      [&] { s.level = 3; },
      [&] { s.small = 1; },
      [&] { s.proxy = 1; },
      [&] { s.proxyport = 3128; },
      [&] { s.proxyaddr = "cache.local"; },
      [&] { s.serverport = 9090; },
      [&] { s.serveraddr = "scores.local"; },
      [&] { s.serverpath = "/hs"; },
  };
  for (int i = 0; i < count; ++i) lines[i]();
}

void allOfFullFile(GameSettings& s) { firstLinesOfFullFile(s, 10); }

struct ReadCase {
  const char* name;
  std::string file;
  std::function<void(GameSettings&)> expect;  // applied to the defaults
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class SettingsReading : public SettingsFile, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SettingsReading, MatchesLikeFormattedInput) {
  SetDefaultSettings();
  ScratchFolder::writeFile(kSettingsFileName, GetParam().file);

  EXPECT_TRUE(LoadSettings());

  GameSettings expected;
  GetParam().expect(expected);
  EXPECT_EQ(persisted(gameSettings), persisted(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Layout, SettingsReading,
    ::testing::Values(
        ReadCase{"EmptyFile", "", [](GameSettings&) {}},
        ReadCase{"Complete", kFullFile, allOfFullFile},
        ReadCase{"CrLfLineEnds", withCrLf(kFullFile), allOfFullFile},
        ReadCase{"BareCrLineEnds", "marks=0\rsafe=0\r",
                 [](GameSettings& s) { firstLinesOfFullFile(s, 2); }},
        ReadCase{"WhiteSpaceBetweenLines", "marks=0\n\n \t\r\n\v\fsafe=0",
                 [](GameSettings& s) { firstLinesOfFullFile(s, 2); }},
        ReadCase{"OnlyALaterLine", "level=3\n", [](GameSettings& s) { s.level = 3; }},
        ReadCase{"LeadingEmptyLine", "\n" + kFullFile, [](GameSettings&) {}},
        ReadCase{"LeadingBlank", " " + kFullFile, [](GameSettings&) {}},
        ReadCase{"WithoutSafeLine", fullFileWithout("safe="),
                 [](GameSettings& s) {
                   allOfFullFile(s);
                   s.safe = 1;
                 }},
        // "proxy=" uses up the first five characters of "proxyport=" and fails on 'p'.
        ReadCase{"WithoutProxyLine", fullFileWithout("proxy="),
                 [](GameSettings& s) { firstLinesOfFullFile(s, 4); }},
        ReadCase{"SafeBeforeMarks", "safe=0\nmarks=0\nlevel=3\n",
                 [](GameSettings& s) { s.safe = 0; }},
        ReadCase{"TwoWordsInProxyaddr",
                 "marks=0\nsafe=0\nlevel=3\nsmall=1\nproxy=1\nproxyport=3128\n"
                 "proxyaddr=cache.local second\nserverport=9090\nserveraddr=scores.local\n"
                 "serverpath=/hs\n",
                 [](GameSettings& s) { firstLinesOfFullFile(s, 7); }},
        ReadCase{"UnknownKeyStopsTheRest", "marks=0\ncolour=1\nsafe=0\n",
                 [](GameSettings& s) { s.marks = 0; }},
        ReadCase{"CtrlZEndsTheFile", "marks=0\nsafe=0\x1alevel=3\n",
                 [](GameSettings& s) { firstLinesOfFullFile(s, 2); }},
        ReadCase{"CtrlZInsideANumber",
                 "marks=12\x1a"
                 "3\n",
                 [](GameSettings& s) { s.marks = 12; }},
        ReadCase{"CrBeforeCtrlZ", "marks=0\r\x1asafe=0", [](GameSettings& s) { s.marks = 0; }}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Numbers, SettingsReading,
    ::testing::Values(
        ReadCase{"Signs", "marks=-7\nsafe=+7\n",
                 [](GameSettings& s) {
                   s.marks = -7;
                   s.safe = 7;
                 }},
        ReadCase{"NumberOnTheNextLine", "marks=\n  7\nsafe=0\n",
                 [](GameSettings& s) {
                   s.marks = 7;
                   s.safe = 0;
                 }},
        ReadCase{"Int32Bounds", "marks=-2147483648\nsafe=2147483647\n",
                 [](GameSettings& s) {
                   s.marks = INT32_MIN;
                   s.safe = INT32_MAX;
                 }},
        // As the platform's formatted input does, an overflowing number wraps modulo 2^32.
        ReadCase{"OverflowWraps",
                 "marks=2147483648\nsafe=-2147483649\nlevel=99999999999\n"
                 "small=4294967297\n",
                 [](GameSettings& s) {
                   s.marks = INT32_MIN;
                   s.safe = INT32_MAX;
                   s.level = 1215752191;
                   s.small = 1;
                 }},
        ReadCase{"LeadingZeros", "marks=0000000000000000000042\n",
                 [](GameSettings& s) { s.marks = 42; }},
        // The digits end the number; the letters then stop every later pattern.
        ReadCase{"DigitsThenLetters", "marks=12ab\nsafe=0\n",
                 [](GameSettings& s) { s.marks = 12; }},
        ReadCase{"NoDigits", "marks=x\nsafe=0\n", [](GameSettings&) {}},
        // A sign without digits is used up, so the next key is matched right after it.
        ReadCase{"LoneSignIsUsedUp", "marks=-safe=0\n", [](GameSettings& s) { s.safe = 0; }},
        ReadCase{"FileEndsAfterKey", "marks=", [](GameSettings&) {}}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

const std::string kUpToProxyaddr = "marks=0\nsafe=0\nlevel=3\nsmall=1\nproxy=1\nproxyport=3128\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsReading,
    ::testing::Values(
        ReadCase{"EmptyValueBeforeLf",
                 kUpToProxyaddr + "proxyaddr=\nserverport=9090\nserveraddr=\nserverpath=/hs\n",
                 [](GameSettings& s) {
                   allOfFullFile(s);
                   s.proxyaddr = "";
                   s.serveraddr = "";
                 }},
        ReadCase{"EmptyValueBeforeCrLf", withCrLf(kUpToProxyaddr + "proxyaddr=\nserverport=9090\n"),
                 [](GameSettings& s) {
                   firstLinesOfFullFile(s, 8);
                   s.proxyaddr = "";
                 }},
        ReadCase{"EmptyValueBeforeBareCr", kUpToProxyaddr + "proxyaddr=\rserverport=9090\r",
                 [](GameSettings& s) {
                   firstLinesOfFullFile(s, 8);
                   s.proxyaddr = "";
                 }},
        ReadCase{"EmptyValueAfterBlanks", kUpToProxyaddr + "proxyaddr= \t\nserverport=9090\n",
                 [](GameSettings& s) {
                   firstLinesOfFullFile(s, 8);
                   s.proxyaddr = "";
                 }},
        ReadCase{"EmptyValueAtEndOfFile",
                 kUpToProxyaddr + "proxyaddr=a\nserverport=9090\nserveraddr=b\nserverpath=",
                 [](GameSettings& s) {
                   firstLinesOfFullFile(s, 8);
                   s.proxyaddr = "a";
                   s.serveraddr = "b";
                   s.serverpath = "";
                 }},
        ReadCase{"ValueAfterBlanksOnTheSameLine",
                 kUpToProxyaddr + "proxyaddr=  \tcache.local \nserverport=9090\n",
                 [](GameSettings& s) { firstLinesOfFullFile(s, 8); }},
        ReadCase{"OverlongValueIsCut",
                 kUpToProxyaddr + "proxyaddr=" + std::string(kSettingsTextMax, 'a') +
                     std::string(500, 'b') + "\nserverport=9090\n",
                 [](GameSettings& s) {
                   firstLinesOfFullFile(s, 8);
                   s.proxyaddr = std::string(kSettingsTextMax, 'a');
                 }},
        ReadCase{"ZeroByteEndsTheText", kUpToProxyaddr + "proxyaddr=ab\0cd\nserverport=9090\n"s,
                 [](GameSettings& s) {
                   firstLinesOfFullFile(s, 8);
                   s.proxyaddr = "ab";
                 }}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST_F(SettingsFile, ProxyKeepsTheLowEightBits) {
  const struct {
    const char* value;
    int expected;
  } cases[] = {{"1", 1},    {"256", 0},          {"257", 1},
               {"-1", 255}, {"9999999999", 255}, {"-9999999999", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    gameSettings = scrambled();
    ScratchFolder::writeFile(kSettingsFileName, "marks=0\nsafe=0\nlevel=3\nsmall=1\nproxy="s +
                                                    c.value + "\nproxyport=1\n");
    ASSERT_TRUE(LoadSettings());
    EXPECT_EQ(int{gameSettings.proxy}, c.expected);
    EXPECT_EQ(gameSettings.proxyport, 1);
  }
}

TEST_F(SettingsFile, FailedPatternsKeepEarlierValuesNotDefaults) {
  gameSettings = scrambled();
  ScratchFolder::writeFile(kSettingsFileName, "marks=0\nbogus\n");
  ASSERT_TRUE(LoadSettings());
  GameSettings expected = scrambled();
  expected.marks = 0;
  EXPECT_EQ(persisted(gameSettings), persisted(expected));
}

}  // namespace
