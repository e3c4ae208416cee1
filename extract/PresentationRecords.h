#pragma once
// The record walk of a presentation's streams: the pictures of the "Pictures" stream and
// the sounds of the "PowerPoint Document" stream, found by their records rather than by
// signatures. Streams are read through a callback, so the walk runs on any byte source.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bw::extract {

enum class TStructureKind { Emf, Wmf, Pict, Jpeg, Png, Dib, Tiff, Sound };

// Reads exactly lengthBytes at offsetBytes of the stream; false when it cannot.
using TStreamRead = std::function<bool(std::uint64_t offsetBytes, std::uint8_t* into, std::size_t lengthBytes)>;

struct TMetafileInfo {
  std::uint32_t UncompressedBytes = 0;
  std::int32_t Bounds[4] = {};    // left, top, right, bottom
  std::int32_t SizeEmu[2] = {};   // width, height in English metric units
  bool Compressed = false;        // deflate; otherwise stored
};

struct TStructureItem {
  TStructureKind Kind = TStructureKind::Jpeg;
  std::uint64_t RecordOffsetBytes = 0;  // the record header, in its stream
  std::uint64_t DataOffsetBytes = 0;    // the picture's or sound's own bytes, in its stream
  std::uint64_t DataBytes = 0;
  std::vector<std::uint8_t> Prefix;     // written before the data (the BMP file header)
  TMetafileInfo Metafile;               // EMF, WMF, PICT only
  std::string Extension;                // with its dot
};

struct TWalkResult {
  std::vector<TStructureItem> Items;
  std::vector<std::string> Problems;  // damaged records, each with its stream offset
};

// Records nest at most this deep; deeper containers are skipped as damaged.
inline constexpr int kMaxRecordDepth = 16;
// An inflated metafile may not grow past this.
inline constexpr std::uint64_t kMaxMetafileBytes = std::uint64_t{256} << 20;

void WalkPictures(const TStreamRead& read, std::uint64_t streamBytes, TWalkResult& result);
void WalkSounds(const TStreamRead& read, std::uint64_t streamBytes, TWalkResult& result);

// The 22-byte header that lets a WMF open on its own, from the record's bounds and size.
std::vector<std::uint8_t> PlaceableWmfHeader(const TMetafileInfo& info);
bool HasPlaceableKey(const std::uint8_t* data, std::size_t lengthBytes);

const char* StructureKindName(TStructureKind kind);

}  // namespace bw::extract
