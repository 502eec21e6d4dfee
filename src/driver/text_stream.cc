#include "driver/text_stream.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr char end_of_text = 26;  // Ctrl-Z ends the input of a text file.

// The first "\n", CR or zero byte in [p, stop), or stop: the bytes that
// need a look of their own when a line is cut out of a block.
const char* find_line_special(const char* p, const char* stop) {
#if defined(__SSE2__)
  const __m128i nl = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i zero = _mm_setzero_si128();
  for (; stop - p >= 16; p += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hits = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, nl), _mm_cmpeq_epi8(bytes, cr)),
        _mm_cmpeq_epi8(bytes, zero));
    const int mask = _mm_movemask_epi8(hits);
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
#endif
  while (p < stop && *p != '\n' && *p != '\r' && *p != '\0') ++p;
  return p;
}

struct copied_run {
  std::size_t copied;  // bytes that fitted into the room given
  std::size_t bytes;   // bytes of the run other than CR
};

// Copies in[0, size) without its CR bytes into at most room bytes of out.
copied_run copy_without_cr(char* out, std::size_t room, const char* in,
                           std::size_t size) {
  copied_run run{0, 0};
  const char* const stop = in + size;
  while (in < stop) {
    const char* cr = static_cast<const char*>(
        std::memchr(in, '\r', static_cast<std::size_t>(stop - in)));
    const char* piece_end = cr != nullptr ? cr : stop;
    const auto piece = static_cast<std::size_t>(piece_end - in);
    const std::size_t take = std::min(piece, room - run.copied);
    std::memcpy(out + run.copied, in, take);
    run.copied += take;
    run.bytes += piece;
    in = piece_end + (cr != nullptr ? 1 : 0);
  }
  return run;
}

}  // namespace

text_reader::text_reader(int fd, std::size_t max_length)
    : fd_(fd),
      max_length_(max_length),
      block_(new char[text_block_size]),
      spill_(new char[max_length + 1]) {}

bool text_reader::fill() {
  while (!input_done_) {
    ssize_t got = ::read(fd_, block_.get(), text_block_size);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      failed_ = true;
      input_done_ = true;
      return false;
    }
    auto size = static_cast<std::size_t>(got);
    if (size == 0) input_done_ = true;
    const void* stop = std::memchr(block_.get(), end_of_text, size);
    if (stop != nullptr) {
      size = static_cast<std::size_t>(static_cast<const char*>(stop) -
                                      block_.get());
      input_done_ = true;
    }
    pos_ = 0;
    end_ = size;
    if (size > 0) return true;
  }
  return false;
}

text_reader::result text_reader::read_line(std::string_view& line) {
  // Most lines lie whole in the block and end in "\n" or CR LF, with no
  // other CR and no zero byte: those are delivered in place.
  if (pos_ < end_) {
    const char* start = block_.get() + pos_;
    const char* stop = block_.get() + end_;
    const char* at = find_line_special(start, stop);
    const auto run = static_cast<std::size_t>(at - start);
    std::size_t line_end = 0;
    if (at < stop && *at == '\n') line_end = 1;
    if (stop - at >= 2 && at[0] == '\r' && at[1] == '\n') line_end = 2;
    if (line_end != 0) {
      pos_ += run + line_end;
      line = std::string_view(start, std::min(run, max_length_));
      line_has_zero_ = false;
      return result::line;
    }
  }
  return read_line_slowly(line);
}

text_reader::result text_reader::read_line_slowly(std::string_view& line) {
  std::size_t kept = 0;
  bool delivered = false;
  for (;;) {
    if (pos_ == end_ && !fill()) {
      at_end_ = !failed_;
      if (failed_) return result::error;
      if (!delivered) return result::end;
      break;
    }
    const char* start = block_.get() + pos_;
    const std::size_t avail = end_ - pos_;
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
    const std::size_t run =
        nl != nullptr ? static_cast<std::size_t>(nl - start) : avail;
    pos_ += run + (nl != nullptr ? 1 : 0);
    const copied_run copied =
        copy_without_cr(spill_.get() + kept, max_length_ - kept, start, run);
    kept += copied.copied;
    delivered = delivered || copied.bytes > 0 || nl != nullptr;
    if (nl != nullptr) break;
  }
  line = std::string_view(spill_.get(), kept);
  line_has_zero_ = line.find('\0') != std::string_view::npos;
  return result::line;
}

text_writer::text_writer(int fd) : fd_(fd), block_(new char[text_block_size]) {}

void text_writer::drain() {
  std::size_t done = 0;
  while (done < used_ && !failed_) {
    ssize_t put = ::write(fd_, block_.get() + done, used_ - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      failed_ = true;
      break;
    }
    done += static_cast<std::size_t>(put);
  }
  used_ = 0;
}

void text_writer::put_in_pieces(const char* bytes, std::size_t size) {
  while (size > 0) {
    if (used_ == text_block_size) drain();
    const std::size_t take = std::min(size, text_block_size - used_);
    std::memcpy(block_.get() + used_, bytes, take);
    used_ += take;
    bytes += take;
    size -= take;
  }
}

void text_writer::write(std::string_view text) {
  static constexpr char crlf[] = {'\r', '\n'};
  while (!text.empty()) {
    const void* nl = std::memchr(text.data(), '\n', text.size());
    if (nl == nullptr) {
      put(text.data(), text.size());
      return;
    }
    const auto run =
        static_cast<std::size_t>(static_cast<const char*>(nl) - text.data());
    put(text.data(), run);
    put(crlf, sizeof crlf);
    text.remove_prefix(run + 1);
  }
}

bool text_writer::flush() {
  drain();
  return !failed_;
}
