#include "framework/win/IconFile.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "framework/core/ByteView.h"

namespace bw::win {
namespace {

constexpr std::size_t kDirHeaderBytes = 6;
constexpr std::size_t kDirEntryBytes = 16;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

using TView = core::TByteView;

std::uint64_t RowBytes(std::uint64_t widthPx, std::uint64_t bits) { return (widthPx * bits + 31) / 32 * 4; }

// Checks the bitmap image of one entry; fills in its real size and depth.
bool CheckBitmapImage(const TView& in, TIconEntry& entry, std::string& reason) {
  const std::size_t at = entry.OffsetBytes;
  if (entry.SizeBytes < kInfoHeaderBytes) {
    reason = "image smaller than its header";
    return false;
  }
  const std::uint32_t headerBytes = in.U32Unchecked(at);
  if (headerBytes < kInfoHeaderBytes || headerBytes > entry.SizeBytes) {
    reason = "image header size out of range";
    return false;
  }
  const auto widthPx = static_cast<std::int32_t>(in.U32Unchecked(at + 4));
  const auto doubledHeight = static_cast<std::int32_t>(in.U32Unchecked(at + 8));
  const std::uint16_t planes = in.U16Unchecked(at + 12);
  const std::uint16_t bits = in.U16Unchecked(at + 14);
  const std::uint32_t compression = in.U32Unchecked(at + 16);
  const std::uint32_t colorsUsed = in.U32Unchecked(at + 32);
  // The height counts the colour rows and the mask rows.
  if (widthPx <= 0 || widthPx > kMaxIconSizePx || doubledHeight <= 0 || doubledHeight % 2 != 0 ||
      doubledHeight / 2 > kMaxIconSizePx) {
    reason = "image size out of range";
    return false;
  }
  if (planes != 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
    reason = "unsupported bit count " + std::to_string(bits);
    return false;
  }
  if (compression != 0) {
    reason = "compressed bitmap image";
    return false;
  }
  std::uint64_t tableEntries = 0;
  if (bits <= 8) {
    if (colorsUsed > (1u << bits)) {
      reason = "more colours than the bit count allows";
      return false;
    }
    tableEntries = colorsUsed == 0 ? (1u << bits) : colorsUsed;
  }
  const std::uint64_t heightPx = static_cast<std::uint64_t>(doubledHeight) / 2;
  const std::uint64_t need = headerBytes + tableEntries * 4 + RowBytes(static_cast<std::uint64_t>(widthPx), bits) * heightPx +
                             RowBytes(static_cast<std::uint64_t>(widthPx), 1) * heightPx;
  if (need > entry.SizeBytes) {
    reason = "image pixels cut off";
    return false;
  }
  entry.WidthPx = widthPx;
  entry.HeightPx = static_cast<int>(heightPx);
  entry.BitCount = bits;
  return true;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

TIconDirectory ReadIconDirectory(std::span<const std::uint8_t> bytes) {
  TIconDirectory dir;
  auto fail = [&dir](std::string reason) {
    dir.Entries.clear();
    dir.Reason = std::move(reason);
    return dir;
  };
  const TView in(bytes);
  if (!in.Has(0, kDirHeaderBytes)) return fail("icon header cut off");
  if (in.U16Unchecked(0) != 0 || in.U16Unchecked(2) != 1) return fail("not an icon file");
  const std::size_t count = in.U16Unchecked(4);
  if (count == 0) return fail("icon file without images");
  if (count > kMaxIconImages) return fail("more than " + std::to_string(kMaxIconImages) + " images");
  if (!in.Has(kDirHeaderBytes, count * kDirEntryBytes)) return fail("icon directory cut off");
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kDirHeaderBytes + i * kDirEntryBytes;
    TIconEntry entry;
    entry.WidthPx = in.U8Unchecked(at) == 0 ? 256 : in.U8Unchecked(at);
    entry.HeightPx = in.U8Unchecked(at + 1) == 0 ? 256 : in.U8Unchecked(at + 1);
    entry.BitCount = in.U16Unchecked(at + 6);
    entry.SizeBytes = in.U32Unchecked(at + 8);
    entry.OffsetBytes = in.U32Unchecked(at + 12);
    const std::string which = "image " + std::to_string(i + 1) + ": ";
    if (entry.SizeBytes == 0 || !in.Has(entry.OffsetBytes, entry.SizeBytes))
      return fail(which + "data outside the file");
    if (entry.SizeBytes >= sizeof kPngSignature &&
        std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin() + entry.OffsetBytes)) {
      entry.Png = true;
    } else {
      std::string reason;
      if (!CheckBitmapImage(in, entry, reason)) return fail(which + reason);
    }
    dir.Entries.push_back(entry);
  }
  dir.Ok = true;
  return dir;
}

int ChooseIconEntry(const std::vector<TIconEntry>& entries, int desiredPx) {
  int best = -1;
  // Rank: exact size, then the smallest larger, then the largest smaller; deeper colours break ties.
  auto rank = [desiredPx](const TIconEntry& e) {
    const int size = std::max(e.WidthPx, e.HeightPx);
    const int group = size == desiredPx ? 0 : size > desiredPx ? 1 : 2;
    const int distance = std::abs(size - desiredPx);
    return std::make_tuple(group, distance, -e.BitCount);
  };
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (best < 0 || rank(entries[i]) < rank(entries[static_cast<std::size_t>(best)])) best = static_cast<int>(i);
  }
  return best;
}

std::vector<std::uint8_t> WriteIconFile(int widthPx, int heightPx, std::span<const std::uint8_t> colorRows,
                                        std::span<const std::uint8_t> maskRows) {
  std::vector<std::uint8_t> out;
  const auto imageBytes = static_cast<std::uint32_t>(kInfoHeaderBytes + colorRows.size() + maskRows.size());
  PutU16(out, 0);
  PutU16(out, 1);
  PutU16(out, 1);
  out.push_back(static_cast<std::uint8_t>(widthPx >= 256 ? 0 : widthPx));
  out.push_back(static_cast<std::uint8_t>(heightPx >= 256 ? 0 : heightPx));
  out.push_back(0);  // colour count: none for 32 bits
  out.push_back(0);
  PutU16(out, 1);
  PutU16(out, 32);
  PutU32(out, imageBytes);
  PutU32(out, static_cast<std::uint32_t>(kDirHeaderBytes + kDirEntryBytes));
  PutU32(out, kInfoHeaderBytes);
  PutU32(out, static_cast<std::uint32_t>(widthPx));
  PutU32(out, static_cast<std::uint32_t>(heightPx * 2));
  PutU16(out, 1);
  PutU16(out, 32);
  for (int i = 0; i < 6; ++i) PutU32(out, 0);  // compression, sizes, resolution, colours
  out.insert(out.end(), colorRows.begin(), colorRows.end());
  out.insert(out.end(), maskRows.begin(), maskRows.end());
  return out;
}

}  // namespace bw::win
