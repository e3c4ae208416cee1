#include "skin/data/ByteStream.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <memory>

namespace bw::skin {

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

std::string SystemReason() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

}  // namespace

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::string& error) {
  return ReadWholeFile(fileName, bytes, error, INT64_MAX);
}

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::string& error,
                   std::int64_t maxBytes, bool* fileTooLarge) {
  if (fileTooLarge != nullptr) *fileTooLarge = false;
  errno = 0;
  TFilePtr f(std::fopen(fileName.c_str(), "rb"));
  if (!f) {
    error = "Cannot open file \"" + fileName + "\": " + SystemReason();
    return false;
  }
  std::vector<std::uint8_t> result;
  std::uint8_t chunk[65536];
  for (;;) {
    const auto left = static_cast<std::uint64_t>(maxBytes) - result.size();
    if (left == 0) {
      if (fileTooLarge != nullptr) *fileTooLarge = std::fread(chunk, 1, 1, f.get()) == 1;
      break;
    }
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, left));
    const std::size_t n = std::fread(chunk, 1, want, f.get());
    result.insert(result.end(), chunk, chunk + n);
    if (n < want) break;
  }
  if (std::ferror(f.get())) {
    error = "Cannot read file \"" + fileName + "\"";
    return false;
  }
  bytes = std::move(result);
  return true;
}

bool WriteWholeFile(const std::string& fileName, const std::vector<std::uint8_t>& bytes, std::string& error) {
  errno = 0;
  TFilePtr f(std::fopen(fileName.c_str(), "wb"));
  if (!f) {
    error = "Cannot create file \"" + fileName + "\": " + SystemReason();
    return false;
  }
  const bool wrote = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  const bool closed = std::fclose(f.release()) == 0;
  if (!wrote || !closed) {
    error = "Cannot write file \"" + fileName + "\"";
    return false;
  }
  return true;
}

}  // namespace bw::skin
