#pragma once
// The state of one extraction run: what the scan, the carve steps and the host share.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace bw::extract {

// The open source file; owns its handle.
class TSourceFile {
 public:
  TSourceFile() = default;
  TSourceFile(const TSourceFile&) = delete;
  TSourceFile& operator=(const TSourceFile&) = delete;
  ~TSourceFile() { Close(); }

  // errno-style code on failure, 0 on success; the size is taken once here.
  int Open(const std::string& pathUtf8);
  void Close();
  bool IsOpen() const { return FHandle != nullptr; }
  std::FILE* Handle() const { return FHandle; }
  std::uint64_t SizeBytes() const { return FSizeBytes; }
  const std::string& Path() const { return FPath; }

 private:
  std::FILE* FHandle = nullptr;
  std::uint64_t FSizeBytes = 0;
  std::string FPath;
};

struct TRunState {
  std::int32_t PictureCount = 0;  // JPEG, PNG and BMP files share it, and their numbering
  std::int32_t SoundCount = 0;
  bool AbortRequested = false;  // set by the host; read after every host call
  bool StopNow = false;         // set by the host with AbortRequested: the item being written is
                                // not finished but removed
  std::string OutputFolder;     // the source's folder until the first hit, then the output folder
  std::string SourceName;
  std::string JpgFileName;
  std::string PngFileName;
  std::string BmpFileName;
  std::string WavFileName;
  bool PngPreviewFailed = false;

  TSourceFile Source;
  std::uint64_t SourceSize = 0;
  std::uint64_t Position = 0;  // bytes consumed; where the next window starts between iterations
  std::array<std::uint8_t, 4> Window{};
  bool FolderPrepared = false;  // the folder set-up runs at the first hit of a run only
};

enum class TOpenResult { Opened, NotOpened };

// Opens the source and resets the run state for a new run, as the Load command does.
// A relative path stays relative; the output folder lands beside the source all the same.
// On failure the state keeps the previous run's counts and names; errnoValue tells why.
TOpenResult BeginRun(TRunState& state, const std::string& sourcePathUtf8, int& errnoValue);

}  // namespace bw::extract
