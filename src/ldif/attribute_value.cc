#include "ldif/attribute_value.h"

attr_value attribute_value(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  // One pass over the colons: the first ":: " anywhere wins over an
  // earlier ": ", so the first ": " is only remembered on the way.
  std::size_t plain = std::string_view::npos;
  for (std::size_t colon = line.find(':'); colon != std::string_view::npos;
       colon = line.find(':', colon + 1)) {
    const std::string_view after = line.substr(colon + 1);
    if (after.starts_with(": ")) {
      std::optional<decoded_text> decoded = base64_decode(after.substr(2));
      if (!decoded) return attr_value();
      return attr_value(std::move(*decoded));
    }
    if (plain == std::string_view::npos && after.starts_with(' ')) {
      plain = colon + 2;
    }
  }
  if (plain == std::string_view::npos) return attr_value();
  return attr_value(line.substr(plain));
}
