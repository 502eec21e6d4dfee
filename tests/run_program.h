// Runs the built converter as a child process and captures what it reports.
#ifndef LDIF2KESTRUNE_TESTS_RUN_PROGRAM_H
#define LDIF2KESTRUNE_TESTS_RUN_PROGRAM_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct program_result {
  int status = -1;  // exit status, or -1 when the program did not exit
  std::string out;
  std::string err;
  long peak_kib = 0;  // the program's peak resident memory
};

struct run_options {
  std::string directory = ".";                 // working directory
  std::optional<std::size_t> file_size_limit;  // RLIMIT_FSIZE, SIGXFSZ ignored
};

// Runs the converter with these arguments after argv[0] (its path).
program_result run_converter(const std::vector<std::string>& args,
                             const run_options& options = {});

// A fresh directory under /tmp whose path holds no ".", removed with its
// contents when the object goes.
class scratch_dir {
 public:
  scratch_dir();
  ~scratch_dir();
  scratch_dir(const scratch_dir&) = delete;
  scratch_dir& operator=(const scratch_dir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const {
    return path_ + "/" + name;
  }

 private:
  std::string path_;
};

void write_file(const std::string& path, const std::string& bytes);
std::string read_file(const std::string& path);
bool path_exists(const std::string& path);
// Every path below dir with its contents ("<dir>" for directories), sorted.
std::vector<std::string> tree_listing(const std::string& dir);

// Turns each "\n" into CR LF, as the converter writes its files.
std::string crlf(const std::string& text);

#endif
