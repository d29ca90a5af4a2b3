#include "request_parser.h"

#include <boost/beast/http/error.hpp>

#include "request_head.h"

namespace http = boost::beast::http;

RequestParser::RequestParser() {
  // The head arrives whole and already within its limits (RequestHeadScanner).
  header_limit(static_cast<std::uint32_t>(kMaxHeadBytes + 1));
  body_limit(kMaxBodyBytes);
}

void RequestParser::on_request_impl(verb, string_view method, string_view target, int version,
                                    error_code& ec) {
  if (target.size() > kMaxTargetBytes) {
    targetTooLong_ = true;
    ec = http::error::bad_target;
    return;
  }
  method_.assign(method.data(), method.size());
  target_.assign(target.data(), target.size());
  version_ = version;
}

void RequestParser::on_field_impl(field name, string_view, string_view value, error_code&) {
  if (name == field::content_type) contentType_.assign(value.data(), value.size());
  if (name == field::transfer_encoding) transferCoded_ = true;
}

void RequestParser::on_header_impl(error_code& ec) {
  // The parser has taken a final "chunked" as the framing; any other coding leaves the body's
  // length unknown, and HTTP/1.0 has no transfer codings at all.
  if (transferCoded_ && (!chunked() || version_ < 11)) ec = http::error::bad_transfer_encoding;
}

std::size_t RequestParser::on_body_impl(string_view body, error_code&) {
  body_.append(body.data(), body.size());
  return body.size();
}

std::size_t RequestParser::on_chunk_body_impl(std::uint64_t, string_view body, error_code&) {
  body_.append(body.data(), body.size());
  return body.size();
}
