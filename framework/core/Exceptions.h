#pragma once
// The framework's exception hierarchy. Everything the framework raises derives from
// Exception; the application's error display shows Message(), and EAbort shows nothing.
#include <exception>
#include <string>

namespace bw::core {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const noexcept { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// Ends a command without any message; the error display ignores it.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};
[[noreturn]] void Abort();

class EStreamError : public Exception { using Exception::Exception; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFilerError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EFilerError { using EFilerError::EFilerError; };
class EWriteError : public EFilerError { using EFilerError::EFilerError; };
class EClassNotFound : public EFilerError { using EFilerError::EFilerError; };

class EListError : public Exception { using Exception::Exception; };
class EStringListError : public EListError { using EListError::EListError; };
class ERangeError : public Exception { using Exception::Exception; };
class EConvertError : public Exception { using Exception::Exception; };
class EComponentError : public Exception { using Exception::Exception; };
class ERegistryException : public Exception { using Exception::Exception; };

}  // namespace bw::core
