#pragma once
// The command line's stand-in for the desktop preview: a picture counts only if the same
// decoder the desktop program uses can read it.
#include <string>

#include "extract/RunHost.h"

namespace bw::tools {

bool PictureDecodes(extract::TItemKind kind, const std::string& pathUtf8);

}  // namespace bw::tools
