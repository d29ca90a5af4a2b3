#include "request_head.h"

HeadScan RequestHeadScanner::scan(std::string_view bytes) {
  using State = HeadScan::State;
  for (;;) {
    const size_t end = bytes.find('\n', searched_);
    searched_ = end == std::string_view::npos ? bytes.size() : end + 1;
    if (lineEnd_ == std::string_view::npos) {
      if (searched_ > kMaxRequestLineBytes) return {State::TargetTooLong, 0};
      if (end == std::string_view::npos) return {State::Incomplete, 0};
      if (end == 0 || bytes[end - 1] != '\r') return {State::Malformed, 0};
      lineEnd_ = end;
      nextLine_ = end + 1;
      continue;
    }
    if (searched_ - (lineEnd_ + 1) > kMaxHeaderSectionBytes + 2) {
      return {State::HeaderTooLarge, 0};
    }
    if (end == std::string_view::npos) return {State::Incomplete, 0};
    const size_t start = nextLine_;
    nextLine_ = end + 1;
    if (end == start || bytes[end - 1] != '\r') return {State::Malformed, 0};
    if (end == start + 1) return {State::Complete, end + 1};  // the empty line
    if (bytes[start] == ' ' || bytes[start] == '\t') return {State::Malformed, 0};
    if (++fields_ > kMaxHeaderFields) return {State::HeaderTooLarge, 0};
  }
}
