#include "shell/settings.h"

#include <optional>
#include <string_view>
#include <utility>

#include "shell/scan_decimal.h"
#include "shell/shell_state.h"
#include "shell/whole_file.h"

namespace {

// Far more than ten lines can need; anything bigger is not a settings file.
constexpr size_t kSettingsFileMaxBytes = size_t{1} << 20;

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

// A text-mode read on Windows ends the file at Ctrl-Z; the Windows program is the
// reference, so both builds stop there. Its other change, CR LF to LF, needs no copy:
// every pattern reads a CR as white space and a line end, just like the LF after it.
std::string_view beforeCtrlZ(const std::string& bytes) {
  return std::string_view(bytes).substr(0, bytes.find('\x1a'));
}

// Applies format patterns the way formatted input does, over text held in memory, so
// that the result does not depend on the C runtime. A failed step leaves the position
// where the failure happened, and the next pattern goes on from there.
class PatternReader {
 public:
  explicit PatternReader(std::string_view text) : text_(text) {}

  // The characters that matched are used up; the first differing one is not.
  bool literal(std::string_view expected) {
    for (char c : expected) {
      if (atEnd() || text_[pos_] != c) return false;
      ++pos_;
    }
    return true;
  }

  // "%d".
  bool integer(int32_t& value) { return scanDecimal(text_, pos_, value) == ScanOutcome::Number; }

  // "%s", except that a line end (or the end of the file) before any character gives an
  // empty text instead of taking the next line, so that a key saved with an empty value
  // reads back empty. A word longer than the field is cut, and the rest of it used up.
  void text(std::string& value) {
    while (!atEnd() && isFormatSpace(text_[pos_]) && !isLineEnd(text_[pos_])) ++pos_;
    const size_t start = pos_;
    while (!atEnd() && !isFormatSpace(text_[pos_])) ++pos_;
    std::string_view word = text_.substr(start, pos_ - start);
    // Hosts and paths go on to C interfaces, which stop at a zero byte; so does the field.
    word = word.substr(0, word.find('\0'));
    value.assign(word.substr(0, kSettingsTextMax));
  }

  // A pattern's trailing "\n": any amount of white space, none included.
  void skipSpace() {
    while (!atEnd() && isFormatSpace(text_[pos_])) ++pos_;
  }

 private:
  bool atEnd() const { return pos_ >= text_.size(); }

  std::string_view text_;
  size_t pos_ = 0;
};

void readInteger(PatternReader& in, std::string_view key, int32_t& field) {
  int32_t value = 0;
  if (!in.literal(key) || !in.integer(value)) return;
  field = value;
  in.skipSpace();
}

void readText(PatternReader& in, std::string_view key, std::string& field) {
  if (!in.literal(key)) return;
  in.text(field);
  in.skipSpace();
}

}  // namespace

void SetDefaultSettings() {
  GameSettings defaults;
  defaults.rows = gameSettings.rows;
  defaults.columns = gameSettings.columns;
  defaults.difficulty = gameSettings.difficulty;
  gameSettings = std::move(defaults);
}

bool LoadSettings() {
  const std::optional<std::string> bytes = readWholeFile(kSettingsFileName, kSettingsFileMaxBytes);
  if (!bytes) return false;
  PatternReader in(beforeCtrlZ(*bytes));
  readInteger(in, "marks=", gameSettings.marks);
  readInteger(in, "safe=", gameSettings.safe);
  readInteger(in, "level=", gameSettings.level);
  readInteger(in, "small=", gameSettings.small);
  int32_t proxy = gameSettings.proxy;
  readInteger(in, "proxy=", proxy);
  gameSettings.proxy = static_cast<uint8_t>(proxy);  // the flag is one byte: the low 8 bits
  readInteger(in, "proxyport=", gameSettings.proxyport);
  readText(in, "proxyaddr=", gameSettings.proxyaddr);
  readInteger(in, "serverport=", gameSettings.serverport);
  readText(in, "serveraddr=", gameSettings.serveraddr);
  readText(in, "serverpath=", gameSettings.serverpath);
  return true;
}

bool SaveSettings() {
  // Binary bytes with explicit CR LF: what the Windows program's text-mode writes produced.
  std::string out;
  const auto line = [&out](std::string_view key, const std::string& value) {
    out.append(key).append(value).append("\r\n");
  };
  const GameSettings& s = gameSettings;
  line("marks=", std::to_string(s.marks));
  line("safe=", std::to_string(s.safe));
  line("level=", std::to_string(s.level));
  line("small=", std::to_string(s.small));
  line("proxy=", std::to_string(unsigned{s.proxy}));
  line("proxyport=", std::to_string(s.proxyport));
  line("proxyaddr=", s.proxyaddr);
  line("serverport=", std::to_string(s.serverport));
  line("serveraddr=", s.serveraddr);
  line("serverpath=", s.serverpath);
  return replaceWholeFile(kSettingsFileName, out);
}

void setHiscoreServer(std::string address, std::string path, int32_t port) {
  gameSettings.serveraddr = std::move(address);
  gameSettings.serverpath = std::move(path);
  gameSettings.serverport = port;
}

void setProxy(std::string address, bool use) {
  gameSettings.proxyaddr = std::move(address);
  gameSettings.proxy = use ? 1 : 0;
}

void setProxyPort(int32_t port) { gameSettings.proxyport = port; }
