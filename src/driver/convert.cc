#include "driver/convert.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "book/counter.h"
#include "book/group_sections.h"
#include "driver/run_args.h"
#include "driver/text_stream.h"
#include "ldif/base64.h"
#include "ldif/read_records.h"

namespace {

// Longest line the record reader looks at; the rest of a line is dropped.
constexpr std::size_t max_line_length = 4095;

constexpr std::string_view banner =
    "\nldif2kestrune: Netscape Messenger LDIF export to Kestrune Mailer "
    "address book\n";

constexpr std::string_view document_head =
    "<HTML><!-- ADDRESS BOOK -->\n"
    "<HEAD><TITLE>Bramblet Address Book</TITLE></HEAD><BODY>\n"
    "<P><B>NICKNAME:</B> \n"
    "<P><B>DOMAIN:</B> \n"
    "<P><B>SORTSTYLE:</B> 0\n"
    "<P><B>SORTTYPE:</B> 0\n"
    "<TABLE BORDER=1 CELLPADDING=4>\n"
    "<TH>Nickname</TH>\n"
    "<TH>Email Address</TH>\n"
    "<TH>Full Name</TH>\n"
    "<TH>Groups</TH>\n"
    "<TH>Alert</TH>\n"
    "<TH>Folder</TH>\n"
    "<TH>Notes</TH>\n"
    "<TH>Title</TH>\n"
    "<TH>Organization</TH>\n"
    "<TH>Postal Address</TH>\n"
    "<TH>Phone Number</TH>\n"
    "<TH>Fax Number</TH>\n"
    "<TH>Short List</TH>\n"
    "<TH>Persona</TH>\n";

// What the run learned that its closing message needs.
struct run_report {
  std::string_view program = "ldif2kestrune";
  std::string_view source;
  std::string_view first_number;
  std::string destination;
};

void write_console(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

std::string usage_text(std::string_view program) {
  std::string text = "\nSyntax: ";
  text += program;
  text +=
      " exported_Netscape_address_book first_nickname\n"
      "\n"
      "Version: Beta 3\n"
      "\n"
      "This C++ program converts an exported Netscape Messenger\n"
      "address book LDIF file into a Kestrune Mailer HTML address\n"
      "book file the first nickname must be a numeric value. It is\n"
      "incremented for each Kestrune Mailer address book entry, but\n"
      "is only used for those entries that do not have a nickname,\n"
      "full name, or organization name in the Netscape address book.\n";
  return text;
}

std::string message_for(std::int32_t status, const run_report& report) {
  auto filled = [](std::string_view head, std::string_view what) {
    std::string text(head);
    text += what;
    text += '\n';
    return text;
  };
  switch (status) {
    case status_success:
      return filled(
          "\nSuccess: The Netscape address book export file has been "
          "converted:\n    " +
              std::string(report.source) + "\n => ",
          report.destination);
    case status_usage:
      return usage_text(report.program);
    case status_source_unopened:
      return filled("\nError: The source file could not be opened:\n    ",
                    report.source);
    case status_source_path_too_long:
      return filled(
          "\nError: The source path is too long to create the destination "
          "file\n    ",
          report.source);
    case status_destination_uncreated:
      return filled("\nError: The destination file could not be created:\n    ",
                    report.destination);
    case status_destination_exists:
      return filled("\nError: The destination file already exists:\n    ",
                    report.destination);
    case status_bad_first_number:
      return filled("\nError: Bad starting nickname value:\n    ",
                    report.first_number);
    case status_destination_unwritten:
      return filled("\nError: The destination file could not be written:\n    ",
                    report.destination);
    default:
      return filled("\nError: The source file could not be read:\n    ",
                    report.source);
  }
}

// Opens the source for reading; a directory does not count as openable.
int open_source(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info;
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool path_exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

// Creates the destination exclusively and fills it; an incomplete
// destination is removed again.
std::int32_t convert_source(int source_fd, run_report& report) {
  if (report.source.size() > max_source_path) {
    return status_source_path_too_long;
  }
  report.destination = destination_path(report.source);
  const char* destination = report.destination.c_str();
  // The exclusive create below is what guarantees that nothing existing is
  // touched; this test only keeps the message for the common case early.
  if (path_exists(report.destination)) return status_destination_exists;
  const int fd =
      ::open(destination, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    return errno == EEXIST ? status_destination_exists
                           : status_destination_uncreated;
  }
  std::int32_t status = convert_export(source_fd, fd);
  if (::close(fd) != 0 && status == status_success) {
    status = status_destination_unwritten;
  }
  if (status != status_success) ::unlink(destination);
  return status;
}

std::int32_t run(std::int32_t argc, const char* const* argv,
                 run_report& report) {
  if (argc >= 1 && argv[0] != nullptr) report.program = program_name(argv[0]);
  if (argc != 3) return status_usage;
  report.source = argv[1];
  report.first_number = argv[2];
  nickname_counter = parse_first_number(argv[2]);
  if (nickname_counter < 1) return status_bad_first_number;
  build_base64_table();
  const int source_fd = open_source(argv[1]);
  if (source_fd < 0) return status_source_unopened;
  const std::int32_t status = convert_source(source_fd, report);
  ::close(source_fd);
  return status;
}

}  // namespace

std::int32_t convert_export(int source_fd, int destination_fd) {
  text_reader source(source_fd, max_line_length);
  text_writer destination(destination_fd);
  destination.write(document_head);
  read_records(source, destination);
  if (source.failed()) return status_source_unread;
  destination.write_markup("</TABLE>\n");
  write_group_sections(destination);
  destination.write_markup("</BODY></HTML>\n");
  return destination.flush() ? status_success : status_destination_unwritten;
}

std::int32_t convert(std::int32_t argc, const char* const* argv) {
  write_console(banner);
  run_report report;
  const std::int32_t status = run(argc, argv, report);
  write_console(message_for(status, report));
  return status;
}
