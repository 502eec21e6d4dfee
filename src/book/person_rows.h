// Person rows: one table row of fourteen cells per person record, written
// from the attribute slots, and the person remembered in people.
#ifndef LDIF2KESTRUNE_BOOK_PERSON_ROWS_H
#define LDIF2KESTRUNE_BOOK_PERSON_ROWS_H

#include <optional>
#include <string_view>

#include "book/counter.h"
#include "driver/text_stream.h"
#include "ldif/attribute_value.h"

// Writes the value of line, or the fallback when it has none, unchanged;
// returns the text written, or none when nothing was.
attr_value write_value(text_writer& destination, std::string_view line,
                       std::optional<std::string_view> fallback);

// write_value inside "<TD>" and "</TD>\n"; returns what write_value did.
attr_value write_cell(text_writer& destination, std::string_view line,
                      std::optional<std::string_view> fallback);

// The bold first cell. Takes a number into number in every call, then shows
// the nickname line's value if that slot holds a line, else the full name's
// if that one does, else the organization's with the number as fallback.
// The result may view number, which the caller keeps.
attr_value write_nickname_cell(text_writer& destination,
                               std::string_view nickname_line,
                               std::string_view cn_line,
                               std::string_view o_line, counter_text& number);

// The five postal values in one cell, with every separator always written.
void write_postal_cell(text_writer& destination, std::string_view street,
                       std::string_view locality, std::string_view st,
                       std::string_view postalcode,
                       std::string_view countryname);

// Writes the row of the record in the slots and adds the person to people
// with the nickname, full name and e-mail address the row shows.
void write_person_row(text_writer& destination);

#endif
