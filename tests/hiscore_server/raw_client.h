#pragma once

#include <string>
#include <string_view>
#include <vector>

// Sends bytes as they are over a fresh connection to 127.0.0.1 and returns all that comes
// back until the server closes, or until a few seconds pass. Each piece is sent on its own,
// a moment after the one before, as a slow client would. An empty result means no answer.
std::string roundTrip(int port, const std::vector<std::string>& pieces);
std::string roundTrip(int port, std::string_view request);

// The status code of an HTTP answer, or 0 when it is none.
int statusOf(const std::string& reply);
std::string bodyOf(const std::string& reply);
std::string headerOf(const std::string& reply, const std::string& name);

// The request line's target of a request built by the game.
std::string targetOfGameRequest(const std::string& request);
