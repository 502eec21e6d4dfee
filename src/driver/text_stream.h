// Text streams over raw file descriptors. Files on this platform have no
// text mode, so the program applies its rules itself: reading drops every
// CR byte and stops at byte 26; writing sends every "\n" as CR LF.
#ifndef LDIF2KESTRUNE_DRIVER_TEXT_STREAM_H
#define LDIF2KESTRUNE_DRIVER_TEXT_STREAM_H

#include <cstddef>
#include <memory>
#include <string_view>

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

  // True once a read has run into the end of the input (or byte 26).
  bool at_end() const { return at_end_; }
  // True once reading the descriptor failed; nothing more is read then.
  bool failed() const { return failed_; }

 private:
  bool fill();

  int fd_;
  std::size_t max_length_;
  std::unique_ptr<char[]> block_;
  std::unique_ptr<char[]> spill_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool input_done_ = false;
  bool at_end_ = false;
  bool failed_ = false;
};

// Buffers text for a file descriptor it does not own; "\n" goes out as CR LF.
class text_writer {
 public:
  explicit text_writer(int fd);
  text_writer(const text_writer&) = delete;
  text_writer& operator=(const text_writer&) = delete;

  // Appends text byte for byte, each "\n" as CR LF. Errors are remembered.
  void write(std::string_view text);
  // Sends everything buffered to the descriptor; false if any write failed.
  bool flush();
  // True once any write to the descriptor failed.
  bool failed() const { return failed_; }

 private:
  void put(const char* bytes, std::size_t size);
  void drain();

  int fd_;
  std::unique_ptr<char[]> block_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

// Size of the blocks both streams move to and from the file system.
inline constexpr std::size_t text_block_size = 256 * 1024;

// Removes every CR byte from bytes[0, size) in place; returns the new size.
std::size_t drop_carriage_returns(char* bytes, std::size_t size);

#endif
