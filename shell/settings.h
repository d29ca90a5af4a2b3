#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The user's choices, kept from one run to the next in a small text file in the working
// directory: ten lines "key=value", read once at start-up and written once at shut-down.

constexpr char kSettingsFileName[] = "tessara.ini";

// The longest text a field holds (1024 bytes with its terminating zero); longer values in
// the file are cut to this length.
constexpr size_t kSettingsTextMax = 1023;

constexpr char kDefaultProxyHost[] = "proxy";
constexpr char kDefaultServerHost[] = "localhost";
constexpr char kDefaultServerPath[] = "/examples/servlet/TessaraHST";
constexpr int32_t kDefaultPort = 8080;

struct GameSettings {
  // Persisted, in the order of the file.
  int32_t marks = 1;  // non-zero: the right-button cycle includes the question mark
  int32_t safe = 1;   // non-zero: a new game opens with a safe-start reveal
  int32_t level = 0;  // 0 custom, 1 Novice to 5 Expert
  int32_t small = 0;  // non-zero: 12 by 12 tiles instead of 24 by 24
  uint8_t proxy = 0;  // non-zero: hiscore requests go through the proxy
  int32_t proxyport = kDefaultPort;
  std::string proxyaddr = kDefaultProxyHost;
  int32_t serverport = kDefaultPort;
  std::string serveraddr = kDefaultServerHost;
  std::string serverpath = kDefaultServerPath;

  // Per run: the board chosen in the level dialog.
  uint32_t rows = 0;
  uint32_t columns = 0;
  uint32_t difficulty = 5;
};

// Puts the defaults into the ten persisted fields; rows, columns and difficulty stay.
void SetDefaultSettings();

// Reads the file into the persisted fields with the matching rules of formatted input:
// each line's pattern is tried once, in file order, from where the previous one stopped,
// and a field whose pattern fails keeps its value. Returns whether the file could be read;
// it does not set settingsLoaded.
bool LoadSettings();

// Writes the ten lines, each ending in CR LF. The caller does not report a failure; the
// result is there for tests.
bool SaveSettings();

// Where online hiscores go, as the server and proxy dialogs set it.
void setHiscoreServer(std::string address, std::string path, int32_t port);
void setProxy(std::string address, bool use);
void setProxyPort(int32_t port);
