#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// The fields of a form body as browsers send it (application/x-www-form-urlencoded): pairs
// name=value joined by '&', '+' for a space, %XX for any other byte. The first of two
// fields with one name counts. Nothing for a '%' that is not followed by two hex digits.
std::optional<std::map<std::string, std::string>> decodeFormFields(std::string_view body);

// Whether a Content-Type value names that form encoding, with or without parameters.
bool isFormContentType(std::string_view contentType);
