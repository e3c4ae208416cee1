#pragma once
// JPEG and PNG files made in memory, for the tests and benchmarks of the decoders.
#include <cstdint>
#include <vector>

namespace bw::test {

struct TJpegSpec {
  int WidthPx = 16;
  int HeightPx = 16;
  int Components = 3;  // 1 grey, 3 RGB, 4 CMYK
  int Quality = 75;
  bool Progressive = false;
  int RestartRows = 0;
  int LumaSampling = 0;  // horizontal and vertical factor of the first component; 0: the encoder's
};

// pixels: rows from the top, spec.Components bytes a pixel.
std::vector<std::uint8_t> EncodeJpeg(const TJpegSpec& spec, const std::vector<std::uint8_t>& pixels);

// Rewrites the size the baseline frame header declares; the data stays that of the old size.
void DeclareJpegSize(std::vector<std::uint8_t>& jpeg, std::uint16_t widthPx, std::uint16_t heightPx);

// A grey 8-bit PNG whose image data deflates `rowsGiven` of its rows (zero rows, filter 0):
// fewer rows than the height make a cut picture, a large picture of zero rows a zlib bomb.
std::vector<std::uint8_t> GreyPng(std::uint32_t widthPx, std::uint32_t heightPx, std::uint32_t rowsGiven,
                                  bool interlaced = false);

}  // namespace bw::test
