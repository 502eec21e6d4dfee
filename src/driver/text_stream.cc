#include "driver/text_stream.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr char end_of_text = 26;  // Ctrl-Z ends the input of a text file.

}  // namespace

std::size_t drop_carriage_returns(char* bytes, std::size_t size) {
  char* cr = static_cast<char*>(std::memchr(bytes, '\r', size));
  if (cr == nullptr) return size;
  char* out = cr;
  const char* in = cr + 1;
  const char* const stop = bytes + size;
  // Move each run between two CRs once, so the cost is one pass.
  while (in < stop) {
    const char* next = static_cast<const char*>(
        std::memchr(in, '\r', static_cast<std::size_t>(stop - in)));
    const char* run_end = next != nullptr ? next : stop;
    const auto run = static_cast<std::size_t>(run_end - in);
    std::memmove(out, in, run);
    out += run;
    in = run_end + 1;
  }
  return static_cast<std::size_t>(out - bytes);
}

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
    size = drop_carriage_returns(block_.get(), size);
    pos_ = 0;
    end_ = size;
    if (size > 0) return true;
  }
  return false;
}

text_reader::result text_reader::read_line(std::string_view& line) {
  std::size_t kept = 0;
  bool delivered = false;
  for (;;) {
    if (pos_ == end_ && !fill()) {
      at_end_ = !failed_;
      if (failed_) return result::error;
      if (!delivered) return result::end;
      line = std::string_view(spill_.get(), kept);
      return result::line;
    }
    const char* start = block_.get() + pos_;
    const std::size_t avail = end_ - pos_;
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
    const std::size_t run =
        nl != nullptr ? static_cast<std::size_t>(nl - start) : avail;
    pos_ += run + (nl != nullptr ? 1 : 0);
    if (nl != nullptr && !delivered) {
      // The common case: the whole line lies in the block; no copy.
      line = std::string_view(start, std::min(run, max_length_));
      return result::line;
    }
    const std::size_t take = std::min(run, max_length_ - kept);
    std::memcpy(spill_.get() + kept, start, take);
    kept += take;
    delivered = true;
    if (nl != nullptr) {
      line = std::string_view(spill_.get(), kept);
      return result::line;
    }
  }
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

void text_writer::put(const char* bytes, std::size_t size) {
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
