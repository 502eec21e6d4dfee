// Fuzzes the whole conversion of an export held in memory. The input's first
// line is the first number; the rest is the export. Besides the sanitizers'
// checks, every output is checked for the shape of an address book.
#include <sys/mman.h>
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

#include "book/counter.h"
#include "driver/convert.h"
#include "driver/run_args.h"
#include "ldif/base64.h"
#include "lists/address_lists.h"

namespace {

constexpr std::string_view head =
    "<HTML><!-- ADDRESS BOOK -->\r\n"
    "<HEAD><TITLE>Bramblet Address Book</TITLE></HEAD><BODY>\r\n"
    "<P><B>NICKNAME:</B> \r\n<P><B>DOMAIN:</B> \r\n"
    "<P><B>SORTSTYLE:</B> 0\r\n<P><B>SORTTYPE:</B> 0\r\n"
    "<TABLE BORDER=1 CELLPADDING=4>\r\n<TH>Nickname</TH>\r\n"
    "<TH>Email Address</TH>\r\n<TH>Full Name</TH>\r\n<TH>Groups</TH>\r\n"
    "<TH>Alert</TH>\r\n<TH>Folder</TH>\r\n<TH>Notes</TH>\r\n<TH>Title</TH>\r\n"
    "<TH>Organization</TH>\r\n<TH>Postal Address</TH>\r\n"
    "<TH>Phone Number</TH>\r\n<TH>Fax Number</TH>\r\n<TH>Short List</TH>\r\n"
    "<TH>Persona</TH>\r\n";
constexpr std::string_view tail = "</BODY></HTML>\r\n";

[[noreturn]] void fault(const char* what) {
  std::fprintf(stderr, "property violated: %s\n", what);
  std::abort();
}

void require(bool holds, const char* what) {
  if (!holds) fault(what);
}

int memory_file(std::string_view bytes) {
  const int fd = ::memfd_create("fuzz", 0);
  require(fd >= 0, "memfd_create");
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    require(put > 0, "write to memory file");
    done += static_cast<std::size_t>(put);
  }
  ::lseek(fd, 0, SEEK_SET);
  return fd;
}

std::string contents(int fd) {
  std::string bytes;
  char block[65536];
  ::lseek(fd, 0, SEEK_SET);
  for (ssize_t got; (got = ::read(fd, block, sizeof block)) > 0;) {
    bytes.append(block, static_cast<std::size_t>(got));
  }
  return bytes;
}

// Consumes text from the front of rest when it is there.
bool take(std::string_view& rest, std::string_view text) {
  if (!rest.starts_with(text)) return false;
  rest.remove_prefix(text.size());
  return true;
}

// Consumes everything up to and including the next occurrence of end.
void take_through(std::string_view& rest, std::string_view end) {
  const std::size_t at = rest.find(end);
  require(at != std::string_view::npos, "unterminated element");
  rest.remove_prefix(at + end.size());
}

// With no "<" in any value, the book parses exactly: one row of fourteen
// cells per person, then one section per group.
void check_structure(std::string_view rest) {
  require(take(rest, head), "head");
  std::int32_t rows = 0;
  while (take(rest, "<TR VALIGN=TOP>\r\n")) {
    require(take(rest, "<TD><B>"), "nickname cell");
    take_through(rest, "</B></TD>\r\n");
    for (int cell = 2; cell <= 14; ++cell) {
      require(take(rest, "<TD>"), "cell start");
      if (cell == 13) require(rest.starts_with("false</TD>"), "short list");
      take_through(rest, "</TD>\r\n");
    }
    require(take(rest, "</TR>\r\n"), "row end");
    ++rows;
  }
  require(rows == people.count(), "one row per person");
  require(take(rest, "</TABLE>\r\n"), "table end");
  for (std::int32_t group = 0; group < groups.count(); ++group) {
    require(take(rest, "<P><B>"), "group header");
    take_through(rest, "</B> [");
    take_through(rest, "]\r\n<UL>\r\n");
    while (take(rest, "<LI>")) take_through(rest, "\r\n");
    require(take(rest, "</UL>\r\n"), "group end");
  }
  require(rest == tail, "document tail");
}

void check_book(std::string_view book, bool values_plain) {
  require(book.starts_with(head), "document head");
  require(book.ends_with(tail), "document tail");
  for (std::size_t at = book.find('\n'); at != std::string_view::npos;
       at = book.find('\n', at + 1)) {
    require(at > 0 && book[at - 1] == '\r', "LF without CR");
  }
  if (values_plain) check_structure(book);
}

// Releases the run's lists as the program's end does, groups first, and
// makes them new for the next input.
void renew_lists() {
  groups.~group_class();
  people.~nick_class();
  new (&people) nick_class;
  new (&groups) group_class;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t line_end = input.find('\n');
  const std::string number =
      input.substr(0, line_end == std::string::npos ? 0 : line_end);
  std::string source =
      line_end == std::string::npos ? input : input.substr(line_end + 1);
  // Only a decoded value can bring a "<" into the book when the export has
  // none of its own; such books are checked less strictly.
  const bool values_plain = source.find('<') == std::string::npos &&
                            source.find(":: ") == std::string::npos;

  nickname_counter = parse_first_number(number.c_str());
  build_base64_table();
  const int source_fd = memory_file(source);
  const int book_fd = memory_file("");
  require(convert_export(source_fd, book_fd) == status_success, "status 0");
  check_book(contents(book_fd), values_plain);
  ::close(source_fd);
  ::close(book_fd);
  renew_lists();
  return 0;
}
