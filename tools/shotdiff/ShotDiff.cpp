#include "tools/shotdiff/ShotDiff.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>

namespace bw::tools {

std::optional<TRgbPicture> ReadPng(const std::string& path, std::string& error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    error = image.message;
    return std::nullopt;
  }
  // Screenshots are small; anything larger is not one of ours.
  constexpr png_uint_32 kMaxSidePx = 8192;
  if (image.width > kMaxSidePx || image.height > kMaxSidePx) {
    png_image_free(&image);
    error = "picture of " + std::to_string(image.width) + " x " + std::to_string(image.height) + " pixels";
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGB;
  TRgbPicture picture;
  picture.WidthPx = static_cast<int>(image.width);
  picture.HeightPx = static_cast<int>(image.height);
  picture.Rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.Rgb.data(), 0, nullptr)) {
    error = image.message;
    png_image_free(&image);
    return std::nullopt;
  }
  return picture;
}

bool WritePng(const std::string& path, const TRgbPicture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.WidthPx);
  image.height = static_cast<png_uint_32>(picture.HeightPx);
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, path.c_str(), 0, picture.Rgb.data(), 0, nullptr) != 0;
}

TShotDiff CompareShots(const TRgbPicture& expected, const TRgbPicture& actual) {
  TShotDiff diff;
  diff.SameSize = expected.WidthPx == actual.WidthPx && expected.HeightPx == actual.HeightPx;
  diff.Picture = actual;
  const std::uint64_t actualPx = std::uint64_t(actual.WidthPx) * std::uint64_t(actual.HeightPx);
  diff.Total = std::max(std::uint64_t(expected.WidthPx) * std::uint64_t(expected.HeightPx), actualPx);
  for (std::uint64_t i = 0; i < actualPx; ++i) {
    std::uint8_t* out = &diff.Picture.Rgb[i * 3];
    bool changed = !diff.SameSize;
    if (diff.SameSize) {
      const std::uint8_t* was = &expected.Rgb[i * 3];
      for (int c = 0; c < 3; ++c) changed = changed || std::abs(int(out[c]) - int(was[c])) > kShotTolerance;
    }
    if (changed) {
      ++diff.Changed;
      out[0] = 255, out[1] = 0, out[2] = 0;
    } else {
      // What stayed is kept faint, so the red stands out and the window can still be recognised.
      for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(160 + out[c] * 3 / 8);
    }
  }
  if (!diff.SameSize) diff.Changed = diff.Total;
  return diff;
}

}  // namespace bw::tools
