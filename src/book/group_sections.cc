#include "book/group_sections.h"

#include <cstdint>
#include <string_view>

#include "book/counter.h"
#include "lists/address_lists.h"

namespace {

// The current group's section. Its members are resolved to persons by full
// name and mail; members that are no person of the book are left out.
void write_current_group(text_writer& destination) {
  const counter_text number = take_number();
  const std::string_view name = groups.name().value_or("");
  // A nickname only decides that the number is shown; it is never written.
  const std::string_view bracket =
      groups.nickname().value_or("").empty() ? name : number.view();
  destination.write_markup("<P><B>");
  destination.write(name);
  destination.write_markup("</B> [");
  destination.write(bracket);
  destination.write_markup("]\n<UL>\n");
  groups.rewind_members();
  for (std::int32_t i = 0; i < groups.member_count(); ++i) {
    const nick_record* person = people.find(groups.member_name().value_or(""),
                                            groups.member_mail().value_or(""));
    if (person != nullptr) {
      destination.write_markup("<LI>");
      destination.write(person->nickname.view());
      destination.write_markup("\n");
    }
    groups.advance_members();
  }
  destination.write_markup("</UL>\n");
}

}  // namespace

void write_group_sections(text_writer& destination) {
  groups.rewind();
  for (std::int32_t i = 0; i < groups.count(); ++i) {
    write_current_group(destination);
    groups.advance();
  }
}
