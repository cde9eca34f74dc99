// orvalis-pack: builds a product's setup from the setup program, its descriptor
// and its files. Arguments are taken as UTF-8 (on Windows the manifest makes
// UTF-8 the process code page).
#include "tools/pack/cli.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return orvalis::pack::RunPackTool(args, std::cout, std::cerr);
}
