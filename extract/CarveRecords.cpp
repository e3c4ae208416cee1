// Items with a length field: bitmap picture records and RIFF WAVE sounds.
#include "extract/ScanRun.h"

namespace bw::extract {
namespace {

// Bitmap record: signature, 32-bit length L, 16-byte identifier, tag byte, then the DIB.
constexpr std::size_t kDibLengthOffset = 4;
constexpr std::size_t kDibHeaderOffset = 25;
constexpr std::size_t kDibBitCountOffset = 39;
constexpr std::uint8_t kDibInfoHeaderSize = 0x28;
constexpr std::uint32_t kDibLengthOverhead = 17;  // L counts identifier, tag ... minus this
constexpr std::size_t kBmpFileHeaderBytes = 14;

// RIFF: signature, 32-bit size Z, form type; the copy takes Z + 9 bytes from the signature.
constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::uint64_t kRiffCopyExtraBytes = 9;

std::uint32_t ReadU32LE(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

void PutU32LE(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Pixel offset written into the file header; full colour tables are assumed for 1, 4, 8 bits.
std::uint32_t PixelOffsetFor(std::uint16_t bitCount) {
  switch (bitCount) {
    case 1: return 62;
    case 4: return 118;
    case 8: return 1078;
    default: return 54;
  }
}

}  // namespace

TScanRun::TNext TScanRun::CarveDib(std::uint64_t startBytes) {
  if (!PrepareOutputFolder()) return std::nullopt;
  if (!FillOrFail(startBytes, kDibBitCountOffset + 2)) return std::nullopt;
  const std::uint8_t* record = FReader.At(startBytes);
  const std::size_t haveBytes = FReader.AvailableFrom(startBytes);
  // A record cut off before its header, or failing the check, is no picture.
  if (haveBytes <= kDibHeaderOffset || record[kDibHeaderOffset] != kDibInfoHeaderSize) return startBytes + 2;
  const std::uint32_t length = ReadU32LE(record + kDibLengthOffset);
  if (length < kDibLengthOverhead) return startBytes + 2;
  const std::uint16_t bitCount =
      haveBytes >= kDibBitCountOffset + 2
          ? static_cast<std::uint16_t>(record[kDibBitCountOffset] | record[kDibBitCountOffset + 1] << 8)
          : 0;

  std::uint8_t fileHeader[kBmpFileHeaderBytes] = {'B', 'M'};
  PutU32LE(fileHeader + 2, length - 3);  // the DIB's L - 17 bytes behind 14 header bytes
  PutU32LE(fileHeader + 10, PixelOffsetFor(bitCount));
  if (!CreateOutput(".bmp", FState.PictureCount, FState.BmpFileName)) return std::nullopt;
  FOutput.Write(fileHeader, sizeof fileHeader);
  const std::uint64_t dibBytes = length - kDibLengthOverhead;
  const std::uint64_t from = startBytes + kDibHeaderOffset;
  const std::uint64_t end = CopyBody(from, dibBytes);
  const bool truncated = end < from + dibBytes;
  if (!FinishItem(TItemKind::Bmp, FState.BmpFileName, startBytes, end, truncated)) return std::nullopt;
  return truncated ? FState.SourceSize : end - 3;
}

TScanRun::TNext TScanRun::CarveWave(std::uint64_t startBytes) {
  if (!PrepareOutputFolder()) return std::nullopt;
  if (!FillOrFail(startBytes, kRiffHeaderBytes)) return std::nullopt;
  if (FReader.AvailableFrom(startBytes) < kRiffHeaderBytes) return startBytes + 1;
  const std::uint8_t* header = FReader.At(startBytes);
  std::copy(header + 8, header + 12, FState.Window.begin());
  FState.Position = startBytes + kRiffHeaderBytes;
  if (header[8] != 'W' || header[9] != 'A' || header[10] != 'V' || header[11] != 'E') return startBytes + 1;

  const std::uint64_t copyBytes = std::uint64_t{ReadU32LE(header + 4)} + kRiffCopyExtraBytes;
  if (!CreateOutput(".wav", FState.SoundCount, FState.WavFileName)) return std::nullopt;
  const std::uint64_t end = CopyBody(startBytes, copyBytes);
  const bool truncated = end < startBytes + copyBytes;
  if (!FinishItem(TItemKind::Wave, FState.WavFileName, startBytes, end, truncated)) return std::nullopt;
  return truncated ? FState.SourceSize : end;
}

}  // namespace bw::extract
