// The fixed texts of the converter's console and of the address book
// document, written out here independently of the program, for comparing.
#ifndef LDIF2KESTRUNE_TESTS_EXPECTED_BOOK_H
#define LDIF2KESTRUNE_TESTS_EXPECTED_BOOK_H

#include <string>

inline const std::string expected_banner =
    "\nldif2kestrune: Netscape Messenger LDIF export to Kestrune Mailer "
    "address book\n";

inline const std::string expected_head =
    "<HTML><!-- ADDRESS BOOK -->\n"
    "<HEAD><TITLE>Bramblet Address Book</TITLE></HEAD><BODY>\n"
    "<P><B>NICKNAME:</B> \n"
    "<P><B>DOMAIN:</B> \n"
    "<P><B>SORTSTYLE:</B> 0\n"
    "<P><B>SORTTYPE:</B> 0\n"
    "<TABLE BORDER=1 CELLPADDING=4>\n"
    "<TH>Nickname</TH>\n"
    "<TH>Email Address</TH>\n"
    "<TH>Full Name</TH>\n"
    "<TH>Groups</TH>\n"
    "<TH>Alert</TH>\n"
    "<TH>Folder</TH>\n"
    "<TH>Notes</TH>\n"
    "<TH>Title</TH>\n"
    "<TH>Organization</TH>\n"
    "<TH>Postal Address</TH>\n"
    "<TH>Phone Number</TH>\n"
    "<TH>Fax Number</TH>\n"
    "<TH>Short List</TH>\n"
    "<TH>Persona</TH>\n";

inline const std::string expected_table_end = "</TABLE>\n";
inline const std::string expected_tail = "</BODY></HTML>\n";

// The whole document around rows and group sections, with CR LF line ends.
inline std::string expected_document(const std::string& rows,
                                     const std::string& sections) {
  std::string text =
      expected_head + rows + expected_table_end + sections + expected_tail;
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The texts of a person row's cells that vary; the rest are fixed.
struct row_cells {
  std::string nickname;
  std::string mail = "@";
  std::string name;
  std::string notes;
  std::string title;
  std::string organization;
  std::string postal = "<BR>  <BR>";
  std::string phone;
  std::string fax;
};

inline std::string expected_row(const row_cells& c) {
  auto cell = [](const std::string& text) { return "<TD>" + text + "</TD>\n"; };
  return "<TR VALIGN=TOP>\n<TD><B>" + c.nickname + "</B></TD>\n" +
         cell(c.mail) + cell(c.name) + cell("") + cell("") + cell("") +
         cell(c.notes) + cell(c.title) + cell(c.organization) + cell(c.postal) +
         cell(c.phone) + cell(c.fax) + cell("false") + cell("") + "</TR>\n";
}

#endif
