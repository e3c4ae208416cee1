// bwform SOURCE ASSET_DIR OUTPUT_CPP DEPFILE
// Turns a form description with @file asset references into a C++ source that
// registers the description, assets inline, with the program.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "framework/core/FormText.h"
#include "tools/bwform/FormEmbed.h"

namespace {

bool WriteFile(const std::string& name, const std::string& bytes) {
  const std::string temp = name + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, name, ec);
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: bwform SOURCE ASSET_DIR OUTPUT_CPP DEPFILE\n";
    return 2;
  }
  const std::string sourceName = argv[1];
  std::error_code ec;
  const auto size = std::filesystem::file_size(sourceName, ec);
  if (ec || size > bw::core::kMaxFormTextBytes) {
    std::cerr << sourceName << ": cannot read the form description\n";
    return 1;
  }
  std::ifstream in(sourceName, std::ios::binary);
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    std::cerr << sourceName << ": cannot read the form description\n";
    return 1;
  }
  const bw::tools::TEmbedResult form = bw::tools::ExpandForm(source, argv[2]);
  if (!form.Ok) {
    std::cerr << sourceName << ": " << form.Error << "\n";
    return 1;
  }
  const std::string cpp = bw::tools::MakeEmbedSource(form.ClassName, form.Text,
                                                     std::filesystem::path(sourceName).filename().string());
  std::vector<std::string> deps = {sourceName};
  deps.insert(deps.end(), form.AssetFiles.begin(), form.AssetFiles.end());
  if (!WriteFile(argv[3], cpp) || !WriteFile(argv[4], bw::tools::MakeDepfile(argv[3], deps))) {
    std::cerr << "bwform: cannot write " << argv[3] << "\n";
    return 1;
  }
  return 0;
}
