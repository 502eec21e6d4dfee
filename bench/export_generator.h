// A deterministic generator of large Netscape Messenger exports for
// measuring the converter: the same arguments always give the same bytes.
#ifndef LDIF2KESTRUNE_BENCH_EXPORT_GENERATOR_H
#define LDIF2KESTRUNE_BENCH_EXPORT_GENERATOR_H

#include <cstdint>
#include <ostream>

struct export_shape {
  std::int64_t persons = 200'000;
  std::int64_t lists = 10;
  std::int64_t members_per_list = 10;
  std::uint64_t seed = 1;
};

// Writes the export with CR LF line ends: the persons, then the mailing
// lists, whose members name persons of the export.
void write_export(std::ostream& out, const export_shape& shape);

#endif
