#pragma once

#include <optional>
#include <string_view>

// The path and the query of an origin-form target ("/path?query") or of the absolute form
// ("http://host:port/path?query") that arrives when the game's proxy setting points straight
// at this server. Nothing is decoded; the host part is ignored.
struct TargetParts {
  std::string_view path;
  std::optional<std::string_view> query;
};
TargetParts splitTarget(std::string_view target);

enum class Operation { SetScores, GetHtml, Unknown };

// What a servlet query asks for. For SetScores the score value is everything after
// "Op=SetScores&V=" to the end of the target, since player names may hold '&' and '#'.
struct ServletCall {
  Operation operation = Operation::Unknown;
  std::string_view scoreValue;
};
ServletCall servletCall(std::optional<std::string_view> query);
