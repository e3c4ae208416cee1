#pragma once
// The work behind the skinpack command: packing a skin folder into a compressed skin
// container, listing and extracting one, and single-file LZH packing.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "skin/data/LacquerIni.h"
#include "skin/data/SkinRead.h"

namespace bw::tools {

// Every distinct bitmap file the description names (values ending in ".bmp"), in the
// letter case first written, deduplicated without regard to case.
std::vector<std::string> SkinBitmapNames(const bw::skin::TQuickIni& ini);

// The folder's single .ini file first, then the bitmaps it names, ordered by their
// lower-cased names so the container does not depend on the order of the keys.
bool CollectSkinEntries(const std::string& folder, std::vector<bw::skin::TSkinEntry>& entries, std::string& error);

// A plain file name that is safe to create inside a folder.
bool IsSafeEntryName(const std::string& name);

// Runs one skinpack command line (arguments after the program name); returns the
// process exit code: 0 done, 1 failed, 2 usage.
int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace bw::tools
