// The conversion run: the whole life of the program as the command line
// sees it.
#ifndef LDIF2KESTRUNE_DRIVER_CONVERT_H
#define LDIF2KESTRUNE_DRIVER_CONVERT_H

#include <cstdint>

// Exit statuses of a run; each but success has one message of its own.
enum run_status : std::int32_t {
  status_success = 0,
  status_usage = 1,
  status_source_unopened = 2,
  status_source_path_too_long = 3,
  status_destination_uncreated = 4,
  status_destination_exists = 5,
  status_bad_first_number = 6,
  status_destination_unwritten = 7,
  status_source_unread = 8,
};

// Writes the whole address book from an open source to an open
// destination, both descriptors left open: 0, or status 7 when a write
// failed, or 8 when reading the source failed.
std::int32_t convert_export(int source_fd, int destination_fd);

// Converts the export named by argv[1] into its address book, numbering from
// argv[2]; prints the banner and exactly one message on standard error and
// returns the run's status.
std::int32_t convert(std::int32_t argc, const char* const* argv);

#endif
