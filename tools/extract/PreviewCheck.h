#pragma once
// The command line's stand-in for the desktop preview: a picture counts only if the same
// decoder the desktop program uses can read it.
#include <string>

#include "extract/RunHost.h"

namespace bw::tools {

enum class TPictureVerdict {
  Shows,      // the desktop program's decoder reads it
  Fails,      // it does not
  Unchecked,  // the check could not be done (memory ran out): no verdict on the picture
};

// The work is bounded per picture: see CheckJpegFile for JPEG; a PNG whose pixels need
// more than the zlib stream in the file can give fails without being inflated; a bitmap is
// one copy of its file.
TPictureVerdict CheckPicture(extract::TItemKind kind, const std::string& pathUtf8);

}  // namespace bw::tools
