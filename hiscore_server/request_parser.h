#pragma once

#include <boost/beast/http/basic_parser.hpp>
#include <cstddef>
#include <string>
#include <string_view>

// Keeps what the server looks at of a request: the method, the target exactly as the request
// line carried it (the game sends names with '#', '?' and '%' unescaped), the content type
// and the body. Refuses what the protocol forbids and the HTTP library lets through: a
// transfer coding that does not end in chunked, or any in HTTP/1.0. The library itself takes
// HTTP/1.0 and HTTP/1.1 only.
class RequestParser final : public boost::beast::http::basic_parser<true> {
 public:
  RequestParser();

  const std::string& method() const { return method_; }
  const std::string& target() const { return target_; }
  const std::string& contentType() const { return contentType_; }
  std::string& body() { return body_; }
  bool targetTooLong() const { return targetTooLong_; }

 private:
  using error_code = boost::beast::error_code;
  using field = boost::beast::http::field;
  using verb = boost::beast::http::verb;
  using string_view = boost::beast::string_view;

  void on_request_impl(verb, string_view method, string_view target, int version,
                       error_code& ec) override;
  void on_response_impl(int, string_view, int, error_code&) override {}
  void on_field_impl(field name, string_view, string_view value, error_code& ec) override;
  void on_header_impl(error_code& ec) override;
  void on_body_init_impl(const boost::optional<std::uint64_t>&, error_code&) override {}
  std::size_t on_body_impl(string_view body, error_code& ec) override;
  void on_chunk_header_impl(std::uint64_t, string_view, error_code&) override {}
  std::size_t on_chunk_body_impl(std::uint64_t, string_view body, error_code& ec) override;
  void on_finish_impl(error_code&) override {}

  std::string method_;
  std::string target_;
  std::string contentType_;
  std::string body_;
  int version_ = 11;
  bool transferCoded_ = false;
  bool targetTooLong_ = false;
};
