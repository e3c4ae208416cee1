#include "skin/data/SkinRead.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "skin/data/AnsiText.h"

namespace bw::skin {

const char* const kOldSkinNotice = "This is Older Skin File\rPlease update to new version !";

namespace {

TNoticeProc& DefaultNotice() {
  static TNoticeProc notice;
  return notice;
}

std::int32_t ReadI32LE(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                   (static_cast<std::uint32_t>(p[2]) << 16) |
                                   (static_cast<std::uint32_t>(p[3]) << 24));
}

void AppendI32LE(std::vector<std::uint8_t>& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

}  // namespace

void SetDefaultSkinNotice(TNoticeProc notice) { DefaultNotice() = std::move(notice); }

const TNoticeProc& DefaultSkinNotice() { return DefaultNotice(); }

TSkinReader::TSkinReader() : FNotice(DefaultNotice()) {}

TUnpackResult TSkinReader::Decompress(TByteStream& source, TByteStream& dest) {
  return UnpackFramed(source, dest, kMaxSkinContainerBytes);
}

bool TSkinReader::Refuse(std::string reason) {
  FLastError = std::move(reason);
  return false;
}

bool TSkinReader::Loadfromstream(TMemoryStream& stream) {
  TMemoryStream unpacked;
  const TUnpackResult result = Decompress(stream, unpacked);
  if (!result.Ok()) return Refuse("damaged skin stream: " + result.reason);
  return LoadUnpacked(unpacked.Bytes());
}

bool TSkinReader::loadfromfile(const std::string& fileName) {
  TMemoryStream stream;
  std::string error;
  if (!ReadFramedFile(fileName, kMaxSkinContainerBytes, stream.Bytes(), error)) return Refuse(error);
  return Loadfromstream(stream);
}

// Everything is checked before anything is replaced, so a refused container leaves
// the previous one usable.
bool TSkinReader::LoadUnpacked(const std::vector<std::uint8_t>& container) {
  const std::int64_t sizeBytes = static_cast<std::int64_t>(container.size());
  if (sizeBytes < kSkinHeaderBytes) return Refuse("skin container shorter than its header");
  std::vector<std::int32_t> header(4);
  for (int i = 0; i < 4; ++i) header[static_cast<std::size_t>(i)] = ReadI32LE(container.data() + 4 * i);
  if (header[0] != kSkinFormatMark) {
    if (FNotice) {
      try {
        FNotice(kOldSkinNotice);
      } catch (...) {
        // The notice is advisory; the refusal stands either way.
      }
    }
    return Refuse("format mark " + std::to_string(header[0]) + " instead of " + std::to_string(kSkinFormatMark));
  }
  const std::int64_t nameBytes = header[1];
  if (nameBytes < 0) return Refuse("negative name text length");
  if (kSkinHeaderBytes + nameBytes > sizeBytes) return Refuse("name text longer than the container");
  const auto* nameText = reinterpret_cast<const char*>(container.data() + kSkinHeaderBytes);
  std::vector<std::string> names =
      SplitTextLines(LowerAscii(std::string_view(nameText, static_cast<std::size_t>(nameBytes))));
  const std::int64_t count = static_cast<std::int64_t>(names.size());
  if (count > kMaxSkinEntries) {
    return Refuse(std::to_string(count) + " entries, more than " + std::to_string(kMaxSkinEntries));
  }
  const std::int64_t tableOffset = kSkinHeaderBytes + nameBytes;
  const std::int64_t dataOffset = tableOffset + 4 * count;
  if (dataOffset > sizeBytes) return Refuse("size table runs past the end of the container");
  std::vector<std::int32_t> sizes(static_cast<std::size_t>(count));
  std::int64_t totalBytes = 0;
  for (std::int64_t i = 0; i < count; ++i) {
    const std::int32_t size = ReadI32LE(container.data() + tableOffset + 4 * i);
    if (size < 0) return Refuse("negative size of entry " + std::to_string(i));
    sizes[static_cast<std::size_t>(i)] = size;
    totalBytes += size;
  }
  if (totalBytes > sizeBytes - dataOffset) return Refuse("entry sizes add up past the end of the data");

  FNames = std::move(names);
  FCount = static_cast<std::int32_t>(count);
  FSizes = std::move(sizes);
  FData.assign(container.begin() + dataOffset, container.end());
  FHeader = std::move(header);
  FLastError.clear();
  return true;
}

std::int64_t TSkinReader::EntryOffset(int index) const {
  std::int64_t offset = 0;
  for (int i = 0; i < index; ++i) offset += FSizes[static_cast<std::size_t>(i)];
  return offset;
}

void TSkinReader::CopyEntry(int index, TMemoryStream& dest) const {
  const std::int64_t offset = EntryOffset(index);
  const auto first = FData.begin() + offset;
  dest.Bytes().assign(first, first + FSizes[static_cast<std::size_t>(index)]);
  dest.SetPosition(0);
}

std::vector<std::uint8_t> TSkinReader::EntryBytes(int index) const {
  TMemoryStream stream;
  CopyEntry(index, stream);
  return std::move(stream.Bytes());
}

void TSkinReader::readfile(std::string_view name, TMemoryStream& dest) const {
  dest.Clear();
  const std::string lowerName = LowerAscii(name);
  for (int i = 0; i < FCount; ++i) {
    if (FNames[static_cast<std::size_t>(i)] == lowerName) {
      CopyEntry(i, dest);
      return;
    }
  }
}

void TSkinReader::readIni(std::string_view pattern, TMemoryStream& dest, std::string& name) const {
  dest.Clear();
  for (int i = 0; i < FCount; ++i) {
    if (FNames[static_cast<std::size_t>(i)].find(pattern) != std::string::npos) {
      CopyEntry(i, dest);
      name = FNames[static_cast<std::size_t>(i)];
      return;
    }
  }
}

std::vector<std::uint8_t> BuildSkinContainer(const std::vector<TSkinEntry>& entries) {
  if (entries.size() > static_cast<std::size_t>(kMaxSkinEntries)) {
    throw std::invalid_argument("a skin holds at most " + std::to_string(kMaxSkinEntries) + " entries");
  }
  std::string nameText;
  std::int64_t dataBytes = 0;
  for (const TSkinEntry& entry : entries) {
    if (entry.name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      throw std::invalid_argument("entry name with a line break or NUL");
    }
    nameText += entry.name;
    nameText += "\r\n";
    dataBytes += static_cast<std::int64_t>(entry.bytes.size());
  }
  const std::int64_t total = kSkinHeaderBytes + static_cast<std::int64_t>(nameText.size()) +
                             4 * static_cast<std::int64_t>(entries.size()) + dataBytes;
  if (total > std::numeric_limits<std::int32_t>::max()) throw std::invalid_argument("skin container too large");
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(total));
  AppendI32LE(out, kSkinFormatMark);
  AppendI32LE(out, static_cast<std::int32_t>(nameText.size()));
  AppendI32LE(out, 0);
  AppendI32LE(out, 0);
  out.insert(out.end(), nameText.begin(), nameText.end());
  for (const TSkinEntry& entry : entries) AppendI32LE(out, static_cast<std::int32_t>(entry.bytes.size()));
  for (const TSkinEntry& entry : entries) out.insert(out.end(), entry.bytes.begin(), entry.bytes.end());
  return out;
}

}  // namespace bw::skin
