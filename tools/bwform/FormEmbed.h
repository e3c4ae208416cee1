#pragma once
// The build step of form descriptions: asset references resolved under one asset
// folder, the description rewritten with its binary data inline, and a C++ source
// that registers the result with the program.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bw::tools {

inline constexpr std::size_t kMaxAssetBytes = std::size_t{32} << 20;

// A relative path of plain names: no root, no drive, no "..", no empty or "." parts;
// '/' or '\' as separators. Assets stay inside their folder.
bool IsSafeAssetPath(std::string_view path);

struct TEmbedResult {
  bool Ok = false;
  std::string ClassName;              // the description's root class
  std::string Text;                   // the description with assets inline
  std::vector<std::string> AssetFiles;  // files read, for the build's dependencies
  std::string Error;
};

// Reads assets from assetDir (a folder path; "" for the current folder).
TEmbedResult ExpandForm(std::string_view source, const std::string& assetDir);

// A C++ source registering text under className; sourceName only goes in its header line.
std::string MakeEmbedSource(const std::string& className, const std::string& text, const std::string& sourceName);

// A make-style dependency line: target: dep1 dep2 ..., spaces escaped.
std::string MakeDepfile(const std::string& target, const std::vector<std::string>& deps);

}  // namespace bw::tools
