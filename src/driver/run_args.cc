#include "driver/run_args.h"

#include <limits>

namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::int32_t parse_first_number(const char* text) {
  while (is_space(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  // Accumulate the magnitude, saturating one past the largest value so that
  // however many digits follow nothing overflows.
  constexpr std::int64_t limit =
      static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
  std::int64_t magnitude = 0;
  for (; is_digit(*text); ++text) {
    magnitude = magnitude * 10 + (*text - '0');
    if (magnitude > limit) magnitude = limit;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(value);
}

std::string destination_path(std::string_view source) {
  const std::size_t dot = source.rfind('.');
  std::string path(dot == std::string_view::npos ? std::string_view()
                                                 : source.substr(0, dot + 1));
  path += "AddressBook.html";
  return path;
}

std::string_view program_name(std::string_view argv0) {
  const std::size_t separator = argv0.find_last_of("/:\\");
  if (separator == std::string_view::npos) return argv0;
  return argv0.substr(separator + 1);
}
