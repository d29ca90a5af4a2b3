#pragma once

#include <cstddef>
#include <string_view>

// Limits of one request. The HTTP parser has one limit for the whole head; these tell a long
// target (414) from a large header section (431) and bound each on its own.
constexpr size_t kMaxTargetBytes = 8192;
constexpr size_t kMaxHeaderFields = 100;
constexpr size_t kMaxHeaderSectionBytes = 16384;
// Room for the method, the version and the spaces and line end around the target.
constexpr size_t kMaxRequestLineBytes = kMaxTargetBytes + 256;
constexpr size_t kMaxHeadBytes = kMaxRequestLineBytes + kMaxHeaderSectionBytes + 2;
// A bug report of the longest texts the page allows, percent-encoded, fits.
constexpr size_t kMaxBodyBytes = 64 * 1024;

// How far the bytes received on a connection make up a request head: the request line, the
// field lines and the empty line that ends them.
struct HeadScan {
  enum class State {
    Incomplete,      // more bytes are needed
    Complete,        // the head takes the first `length` bytes
    TargetTooLong,   // the request line passes its limit: 414
    HeaderTooLarge,  // too many field lines, or too many bytes in them: 431
    Malformed,       // a line folded onto the one before, or a line end without CR: 400
  };
  State state = State::Incomplete;
  size_t length = 0;
};

// Finds the end of a request head in the bytes received so far, and refuses, as soon as the
// bytes show it, a head that breaks a limit or that the HTTP parser would accept although the
// protocol does not: a folded field line (the parser unfolds it) and a bare LF (refused at
// once, not after waiting for a CR LF CR LF that never comes). The parser still checks the
// grammar of every line. Each call goes on where the previous one stopped, so a client that
// sends its head a byte at a time costs no more than one that sends it whole.
class RequestHeadScanner {
 public:
  // `bytes` holds everything received for this request so far, the earlier bytes unchanged.
  HeadScan scan(std::string_view bytes);

 private:
  size_t lineEnd_ = std::string_view::npos;  // of the request line, once found
  size_t nextLine_ = 0;                      // start of the first line not checked yet
  size_t searched_ = 0;                      // bytes already searched for a line end
  size_t fields_ = 0;
};
