// The capture buffers of the record reader: one per recognised attribute,
// each holding one whole line, prefix included, with its continuations.
#ifndef LDIF2KESTRUNE_LDIF_ATTRIBUTE_SLOTS_H
#define LDIF2KESTRUNE_LDIF_ATTRIBUTE_SLOTS_H

#include <array>
#include <cstddef>
#include <string_view>

// The slots, in the order in which a line is compared with their prefixes.
enum class slot_id {
  xmozillanickname,
  mail,
  cn,
  description,
  title,
  o,
  streetaddress,
  locality,
  st,
  postalcode,
  countryname,
  telephonenumber,
  facsimiletelephonenumber,
};
inline constexpr std::size_t slot_count = 13;

// A bounded text buffer; nothing is ever written past its capacity.
class attribute_slot {
 public:
  attribute_slot(char* bytes, std::size_t capacity)
      : bytes_(bytes), capacity_(capacity) {}

  bool holds_line() const { return size_ != 0; }
  std::string_view line() const { return {bytes_, size_}; }
  std::size_t capacity() const { return capacity_; }

  // Replaces the slot's text with the first capacity() bytes of text.
  void assign(std::string_view text);
  // Appends what fits of text; the rest is dropped.
  void append(std::string_view text);
  void clear() { size_ = 0; }

 private:
  char* bytes_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

// The prefix that the lines of each slot begin with, in slot order.
inline constexpr std::array<std::string_view, slot_count> slot_prefixes = {
    "xmozillanickname:",
    "mail:",
    "cn:",
    "description:",
    "title:",
    "o:",
    "streetaddress:",
    "locality:",
    "st:",
    "postalcode:",
    "countryname:",
    "telephonenumber:",
    "facsimiletelephonenumber:",
};
constexpr std::string_view slot_prefix(slot_id id) {
  return slot_prefixes[static_cast<std::size_t>(id)];
}

// The slot of an attribute.
attribute_slot& slot(slot_id id);

// Empties all thirteen slots.
void clear_slots();

#endif
