// The record reader: one pass over the export that captures each record's
// attribute lines, collects mailing lists and has person rows written.
#ifndef LDIF2KESTRUNE_LDIF_READ_RECORDS_H
#define LDIF2KESTRUNE_LDIF_READ_RECORDS_H

#include <optional>
#include <string_view>

#include "driver/text_stream.h"

// Reads the source to its end (or its first read error), writing one row to
// destination per person record and adding every mailing list and member to
// groups. The end of the input closes the last record as an empty line does.
void read_records(text_reader& source, text_writer& destination);

// A member line's full name (after "cn=") and mail (after ",mail="); the
// comma of ",mail=" ends the name when "cn=" comes before it.
struct member_parts {
  std::optional<std::string_view> name;
  std::optional<std::string_view> mail;
};
member_parts split_member_line(std::string_view line);

#endif
