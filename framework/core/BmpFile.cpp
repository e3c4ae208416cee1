#include "framework/core/BmpFile.h"

#include <algorithm>
#include <cstring>

#include "framework/core/ByteView.h"

namespace bw::core {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kLargestInfoHeaderBytes = 124;  // the version 5 header
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

using TReader = TByteView;

TBmpResult Fail(TBmpStatus status, std::string reason) { return {status, std::move(reason)}; }

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

TBmpResult ReadBmp(std::span<const std::uint8_t> bytes, TDib& dib) {
  dib = TDib();
  if (bytes.empty()) return {};
  const TReader in(bytes);
  if (!in.Has(0, kFileHeaderBytes + 4)) return Fail(TBmpStatus::Truncated, "file header cut off");
  if (bytes[0] != 'B' || bytes[1] != 'M') return Fail(TBmpStatus::Corrupt, "no BM signature");
  const std::uint32_t offBits = in.U32Unchecked(10);
  const std::uint32_t headerBytes = in.U32Unchecked(kFileHeaderBytes);
  if (headerBytes < kInfoHeaderBytes) {
    return Fail(TBmpStatus::Unsupported, "information header of " + std::to_string(headerBytes) + " bytes");
  }
  if (headerBytes > kLargestInfoHeaderBytes) return Fail(TBmpStatus::Corrupt, "information header size out of range");
  if (!in.Has(kFileHeaderBytes, headerBytes)) return Fail(TBmpStatus::Truncated, "information header cut off");

  const std::size_t h = kFileHeaderBytes;
  const std::int32_t widthPx = static_cast<std::int32_t>(in.U32Unchecked(h + 4));
  const std::int32_t rawHeight = static_cast<std::int32_t>(in.U32Unchecked(h + 8));
  const std::uint16_t planes = in.U16Unchecked(h + 12);
  const std::uint16_t bitCount = in.U16Unchecked(h + 14);
  const std::uint32_t compression = in.U32Unchecked(h + 16);
  const std::uint32_t colorsUsed = in.U32Unchecked(h + 32);

  if (planes != 1) return Fail(TBmpStatus::Corrupt, "planes is not 1");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return Fail(TBmpStatus::Unsupported, "bit count " + std::to_string(bitCount));
  }
  if (widthPx <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return Fail(TBmpStatus::Corrupt, "empty or negative size");
  const std::int32_t heightPx = rawHeight < 0 ? -rawHeight : rawHeight;
  if (widthPx > kMaxBmpDimensionPx || heightPx > kMaxBmpDimensionPx) {
    return Fail(TBmpStatus::TooLarge, "picture larger than " + std::to_string(kMaxBmpDimensionPx) + " pixels");
  }
  const bool bitfields = compression == kBiBitfields;
  if (compression != kBiRgb && !(bitfields && (bitCount == 16 || bitCount == 32))) {
    return Fail(TBmpStatus::Unsupported, "compression " + std::to_string(compression));
  }

  // Masks follow a 40-byte header, or stand inside a longer one.
  std::size_t tableOffset = h + headerBytes;
  std::uint32_t masks[3] = {0, 0, 0};
  if (bitfields) {
    const std::size_t maskOffset = h + kInfoHeaderBytes;
    if (!in.Has(maskOffset, 12)) return Fail(TBmpStatus::Truncated, "colour masks cut off");
    for (int i = 0; i < 3; ++i) masks[i] = in.U32Unchecked(maskOffset + 4 * static_cast<std::size_t>(i));
    if (headerBytes == kInfoHeaderBytes) tableOffset += 12;
    if (masks[0] == 0 && masks[1] == 0 && masks[2] == 0) return Fail(TBmpStatus::Corrupt, "all colour masks are zero");
  }

  std::size_t tableEntries = 0;
  if (bitCount <= 8) {
    const std::uint32_t fullEntries = 1u << bitCount;
    if (colorsUsed > fullEntries) return Fail(TBmpStatus::Corrupt, "more colours than the bit count allows");
    tableEntries = colorsUsed == 0 ? fullEntries : colorsUsed;
  } else if (colorsUsed > 0 && in.Has(tableOffset, std::size_t{colorsUsed} * 4)) {
    tableOffset += std::size_t{colorsUsed} * 4;  // an optional table to skip
  }
  if (!in.Has(tableOffset, tableEntries * 4)) return Fail(TBmpStatus::Truncated, "colour table cut off");

  const std::size_t strideBytes = TDib::StrideBytes(static_cast<std::uint32_t>(widthPx), bitCount);
  const std::uint64_t imageBytes = std::uint64_t{strideBytes} * static_cast<std::uint64_t>(heightPx);
  // The declared pixel offset wins when the pixels fit behind it; a packed bitmap whose
  // offset assumes a full colour table is read from behind its actual table.
  const std::size_t packedOffset = tableOffset + tableEntries * 4;
  std::size_t pixelOffset = 0;
  if (offBits >= packedOffset && offBits <= in.Size() && imageBytes <= in.Size() - offBits) {
    pixelOffset = offBits;
  } else if (packedOffset <= in.Size() && imageBytes <= in.Size() - packedOffset) {
    pixelOffset = packedOffset;
  } else {
    return Fail(TBmpStatus::Truncated, "pixel data cut off");
  }

  TDib result(widthPx, heightPx, bitCount);
  if (bitfields) result.SetMasks(masks[0], masks[1], masks[2]);
  result.ColorTable().resize(tableEntries);
  for (std::size_t i = 0; i < tableEntries; ++i) {
    const std::uint8_t* entry = in.At(tableOffset + 4 * i);
    result.ColorTable()[i] = {entry[0], entry[1], entry[2], 0};
  }
  result.XPelsPerMeter = static_cast<std::int32_t>(in.U32Unchecked(h + 24));
  result.YPelsPerMeter = static_cast<std::int32_t>(in.U32Unchecked(h + 28));
  const std::uint8_t* pixels = in.At(pixelOffset);
  if (rawHeight > 0) {
    std::memcpy(result.Pixels().data(), pixels, static_cast<std::size_t>(imageBytes));
  } else {
    for (std::int32_t y = 0; y < heightPx; ++y) {
      std::memcpy(result.RowFromTop(y), pixels + static_cast<std::size_t>(y) * strideBytes, strideBytes);
    }
  }
  dib = std::move(result);
  return {};
}

TBmpResult ReadBmpFile(const std::string& pathUtf8, TDib& dib) {
  dib = TDib();
  std::vector<std::uint8_t> bytes;
  std::string reason;
  switch (ReadImageFile(pathUtf8, kMaxBmpFileBytes, bytes, reason)) {
    case TFileReadStatus::Ok: return ReadBmp(bytes, dib);
    case TFileReadStatus::OpenFailed: return Fail(TBmpStatus::OpenFailed, reason);
    case TFileReadStatus::TooLarge: return Fail(TBmpStatus::TooLarge, reason);
    case TFileReadStatus::ReadFailed: return Fail(TBmpStatus::ReadFailed, reason);
  }
  return Fail(TBmpStatus::ReadFailed, reason);
}

std::vector<std::uint8_t> WriteBmp(const TDib& dib) {
  std::vector<std::uint8_t> out;
  if (dib.IsEmpty()) return out;
  const bool bitfields = (dib.BitCount() == 16 || dib.BitCount() == 32) && !dib.HasDefaultMasks();
  const std::size_t tableBytes = dib.BitCount() <= 8 ? dib.ColorTable().size() * 4 : 0;
  const std::size_t offBits = kFileHeaderBytes + kInfoHeaderBytes + (bitfields ? 12 : 0) + tableBytes;
  const std::size_t imageBytes = dib.Pixels().size();
  out.reserve(offBits + imageBytes);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, static_cast<std::uint32_t>(offBits + imageBytes));
  PutU32(out, 0);
  PutU32(out, static_cast<std::uint32_t>(offBits));
  PutU32(out, kInfoHeaderBytes);
  PutU32(out, static_cast<std::uint32_t>(dib.WidthPx()));
  PutU32(out, static_cast<std::uint32_t>(dib.HeightPx()));
  PutU16(out, 1);
  PutU16(out, dib.BitCount());
  PutU32(out, bitfields ? kBiBitfields : kBiRgb);
  PutU32(out, static_cast<std::uint32_t>(imageBytes));
  PutU32(out, static_cast<std::uint32_t>(dib.XPelsPerMeter));
  PutU32(out, static_cast<std::uint32_t>(dib.YPelsPerMeter));
  PutU32(out, static_cast<std::uint32_t>(tableBytes / 4));
  PutU32(out, 0);
  if (bitfields) {
    PutU32(out, dib.RedMask());
    PutU32(out, dib.GreenMask());
    PutU32(out, dib.BlueMask());
  }
  if (dib.BitCount() <= 8) {
    for (const TRgbQuad& entry : dib.ColorTable()) {
      out.insert(out.end(), {entry.Blue, entry.Green, entry.Red, 0});
    }
  }
  out.insert(out.end(), dib.Pixels().begin(), dib.Pixels().end());
  return out;
}

TBmpResult WriteBmpFile(const std::string& pathUtf8, const TDib& dib) {
  const std::vector<std::uint8_t> bytes = WriteBmp(dib);
  std::FILE* file = OpenImageFileUtf8(pathUtf8, "wb");
  if (file == nullptr) return Fail(TBmpStatus::OpenFailed, "cannot create the file");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return Fail(TBmpStatus::WriteFailed, "cannot write the file");
  return {};
}

}  // namespace bw::core
