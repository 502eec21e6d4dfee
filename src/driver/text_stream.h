// Text streams over raw file descriptors. Files on this platform have no
// text mode, so the program applies its rules itself: reading drops every
// CR byte and stops at byte 26; writing sends every "\n" as CR LF.
#ifndef LDIF2KESTRUNE_DRIVER_TEXT_STREAM_H
#define LDIF2KESTRUNE_DRIVER_TEXT_STREAM_H

#include <array>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

// Size of the blocks both streams move to and from the file system.
inline constexpr std::size_t text_block_size = 256 * 1024;

// Reads lines from a file descriptor it does not own, in large blocks.
class text_reader {
 public:
  enum class result { line, end, error };

  // Lines longer than max_length bytes are cut to their first max_length.
  text_reader(int fd, std::size_t max_length);
  text_reader(const text_reader&) = delete;
  text_reader& operator=(const text_reader&) = delete;

  // Delivers the next line without its "\n", keeping at most max_length
  // bytes; the rest of a longer line, its "\n" included, is dropped. A last
  // line without "\n" is still a line. Gives end or error only when no byte
  // was delivered; the view stays valid until the next call.
  result read_line(std::string_view& line);

  // Whether the line last delivered holds a zero byte.
  bool line_has_zero() const { return line_has_zero_; }
  // True once a read has run into the end of the input (or byte 26).
  bool at_end() const { return at_end_; }
  // True once reading the descriptor failed; nothing more is read then.
  bool failed() const { return failed_; }

 private:
  bool fill();
  result read_line_slowly(std::string_view& line);

  int fd_;
  std::size_t max_length_;
  std::unique_ptr<char[]> block_;
  std::unique_ptr<char[]> spill_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool input_done_ = false;
  bool at_end_ = false;
  bool failed_ = false;
  bool line_has_zero_ = false;
};

// A short fixed text whose "\n" are turned into CR LF as the program is
// compiled, so that writing it costs one copy.
class markup {
 public:
  static constexpr std::size_t capacity = 32;

  template <std::size_t size>
  consteval markup(const char (&text)[size]) {  // NOLINT: implicit on purpose
    static_assert(2 * (size - 1) <= capacity, "markup too long");
    for (std::size_t i = 0; i + 1 < size; ++i) {
      if (text[i] == '\n') bytes_[size_++] = '\r';
      bytes_[size_++] = text[i];
    }
  }
  std::string_view bytes() const { return {bytes_.data(), size_}; }

 private:
  std::array<char, capacity> bytes_{};
  std::size_t size_ = 0;
};

// Buffers text for a file descriptor it does not own; "\n" goes out as CR LF.
class text_writer {
 public:
  explicit text_writer(int fd);
  text_writer(const text_writer&) = delete;
  text_writer& operator=(const text_writer&) = delete;

  // Appends text byte for byte, each "\n" as CR LF. Errors are remembered.
  void write(std::string_view text);
  void write_markup(const markup& text) {
    put(text.bytes().data(), text.bytes().size());
  }
  // Sends everything buffered to the descriptor; false if any write failed.
  bool flush();
  // True once any write to the descriptor failed.
  bool failed() const { return failed_; }

 private:
  void put(const char* bytes, std::size_t size) {
    if (size <= text_block_size - used_) {
      std::memcpy(block_.get() + used_, bytes, size);
      used_ += size;
    } else {
      put_in_pieces(bytes, size);
    }
  }
  void put_in_pieces(const char* bytes, std::size_t size);
  void drain();

  int fd_;
  std::unique_ptr<char[]> block_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

#endif
