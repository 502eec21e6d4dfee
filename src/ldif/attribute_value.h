// The value of an attribute line: none, the plain text after its first ": ",
// or the decoded Base64 text after its first ":: ".
#ifndef LDIF2KESTRUNE_LDIF_ATTRIBUTE_VALUE_H
#define LDIF2KESTRUNE_LDIF_ATTRIBUTE_VALUE_H

#include <optional>
#include <string_view>

#include "ldif/base64.h"

// Holds none, a view of text it does not own, or a decoded text it owns and
// releases with itself. Moving it keeps its text where it is.
class attr_value {
 public:
  attr_value() = default;
  explicit attr_value(std::string_view borrowed) : text_(borrowed) {}
  explicit attr_value(decoded_text decoded)
      : text_(decoded.text()), decoded_(std::move(decoded)) {}

  bool is_none() const { return !text_.has_value(); }
  bool is_decoded() const { return decoded_.has_value(); }
  // The text, or none; a borrowed view lives as long as what it views.
  std::optional<std::string_view> text() const { return text_; }

 private:
  std::optional<std::string_view> text_;
  std::optional<decoded_text> decoded_;
};

// The value of a line, which ends at its first zero byte. The first ":: "
// anywhere makes the rest Base64 (none when that cannot be decoded, with no
// second look for ": "); else the first ": " starts a plain value viewing
// the line; else none.
attr_value attribute_value(std::string_view line);

#endif
