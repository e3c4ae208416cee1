#include <iostream>
#include <string>
#include <vector>

#include "tools/skinpack/SkinPack.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return bw::tools::RunSkinpack(args, std::cout, std::cerr);
}
