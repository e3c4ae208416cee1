// Arbitrary files through PngToDib: every status, and the block always matches its header.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "framework/core/PngDib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = [] {
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    return (base / ("bw-fuzz-png-" + std::to_string(getpid()) + ".png")).string();
  }();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  bw::core::TPngDibInfo info{};
  info.Size = sizeof info;
  info.FileName = path.c_str();
  const std::uint32_t status = bw::core::PngToDib(&info);
  if (status == bw::core::kPngDibOk) {
    std::uint32_t width, height;
    std::memcpy(&width, info.Dib + 4, 4);
    std::memcpy(&height, info.Dib + 8, 4);
    std::uint16_t bitCount;
    std::memcpy(&bitCount, info.Dib + 14, 2);
    const std::uint64_t stride = (std::uint64_t{width} * bitCount + 31) / 32 * 4;
    if (info.BitsOffset + stride * height != info.DibSize) __builtin_trap();
    // Touch the last byte: the block must really be that long.
    volatile std::uint8_t last = info.Dib[info.DibSize - 1];
    (void)last;
  } else if (info.Dib != nullptr) {
    __builtin_trap();
  }
  bw::core::FreePngDibBlock(info.Dib);
  return 0;
}
