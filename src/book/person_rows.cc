#include "book/person_rows.h"

#include "ldif/attribute_slots.h"
#include "lists/address_lists.h"

namespace {

std::string_view line_of(slot_id id) { return slot(id).line(); }

// A cell that always shows the same thing is fed an empty text, which has
// no value, so that the fallback decides.
constexpr std::string_view no_line;

}  // namespace

attr_value write_value(text_writer& destination, std::string_view line,
                       std::optional<std::string_view> fallback) {
  attr_value value = attribute_value(line);
  if (value.is_none() && fallback) value = attr_value(*fallback);
  if (const std::optional<std::string_view> text = value.text()) {
    destination.write(*text);
  }
  return value;
}

attr_value write_cell(text_writer& destination, std::string_view line,
                      std::optional<std::string_view> fallback) {
  destination.write_markup("<TD>");
  attr_value value = write_value(destination, line, fallback);
  destination.write_markup("</TD>\n");
  return value;
}

attr_value write_nickname_cell(text_writer& destination,
                               std::string_view nickname_line,
                               std::string_view cn_line,
                               std::string_view o_line, counter_text& number) {
  destination.write_markup("<TD><B>");
  number = take_number();
  attr_value value;
  if (!nickname_line.empty()) {
    value = write_value(destination, nickname_line, std::nullopt);
  } else if (!cn_line.empty()) {
    value = write_value(destination, cn_line, std::nullopt);
  } else {
    value = write_value(destination, o_line, number.view());
  }
  destination.write_markup("</B></TD>\n");
  return value;
}

void write_postal_cell(text_writer& destination, std::string_view street,
                       std::string_view locality, std::string_view st,
                       std::string_view postalcode,
                       std::string_view countryname) {
  destination.write_markup("<TD>");
  write_value(destination, street, std::nullopt);
  destination.write_markup("<BR>");
  write_value(destination, locality, std::nullopt);
  destination.write_markup(" ");
  write_value(destination, st, std::nullopt);
  destination.write_markup(" ");
  write_value(destination, postalcode, std::nullopt);
  destination.write_markup("<BR>");
  write_value(destination, countryname, std::nullopt);
  destination.write_markup("</TD>\n");
}

void write_person_row(text_writer& destination) {
  destination.write_markup("<TR VALIGN=TOP>\n");
  counter_text number;
  const attr_value nickname =
      write_nickname_cell(destination, line_of(slot_id::xmozillanickname),
                          line_of(slot_id::cn), line_of(slot_id::o), number);
  const attr_value mail = write_cell(destination, line_of(slot_id::mail), "@");
  const attr_value name =
      write_cell(destination, line_of(slot_id::cn), std::nullopt);
  for (int empty_cell = 0; empty_cell < 3; ++empty_cell) {
    write_cell(destination, no_line, std::nullopt);  // Groups, Alert, Folder
  }
  write_cell(destination, line_of(slot_id::description), std::nullopt);
  write_cell(destination, line_of(slot_id::title), std::nullopt);
  write_cell(destination, line_of(slot_id::o), std::nullopt);
  write_postal_cell(destination, line_of(slot_id::streetaddress),
                    line_of(slot_id::locality), line_of(slot_id::st),
                    line_of(slot_id::postalcode),
                    line_of(slot_id::countryname));
  write_cell(destination, line_of(slot_id::telephonenumber), std::nullopt);
  write_cell(destination, line_of(slot_id::facsimiletelephonenumber),
             std::nullopt);
  write_cell(destination, no_line, "false");       // Short List
  write_cell(destination, no_line, std::nullopt);  // Persona
  destination.write_markup("</TR>\n");
  people.add(nickname.text(), name.text(), mail.text());
}
