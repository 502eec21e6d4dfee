// The converter's command line, its statuses and messages, and what each
// outcome leaves on disk, checked on the real executable.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>

#include "expected_book.h"
#include "run_program.h"

namespace {

const std::string usage =
    "\nSyntax: ldif2kestrune exported_Netscape_address_book first_nickname\n"
    "\n"
    "Version: Beta 3\n"
    "\n"
    "This C++ program converts an exported Netscape Messenger\n"
    "address book LDIF file into a Kestrune Mailer HTML address\n"
    "book file the first nickname must be a numeric value. It is\n"
    "incremented for each Kestrune Mailer address book entry, but\n"
    "is only used for those entries that do not have a nickname,\n"
    "full name, or organization name in the Netscape address book.\n";

std::string message(const std::string& head, const std::string& what) {
  return head + what + "\n";
}
std::string cannot_open(const std::string& s) {
  return message("\nError: The source file could not be opened:\n    ", s);
}
std::string too_long(const std::string& s) {
  return message(
      "\nError: The source path is too long to create the destination "
      "file\n    ",
      s);
}
std::string cannot_create(const std::string& d) {
  return message("\nError: The destination file could not be created:\n    ",
                 d);
}
std::string exists(const std::string& d) {
  return message("\nError: The destination file already exists:\n    ", d);
}
std::string bad_number(const std::string& n) {
  return message("\nError: Bad starting nickname value:\n    ", n);
}
std::string cannot_write(const std::string& d) {
  return message("\nError: The destination file could not be written:\n    ",
                 d);
}
std::string cannot_read(const std::string& s) {
  return message("\nError: The source file could not be read:\n    ", s);
}
std::string success(const std::string& s, const std::string& d) {
  return "\nSuccess: The Netscape address book export file has been "
         "converted:\n    " +
         s + "\n => " + d + "\n";
}

const std::string one_person =
    "dn: cn=Ann,mail=ann@example.org\ncn: Ann\nmail: ann@example.org\n\n";

// Runs with its working directory in a scratch folder that holds the files
// given, and checks status, console and (for failures) an unchanged disk.
struct failure_case {
  const char* name;
  std::vector<std::pair<std::string, std::string>> files;  // path, bytes
  std::vector<std::string> args;
  int status;
  std::string message;
};

void make_files(const scratch_dir& dir, const failure_case& c) {
  for (const auto& [path, bytes] : c.files) {
    std::filesystem::create_directories(
        std::filesystem::path(dir / path).parent_path());
    if (bytes == "<dir>") {
      std::filesystem::create_directory(dir / path);
    } else {
      write_file(dir / path, bytes);
    }
  }
}

TEST(ConverterRun, FailuresPrintOneMessageAndChangeNothing) {
  const std::string long_name(240, 'x');
  const std::string long_ext = "a." + std::string(238, 'x');
  const failure_case cases[] = {
      {"no argument", {}, {}, 1, usage},
      {"one argument", {{"a.ldif", one_person}}, {"a.ldif"}, 1, usage},
      {"three arguments",
       {{"a.ldif", one_person}},
       {"a.ldif", "1", "2"},
       1,
       usage},
      {"missing source", {}, {"none.ldif", "1"}, 2, cannot_open("none.ldif")},
      {"missing source, long path",
       {},
       {long_name, "1"},
       2,
       cannot_open(long_name)},
      {"source is a directory",
       {{"d.ldif", "<dir>"}},
       {"d.ldif", "1"},
       2,
       cannot_open("d.ldif")},
      {"source path of 240 characters",
       {{long_name, one_person}},
       {long_name, "1"},
       3,
       too_long(long_name)},
      {"240 characters with a long extension",
       {{long_ext, one_person}},
       {long_ext, "1"},
       3,
       too_long(long_ext)},
      {"destination file exists",
       {{"a.ldif", one_person}, {"a.AddressBook.html", "mine"}},
       {"a.ldif", "1"},
       5,
       exists("a.AddressBook.html")},
      {"destination directory exists",
       {{"a.ldif", one_person}, {"a.AddressBook.html", "<dir>"}},
       {"a.ldif", "1"},
       5,
       exists("a.AddressBook.html")},
      {"first number 0",
       {{"a.ldif", one_person}},
       {"a.ldif", "0"},
       6,
       bad_number("0")},
      {"first number -5",
       {{"a.ldif", one_person}},
       {"a.ldif", "-5"},
       6,
       bad_number("-5")},
      {"first number empty",
       {{"a.ldif", one_person}},
       {"a.ldif", ""},
       6,
       bad_number("")},
      {"first number letters",
       {{"a.ldif", one_person}},
       {"a.ldif", "abc"},
       6,
       bad_number("abc")},
      {"first number 0x10",
       {{"a.ldif", one_person}},
       {"a.ldif", "0x10"},
       6,
       bad_number("0x10")},
      {"bad number and missing source",
       {},
       {"none.ldif", " -1"},
       6,
       bad_number(" -1")},
  };
  for (const failure_case& c : cases) {
    SCOPED_TRACE(c.name);
    scratch_dir dir;
    make_files(dir, c);
    const auto before = tree_listing(dir.path());
    const program_result result =
        run_converter(c.args, {.directory = dir.path()});
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, expected_banner + c.message);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(tree_listing(dir.path()), before);
  }
}

