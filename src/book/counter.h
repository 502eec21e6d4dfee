// The nickname counter: every person row and then every group section takes
// one number from it, whether or not the number is shown.
#ifndef LDIF2KESTRUNE_BOOK_COUNTER_H
#define LDIF2KESTRUNE_BOOK_COUNTER_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern std::int32_t nickname_counter;

// A number in signed decimal: no leading zeros or blanks, "-" when negative.
class counter_text {
 public:
  counter_text() = default;
  explicit counter_text(std::int32_t value);
  std::string_view view() const { return {digits_.data(), size_}; }

 private:
  std::array<char, 12> digits_{};
  std::size_t size_ = 0;
};

// Takes the counter's value and advances it by one, from the largest 32-bit
// value on to the smallest; returns the text of the value taken.
counter_text take_number();

#endif
