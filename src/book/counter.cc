#include "book/counter.h"

#include <charconv>

std::int32_t nickname_counter = 0;

counter_text::counter_text(std::int32_t value) {
  const auto end =
      std::to_chars(digits_.data(), digits_.data() + digits_.size(), value);
  size_ = static_cast<std::size_t>(end.ptr - digits_.data());
}

counter_text take_number() {
  const std::int32_t value = nickname_counter;
  // Unsigned arithmetic wraps where signed arithmetic would be undefined.
  nickname_counter =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 1u);
  return counter_text(value);
}