TEST(ConverterRun, DanglingLinkAtTheDestinationIsNotFollowed) {
  scratch_dir dir;
  write_file(dir / "a.ldif", one_person);
  ASSERT_EQ(
      ::symlink((dir / "target").c_str(), (dir / "a.AddressBook.html").c_str()),
      0);
  const auto before = tree_listing(dir.path());
  const program_result result =
      run_converter({"a.ldif", "1"}, {.directory = dir.path()});
  EXPECT_EQ(result.status, 5);
  EXPECT_EQ(result.err, expected_banner + exists("a.AddressBook.html"));
  EXPECT_FALSE(path_exists(dir / "target"));
  EXPECT_EQ(tree_listing(dir.path()), before);
}

TEST(ConverterRun, DestinationThatCannotBeCreated) {
  // /proc takes no new files, whoever asks; a source path without "." puts
  // the destination in the working directory.
  scratch_dir dir;
  write_file(dir / "abook", one_person);
  const program_result result =
      run_converter({dir / "abook", "1"}, {.directory = "/proc"});
  EXPECT_EQ(result.status, 4);
  EXPECT_EQ(result.err, expected_banner + cannot_create("AddressBook.html"));
}

TEST(ConverterRun, FailedWriteRemovesTheDestination) {
  scratch_dir dir;
  write_file(dir / "a.ldif", one_person);
  const program_result result = run_converter(
      {"a.ldif", "1"}, {.directory = dir.path(), .file_size_limit = 100});
  EXPECT_EQ(result.status, 7);
  EXPECT_EQ(result.err, expected_banner + cannot_write("a.AddressBook.html"));
  EXPECT_FALSE(path_exists(dir / "a.AddressBook.html"));
}

TEST(ConverterRun, FailedReadRemovesTheDestination) {
  // Reading a process's memory at offset 0 fails: nothing is mapped there.
  scratch_dir dir;
  const program_result result =
      run_converter({"/proc/self/mem", "1"}, {.directory = dir.path()});
  EXPECT_EQ(result.status, 8);
  EXPECT_EQ(result.err, expected_banner + cannot_read("/proc/self/mem"));
  EXPECT_FALSE(path_exists(dir / "AddressBook.html"));
}

TEST(ConverterRun, EmptySourceGivesTheDocumentFrame) {
  scratch_dir dir;
  write_file(dir / "a.ldif", "");
  const program_result result =
      run_converter({"a.ldif", "1"}, {.directory = dir.path()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            expected_banner + success("a.ldif", "a.AddressBook.html"));
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(read_file(dir / "a.AddressBook.html"), expected_document("", ""));
}

TEST(ConverterRun, SecondRunRefusesToOverwrite) {
  scratch_dir dir;
  write_file(dir / "a.ldif", one_person);
  ASSERT_EQ(run_converter({"a.ldif", "1"}, {.directory = dir.path()}).status,
            0);
  const std::string first = read_file(dir / "a.AddressBook.html");
  const program_result again =
      run_converter({"a.ldif", "1"}, {.directory = dir.path()});
  EXPECT_EQ(again.status, 5);
  EXPECT_EQ(read_file(dir / "a.AddressBook.html"), first);
}

TEST(ConverterRun, NamesTheDestinationAfterTheSource) {
  const struct {
    std::string source;
    std::string destination;
  } cases[] = {
      {"abook.ldif", "abook.AddressBook.html"},
      {"data/abook.ldif", "data/abook.AddressBook.html"},
      {"a.b.c", "a.b.AddressBook.html"},
      {"abook.", "abook.AddressBook.html"},
      {"abook", "AddressBook.html"},
      {"data/abook", "AddressBook.html"},
      {"./abook", ".AddressBook.html"},
      {"my.dir/abook", "my.AddressBook.html"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    scratch_dir dir;
    std::filesystem::create_directories(
        std::filesystem::path(dir / c.source).parent_path());
    write_file(dir / c.source, "");
    const program_result result =
        run_converter({c.source, "1"}, {.directory = dir.path()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, expected_banner + success(c.source, c.destination));
    EXPECT_TRUE(path_exists(dir / c.destination));
  }
}

TEST(ConverterRun, SourcePathOf239CharactersIsAccepted) {
  scratch_dir dir;
  const std::string source = std::string(238, 'x') + ".";
  write_file(dir / source, "");
  const program_result result =
      run_converter({source, "1"}, {.directory = dir.path()});
  const std::string destination = source + "AddressBook.html";
  EXPECT_EQ(destination.size(), 255u);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, expected_banner + success(source, destination));
  EXPECT_EQ(read_file(dir / destination), expected_document("", ""));
}

TEST(ConverterRun, UsageShowsTheNameAfterTheLastSeparator) {
  // argv[0] is the executable's full path; only its file name shows.
  const program_result result = run_converter({"x"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("\nSyntax: ldif2kestrune exported"),
            std::string::npos);
  EXPECT_EQ(result.err.find('/'), std::string::npos);
}

TEST(ConverterRun, FirstNumberIsReadLikeASignedDecimal) {
  // A record without nickname, full name or organization shows its number.
  const std::string numbered = "mail: x@example.org\n\n";
  const struct {
    std::string argument;
    std::string shown;
  } cases[] = {
      {"12abc", "12"},
      {"  7", "7"},
      {"+7", "7"},
      {"99999999999999999999", "2147483647"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    scratch_dir dir;
    write_file(dir / "a.ldif", numbered);
    ASSERT_EQ(
        run_converter({"a.ldif", c.argument}, {.directory = dir.path()}).status,
        0);
    EXPECT_EQ(
        read_file(dir / "a.AddressBook.html"),
        expected_document(
            expected_row({.nickname = c.shown, .mail = "x@example.org"}), ""));
  }
}

}  // namespace
