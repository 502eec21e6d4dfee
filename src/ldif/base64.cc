#include "ldif/base64.h"

#include <algorithm>

std::array<std::uint8_t, 256> base64_table{};

void build_base64_table() {
  constexpr std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < alphabet.size(); ++i) {
    base64_table[static_cast<unsigned char>(alphabet[i])] =
        static_cast<std::uint8_t>(i);
  }
}

decoded_text::decoded_text(std::unique_ptr<char[]> bytes, std::size_t size)
    : bytes_(std::move(bytes)), size_(size) {
  text_size_ = std::min(this->bytes().find('\0'), size_);
}

std::optional<decoded_text> base64_decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::unique_ptr<char[]> out(new char[text.size() / 4 * 3 + 1]);
  std::size_t size = 0;
  auto value = [](char c) {
    return base64_table[static_cast<unsigned char>(c)];
  };
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const unsigned w = value(text[i]);
    const unsigned x = value(text[i + 1]);
    const unsigned y = value(text[i + 2]);
    const unsigned z = value(text[i + 3]);
    out[size++] = static_cast<char>(4 * w + x / 16);
    if (text[i + 2] != '=')
      out[size++] = static_cast<char>(16 * (x % 16) + y / 4);
    if (text[i + 3] != '=') out[size++] = static_cast<char>(64 * (y % 4) + z);
  }
  out[size] = '\0';
  return decoded_text(std::move(out), size);
}
