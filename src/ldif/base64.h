// Base64 decoding by a reverse lookup table, lenient in the way the export
// reader needs: no byte and no position of "=" is ever rejected.
#ifndef LDIF2KESTRUNE_LDIF_BASE64_H
#define LDIF2KESTRUNE_LDIF_BASE64_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

// Value of each byte in the Base64 alphabet; 0 for every other byte.
extern std::array<std::uint8_t, 256> base64_table;

// Fills base64_table; calling it again changes nothing.
void build_base64_table();

// A text made by decoding: owns its bytes, which may include zero bytes.
class decoded_text {
 public:
  decoded_text(std::unique_ptr<char[]> bytes, std::size_t size);
  // Every byte decoded, zero bytes included.
  std::string_view bytes() const { return {bytes_.get(), size_}; }
  // The text as every user sees it: up to its first zero byte.
  std::string_view text() const { return {bytes_.get(), text_size_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_;
  std::size_t text_size_;
};

// Decodes text group by group of four; none when its length is not a
// multiple of 4. "=" suppresses a byte only in a group's third and fourth
// place, and every byte outside the alphabet counts as 0.
std::optional<decoded_text> base64_decode(std::string_view text);

#endif
