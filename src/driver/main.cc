#include "driver/convert.h"

int main(int argc, char** argv) { return convert(argc, argv); }
