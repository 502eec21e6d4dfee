// The converter under large, long and hostile inputs and failing writes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <string>

#include "expected_book.h"
#include "run_program.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif
#else
constexpr bool sanitized = false;
#endif

// Peak memory means little under the sanitizers, which keep freed memory
// in quarantine; it is checked in the plain build only.
void expect_peak_below(const program_result& result, long kib) {
  if (sanitized) return;
  EXPECT_LT(result.peak_kib, kib);
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + what.size())) {
    ++n;
  }
  return n;
}

TEST(Limits, DestinationFillingUpMidRunIsRemoved) {
  scratch_dir dir;
  std::string source;
  for (int i = 0; source.size() < 2'000'000; ++i) {
    source += "cn: Person " + std::to_string(i) + "\nmail: p" +
              std::to_string(i) + "@example.org\n\n";
  }
  write_file(dir / "big.ldif", source);
  const program_result result = run_converter(
      {"big.ldif", "1"}, {.directory = dir.path(), .file_size_limit = 700'000});
  EXPECT_EQ(result.status, 7);
  EXPECT_NE(result.err.find("could not be written:\n    big.AddressBook.html"),
            std::string::npos);
  EXPECT_FALSE(path_exists(dir / "big.AddressBook.html"));
}

// Streams block after block into a new FIFO at path from a child process,
// until total bytes are sent.
class fifo_feed {
 public:
  fifo_feed(const std::string& path, const std::string& block,
            std::size_t total) {
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    writer_ = ::fork();
    if (writer_ != 0) return;
    std::signal(SIGPIPE, SIG_DFL);
    const int fd = ::open(path.c_str(), O_WRONLY);
    for (std::size_t sent = 0; sent < total;) {
      const ssize_t put = ::write(fd, block.data(), block.size());
      if (put <= 0) ::_exit(1);
      sent += static_cast<std::size_t>(put);
    }
    ::_exit(0);
  }
  // Whether the child sent everything.
  bool finished() {
    int status = 0;
    ::waitpid(writer_, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  pid_t writer_ = -1;
};

TEST(Limits, GigabyteThroughAFifoKeepsMemoryFlat) {
  // Records that are no persons and no lists: nothing may accumulate.
  std::string block;
  while (block.size() < (1 << 20)) {
    block += "dn: o=Org\nobjectclass: organization\no: Org\ndescription: ";
    block += std::string(3000, 'd') + "\n " + std::string(3000, 'e') + "\n";
    block += "sn: " + std::string(6000, 's') + "\ntitle:: VGl0bGU=\n\n";
  }
  scratch_dir dir;
  fifo_feed feed(dir / "stream.ldif", block, std::size_t{1} << 30);
  const program_result result =
      run_converter({"stream.ldif", "1"}, {.directory = dir.path()});
  EXPECT_TRUE(feed.finished());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(read_file(dir / "stream.AddressBook.html"),
            expected_document("", ""));
  expect_peak_below(result, 16 * 1024);
}

TEST(Limits, DecodedValuesAreReleased) {
  // 5,000 persons, each with 12 KB of Base64 notes: kept, they would take
  // 60 MB; the persons themselves take 4 MB.
  std::string piece;
  for (int i = 0; i < 1000; ++i) piece += "QUJD";  // "ABC", folded in 4
  const std::string record = "cn: Ann\nmail: a@x\ndescription:: " + piece +
                             "\n " + piece + "\n " + piece + "\n " + piece +
                             "\n\n";
  scratch_dir dir;
  fifo_feed feed(dir / "notes.ldif", record, 5000 * record.size());
  const program_result result =
      run_converter({"notes.ldif", "1"}, {.directory = dir.path()});
  EXPECT_TRUE(feed.finished());
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string book = read_file(dir / "notes.AddressBook.html");
  EXPECT_EQ(count(book, "<TD>ABCABC"), 5000u);
  expect_peak_below(result, 24 * 1024);
}

TEST(Limits, MillionPersonsAreWrittenAndReleased) {
  std::string source;
  source.reserve(40'000'000);
  for (int i = 0; i < 1'000'000; ++i) {
    const std::string n = std::to_string(i);
    source += "cn: P" + n + "\nmail: p" + n + "@x\n\n";
  }
  source += "cn: List\nmember: cn=P999999,mail=p999999@x\n\n";
  scratch_dir dir;
  write_file(dir / "million.ldif", source);
  const program_result result =
      run_converter({"million.ldif", "1"}, {.directory = dir.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string book = read_file(dir / "million.AddressBook.html");
  EXPECT_EQ(count(book, "<TR VALIGN=TOP>\r\n"), 1'000'000u);
  EXPECT_TRUE(book.ends_with(
      "</TABLE>\r\n<P><B>List</B> [List]\r\n<UL>\r\n<LI>P999999\r\n"
      "</UL>\r\n</BODY></HTML>\r\n"));
  expect_peak_below(result, 1'000'000 + 16 * 1024);
}

TEST(Limits, CounterWrapsAcrossThousandsOfRows) {
  std::string source;
  for (int i = 0; i < 2000; ++i)
    source += "mail: m" + std::to_string(i) + "@x\n\n";
  scratch_dir dir;
  write_file(dir / "wrap.ldif", source);
  const program_result result =
      run_converter({"wrap.ldif", "2147483000"}, {.directory = dir.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  std::string rows;
  std::int64_t number = 2147483000;
  for (int i = 0; i < 2000; ++i, ++number) {
    const std::int64_t shown =
        number > 2147483647 ? number - (std::int64_t{1} << 32) : number;
    rows += expected_row({.nickname = std::to_string(shown),
                          .mail = "m" + std::to_string(i) + "@x"});
  }
  EXPECT_EQ(read_file(dir / "wrap.AddressBook.html"),
            expected_document(rows, ""));
}

TEST(Limits, TenMegabyteLineKeepsItsFirst4095Bytes) {
  scratch_dir dir;
  write_file(dir / "line.ldif",
             "cn: Ann\ndescription: " + std::string(10'000'000, 'x') +
                 "\nmail: a@x\n\n");
  const program_result result =
      run_converter({"line.ldif", "1"}, {.directory = dir.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(read_file(dir / "line.AddressBook.html"),
            expected_document(expected_row({.nickname = "Ann",
                                            .mail = "a@x",
                                            .name = "Ann",
                                            .notes = std::string(4082, 'x')}),
                              ""));
  expect_peak_below(result, 16 * 1024);
}

TEST(Limits, ContinuationsOverflowEverySlot) {
  // Each attribute line is followed by more continuation bytes than its
  // slot holds; every slot keeps what fits and nothing more.
  const std::string prefixes[] = {"xmozillanickname",
                                  "mail",
                                  "cn",
                                  "description",
                                  "title",
                                  "o",
                                  "streetaddress",
                                  "locality",
                                  "st",
                                  "postalcode",
                                  "countryname",
                                  "telephonenumber",
                                  "facsimiletelephonenumber"};
  std::string source;
  auto value = [](const std::string& prefix, char fill) {
    const std::size_t capacity = prefix == "description" ? 16384 : 4096;
    return std::string(capacity - prefix.size() - 2, fill);
  };
  for (const std::string& prefix : prefixes) {
    const char fill = static_cast<char>('a' + (&prefix - prefixes));
    source += prefix + ": ";
    for (int piece = 0; piece < 20; ++piece) {
      source += std::string(1000, fill) + "\n ";
    }
    source += "end\n";
  }
  source += "\n";
  scratch_dir dir;
  write_file(dir / "slots.ldif", source);
  const program_result result =
      run_converter({"slots.ldif", "1"}, {.directory = dir.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  auto v = [&](int i) {
    return value(prefixes[i], static_cast<char>('a' + i));
  };
  EXPECT_EQ(read_file(dir / "slots.AddressBook.html"),
            expected_document(
                expected_row({.nickname = v(0),
                              .mail = v(1),
                              .name = v(2),
                              .notes = v(3),
                              .title = v(4),
                              .organization = v(5),
                              .postal = v(6) + "<BR>" + v(7) + " " + v(8) +
                                        " " + v(9) + "<BR>" + v(10),
                              .phone = v(11),
                              .fax = v(12)}),
                ""));
}

}  // namespace
