// k7rdump input-file [output-file]: prints a binary K7R field-data file as text.

#include <iostream>
#include <string>
#include <vector>

#include "k7rdump/K7rDumpTool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return k7rdump::RunK7rDump(args, std::cout);
}
