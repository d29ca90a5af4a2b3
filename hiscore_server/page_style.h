#pragma once

#include <string>
#include <string_view>

// The start of every page of the server, up to and including the opening <main>: the game's
// colours (light grey ground, dark red and red) and a column that reads on a phone as on a
// desktop, followed by the page's own style.
std::string pageStart(std::string_view title, std::string_view style);

constexpr std::string_view kPageEnd = "</main>\n</body>\n</html>\n";

// The text made safe to put between tags or into an attribute.
void appendHtmlEscaped(std::string& out, std::string_view text);
