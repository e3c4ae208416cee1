#include "extract/OutputLock.h"

#include <cerrno>

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace bw::extract {
namespace {

std::string BusyText(const std::string& folder) {
  return "another run is writing into the folder " + folder + "; nothing written (try again when it has ended)";
}

}  // namespace

#ifdef _WIN32

bool TOutputLock::Acquire(const std::string& folderUtf8, std::string& errorText) {
  Release();
  const std::string path = folderUtf8 + PathSeparator() + kOutputLockName;
  // No sharing: a second open fails while this handle lives; the file goes with the handle.
  const HANDLE handle =
      CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    errorText = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION
                    ? BusyText(folderUtf8)
                    : "cannot make the lock file " + path;
    return false;
  }
  // Also a byte lock: Wine keeps it as a system record lock, which a native run's lock on
  // the same file meets, so the two builds see each other's runs.
  OVERLAPPED at{};
  if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    CloseHandle(handle);
    errorText = BusyText(folderUtf8);
    return false;
  }
  FHandle = handle;
  FPath = path;
  return true;
}

void TOutputLock::Release() {
  if (FHandle != nullptr) CloseHandle(static_cast<HANDLE>(FHandle));
  FHandle = nullptr;
  FPath.clear();
}

bool TOutputLock::Held() const { return FHandle != nullptr; }

#else

bool TOutputLock::Acquire(const std::string& folderUtf8, std::string& errorText) {
  Release();
  const std::string path = folderUtf8 + PathSeparator() + kOutputLockName;
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
      errorText = "cannot make the lock file " + path + ": " + LastErrorText(errno);
      return false;
    }
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    // Open-file-description locks stay with this descriptor, not with every descriptor of
    // the process, and conflict with the record locks other programs take on the file.
    if (::fcntl(fd, F_OFD_SETLK, &range) != 0) {
      const int error = errno;
      ::close(fd);
      errorText = error == EAGAIN || error == EACCES ? BusyText(folderUtf8)
                                                     : "cannot lock " + path + ": " + LastErrorText(error);
      return false;
    }
    // The holder before us may have removed the file between our open and our lock: the
    // lock must be on the file that bears the name now.
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
        opened.st_ino == named.st_ino) {
      FFd = fd;
      FPath = path;
      return true;
    }
    ::close(fd);
  }
  errorText = BusyText(folderUtf8);
  return false;
}

void TOutputLock::Release() {
  if (FFd < 0) return;
  // Removed while still locked, so no other run can lock this file and think it owns the
  // folder while a third makes a new one.
  ::unlink(FPath.c_str());
  ::close(FFd);
  FFd = -1;
  FPath.clear();
}

bool TOutputLock::Held() const { return FFd >= 0; }

#endif

}  // namespace bw::extract
