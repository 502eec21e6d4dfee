#include "driver/run_args.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseFirstNumber, FollowsSignedDecimalRules) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"1", 1},
      {"12abc", 12},
      {"  7", 7},
      {"\t\n\v\f\r 9", 9},
      {"+7", 7},
      {"-5", -5},
      {"0", 0},
      {"", 0},
      {"abc", 0},
      {"0x1A", 0},
      {"- 4", 0},
      {"+-4", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", -2147483647 - 1},
      {"-99999999999999999999999999999", -2147483647 - 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_first_number(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(DestinationPath, CutsAfterTheLastDot) {
  const struct {
    const char* source;
    const char* destination;
  } cases[] = {
      {"abook.ldif", "abook.AddressBook.html"},
      {"data/abook.ldif", "data/abook.AddressBook.html"},
      {"a.b.c", "a.b.AddressBook.html"},
      {"abook.", "abook.AddressBook.html"},
      {"abook", "AddressBook.html"},
      {"data/abook", "AddressBook.html"},
      {"./abook", ".AddressBook.html"},
      {"my.dir/abook", "my.AddressBook.html"},
      {"", "AddressBook.html"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(destination_path(c.source), c.destination) << c.source;
  }
}

TEST(DestinationPath, LongestSourceStillFitsTheDestination) {
  const std::string source(max_source_path, 'a');
  EXPECT_EQ(destination_path(source), "AddressBook.html");
  const std::string dotted = std::string(max_source_path - 1, 'a') + ".";
  EXPECT_EQ(destination_path(dotted).size(), 255u);
}

TEST(ProgramName, IsTheTextAfterTheLastSeparator) {
  EXPECT_EQ(program_name("/usr/bin/ldif2kestrune"), "ldif2kestrune");
  EXPECT_EQ(program_name("C:\\Tools\\L2K.EXE"), "L2K.EXE");
  EXPECT_EQ(program_name("C:L2K.EXE"), "L2K.EXE");
  EXPECT_EQ(program_name("a\\b/c:d"), "d");
  EXPECT_EQ(program_name("plain"), "plain");
  EXPECT_EQ(program_name("dir/"), "");
}

}  // namespace
