#pragma once
// Creating an output file without writing through whatever stands at its name: a planted
// symbolic link (or Windows reparse point) or hard link would send the bytes to a file
// outside the output folder, and a FIFO or device would block or swallow them.
#include <cstdio>
#include <string>

namespace bw::extract {

// Creates the file, or empties an existing plain file of that name, open for reading and
// writing ("w+b"). nullptr on failure or refusal, with errorText saying why (the system's
// words, or which kind of link was refused).
std::FILE* CreateFileNoFollowUtf8(const std::string& pathUtf8, std::string& errorText);

}  // namespace bw::extract
