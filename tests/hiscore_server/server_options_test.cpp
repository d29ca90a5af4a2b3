#include "server_options.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(ServerOptions, DefaultsServeTheGameDefaultsOnLoopback) {
  const OptionsOutcome outcome = parseServerOptions({});
  ASSERT_EQ(outcome.kind, OptionsOutcome::Kind::Run);
  EXPECT_EQ(outcome.options.address, "127.0.0.1");
  EXPECT_EQ(outcome.options.port, 8080);
  EXPECT_EQ(outcome.options.path, "/examples/servlet/TessaraHST");
  EXPECT_EQ(outcome.options.database, "tessara-hiscores.sqlite");
}

TEST(ServerOptions, EveryOptionTakesItsValueInEitherSpelling) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--address", "0.0.0.0", "--port", "80", "--path", "/hst",
                                 "--database", "/var/lib/x.sqlite"},
        std::vector<std::string>{"--address=0.0.0.0", "--port=80", "--path=/hst",
                                 "--database=/var/lib/x.sqlite"}}) {
    const OptionsOutcome outcome = parseServerOptions(arguments);
    ASSERT_EQ(outcome.kind, OptionsOutcome::Kind::Run) << outcome.error;
    EXPECT_EQ(outcome.options.address, "0.0.0.0");
    EXPECT_EQ(outcome.options.port, 80);
    EXPECT_EQ(outcome.options.path, "/hst");
    EXPECT_EQ(outcome.options.database, "/var/lib/x.sqlite");
  }
}

TEST(ServerOptions, ReportsAskForTheListInsteadOfServing) {
  EXPECT_FALSE(parseServerOptions({}).options.listReports);
  const OptionsOutcome outcome = parseServerOptions({"--reports", "--database", "x.sqlite"});
  ASSERT_EQ(outcome.kind, OptionsOutcome::Kind::Run);
  EXPECT_TRUE(outcome.options.listReports);
  EXPECT_EQ(outcome.options.database, "x.sqlite");
  EXPECT_NE(usageText().find("--reports"), std::string::npos);
}

TEST(ServerOptions, PortRunsFromZeroTo65535) {
  EXPECT_EQ(parseServerOptions({"--port", "0"}).options.port, 0);
  EXPECT_EQ(parseServerOptions({"--port", "65535"}).options.port, 65535);
}

TEST(ServerOptions, HelpWinsOverEverythingElse) {
  EXPECT_EQ(parseServerOptions({"--port", "1", "--help", "--bogus"}).kind,
            OptionsOutcome::Kind::Help);
  EXPECT_NE(usageText().find("--database FILE"), std::string::npos);
}

// The unit in the repository starts the program with options that it takes, and keeps the
// database in the unit's state directory.
TEST(ServerOptions, TheSystemdUnitStartsTheServerWithValidOptions) {
  std::ifstream unit(TESSARA_SYSTEMD_UNIT);
  ASSERT_TRUE(unit) << TESSARA_SYSTEMD_UNIT;
  std::string line;
  std::vector<std::string> arguments;
  std::string stateDirectory;
  while (std::getline(unit, line)) {
    if (line.rfind("StateDirectory=", 0) == 0) stateDirectory = line.substr(15);
    if (line.rfind("ExecStart=", 0) != 0) continue;
    std::istringstream words(line.substr(10));
    for (std::string word; words >> word;) arguments.push_back(word);
  }
  ASSERT_FALSE(arguments.empty());
  EXPECT_EQ(arguments.front(), "/usr/local/bin/tessara-hiscore-server");
  const OptionsOutcome outcome = parseServerOptions({arguments.begin() + 1, arguments.end()});
  ASSERT_EQ(outcome.kind, OptionsOutcome::Kind::Run) << outcome.error;
  EXPECT_FALSE(outcome.options.listReports);
  EXPECT_EQ(outcome.options.database.rfind("/var/lib/" + stateDirectory + "/", 0), 0u);
}

struct BadCase {
  const char* label;
  std::vector<std::string> arguments;
  std::string mentions;
};

void PrintTo(const BadCase& c, std::ostream* out) { *out << c.label; }

class BadOptions : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadOptions, AreRefusedWithAReason) {
  const OptionsOutcome outcome = parseServerOptions(GetParam().arguments);
  EXPECT_EQ(outcome.kind, OptionsOutcome::Kind::Error);
  EXPECT_NE(outcome.error.find(GetParam().mentions), std::string::npos) << outcome.error;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BadOptions,
    ::testing::Values(BadCase{"unknown option", {"--verbose"}, "--verbose"},
                      BadCase{"stray argument", {"8080"}, "8080"},
                      BadCase{"missing value", {"--port"}, "--port needs a value"},
                      BadCase{"port too large", {"--port", "65536"}, "65536"},
                      BadCase{"negative port", {"--port=-1"}, "-1"},
                      BadCase{"port with letters", {"--port", "80a"}, "80a"},
                      BadCase{"empty port", {"--port="}, "--port"},
                      BadCase{"relative path", {"--path", "hst"}, "--path"},
                      BadCase{"path with a query", {"--path", "/hst?x"}, "--path"},
                      BadCase{"empty database", {"--database="}, "--database"},
                      BadCase{"empty address", {"--address", ""}, "--address"},
                      BadCase{"reports with a value", {"--reports=yes"}, "--reports"}));

}  // namespace
