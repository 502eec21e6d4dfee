// Measures whole conversions against copying the same export with cat.
//
//   bench_convert [a | b | b2 | PERSONS LISTS MEMBERS] [--rounds N]
//
// a:  200,000 persons with 10 lists of 10 members (streaming dominates);
// b:  20,000 persons with one list of 20,000 members (group resolution);
// b2: b with persons and members doubled.
// Prints the median wall time of each, the converter's MB/s, the median of
// the per-round ratios converter/cat, and the converter's peak memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "export_generator.h"

namespace {

struct run_figures {
  double seconds;
  long peak_kib;
};

[[noreturn]] void fail(const std::string& why) {
  std::cerr << "bench_convert: " << why << "\n";
  std::exit(1);
}

// Runs argv with its standard output going to out_path (or /dev/null) and
// its standard error to /dev/null; times it and reads its peak memory.
run_figures timed_run(const std::vector<std::string>& argv,
                      const std::string& directory,
                      const std::string& out_path) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(directory.c_str()) != 0) ::_exit(126);
    const int out = ::open(out_path.empty() ? "/dev/null" : out_path.c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(out, 1);
    ::dup2(null, 2);
    std::vector<char*> args;
    for (const std::string& a : argv)
      args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  const auto stop = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fail(argv[0] + " failed with status " + std::to_string(status));
  }
  return {std::chrono::duration<double>(stop - start).count(), usage.ru_maxrss};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string converter_path() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() /
          "ldif2kestrune")
      .string();
}

export_shape parse_shape(int argc, char** argv, int& rounds) {
  export_shape shape;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--rounds" && i + 1 < argc) {
      rounds = std::max(5, std::atoi(argv[++i]));
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty() || words[0] == "a") return shape;
  if (words[0] == "b" || words[0] == "b2") {
    const std::int64_t n = words[0] == "b" ? 20'000 : 40'000;
    shape.persons = n;
    shape.lists = 1;
    shape.members_per_list = n;
    return shape;
  }
  if (words.size() != 3)
    fail("usage: bench_convert [a | b | b2 | P L M] [--rounds N]");
  shape.persons = std::atoll(words[0].c_str());
  shape.lists = std::atoll(words[1].c_str());
  shape.members_per_list = std::atoll(words[2].c_str());
  return shape;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 7;
  const export_shape shape = parse_shape(argc, argv, rounds);
  const std::string converter = converter_path();
  if (::access(converter.c_str(), X_OK) != 0)
    fail("no converter at " + converter);

  char dir_template[] = "/tmp/bench_convertXXXXXX";
  if (::mkdtemp(dir_template) == nullptr) fail("cannot make a scratch folder");
  const std::string dir = dir_template;
  {
    std::ofstream out(dir + "/export.ldif", std::ios::binary);
    write_export(out, shape);
    if (!out) fail("cannot write the export");
  }
  const double megabytes =
      static_cast<double>(std::filesystem::file_size(dir + "/export.ldif")) /
      1e6;
  std::printf("export: %lld persons, %lld lists of %lld members, %.1f MB\n",
              static_cast<long long>(shape.persons),
              static_cast<long long>(shape.lists),
              static_cast<long long>(shape.members_per_list), megabytes);

  const std::string book = dir + "/export.AddressBook.html";
  std::vector<double> convert_times, cat_times, ratios;
  long peak_kib = 0;
  for (int round = 0; round <= rounds; ++round) {  // round 0 warms up
    const run_figures converted =
        timed_run({converter, "export.ldif", "1"}, dir, "");
    std::filesystem::remove(book);
    const run_figures copied =
        timed_run({"cat", "export.ldif"}, dir, dir + "/copy.out");
    std::filesystem::remove(dir + "/copy.out");
    if (round == 0) continue;
    convert_times.push_back(converted.seconds);
    cat_times.push_back(copied.seconds);
    ratios.push_back(converted.seconds / copied.seconds);
    peak_kib = std::max(peak_kib, converted.peak_kib);
  }
  std::filesystem::remove_all(dir);

  const double convert_median = median(convert_times);
  std::printf("rounds: %d after a warm-up\n", rounds);
  std::printf("converter: %.3f s median, %.0f MB/s\n", convert_median,
              megabytes / convert_median);
  std::printf("cat:       %.3f s median\n", median(cat_times));
  std::printf("ratio converter/cat: %.2f (median of the rounds' ratios)\n",
              median(ratios));
  std::printf("converter peak memory: %.1f MiB (%.0f bytes per person)\n",
              static_cast<double>(peak_kib) / 1024,
              shape.persons ? static_cast<double>(peak_kib) * 1024 /
                                  static_cast<double>(shape.persons)
                            : 0.0);
  return 0;
}
