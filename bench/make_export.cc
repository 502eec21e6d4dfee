// make_export PERSONS LISTS MEMBERS_PER_LIST [SEED] > export.ldif
#include <cstdlib>
#include <iostream>

#include "export_generator.h"

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::cerr << "usage: make_export PERSONS LISTS MEMBERS_PER_LIST [SEED]\n";
    return 2;
  }
  export_shape shape;
  shape.persons = std::atoll(argv[1]);
  shape.lists = std::atoll(argv[2]);
  shape.members_per_list = std::atoll(argv[3]);
  if (argc == 5) shape.seed = std::strtoull(argv[4], nullptr, 10);
  std::ios::sync_with_stdio(false);
  write_export(std::cout, shape);
  return std::cout.good() ? 0 : 1;
}
