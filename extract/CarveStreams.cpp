// Pictures without a length field: copied up to their end marker.
#include <array>
#include <cstring>

#include "extract/ScanRun.h"

namespace bw::extract {
namespace {

constexpr std::uint8_t kJpegMarker = 0xFF;
constexpr std::uint8_t kJpegEndOfImage = 0xD9;
constexpr std::uint8_t kJpegStartOfImage = 0xD8;
// A second start-of-image sends the write position back behind the first one.
constexpr std::uint64_t kJpegRestartOffsetBytes = 2;

// Place (1..8) of a byte in the PNG closing sequence 49 45 4E 44 AE 42 60 82; 0 if none.
constexpr std::array<std::uint8_t, 256> MakeClosingPlaces() {
  std::array<std::uint8_t, 256> places{};
  const std::uint8_t sequence[8] = {0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  for (std::uint8_t i = 0; i < 8; ++i) places[sequence[i]] = static_cast<std::uint8_t>(i + 1);
  return places;
}
constexpr std::array<std::uint8_t, 256> kClosingPlaces = MakeClosingPlaces();
constexpr std::uint8_t kClosingLength = 8;

// The closing detector keeps flags s1..s7 that always form a prefix, so a level says it all.
// A member of the sequence raises the level to its place when the level below it is
// reached, and otherwise clears every flag below it (I and E clear nothing).
// Returns the new level; kClosingLength means the stream is complete.
std::uint8_t AdvanceClosing(std::uint8_t level, std::uint8_t place) {
  if (place == 0) return level;
  if (place == 1) return level < 1 ? 1 : level;
  if (level >= place - 1) return level < place ? place : level;
  return place == 2 ? level : 0;
}

}  // namespace

TScanRun::TNext TScanRun::CarveJpeg(std::uint64_t startBytes) {
  if (!PrepareOutputFolder()) return std::nullopt;
  if (!CreateOutput(".jpg", FState.PictureCount, FState.JpgFileName)) return std::nullopt;
  FOutput.Write(FState.Window.data(), FState.Window.size());

  std::uint64_t pos = startBytes + 4;
  bool afterMarker = false;
  bool ended = false;
  while (!ended && pos < FState.SourceSize && !FOutput.Failed()) {
    if (!FReader.Fill(pos, 1)) break;
    const std::uint8_t* data = FReader.At(pos);
    const std::size_t availableBytes = FReader.AvailableFrom(pos);
    std::size_t i = 0;
    while (i < availableBytes) {
      if (afterMarker) {
        const std::uint8_t byte = data[i++];
        FOutput.WriteByte(byte);
        if (byte == kJpegMarker) continue;
        afterMarker = false;
        if (byte == kJpegEndOfImage) {
          ended = true;
          break;
        }
        if (byte == kJpegStartOfImage) FOutput.SeekTo(kJpegRestartOffsetBytes);
        continue;
      }
      const void* marker = std::memchr(data + i, kJpegMarker, availableBytes - i);
      const std::size_t upTo =
          marker == nullptr ? availableBytes : static_cast<std::size_t>(static_cast<const std::uint8_t*>(marker) - data) + 1;
      FOutput.Write(data + i, upTo - i);
      afterMarker = marker != nullptr;
      i = upTo;
    }
    pos += i;
    FState.Position = pos;
    if (Tick(pos) && FState.StopNow) break;
  }
  const bool truncated = !ended;
  if (!FinishItem(TItemKind::Jpeg, FState.JpgFileName, startBytes, pos, truncated)) return std::nullopt;
  return truncated ? FState.SourceSize : pos - 3;
}

TScanRun::TNext TScanRun::CarvePng(std::uint64_t startBytes) {
  if (!PrepareOutputFolder()) return std::nullopt;
  if (!CreateOutput(".png", FState.PictureCount, FState.PngFileName)) return std::nullopt;
  FOutput.Write(FState.Window.data(), FState.Window.size());

  std::uint64_t pos = startBytes + 4;
  std::uint8_t level = 0;
  while (level != kClosingLength && pos < FState.SourceSize && !FOutput.Failed()) {
    if (!FReader.Fill(pos, 1)) break;
    const std::uint8_t* data = FReader.At(pos);
    const std::size_t availableBytes = FReader.AvailableFrom(pos);
    std::size_t i = 0;
    while (i < availableBytes && level != kClosingLength) {
      level = AdvanceClosing(level, kClosingPlaces[data[i]]);
      ++i;
    }
    FOutput.Write(data, i);
    pos += i;
    FState.Position = pos;
    if (Tick(pos) && FState.StopNow) break;
  }
  const bool truncated = level != kClosingLength;
  if (!FinishItem(TItemKind::Png, FState.PngFileName, startBytes, pos, truncated)) return std::nullopt;
  return truncated ? FState.SourceSize : pos - 3;
}

}  // namespace bw::extract
