#include "ldif/attribute_value.h"

#include <gtest/gtest.h>

#include <string>

namespace {

enum class kind { none, plain, decoded };

TEST(AttributeValue, TellsNonePlainAndDecodedApart) {
  build_base64_table();
  const struct {
    std::string line;
    kind form;
    std::string text;
  } cases[] = {
      {"cn: Ann", kind::plain, "Ann"},
      {"cn: ", kind::plain, ""},
      {"cn:", kind::none, ""},
      {"cn:: QW5u", kind::decoded, "Ann"},
      {"cn:: ", kind::decoded, ""},
      {"cn:: ====", kind::decoded, ""},
      {"cn:: QW5u ", kind::none, ""},
      {"cn:: QW5u    ", kind::decoded, "Ann"},
      {"cn::QW5u", kind::none, ""},
      {"cn::QW5u: x", kind::plain, "x"},
      {"description: a: b", kind::plain, "a: b"},
      {"description: see:: QW5u", kind::decoded, "Ann"},
      // No second look for ": " once ":: " was found.
      {"description: see:: QW5u!", kind::none, ""},
      {"cn: <b>&\"x\"</b>", kind::plain, "<b>&\"x\"</b>"},
      {"no separator", kind::none, ""},
      {"", kind::none, ""},
      {std::string("cn: a\0b", 7), kind::plain, "a"},
      {std::string("cn:\0: b", 7), kind::none, ""},
  };
  for (const auto& c : cases) {
    const attr_value value = attribute_value(c.line);
    SCOPED_TRACE(c.line);
    EXPECT_EQ(value.is_none(), c.form == kind::none);
    EXPECT_EQ(value.is_decoded(), c.form == kind::decoded);
    if (c.form != kind::none) {
      EXPECT_EQ(value.text(), c.text);
    }
  }
}

TEST(AttributeValue, PlainValueViewsTheLineAndDecodedValueOwnsItsText) {
  build_base64_table();
  const std::string plain_line = "cn: Ann";
  const attr_value plain = attribute_value(plain_line);
  EXPECT_EQ(plain.text()->data(), plain_line.data() + 4);

  std::string encoded_line = "cn:: QW5u";
  attr_value decoded = attribute_value(encoded_line);
  encoded_line.assign(encoded_line.size(), 'x');
  const attr_value moved = std::move(decoded);
  EXPECT_EQ(moved.text(), "Ann");
}

}  // namespace
