#include "lists/address_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using names = std::vector<std::string>;

names walk_names(nick_class& list) {
  names seen;
  list.rewind();
  for (std::int32_t i = 0; i < list.count(); ++i) {
    seen.emplace_back(*list.name());
    list.advance();
  }
  return seen;
}

TEST(NickClass, AppendsInOrderAndCounts) {
  nick_class list;
  EXPECT_EQ(list.add("a", "Ann", "ann@x"), 1);
  EXPECT_EQ(list.add("b", "Bob", "bob@x"), 2);
  EXPECT_EQ(list.nickname(), "b");  // add leaves the cursor on the new entry
  EXPECT_EQ(list.add("c", "Cid", "cid@x"), 3);
  EXPECT_EQ(walk_names(list), (names{"Ann", "Bob", "Cid"}));
  // A full walk leaves the cursor none, and advancing it stays there.
  EXPECT_EQ(list.name(), std::nullopt);
  list.advance();
  EXPECT_EQ(list.mail(), std::nullopt);
}

TEST(NickClass, EmptyListHasNothingToFindOrWalk) {
  nick_class list;
  EXPECT_EQ(list.find("", ""), nullptr);
  EXPECT_EQ(list.name(), std::nullopt);
  EXPECT_TRUE(walk_names(list).empty());
}

TEST(NickClass, KeepsAtMost255BytesAndStoresNoneAsEmpty) {
  const std::string exact(255, 'e');
  const std::string longer = std::string(255, 'l') + "cut";
  nick_class list;
  list.add(std::nullopt, exact, longer);
  EXPECT_EQ(list.nickname(), "");
  EXPECT_EQ(list.name(), exact);
  EXPECT_EQ(list.mail(), std::string(255, 'l'));
  list.add("n", std::nullopt, "m@x");
  EXPECT_EQ(list.nickname(), "n");
  EXPECT_EQ(list.name(), "");
  EXPECT_EQ(list.mail(), "m@x");
  list.add(std::string(256, 'x'), "", std::nullopt);
  EXPECT_EQ(list.nickname()->size(), 255u);
  EXPECT_EQ(list.mail(), "");
}

TEST(NickClass, FindWantsTheWholeNameAndMailAndTakesTheFirst) {
  nick_class list;
  list.add("first", "Ann", "ann@x");
  list.add("other", "Ann", "ann@y");
  list.add("second", "Ann", "ann@x");
  list.add("long", std::string(255, 'n') + "1", "l@x");

  const nick_record* found = list.find("Ann", "ann@x");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->nickname.view(), "first");
  EXPECT_EQ(list.nickname(), "first");  // the cursor stays on it
  EXPECT_EQ(list.find("Ann", "ann@y")->nickname.view(), "other");
  // Texts cut at 255 on both sides compare equal.
  EXPECT_NE(list.find(std::string(255, 'n'), "l@x"), nullptr);

  const struct {
    const char* name;
    const char* mail;
  } misses[] = {
      {"ann", "ann@x"}, {"Ann", "ANN@x"},  {"Ann", "ann@z"},
      {"An", "ann@x"},  {"Ann ", "ann@x"}, {"Ann", "ann@"},
  };
  for (const auto& miss : misses) {
    list.rewind();
    EXPECT_EQ(list.find(miss.name, miss.mail), nullptr) << miss.name;
    EXPECT_EQ(list.nickname(), std::nullopt) << "cursor left none";
  }
}

TEST(GroupClass, MembersGoToTheNewestGroup) {
  group_class list;
  EXPECT_EQ(list.add_member("lost", "lost@x"), 0);  // no group yet
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.name(), std::nullopt);
  EXPECT_EQ(list.member_count(), 0);
  list.rewind_members();  // harmless without a group
  EXPECT_EQ(list.member_name(), std::nullopt);

  EXPECT_EQ(list.add("Team", "team"), 1);
  EXPECT_EQ(list.member_count(), 0);
  EXPECT_EQ(list.add_member("Ann", "ann@x"), 1);
  EXPECT_EQ(list.add_member(std::nullopt, std::nullopt), 2);
  EXPECT_EQ(list.add(std::nullopt, std::nullopt), 2);
  EXPECT_EQ(list.add_member("Bob", "bob@x"), 1);

  list.rewind();
  EXPECT_EQ(list.name(), "Team");
  EXPECT_EQ(list.nickname(), "team");
  ASSERT_EQ(list.member_count(), 2);
  list.rewind_members();
  EXPECT_EQ(list.member_name(), "Ann");
  EXPECT_EQ(list.member_mail(), "ann@x");
  list.advance_members();
  EXPECT_EQ(list.member_name(), "");
  EXPECT_EQ(list.member_mail(), "");
  list.advance();
  EXPECT_EQ(list.name(), "");
  EXPECT_EQ(list.nickname(), "");
  EXPECT_EQ(list.member_count(), 1);
  list.advance();
  EXPECT_EQ(list.name(), std::nullopt);
  EXPECT_EQ(list.member_count(), 0);
}

TEST(AddressLists, MillionEntriesAreReleasedWithoutDeepRecursion) {
  // Released one link at a time, a million entries need no deep stack; a
  // release that recursed per entry would overflow it here.
  {
    nick_class list;
    for (int i = 0; i < 1'000'000; ++i) list.add("n", "name", "mail");
    EXPECT_EQ(list.count(), 1'000'000);
  }
  {
    group_class list;
    for (int i = 0; i < 1'000'000; ++i) list.add("group", "nick");
    list.add_member("m", "m@x");
    EXPECT_EQ(list.count(), 1'000'000);
  }
}

}  // namespace
