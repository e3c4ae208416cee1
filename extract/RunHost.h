#pragma once
// Everything an extraction run needs from outside the engine. The desktop program's main
// window is one host, the command-line extractor another. Hosts must not throw.
#include <cstdint>
#include <string>

namespace bw::extract {

enum class TItemKind { Jpeg, Png, Bmp, Wave };

enum class TRunErrorKind { WriteFailed, ReadFailed };

struct TRunError {
  TRunErrorKind Kind;
  std::string Path;   // the output file, or the source
  std::string Cause;  // the system's words, may be empty
};

// A file the run kept: for reports. Offsets are the source bytes it was taken from.
struct TWrittenItem {
  TItemKind Kind;
  std::string Path;
  std::uint64_t SizeBytes;
  std::uint64_t SourceStartBytes;
  std::uint64_t SourceEndBytes;  // just behind the last source byte copied
  bool Truncated;                // the source ended before the item did
};

class TRunHost {
 public:
  virtual ~TRunHost() = default;

  // percent is 0..100 by (position x 100 + 100) / size, clamped.
  virtual void Progress(int percent) = 0;
  // Lets pending user events run; the host may set AbortRequested here.
  virtual void ProcessMessages() = 0;
  // The output folder exists already: true to write into it, false to end the run.
  virtual bool ConfirmExistingFolder(const std::string& folder) = 0;
  virtual void FolderCreationFailed(const std::string& folder) = 0;
  // Shows the picture just written; false when it could not be shown (the engine then
  // deletes the file and takes it back from the count).
  virtual bool ShowPreview(TItemKind kind, const std::string& path) = 0;
  virtual void ReportError(const TRunError& error) = 0;
  virtual void ItemWritten(const TWrittenItem& /*item*/) {}
};

}  // namespace bw::extract
