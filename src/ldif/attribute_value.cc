#include "ldif/attribute_value.h"

attr_value attribute_value(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  const std::size_t encoded = line.find(":: ");
  if (encoded != std::string_view::npos) {
    std::optional<decoded_text> decoded =
        base64_decode(line.substr(encoded + 3));
    if (!decoded) return attr_value();
    return attr_value(std::move(*decoded));
  }
  const std::size_t plain = line.find(": ");
  if (plain == std::string_view::npos) return attr_value();
  return attr_value(line.substr(plain + 2));
}
