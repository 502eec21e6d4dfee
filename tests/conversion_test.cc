// Whole conversions of small exports, each compared with the document it
// must give, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "expected_book.h"
#include "run_program.h"

namespace {

struct conversion_case {
  const char* name;
  std::string source;
  std::string first_number;
  std::string rows;      // expected rows, "\n" line ends
  std::string sections;  // expected group sections, "\n" line ends
};

void check(const conversion_case& c) {
  SCOPED_TRACE(c.name);
  scratch_dir dir;
  write_file(dir / "book.ldif", c.source);
  const program_result result =
      run_converter({"book.ldif", c.first_number}, {.directory = dir.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(read_file(dir / "book.AddressBook.html"),
            expected_document(c.rows, c.sections));
}

// A person known only by full name and mail, as most rows of a test are.
std::string person(const std::string& nickname, const std::string& mail,
                   const std::string& name) {
  return expected_row({.nickname = nickname, .mail = mail, .name = name});
}

std::string section(const std::string& name, const std::string& bracket,
                    const std::string& items) {
  return "<P><B>" + name + "</B> [" + bracket + "]\n<UL>\n" + items + "</UL>\n";
}

const std::string long_d = std::string(4095 - 13, 'd');  // fills 4095 bytes

TEST(Conversion, PersonRows) {
  const conversion_case cases[] = {
      {"typical person",
       "dn: cn=Ada Lovelace,mail=ada@example.org\n"
       "modifytimestamp: 20010409210816Z\n"
       "cn: Ada Lovelace\n"
       "xmozillanickname: ada\n"
       "mail: ada@example.org\n"
       "givenname: Ada\n"
       "title: Analyst\n"
       "o: Engines & Co <UK>\n"
       "streetaddress: 12 Square\n"
       "locality: London\n"
       "st: LDN\n"
       "postalcode: SW1\n"
       "countryname: UK\n"
       "telephonenumber: 0171\n"
       "facsimiletelephonenumber: 0172\n"
       "description: Notes \"quoted\"\n"
       "objectclass: person\n"
       "\n",
       "1",
       "<TR VALIGN=TOP>\n"
       "<TD><B>ada</B></TD>\n"
       "<TD>ada@example.org</TD>\n"
       "<TD>Ada Lovelace</TD>\n"
       "<TD></TD>\n"
       "<TD></TD>\n"
       "<TD></TD>\n"
       "<TD>Notes \"quoted\"</TD>\n"
       "<TD>Analyst</TD>\n"
       "<TD>Engines & Co <UK></TD>\n"
       "<TD>12 Square<BR>London LDN SW1<BR>UK</TD>\n"
       "<TD>0171</TD>\n"
       "<TD>0172</TD>\n"
       "<TD>false</TD>\n"
       "<TD></TD>\n"
       "</TR>\n",
       ""},
      {"full name without mail", "cn: Ann\n\n", "1", person("Ann", "@", "Ann"),
       ""},
      {"mail only takes the counter", "mail: m@x\n\n", "12",
       person("12", "m@x", ""), ""},
      {"every row takes a number", "cn: Ann\nmail: a@x\n\nmail: b@x\n\n", "100",
       person("Ann", "a@x", "Ann") + person("101", "b@x", ""), ""},
      {"nickname line without a value stops the chain",
       "xmozillanickname:\ncn: Ann\no: Org\nmail: a@x\n\nmail: b@x\n\n", "1",
       expected_row({.nickname = "",
                     .mail = "a@x",
                     .name = "Ann",
                     .organization = "Org"}) +
           person("2", "b@x", ""),
       ""},
      {"organization with an empty value hides the counter",
       "mail: a@x\no: \n\n", "1", person("", "a@x", ""), ""},
      {"organization is the third choice", "mail: a@x\no: Org\n\n", "1",
       expected_row({.nickname = "Org", .mail = "a@x", .organization = "Org"}),
       ""},
      {"Base64 value with a newline, written decoded",
       // "line one\nline two", "J\xC3\xBCrgen"
       "cn:: SsO8cmdlbg==\ndescription:: bGluZSBvbmUKbGluZSB0d28=\n\n", "1",
       expected_row({.nickname = "J\xC3\xBCrgen",
                     .name = "J\xC3\xBCrgen",
                     .notes = "line one\nline two"}),
       ""},
      {"Base64 value of a bad length counts as none",
       "cn:: QW5u \nmail:: QQ\n\n", "1", person("", "@", ""), ""},
      {"later attribute line replaces the earlier one",
       "cn: Ann\ntitle: First\n more\ntitle: Second\n and\n\n", "1",
       expected_row({.nickname = "Ann", .name = "Ann", .title = "Secondand"}),
       ""},
      {"folded value joins its pieces without their first blank",
       "cn: Ann\ndescription: one\n two\n  three\n \n\n", "1",
       expected_row(
           {.nickname = "Ann", .name = "Ann", .notes = "onetwo three"}),
       ""},
      {"continuations dropped where they continue nothing",
       " first line of record\ncn: Ann\nsn: Other\n more\ntitle: T\n"
       "CN: Caps\n more\n\n",
       "1", expected_row({.nickname = "Ann", .name = "Ann", .title = "T"}), ""},
      {"blank-only and tab-only lines do not end a record",
       "cn: Ann\n \n\t\nmail: a@x\n\n", "1", person("Ann", "a@x", "Ann"), ""},
      {"two empty lines end an empty record", "\n\ncn: Ann\n\n\n\n", "1",
       person("Ann", "@", "Ann"), ""},
      {"unrecognised prefixes", "cn;lang-en: Ann\nmailx: no\nMail: no\n\n", "1",
       "", ""},
      {"line of exactly 4095 characters stays in its record",
       "cn: Ann\ndescription: " + long_d + "\nmail: a@x\n\n", "1",
       expected_row(
           {.nickname = "Ann", .mail = "a@x", .name = "Ann", .notes = long_d}),
       ""},
      {"line of 5000 characters keeps its first 4095",
       "cn: Ann\ndescription: " + long_d + "cn: Mallory" +
           std::string(5000 - 4095 - 11, 'm') + "\nmail: a@x\n\n",
       "1",
       expected_row(
           {.nickname = "Ann", .mail = "a@x", .name = "Ann", .notes = long_d}),
       ""},
      {"zero byte at the start of a line is skipped",
       std::string("cn: Ann\n\0\n\0cn: Bob\nmail: a@x\n\n", 30), "1",
       person("Ann", "a@x", "Ann"), ""},
      {"zero byte inside a line ends its text",
       std::string("cn: An\0n\ntitle:\0: x\n\n", 21), "1",
       expected_row({.nickname = "An", .name = "An"}), ""},
      {"CR LF input reads like bare newlines",
       "cn: Ann\r\nmail: a@x\r\ndescription: one\r\n two\r\n\r\nmail: b@x\r\n",
       "1",
       expected_row({.nickname = "Ann",
                     .mail = "a@x",
                     .name = "Ann",
                     .notes = "onetwo"}) +
           person("2", "b@x", ""),
       ""},
      {"Ctrl-Z ends the input",
       "cn: Ann\n\n\x1a"
       "cn: Bob\n\n",
       "1", person("Ann", "@", "Ann"), ""},
      {"last record without an empty line is written",
       "cn: Ann\n\ncn: Bob\nmail: b@x\n", "1",
       person("Ann", "@", "Ann") + person("Bob", "b@x", "Bob"), ""},
      {"last line without a line end", "cn: Ann\nmail: a@x", "1",
       person("Ann", "a@x", "Ann"), ""},
      {"counter wraps to the smallest value",
       "mail: a@x\n\nmail: b@x\n\nmail: c@x\n\n", "2147483647",
       person("2147483647", "a@x", "") + person("-2147483648", "b@x", "") +
           person("-2147483647", "c@x", ""),
       ""},
      {"locality only", "cn: Ann\nlocality: Town\n\n", "1",
       expected_row(
           {.nickname = "Ann", .name = "Ann", .postal = "<BR>Town  <BR>"}),
       ""},
      {"full name longer than 255 bytes is written whole",
       "cn: " + std::string(300, 'n') + "\n\n", "1",
       person(std::string(300, 'n'), "@", std::string(300, 'n')), ""},
  };
  for (const conversion_case& c : cases) check(c);
}

TEST(Conversion, SlotsNeverOverflow) {
  // Continuations past a slot's capacity are cut there: 4096 bytes for most
  // attributes, 16384 for the description.
  const std::string piece = " " + std::string(1000, 'x');
  std::string source = "cn: Ann\ntitle: T";
  for (int i = 0; i < 6; ++i) source += "\n" + piece;
  source += "\ndescription: D";
  for (int i = 0; i < 20; ++i) source += "\n" + piece;
  source += "\nmail: a@x\n\n";
  check({"overflowing continuations", source, "1",
         expected_row({.nickname = "Ann",
                       .mail = "a@x",
                       .name = "Ann",
                       .notes = "D" + std::string(16384 - 14, 'x'),
                       .title = "T" + std::string(4096 - 8, 'x')}),
         ""});
  const std::string exact = "description: " + std::string(16384 - 13, 'e');
  std::string folded = "cn: Ann\n" + exact.substr(0, 4000);
  for (std::size_t at = 4000; at < exact.size(); at += 4000) {
    folded += "\n " + exact.substr(at, 4000);
  }
  folded += "\n more\n\n";
  check({"description of exactly 16384 characters", folded, "1",
         expected_row({.nickname = "Ann",
                       .name = "Ann",
                       .notes = std::string(16384 - 13, 'e')}),
         ""});
}

TEST(Conversion, MailingListRecords) {
  const conversion_case cases[] = {
      {"list with mail and cn gives no row",
       "cn: Team\nmail: team@x\nxmozillanickname: t\n"
       "member: cn=Ann,mail=a@x\n\ncn: Ann\nmail: a@x\n\n",
       "1", person("Ann", "a@x", "Ann"), section("Team", "2", "<LI>Ann\n")},
      {"list whose cn comes after its first member line",
       "member: cn=Ann,mail=a@x\ncn: Late\nxmozillanickname: late\n\n"
       "cn: Ann\nmail: a@x\n\n",
       "1", person("Ann", "a@x", "Ann"), section("", "", "<LI>Ann\n")},
      {"list at the end without a closing empty line",
       "cn: Ann\nmail: a@x\n\ncn: Team\nmember: cn=Ann,mail=a@x", "1",
       person("Ann", "a@x", "Ann"), section("Team", "Team", "<LI>Ann\n")},
      {"member line forms",
       "cn: Team\n"
       "member: cn=Ann\n"                  // name to the end, no mail
       "member: mail=x,cn=Ann,mail=a@x\n"  // name up to ",mail="
       "member: uid=1,mail=a@x,cn=Ann\n"   // ",mail=" before "cn="
       "member: nothing\n"                 // neither: still a member
       " continued\n"                      // dropped after a member
       "\n"
       "cn: Ann\nmail: a@x\n\n"
       "cn: Ann\nxmozillanickname: other\nmail: a@x,cn=Ann\n\n",
       "1", person("Ann", "a@x", "Ann") + person("other", "a@x,cn=Ann", "Ann"),
       section("Team", "Team", "<LI>Ann\n<LI>other\n")},
      {"Base64 full name of a list",
       "cn:: VGVhbQ==\nxmozillanickname:: dA==\nmember: cn=X,mail=y\n\n", "9",
       "", section("Team", "9", "")},
  };
  for (const conversion_case& c : cases) check(c);
}

TEST(Conversion, GroupSections) {
  const std::string ann = "cn: Ann\nmail: a@x\n\n";
  const std::string ann_row = person("Ann", "a@x", "Ann");
  const conversion_case cases[] = {
      {"numbers go on after the rows, one per group",
       "cn: A\n\ncn: B\n\ncn: C\n\n"
       "cn: One\nxmozillanickname: one\nmember: cn=X,mail=y\n\n"
       "cn: Two\nmember: cn=X,mail=y\n\n"
       "cn: Three\nxmozillanickname: three\nmember: cn=X,mail=y\n\n",
       "1",
       person("A", "@", "A") + person("B", "@", "B") + person("C", "@", "C"),
       section("One", "4", "") + section("Two", "Two", "") +
           section("Three", "6", "")},
      {"group with a nickname shows its number, not the nickname",
       "cn: Team\nxmozillanickname: team\nmember: cn=X,mail=y\n\n", "5", "",
       section("Team", "5", "")},
      {"group without full name and nickname", "member: cn=X,mail=y\n\n", "1",
       "", section("", "", "")},
      {"texts inserted unchanged",
       "cn: 100% <b>%s</b>\nmember: cn=X,mail=y\n\n", "1", "",
       section("100% <b>%s</b>", "100% <b>%s</b>", "")},
      {"members resolved by full name and mail",
       "cn: Team\n"
       "member: cn=Ann,mail=a@x\n"  // found
       "member: cn=Ann,mail=A@x\n"  // mail differs in letter case
       "member: cn=ann,mail=a@x\n"  // name differs in letter case
       "member: cn=Ann,mail=a@x\n"  // listed twice
       "member: cn=Team,mail=\n"    // another list is no person
       "\n" +
           ann,
       "1", ann_row, section("Team", "Team", "<LI>Ann\n<LI>Ann\n")},
      {"nickname cell empty or showing a number",
       "xmozillanickname:\ncn: Ann\nmail: a@x\n\nmail: n@x\n\n"
       "cn: L\nmember: cn=Ann,mail=a@x\nmember: cn=,mail=n@x\n\n",
       "7",
       expected_row({.nickname = "", .mail = "a@x", .name = "Ann"}) +
           person("8", "n@x", ""),
       section("L", "L", "<LI>\n<LI>8\n")},
      {"person without mail matches the mail @ only",
       "cn: Ann\n\n"
       "cn: L\nmember: cn=Ann,mail=\nmember: cn=Ann\n"
       "member: cn=Ann,mail=@\n\n",
       "1", person("Ann", "@", "Ann"), section("L", "L", "<LI>Ann\n")},
      {"first of two equal persons wins",
       "cn: Ann\nxmozillanickname: first\nmail: a@x\n\n"
       "cn: Ann\nxmozillanickname: second\nmail: a@x\n\n"
       "cn: L\nmember: cn=Ann,mail=a@x\n\n",
       "1", person("first", "a@x", "Ann") + person("second", "a@x", "Ann"),
       section("L", "L", "<LI>first\n")},
      {"a person after the list is found too",
       "cn: L\nmember: cn=Ann,mail=a@x\n\n" + ann, "1", ann_row,
       section("L", "L", "<LI>Ann\n")},
      {"full names compared in their first 255 bytes",
       "cn: " + std::string(255, 'n') + "x\nmail: a@x\n\n" +
           "cn: L\nmember: cn=" + std::string(255, 'n') + "y,mail=a@x\n\n",
       "1",
       person(std::string(255, 'n') + "x", "a@x", std::string(255, 'n') + "x"),
       section("L", "L", "<LI>" + std::string(255, 'n') + "\n")},
  };
  for (const conversion_case& c : cases) check(c);
}

TEST(Conversion, ShippedSampleGivesItsExpectedBook) {
  scratch_dir dir;
  std::filesystem::copy_file(EXAMPLES_DIR "/sample.ldif", dir / "sample.ldif");
  const program_result result =
      run_converter({"sample.ldif", "1000"}, {.directory = dir.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(read_file(dir / "sample.AddressBook.html"),
            read_file(TEST_DATA_DIR "/sample.AddressBook.html"));
}

}  // namespace
