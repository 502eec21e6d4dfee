#include "run_program.h"

#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::string drain(int fd) {
  std::string bytes;
  char block[4096];
  for (;;) {
    ssize_t got = ::read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    bytes.append(block, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return bytes;
}

[[noreturn]] void exec_child(const std::vector<std::string>& args,
                             const run_options& options, int out, int err) {
  ::dup2(out, 1);
  ::dup2(err, 2);
  if (::chdir(options.directory.c_str()) != 0) ::_exit(126);
  if (options.file_size_limit) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{*options.file_size_limit, *options.file_size_limit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(LDIF2KESTRUNE_PATH));
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  ::execv(LDIF2KESTRUNE_PATH, argv.data());
  ::_exit(127);
}

}  // namespace

program_result run_converter(const std::vector<std::string>& args,
                             const run_options& options) {
  // A child counts the memory it shares with its parent until its exec,
  // and that counts in its peak: give the parent's free memory back first.
  ::malloc_trim(0);
  int out[2], err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) throw std::runtime_error("pipe");
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(out[0]);
    ::close(err[0]);
    exec_child(args, options, out[1], err[1]);
  }
  ::close(out[1]);
  ::close(err[1]);
  program_result result;
  // The converter writes only a few lines, so reading one pipe after the
  // other cannot block it.
  result.err = drain(err[0]);
  result.out = drain(out[0]);
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  result.peak_kib = usage.ru_maxrss;
  return result;
}

scratch_dir::scratch_dir() {
  char path[] = "/tmp/ldifkXXXXXX";
  if (::mkdtemp(path) == nullptr) throw std::runtime_error("mkdtemp");
  path_ = path;
}

scratch_dir::~scratch_dir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

bool path_exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> tree_listing(const std::string& dir) {
  std::vector<std::string> listing;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    const std::string path = entry.path().string();
    if (entry.is_symlink()) {
      listing.push_back(path + " -> " +
                        std::filesystem::read_symlink(entry.path()).string());
    } else if (entry.is_directory()) {
      listing.push_back(path + " <dir>");
    } else {
      listing.push_back(path + " = " + read_file(path));
    }
  }
  std::sort(listing.begin(), listing.end());
  return listing;
}

std::string crlf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}
