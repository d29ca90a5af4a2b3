#include "form_fields.h"

#include <cctype>

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> decoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] != '%') {
      out += text[i];
    } else {
      const int high = i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
      const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
      if (low < 0) return std::nullopt;
      out += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }
  return out;
}

}  // namespace

std::optional<std::map<std::string, std::string>> decodeFormFields(std::string_view body) {
  std::map<std::string, std::string> fields;
  while (!body.empty()) {
    const size_t end = body.find('&');
    const std::string_view pair = body.substr(0, end);
    body = end == std::string_view::npos ? std::string_view() : body.substr(end + 1);
    if (pair.empty()) continue;
    const size_t equals = pair.find('=');
    const std::optional<std::string> name = decoded(pair.substr(0, equals));
    const std::optional<std::string> value =
        decoded(equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1));
    if (!name || !value) return std::nullopt;
    fields.emplace(*name, *value);
  }
  return fields;
}

bool isFormContentType(std::string_view contentType) {
  constexpr std::string_view kForm = "application/x-www-form-urlencoded";
  const std::string_view type = contentType.substr(0, contentType.find(';'));
  size_t end = type.size();
  while (end > 0 && (type[end - 1] == ' ' || type[end - 1] == '\t')) --end;
  if (end != kForm.size()) return false;
  for (size_t i = 0; i < end; ++i) {
    if (std::tolower(static_cast<unsigned char>(type[i])) != kForm[i]) return false;
  }
  return true;
}
