#include "request_target.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::string_view kScheme = "http://";
constexpr std::string_view kSetScores = "Op=SetScores&V=";
constexpr std::string_view kGetHtml = "Op=GetHTML";

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The scheme is case-insensitive.
bool startsWithScheme(std::string_view text) {
  return text.size() >= kScheme.size() &&
         std::equal(kScheme.begin(), kScheme.end(), text.begin(), [](char expected, char c) {
           return expected == std::tolower(static_cast<unsigned char>(c));
         });
}

}  // namespace

TargetParts splitTarget(std::string_view target) {
  if (startsWithScheme(target)) {
    const size_t pathStart = target.find_first_of("/?", kScheme.size());
    target = pathStart == std::string_view::npos ? std::string_view() : target.substr(pathStart);
  }
  const size_t queryStart = target.find('?');
  if (queryStart == std::string_view::npos) return {target, std::nullopt};
  return {target.substr(0, queryStart), target.substr(queryStart + 1)};
}

ServletCall servletCall(std::optional<std::string_view> query) {
  if (!query) return {};
  if (startsWith(*query, kSetScores))
    return {Operation::SetScores, query->substr(kSetScores.size())};
  if (*query == kGetHtml) return {Operation::GetHtml, {}};
  return {};
}
