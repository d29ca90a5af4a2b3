#pragma once

#include <string>
#include <string_view>
#include <vector>

// What came back for a request sent over a fresh connection to 127.0.0.1.
struct RawReply {
  std::string text;     // the answer, or what arrived until the connection ended
  bool closed = false;  // the server ended the connection after it
};

// Sends bytes as they are and reads one answer: until its Content-Length is complete (and,
// when it says "Connection: close", until the server ends the connection), until the server
// ends the connection, or until a few seconds pass. Each piece is sent on its own, a moment
// after the one before, as a slow client would. An empty text means no answer.
RawReply exchange(int port, const std::vector<std::string>& pieces);
std::string roundTrip(int port, const std::vector<std::string>& pieces);
std::string roundTrip(int port, std::string_view request);

// The status code of an HTTP answer, or 0 when it is none.
int statusOf(const std::string& reply);
std::string bodyOf(const std::string& reply);
std::string headerOf(const std::string& reply, const std::string& name);

// The request line's target of a request built by the game.
std::string targetOfGameRequest(const std::string& request);

// A connected loopback socket, or -1.
int connectTo(int port);
