// Group sections: after the table, one section per mailing list naming the
// nicknames of its members that are persons of the book.
#ifndef LDIF2KESTRUNE_BOOK_GROUP_SECTIONS_H
#define LDIF2KESTRUNE_BOOK_GROUP_SECTIONS_H

#include "driver/text_stream.h"

// Writes one section per group of groups, in order, each taking a number;
// writes nothing when there is no group.
void write_group_sections(text_writer& destination);

#endif
