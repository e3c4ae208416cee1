#pragma once
// Synthetic presentations for the end-to-end runs: real pictures between filler bytes
// that hold no signature.
#include <cstdint>
#include <string>
#include <vector>

namespace bw::driver {

using TBytes = std::vector<std::uint8_t>;

// A JFIF JPEG (the encoder's default APP0 header) of a smooth pattern varied by seed.
TBytes EncodeJpeg(int widthPx, int heightPx, std::uint32_t seed, int quality = 85);
// An 8-bit RGB PNG of one colour.
TBytes EncodeSolidPng(int widthPx, int heightPx, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

struct TSourcePlan {
  std::uint64_t TargetBytes = 30u << 20;
  int Pictures = 300;
  int PictureWidthPx = 320;
  int PictureHeightPx = 240;
};

// Writes the source: JPEG pictures spread evenly through zero filler up to about
// TargetBytes. Returns the number of pictures written, or -1 when the file cannot be
// written.
int WriteSyntheticSource(const std::string& pathUtf8, const TSourcePlan& plan);

// Filler, one item, filler: the smallest source holding exactly that item.
bool WriteSingleItemSource(const std::string& pathUtf8, const TBytes& item);

}  // namespace bw::driver
