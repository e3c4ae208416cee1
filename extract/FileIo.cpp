#include "extract/FileIo.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace bw::extract {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::FILE* OpenFileUtf8(const std::string& utf8, const char* mode) {
  if (utf8.empty()) {
    errno = ENOENT;
    return nullptr;
  }
#ifdef _WIN32
  // The narrow fopen would take the ANSI code page; the wide one reaches every name.
  std::wstring wideMode;
  for (const char* c = mode; *c != '\0'; ++c) wideMode.push_back(static_cast<wchar_t>(*c));
  return _wfopen(PathFromUtf8(utf8).c_str(), wideMode.c_str());
#else
  return std::fopen(utf8.c_str(), mode);
#endif
}

std::FILE* OpenRegularFileUtf8(const std::string& utf8, int& errnoValue) {
  errnoValue = 0;
  if (utf8.empty()) {
    errnoValue = ENOENT;
    return nullptr;
  }
#ifdef _WIN32
  std::error_code error;
  const auto status = std::filesystem::status(PathFromUtf8(utf8), error);
  if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    errnoValue = std::filesystem::is_directory(status) ? EISDIR : kErrNotRegularFile;
    return nullptr;
  }
  errno = 0;
  std::FILE* file = OpenFileUtf8(utf8, "rb");
  if (file == nullptr) errnoValue = errno != 0 ? errno : ENOENT;
  return file;
#else
  // Non-blocking only for the open itself: a FIFO must not wait here for a writer.
  const int fd = ::open(utf8.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    errnoValue = errno != 0 ? errno : ENOENT;
    return nullptr;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    errnoValue = S_ISDIR(info.st_mode) ? EISDIR : kErrNotRegularFile;
    ::close(fd);
    return nullptr;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    errnoValue = errno != 0 ? errno : EIO;
    ::close(fd);
  }
  return file;
#endif
}

bool Seek64(std::FILE* file, std::uint64_t offsetBytes) {
  if (offsetBytes > static_cast<std::uint64_t>(INT64_MAX)) return false;
#ifdef _WIN32
  return _fseeki64(file, static_cast<long long>(offsetBytes), SEEK_SET) == 0;
#else
  static_assert(sizeof(off_t) >= 8, "64-bit file offsets required");
  return fseeko(file, static_cast<off_t>(offsetBytes), SEEK_SET) == 0;
#endif
}

bool FileExistsUtf8(const std::string& utf8) {
  std::error_code error;
  return !utf8.empty() && std::filesystem::is_regular_file(PathFromUtf8(utf8), error);
}

bool DirectoryExistsUtf8(const std::string& utf8) {
  std::error_code error;
  return !utf8.empty() && std::filesystem::is_directory(PathFromUtf8(utf8), error);
}

bool RemoveFileUtf8(const std::string& utf8) {
  if (!FileExistsUtf8(utf8)) return true;
  std::error_code error;
  std::filesystem::remove(PathFromUtf8(utf8), error);
  return !FileExistsUtf8(utf8);
}

std::string LastErrorText(int errnoValue) {
  if (errnoValue == kErrNotRegularFile) return "not a regular file";
  return std::generic_category().message(errnoValue);
}

}  // namespace bw::extract
