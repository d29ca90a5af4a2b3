#include "page_style.h"

namespace {

constexpr std::string_view kCommonStyle = R"(body { margin: 0; background: #DDDDDD; color: #222222; font-family: Tahoma, Verdana, Arial, sans-serif; }
main { max-width: 46em; margin: 0 auto; padding: 1.5em 1em; }
h1 { margin: 0 0 0.2em; color: #8B0000; font-size: 2em; letter-spacing: 0.05em; }
p { margin: 0 0 1em; color: #555555; }
a { color: #8B0000; }
@media (max-width: 36em) { main { padding: 1em 0.5em; } h1 { font-size: 1.6em; } }
)";

}  // namespace

std::string pageStart(std::string_view title, std::string_view style) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  appendHtmlEscaped(page, title);
  page += "</title>\n<style>\n";
  page += kCommonStyle;
  page += style;
  page += "</style>\n</head>\n<body>\n<main>\n";
  return page;
}

void appendHtmlEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
}
