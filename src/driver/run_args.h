// The command line's meaning: the first number, the destination path derived
// from the source path, and the program name shown in the usage text.
#ifndef LDIF2KESTRUNE_DRIVER_RUN_ARGS_H
#define LDIF2KESTRUNE_DRIVER_RUN_ARGS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Longest source path whose destination path still fits in 255 bytes.
inline constexpr std::size_t max_source_path = 239;

// Reads a signed decimal number: leading white space, an optional sign, the
// digits that follow; anything after them is ignored, no digit gives 0, and
// values beyond the signed 32-bit range are clamped to its limits.
std::int32_t parse_first_number(const char* text);

// Cuts the source path after its last "." (all of it when it has none) and
// appends "AddressBook.html".
std::string destination_path(std::string_view source);

// The part of argv[0] after its last "/", ":" or backslash.
std::string_view program_name(std::string_view argv0);

#endif
