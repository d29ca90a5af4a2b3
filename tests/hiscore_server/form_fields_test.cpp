#include "form_fields.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>

namespace {

using Fields = std::map<std::string, std::string>;

struct FormCase {
  const char* label;
  std::string body;
  std::optional<Fields> fields;
};

void PrintTo(const FormCase& c, std::ostream* out) { *out << c.label; }

class FormBodies : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormBodies, DecodeToTheirFields) {
  EXPECT_EQ(decodeFormFields(GetParam().body), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, FormBodies,
    ::testing::Values(
        FormCase{"plain pairs", "a=1&b=two", Fields{{"a", "1"}, {"b", "two"}}},
        FormCase{"plus and escapes", "t=a+b%2Bc%26d%3De%0D%0A%c3%a9",
                 Fields{{"t", "a b+c&d=e\r\n\xC3\xA9"}}},
        FormCase{"escaped name", "%68appened=x", Fields{{"happened", "x"}}},
        FormCase{"no value", "a&b=", Fields{{"a", ""}, {"b", ""}}},
        FormCase{"empty pairs skipped", "&&a=1&", Fields{{"a", "1"}}},
        FormCase{"first of two wins", "a=1&a=2", Fields{{"a", "1"}}},
        FormCase{"escaped NUL kept", "a=x%00y", Fields{{"a", std::string("x\0y", 3)}}},
        FormCase{"empty body", "", Fields{}},
        FormCase{"percent at the end", "a=100%", std::nullopt},
        FormCase{"percent and one digit", "a=%4", std::nullopt},
        FormCase{"percent and no hex", "a=%zz", std::nullopt}));

TEST(FormContentType, IsTheFormEncodingWithAnyParameters) {
  EXPECT_TRUE(isFormContentType("application/x-www-form-urlencoded"));
  EXPECT_TRUE(isFormContentType("Application/X-WWW-Form-URLEncoded; charset=UTF-8"));
  EXPECT_TRUE(isFormContentType("application/x-www-form-urlencoded ;charset=utf-8"));
  EXPECT_FALSE(isFormContentType("multipart/form-data; boundary=x"));
  EXPECT_FALSE(isFormContentType("application/x-www-form-urlencodedx"));
  EXPECT_FALSE(isFormContentType(""));
}

}  // namespace
