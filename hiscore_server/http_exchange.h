#pragma once

#include <functional>
#include <string>

// One request as the server's handler sees it.
struct Request {
  std::string method;  // as sent, for example "GET"
  std::string target;  // exactly as the request line carried it
  std::string contentType;
  std::string body;
};

// What goes back. The connection adds the length and the connection header, and leaves the
// body out for HEAD.
struct Answer {
  unsigned status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
  std::string allow;     // the methods a 405 names
  bool noCache = false;  // pages that change with every submission
  bool close = false;    // the client sends nothing more on this connection
};

// Called once with the answer, from any thread.
using Respond = std::function<void(Answer)>;
using RequestHandler = std::function<void(Request, Respond)>;

inline Answer textAnswer(unsigned status, std::string text) {
  Answer answer;
  answer.status = status;
  answer.body = std::move(text);
  return answer;
}
