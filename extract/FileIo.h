#pragma once
// File access by UTF-8 path with 64-bit offsets, the same in the native and the win64 build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace bw::extract {

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// mode as for std::fopen ("rb", "w+b", ...); nullptr on failure, errno set.
std::FILE* OpenFileUtf8(const std::string& utf8, const char* mode);

// errno-style code for a name that is there but is no regular file (a FIFO, a device).
inline constexpr int kErrNotRegularFile = 0x10000;

// Opens a source for reading, refusing all but a regular file before anything can block
// on it (a FIFO without a writer, a terminal); nullptr with errnoValue set on failure.
std::FILE* OpenRegularFileUtf8(const std::string& utf8, int& errnoValue);

bool Seek64(std::FILE* file, std::uint64_t offsetBytes);

bool FileExistsUtf8(const std::string& utf8);
bool DirectoryExistsUtf8(const std::string& utf8);
// Removes a file if it exists; true when none is left.
bool RemoveFileUtf8(const std::string& utf8);

// Text of the last C library error, for messages ("No space left on device"); also knows
// kErrNotRegularFile.
std::string LastErrorText(int errnoValue);

}  // namespace bw::extract
