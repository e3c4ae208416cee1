// Scans arbitrary sources end to end: every carve, the preview answers, small buffers.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "extract/Scanner.h"

namespace {

class TFuzzHost final : public bw::extract::TRunHost {
 public:
  explicit TFuzzHost(std::uint8_t answers) : FAnswers(answers) {}
  void Progress(int percent) override {
    if (percent < 0 || percent > 100) __builtin_trap();
  }
  void ProcessMessages() override {}
  bool ConfirmExistingFolder(const std::string&) override { return true; }
  void FolderCreationFailed(const std::string&) override {}
  bool ShowPreview(bw::extract::TItemKind, const std::string&) override {
    FAnswers = static_cast<std::uint8_t>(FAnswers >> 1 | FAnswers << 7);
    return (FAnswers & 1) != 0;
  }
  void ReportError(const bw::extract::TRunError&) override {}

 private:
  std::uint8_t FAnswers;
};

const std::filesystem::path& WorkFolder() {
  static const std::filesystem::path folder = [] {
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::filesystem::path made = base / ("bw-fuzz-scan-" + std::to_string(getpid()));
    std::filesystem::create_directories(made);
    return made;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte picks the preview answers and the buffer size.
  const std::uint8_t control = data[0];
  ++data;
  --size;
  const std::filesystem::path source = WorkFolder() / "in.ppt";
  {
    std::FILE* file = std::fopen(source.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  bw::extract::TRunState state;
  int errnoValue = 0;
  if (bw::extract::BeginRun(state, source.string(), errnoValue) != bw::extract::TOpenResult::Opened) return 0;
  TFuzzHost host(control);
  const std::size_t bufferBytes = (control & 0x80) != 0 ? 64 + (control & 0x3F) : bw::extract::kSourceBufferBytes;
  bw::extract::Scan(state, host, bufferBytes);
  if (state.Position > state.SourceSize || state.PictureCount < 0 || state.SoundCount < 0) __builtin_trap();
  state.Source.Close();
  std::error_code error;
  std::filesystem::remove_all(WorkFolder() / "in", error);
  return 0;
}
