#pragma once
// A run owns its output folder while it writes: a lock file inside it, held by a lock the
// system drops when the process ends, so a crashed run leaves no lock that counts. Both
// builds take it the same way; a second run into the same folder is refused at once.
#include <string>

namespace bw::extract {

// The lock file's name inside the output folder; it is removed when the lock is let go.
inline constexpr const char* kOutputLockName = ".brindlewick-lock";

class TOutputLock {
 public:
  TOutputLock() = default;
  TOutputLock(const TOutputLock&) = delete;
  TOutputLock& operator=(const TOutputLock&) = delete;
  ~TOutputLock() { Release(); }

  // True when this object now holds the folder; false with errorText when another run
  // holds it or the lock file cannot be made.
  bool Acquire(const std::string& folderUtf8, std::string& errorText);
  void Release();
  bool Held() const;
  const std::string& LockPath() const { return FPath; }

 private:
  std::string FPath;
#ifdef _WIN32
  void* FHandle = nullptr;
#else
  int FFd = -1;
#endif
};

}  // namespace bw::extract
