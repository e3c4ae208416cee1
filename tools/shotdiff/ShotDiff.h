#pragma once
// Two screenshots compared pixel by pixel: how many pixels changed beyond a small colour
// tolerance (font smoothing may move a level or two), and a picture of where.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bw::tools {

struct TRgbPicture {
  int WidthPx = 0;
  int HeightPx = 0;
  std::vector<std::uint8_t> Rgb;  // rows from the top, 3 bytes a pixel
};

// Nothing (and the reason in error) when the file is not a readable PNG.
std::optional<TRgbPicture> ReadPng(const std::string& path, std::string& error);
bool WritePng(const std::string& path, const TRgbPicture& picture);

inline constexpr int kShotTolerance = 24;  // largest channel difference still "the same"

struct TShotDiff {
  bool SameSize = false;
  std::uint64_t Changed = 0;  // every pixel when the sizes differ
  std::uint64_t Total = 0;    // pixels of the larger picture
  TRgbPicture Picture;        // the new one dimmed, changed pixels in red
};

TShotDiff CompareShots(const TRgbPicture& expected, const TRgbPicture& actual);

}  // namespace bw::tools
