#include "ldif/attribute_slots.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t line_slot_capacity = 4096;
constexpr std::size_t description_capacity = 16384;

char line_bytes[slot_count - 1][line_slot_capacity];
char description_bytes[description_capacity];

std::array<attribute_slot, slot_count> make_slots() {
  auto line_slot = [](std::size_t i) {
    return attribute_slot(line_bytes[i], line_slot_capacity);
  };
  return {line_slot(0), line_slot(1),
          line_slot(2), attribute_slot(description_bytes, description_capacity),
          line_slot(3), line_slot(4),
          line_slot(5), line_slot(6),
          line_slot(7), line_slot(8),
          line_slot(9), line_slot(10),
          line_slot(11)};
}

std::array<attribute_slot, slot_count> slots = make_slots();

}  // namespace

void attribute_slot::assign(std::string_view text) {
  size_ = 0;
  append(text);
}

void attribute_slot::append(std::string_view text) {
  const std::size_t take = std::min(text.size(), capacity_ - size_);
  std::copy_n(text.data(), take, bytes_ + size_);
  size_ += take;
}

attribute_slot& slot(slot_id id) { return slots[static_cast<std::size_t>(id)]; }

void clear_slots() {
  for (attribute_slot& s : slots) s.clear();
}
