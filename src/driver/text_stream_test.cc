#include "driver/text_stream.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

// Feeds bytes to a reader through a pipe, written by a helper process so
// that inputs larger than the pipe's buffer work too.
class piped_input {
 public:
  explicit piped_input(const std::string& bytes) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    writer_ = ::fork();
    if (writer_ == 0) {
      ::close(fds[0]);
      std::size_t done = 0;
      while (done < bytes.size()) {
        ssize_t put = ::write(fds[1], bytes.data() + done, bytes.size() - done);
        if (put <= 0) ::_exit(1);
        done += static_cast<std::size_t>(put);
      }
      ::_exit(0);
    }
    ::close(fds[1]);
    fd_ = fds[0];
  }
  ~piped_input() {
    ::close(fd_);
    int status;
    ::waitpid(writer_, &status, 0);
  }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
  pid_t writer_ = -1;
};

std::vector<std::string> read_all(const std::string& bytes,
                                  std::size_t max_length = 4095) {
  piped_input input(bytes);
  text_reader reader(input.fd(), max_length);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.read_line(line) == text_reader::result::line) {
    lines.emplace_back(line);
  }
  EXPECT_FALSE(reader.failed());
  EXPECT_TRUE(reader.at_end());
  return lines;
}

using lines = std::vector<std::string>;

TEST(TextReader, AppliesTextModeRules) {
  const struct {
    const char* name;
    std::string bytes;
    lines expected;
  } cases[] = {
      {"empty input", "", {}},
      {"bare newlines", "a\nb\n", {"a", "b"}},
      {"CR LF reads as newline", "a\r\nb\r\n", {"a", "b"}},
      {"lone CR vanishes", "a\rb\r\r\nc", {"ab", "c"}},
      {"only CRs", "\r\r\r", {}},
      {"empty lines kept", "\n\na\n", {"", "", "a"}},
      {"last line without newline", "a\nb", {"a", "b"}},
      {"byte 26 ends input",
       std::string("a\nb\x1a"
                   "c\nd\n"),
       {"a", "b"}},
      {"byte 26 at line start", std::string("a\n\x1a\n"), {"a"}},
      {"zero bytes pass through",
       std::string("a\0b\n", 4),
       {std::string("a\0b", 3)}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read_all(c.bytes), c.expected) << c.name;
  }
}

TEST(TextReader, KeepsTheFirstBytesOfALongLineAndDropsTheRest) {
  EXPECT_EQ(read_all("abcdef\nxy\n", 4), (lines{"abcd", "xy"}));
  EXPECT_EQ(read_all("abcd\n\nxy", 4), (lines{"abcd", "", "xy"}));
  // The bound counts bytes after CRs are dropped.
  EXPECT_EQ(read_all("a\r\rb\rcd\n", 4), (lines{"abcd"}));
}

TEST(TextReader, JoinsLinesAcrossBlocks) {
  // Lines that straddle the reader's block boundary, some longer than the
  // bound, with CR LF line ends.
  std::string bytes;
  lines expected;
  for (int i = 0; bytes.size() < 3 * text_block_size; ++i) {
    std::string line(static_cast<std::size_t>(i * 37 % 6000),
                     static_cast<char>('a' + i % 26));
    bytes += line + "\r\n";
    expected.push_back(line.substr(0, 4095));
  }
  EXPECT_EQ(read_all(bytes), expected);
}

TEST(TextReader, CutsLinesAtTheBlockBoundaryOfAFile) {
  // A regular file is read in whole blocks, so the boundary falls exactly
  // where each case puts its special byte.
  const std::size_t last = text_block_size - 1;  // last byte of block one
  const struct {
    const char* name;
    std::size_t at;
    std::string bytes;
    std::string line;
  } cases[] = {
      {"CR LF split by the boundary", last, "\r\n", "x"},
      {"line end on the last byte", last, "\n", "x"},
      {"zero byte on the first byte of block two", last + 1,
       std::string("\0y\r\n", 4), std::string("x\0y", 3)},
      {"lone CR on the last byte", last, "\ry\n", "xy"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char path[] = "/tmp/text_reader_XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::unlink(path);
    // A filler line, then nine "x" that end right before c.at.
    const std::size_t start = c.at - 9;
    const std::string bytes = std::string(start - 1, 'f') + "\n" +
                              std::string(9, 'x') + c.bytes + "next\n";
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
    ::lseek(fd, 0, SEEK_SET);
    text_reader reader(fd, 4095);
    std::string_view line;
    ASSERT_EQ(reader.read_line(line), text_reader::result::line);
    ASSERT_EQ(reader.read_line(line), text_reader::result::line);
    EXPECT_EQ(line, std::string(8, 'x') + c.line);
    EXPECT_EQ(reader.line_has_zero(), c.line.find('\0') != std::string::npos);
    ASSERT_EQ(reader.read_line(line), text_reader::result::line);
    EXPECT_EQ(line, "next");
    EXPECT_EQ(reader.read_line(line), text_reader::result::end);
    ::close(fd);
  }
}

TEST(TextReader, ReportsTheEndOnlyAfterARunIntoIt) {
  piped_input input("a\n");
  text_reader reader(input.fd(), 16);
  std::string_view line;
  ASSERT_EQ(reader.read_line(line), text_reader::result::line);
  EXPECT_FALSE(reader.at_end());
  EXPECT_EQ(reader.read_line(line), text_reader::result::end);
  EXPECT_TRUE(reader.at_end());
  EXPECT_EQ(reader.read_line(line), text_reader::result::end);
}

TEST(TextReader, TellsAReadErrorFromTheEnd) {
  const int fd = ::open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  text_reader reader(fd, 16);
  std::string_view line;
  EXPECT_EQ(reader.read_line(line), text_reader::result::error);
  EXPECT_TRUE(reader.failed());
  EXPECT_FALSE(reader.at_end());
  ::close(fd);
}

// What a writer puts into a file, read back.
std::string written(const std::vector<std::string>& pieces) {
  char path[] = "/tmp/text_writer_XXXXXX";
  const int fd = ::mkstemp(path);
  EXPECT_GE(fd, 0);
  ::unlink(path);
  text_writer writer(fd);
  for (const std::string& piece : pieces) writer.write(piece);
  EXPECT_TRUE(writer.flush());
  std::string bytes;
  char block[4096];
  ::lseek(fd, 0, SEEK_SET);
  for (ssize_t got; (got = ::read(fd, block, sizeof block)) > 0;) {
    bytes.append(block, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return bytes;
}

TEST(TextWriter, WritesEveryNewlineAsCrLf) {
  EXPECT_EQ(written({"a\nb", "\n", "\n\nc"}), "a\r\nb\r\n\r\n\r\nc");
  EXPECT_EQ(written({"no line end"}), "no line end");
  EXPECT_EQ(written({std::string("\0\r\n", 3)}), std::string("\0\r\r\n", 4));
  // Text larger than the writer's block, with a line end on its boundary.
  std::string large(text_block_size - 1, 'x');
  large += "\nyz";
  EXPECT_EQ(written({large}), std::string(text_block_size - 1, 'x') + "\r\nyz");
}

TEST(TextWriter, RemembersAFailedWrite) {
  const int fd = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(fd, 0);
  text_writer writer(fd);
  writer.write("lost\n");
  EXPECT_FALSE(writer.failed());  // still buffered
  EXPECT_FALSE(writer.flush());
  EXPECT_TRUE(writer.failed());
  writer.write("more");
  EXPECT_FALSE(writer.flush());
  ::close(fd);
}

}  // namespace
