#pragma once

#include <string>
#include <string_view>

// The game's names are bytes in the Windows ANSI code page 1252. This gives their UTF-8
// text, with U+FFFD for the five bytes that page leaves undefined and for control bytes,
// so that no byte can break the page it is shown on.
std::string windows1252ToUtf8(std::string_view bytes);
