#include "ldif/read_records.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "book/person_rows.h"
#include "ldif/attribute_slots.h"
#include "ldif/attribute_value.h"
#include "lists/address_lists.h"

namespace {

constexpr std::string_view member_prefix = "member:";

// What the reader knows of the record being read.
struct record_state {
  attribute_slot* continuation_target = nullptr;
  std::int32_t member_count = 0;
};

// Inlined, with the prefix known, so the comparison is a few instructions.
inline bool begins_with(std::string_view line, slot_id id) {
  return line.starts_with(slot_prefix(id));
}

// The slot whose prefix begins the line. The first byte picks the one or
// two prefixes worth comparing, so most lines are compared with at most two.
std::optional<slot_id> matching_slot(std::string_view line) {
  auto either = [&](slot_id a, slot_id b) -> std::optional<slot_id> {
    if (begins_with(line, a)) return a;
    if (begins_with(line, b)) return b;
    return std::nullopt;
  };
  auto only = [&](slot_id a) -> std::optional<slot_id> {
    if (begins_with(line, a)) return a;
    return std::nullopt;
  };
  switch (line.empty() ? '\0' : line[0]) {
    case 'x':
      return only(slot_id::xmozillanickname);
    case 'm':
      return only(slot_id::mail);
    case 'c':
      return either(slot_id::cn, slot_id::countryname);
    case 'd':
      return only(slot_id::description);
    case 't':
      return either(slot_id::title, slot_id::telephonenumber);
    case 'o':
      return only(slot_id::o);
    case 's':
      return either(slot_id::streetaddress, slot_id::st);
    case 'l':
      return only(slot_id::locality);
    case 'p':
      return only(slot_id::postalcode);
    case 'f':
      return only(slot_id::facsimiletelephonenumber);
    default:
      return std::nullopt;
  }
}

void end_record(record_state& state, text_writer& destination) {
  const bool person =
      slot(slot_id::mail).holds_line() || slot(slot_id::cn).holds_line();
  if (person && state.member_count == 0) write_person_row(destination);
  state.member_count = 0;
  clear_slots();
}

// The record's first member line makes its group from the slots as they
// stand; every member line adds one member to the newest group.
void read_member_line(std::string_view line, record_state& state) {
  if (state.member_count == 0) {
    const attr_value name = attribute_value(slot(slot_id::cn).line());
    const attr_value nickname =
        attribute_value(slot(slot_id::xmozillanickname).line());
    groups.add(name.text(), nickname.text());
  }
  const member_parts member = split_member_line(line);
  groups.add_member(member.name, member.mail);
  // Only "none yet" matters; saturate rather than overflow on endless input.
  if (state.member_count < std::numeric_limits<std::int32_t>::max()) {
    ++state.member_count;
  }
}

void handle_line(std::string_view line, record_state& state,
                 text_writer& destination) {
  if (!line.empty() && line[0] == ' ') {
    if (state.continuation_target != nullptr) {
      state.continuation_target->append(line.substr(1));
    }
  } else if (const std::optional<slot_id> id = matching_slot(line)) {
    slot(*id).assign(line);
    state.continuation_target = &slot(*id);
  } else {
    if (line.starts_with(member_prefix)) read_member_line(line, state);
    state.continuation_target = nullptr;
  }
  if (line.empty()) end_record(state, destination);
}

}  // namespace

member_parts split_member_line(std::string_view line) {
  member_parts parts;
  const std::size_t name = line.find("cn=");
  const std::size_t mail = line.find(",mail=");
  if (mail != std::string_view::npos) parts.mail = line.substr(mail + 6);
  if (name != std::string_view::npos) {
    const std::size_t start = name + 3;
    // "cn=" and ",mail=" cannot overlap, so the name ends at the comma
    // exactly when it starts before it.
    parts.name = mail != std::string_view::npos && start <= mail
                     ? line.substr(start, mail - start)
                     : line.substr(start);
  }
  return parts;
}

void read_records(text_reader& source, text_writer& destination) {
  record_state state;
  clear_slots();
  std::string_view line;
  while (source.read_line(line) == text_reader::result::line) {
    // A line that starts with a zero byte is no line at all, not even an
    // empty one; elsewhere a zero byte ends the line's text.
    if (source.line_has_zero()) {
      if (line[0] == '\0') continue;
      line = line.substr(0, line.find('\0'));
    }
    handle_line(line, state, destination);
  }
  if (!source.failed()) end_record(state, destination);
}
