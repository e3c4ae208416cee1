#include "extract/NoFollowCreate.h"

#include <cerrno>

#include "extract/FileIo.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace bw::extract {
namespace {

constexpr const char* kLinkRefused = "a symbolic link stands at this name; nothing was written through it";
constexpr const char* kHardLinkRefused = "this name is a hard link to another file; nothing was written through it";
constexpr const char* kNotRegularRefused = "this name is not a regular file; nothing was written to it";

}  // namespace

#ifdef _WIN32

std::FILE* CreateFileNoFollowUtf8(const std::string& pathUtf8, std::string& errorText) {
  if (pathUtf8.empty()) {
    errorText = LastErrorText(ENOENT);
    return nullptr;
  }
  // Opening the reparse point itself, never its target, then looking at what was opened.
  const HANDLE handle = CreateFileW(PathFromUtf8(pathUtf8).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    errorText = LastErrorText(error == ERROR_ACCESS_DENIED ? EACCES : error == ERROR_PATH_NOT_FOUND ? ENOENT : EIO);
    return nullptr;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const char* refusal = nullptr;
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info)) {
    refusal = kNotRegularRefused;
  } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    refusal = kLinkRefused;
  } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    refusal = kNotRegularRefused;
  } else if (info.nNumberOfLinks > 1) {
    refusal = kHardLinkRefused;
  }
  if (refusal != nullptr || !SetEndOfFile(handle)) {
    errorText = refusal != nullptr ? refusal : LastErrorText(EIO);
    CloseHandle(handle);
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    errorText = LastErrorText(EIO);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "w+b");
  if (file == nullptr) {
    _close(fd);
    errorText = LastErrorText(EIO);
  }
  return file;
}

#else

std::FILE* CreateFileNoFollowUtf8(const std::string& pathUtf8, std::string& errorText) {
  if (pathUtf8.empty()) {
    errorText = LastErrorText(ENOENT);
    return nullptr;
  }
  // O_NONBLOCK keeps a FIFO at this name from holding the open; it is refused below.
  const int fd = ::open(pathUtf8.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    errorText = error == ELOOP ? kLinkRefused : LastErrorText(error != 0 ? error : EIO);
    return nullptr;
  }
  struct stat info {};
  const char* refusal = nullptr;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    refusal = kNotRegularRefused;
  } else if (info.st_nlink > 1) {
    refusal = kHardLinkRefused;
  }
  if (refusal != nullptr) {
    errorText = refusal;
    ::close(fd);
    return nullptr;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (::ftruncate(fd, 0) != 0) {
    errorText = LastErrorText(errno);
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "w+b");
  if (file == nullptr) {
    errorText = LastErrorText(errno);
    ::close(fd);
  }
  return file;
}

#endif

}  // namespace bw::extract
