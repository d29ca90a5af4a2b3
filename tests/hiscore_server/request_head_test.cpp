#include "request_head.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using State = HeadScan::State;

const std::string kLine = "GET /p?Op=GetHTML HTTP/1.1\r\n";

std::string fields(size_t count) {
  std::string lines;
  for (size_t field = 0; field < count; ++field) lines += "X-" + std::to_string(field) + ": v\r\n";
  return lines;
}

struct HeadCase {
  const char* label;
  std::string bytes;
  State state;
  size_t length;  // for Complete
};

void PrintTo(const HeadCase& c, std::ostream* out) { *out << c.label; }

class HeadScans : public ::testing::TestWithParam<HeadCase> {};

TEST_P(HeadScans, FindTheEndOrTheLimitBroken) {
  const HeadScan scan = RequestHeadScanner().scan(GetParam().bytes);
  EXPECT_EQ(scan.state, GetParam().state);
  if (GetParam().state == State::Complete) {
    EXPECT_EQ(scan.length, GetParam().length);
  }
}

const std::string kHead = kLine + "Host: x\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    Heads, HeadScans,
    ::testing::Values(
        HeadCase{"whole head", kHead, State::Complete, kHead.size()},
        HeadCase{"with a body after it", kHead + "body", State::Complete, kHead.size()},
        HeadCase{"no fields", kLine + "\r\n", State::Complete, kLine.size() + 2},
        HeadCase{"request line cut", "GET /p?Op", State::Incomplete, 0},
        HeadCase{"fields cut", kLine + "Host: x\r\nAccept", State::Incomplete, 0},
        HeadCase{"final empty line cut", kLine + "Host: x\r\n\r", State::Incomplete, 0},
        HeadCase{"long line without end", "GET /" + std::string(kMaxRequestLineBytes, 'a'),
                 State::TargetTooLong, 0},
        HeadCase{"long line with end",
                 "GET /" + std::string(kMaxRequestLineBytes, 'a') + " HTTP/1.1\r\n\r\n",
                 State::TargetTooLong, 0},
        HeadCase{"100 fields", kLine + fields(100) + "\r\n", State::Complete,
                 kLine.size() + fields(100).size() + 2},
        HeadCase{"101 fields", kLine + fields(101) + "\r\n", State::HeaderTooLarge, 0},
        HeadCase{"101 fields before the head is whole", kLine + fields(101),
                 State::HeaderTooLarge, 0},
        HeadCase{"field lines of exactly 16 KiB",
                 kLine + "X: " + std::string(kMaxHeaderSectionBytes - 5, 'v') + "\r\n\r\n",
                 State::Complete, kLine.size() + kMaxHeaderSectionBytes + 2},
        HeadCase{"one byte more",
                 kLine + "X: " + std::string(kMaxHeaderSectionBytes - 4, 'v') + "\r\n\r\n",
                 State::HeaderTooLarge, 0},
        HeadCase{"a field line that never ends",
                 kLine + "X: " + std::string(kMaxHeaderSectionBytes, 'v'), State::HeaderTooLarge,
                 0},
        HeadCase{"folded with a space", kLine + "X: a\r\n b\r\n\r\n", State::Malformed, 0},
        HeadCase{"folded with a tab", kLine + "X: a\r\n\tb\r\n\r\n", State::Malformed, 0},
        HeadCase{"space before the first field", kLine + " X: a\r\n\r\n", State::Malformed, 0},
        HeadCase{"bare LF after the request line", "GET / HTTP/1.1\nHost: x\r\n\r\n",
                 State::Malformed, 0},
        HeadCase{"bare LF after a field", kLine + "Host: x\n\r\n", State::Malformed, 0},
        HeadCase{"bare LF as the empty line", kLine + "Host: x\r\n\n", State::Malformed, 0}));

// A client that sends its head a byte at a time is read as one that sends it whole.
TEST(HeadScanner, GoesOnWhereItStopped) {
  for (const std::string& bytes : {kHead, kLine + fields(101) + "\r\n"}) {
    RequestHeadScanner scanner;
    HeadScan scan;
    size_t sent = 0;
    while (scan.state == State::Incomplete && sent < bytes.size())
      scan = scanner.scan(std::string_view(bytes).substr(0, ++sent));
    const HeadScan whole = RequestHeadScanner().scan(bytes);
    EXPECT_EQ(scan.state, whole.state);
    EXPECT_EQ(scan.length, whole.length);
  }
}

}  // namespace
