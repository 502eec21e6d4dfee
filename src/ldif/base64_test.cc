#include "ldif/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Base64 : public testing::Test {
 protected:
  void SetUp() override { build_base64_table(); }
};

TEST_F(Base64, TableHoldsTheAlphabetAndZeroElsewhere) {
  build_base64_table();  // a second call changes nothing
  EXPECT_EQ(base64_table['A'], 0);
  EXPECT_EQ(base64_table['Z'], 25);
  EXPECT_EQ(base64_table['a'], 26);
  EXPECT_EQ(base64_table['z'], 51);
  EXPECT_EQ(base64_table['0'], 52);
  EXPECT_EQ(base64_table['9'], 61);
  EXPECT_EQ(base64_table['+'], 62);
  EXPECT_EQ(base64_table['/'], 63);
  for (int c : {int{'='}, int{' '}, int{'\n'}, int{'-'}, 0, 0x80, 0xC3, 0xFF}) {
    EXPECT_EQ(base64_table[static_cast<std::size_t>(c)], 0) << c;
  }
}

TEST_F(Base64, DecodesGroupByGroup) {
  using std::string;
  const struct {
    string text;
    std::optional<string> bytes;  // none: no decoded text at all
  } cases[] = {
      {"", string()},
      {"QQ==", string("A")},
      {"QUI=", string("AB")},
      {"QUJD", string("ABC")},
      {"QUJDRA==", string("ABCD")},
      {"/w==", string("\xFF")},
      {"gIA=", string("\x80\x80")},
      // "=" counts as 0 in a group's first and second place.
      {"=QUJ", string("\x01\x05\x09")},
      {"Q=QQ", string("\x40\x04\x10")},
      // "=" in the third place only: the fourth character's value follows.
      {"QQ=B", string("\x41\x01")},
      {"====", string(1, '\0')},
      // Groups after a padded group are decoded too.
      {"QQ==QQ==", string("AA")},
      {"QQ======", string("A\0", 2)},
      // A blank or a byte above 0x7F counts as 0 and keeps its place.
      {"QU I", string("A@\x08")},
      {"QU\xC3I", string("A@\x08")},
      {"    ", string(3, '\0')},
      {"Q", std::nullopt},
      {"QQ", std::nullopt},
      {"QQ=", std::nullopt},
      {"QUJDR", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<decoded_text> decoded = base64_decode(c.text);
    ASSERT_EQ(decoded.has_value(), c.bytes.has_value()) << c.text;
    if (decoded) {
      EXPECT_EQ(decoded->bytes(), *c.bytes) << c.text;
    }
  }
}

TEST_F(Base64, DecodedTextEndsAtItsFirstZeroByte) {
  const std::optional<decoded_text> decoded = base64_decode("QQ==AAAAQQ==");
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->bytes(), std::string("A\0\0\0A", 5));
  EXPECT_EQ(decoded->text(), "A");
}

}  // namespace
