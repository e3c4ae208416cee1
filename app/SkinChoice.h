#pragma once
// `--skin FILE` and `--skin none`: the skin the program starts with instead of the one
// stored with the main window.
#include <string>
#include <vector>

#include "skin/data/LacquerData.h"

namespace bw::app {

struct TSkinChoice {
  enum class TKind { Stored, None, File };
  TKind Kind = TKind::Stored;
  std::string File;  // UTF-8
};

// From the program's arguments (after its name): the value after the last "--skin";
// "none" in any letter case switches the skin off. A "--skin" without a value is ignored.
TSkinChoice SkinChoiceFromArgs(const std::vector<std::string>& args);

// The file to load at start: the first argument that is no option ("--gallery", "--skin"
// and its value); empty when there is none. "Open with" and a drop on the program's icon
// start the program this way.
std::string StartFileFromArgs(const std::vector<std::string>& args);

// Applies the choice to the main window's skin data before any window shows. A file that
// cannot be read or is not a skin leaves the stored skin in place; the answer is then the
// text to show the user, in the language given (empty when nothing needs saying: a file
// with another format mark has had the old-skin notice already).
std::string ApplySkinChoice(skin::TSkinData& data, const TSkinChoice& choice, bool french);

}  // namespace bw::app
