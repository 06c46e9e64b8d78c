// corvane-cli: the searches, register access and projects of Corvane from a terminal.
#include <iostream>

#include "tools/cli/Commands.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const int status = corvane::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
  std::cout.flush();
  return status;
}
