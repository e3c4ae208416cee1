#include "extract/PresentationRecords.h"

#include <algorithm>
#include <array>

namespace bw::extract {
namespace {

constexpr std::size_t kRecordHeaderBytes = 8;
constexpr std::size_t kIdentifierBytes = 16;
constexpr std::size_t kTagBytes = 1;
constexpr std::size_t kMetafileHeaderBytes = 34;
constexpr std::uint16_t kContainerVersion = 0xF;

constexpr std::uint16_t kSoundCollection = 0x07E4;
constexpr std::uint16_t kSoundContainer = 0x07E6;
constexpr std::uint16_t kSoundData = 0x07E7;
constexpr std::uint16_t kCString = 0x0FBA;
constexpr std::uint16_t kExtensionInstance = 1;

constexpr std::uint8_t kStoredMetafile = 0xFE;
constexpr std::uint8_t kDeflatedMetafile = 0x00;

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::int32_t kEmuPerInch = 914400;
constexpr std::uint16_t kDefaultUnitsPerInch = 1440;
// A PICT file starts with 512 bytes for the application's own use, which the record drops.
constexpr std::size_t kPictHeaderBytes = 512;

struct TPictureType {
  std::uint16_t RecordType;
  std::uint16_t Instance;       // one identifier; Instance + 1 means two
  std::uint16_t OtherInstance;  // a second valid value, or 0
  TStructureKind Kind;
  bool Metafile;
  const char* Extension;
};

constexpr std::array<TPictureType, 8> kPictureTypes = {{
    {0xF01A, 0x3D4, 0, TStructureKind::Emf, true, ".emf"},
    {0xF01B, 0x216, 0, TStructureKind::Wmf, true, ".wmf"},
    {0xF01C, 0x542, 0, TStructureKind::Pict, true, ".pict"},
    {0xF01D, 0x46A, 0x6E2, TStructureKind::Jpeg, false, ".jpg"},
    {0xF01E, 0x6E0, 0, TStructureKind::Png, false, ".png"},
    {0xF01F, 0x7A8, 0, TStructureKind::Dib, false, ".bmp"},
    {0xF029, 0x6E4, 0, TStructureKind::Tiff, false, ".tif"},
    {0xF02A, 0x46A, 0x6E2, TStructureKind::Jpeg, false, ".jpg"},
}};

struct TRecordHeader {
  std::uint16_t Version;
  std::uint16_t Instance;
  std::uint16_t Type;
  std::uint32_t LengthBytes;
};

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}
void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value));
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

bool ReadHeader(const TStreamRead& read, std::uint64_t offsetBytes, TRecordHeader& header) {
  std::uint8_t raw[kRecordHeaderBytes];
  if (!read(offsetBytes, raw, sizeof raw)) return false;
  const std::uint16_t versionInstance = U16(raw);
  header.Version = versionInstance & 0xF;
  header.Instance = static_cast<std::uint16_t>(versionInstance >> 4);
  header.Type = U16(raw + 2);
  header.LengthBytes = U32(raw + 4);
  return true;
}

std::string At(std::uint64_t offsetBytes) { return "record at offset " + std::to_string(offsetBytes); }

// The BMP file header the raw carve builds: it assumes a full colour table for 1, 4 and
// 8 bits, so a picture found both ways comes out the same.
std::vector<std::uint8_t> BmpFileHeader(std::uint64_t dibBytes, std::uint16_t bitCount) {
  std::uint32_t pixelOffset = 54;
  if (bitCount == 1) pixelOffset = 62;
  if (bitCount == 4) pixelOffset = 118;
  if (bitCount == 8) pixelOffset = 1078;
  std::vector<std::uint8_t> header = {'B', 'M'};
  PutU32(header, static_cast<std::uint32_t>(dibBytes + 14));
  PutU32(header, 0);
  PutU32(header, pixelOffset);
  return header;
}

void TakePicture(const TStreamRead& read, std::uint64_t offsetBytes, const TRecordHeader& header,
                 const TPictureType& type, TWalkResult& result) {
  std::size_t identifiers = 0;
  if (header.Instance == type.Instance || (type.OtherInstance != 0 && header.Instance == type.OtherInstance)) {
    identifiers = 1;
  } else if (header.Instance == type.Instance + 1 ||
             (type.OtherInstance != 0 && header.Instance == type.OtherInstance + 1)) {
    identifiers = 2;
  } else {
    result.Problems.push_back(At(offsetBytes) + ": unknown instance " + std::to_string(header.Instance) +
                              " of a picture record");
    return;
  }
  const std::uint64_t bodyOffset = offsetBytes + kRecordHeaderBytes;
  const std::size_t headBytes = identifiers * kIdentifierBytes + (type.Metafile ? kMetafileHeaderBytes : kTagBytes);
  if (header.LengthBytes < headBytes) {
    result.Problems.push_back(At(offsetBytes) + ": too short for its picture header");
    return;
  }
  TStructureItem item;
  item.Kind = type.Kind;
  item.RecordOffsetBytes = offsetBytes;
  item.DataOffsetBytes = bodyOffset + headBytes;
  item.DataBytes = header.LengthBytes - headBytes;
  item.Extension = type.Extension;
  if (type.Metafile) {
    std::uint8_t meta[kMetafileHeaderBytes];
    if (!read(bodyOffset + identifiers * kIdentifierBytes, meta, sizeof meta)) return;
    item.Metafile.UncompressedBytes = U32(meta);
    for (int i = 0; i < 4; ++i) item.Metafile.Bounds[i] = static_cast<std::int32_t>(U32(meta + 4 + 4 * i));
    for (int i = 0; i < 2; ++i) item.Metafile.SizeEmu[i] = static_cast<std::int32_t>(U32(meta + 20 + 4 * i));
    const std::uint32_t savedBytes = U32(meta + 28);
    const std::uint8_t compression = meta[32];
    if (compression != kStoredMetafile && compression != kDeflatedMetafile) {
      result.Problems.push_back(At(offsetBytes) + ": unknown metafile compression " + std::to_string(compression));
      return;
    }
    item.Metafile.Compressed = compression == kDeflatedMetafile;
    if (savedBytes > item.DataBytes) {
      result.Problems.push_back(At(offsetBytes) + ": the metafile's saved size exceeds its record");
      return;
    }
    item.DataBytes = savedBytes;
    if (item.Kind == TStructureKind::Pict) item.Prefix.assign(kPictHeaderBytes, 0);
  }
  if (item.Kind == TStructureKind::Dib) {
    std::uint8_t info[16] = {};
    if (item.DataBytes < sizeof info || !read(item.DataOffsetBytes, info, sizeof info)) {
      result.Problems.push_back(At(offsetBytes) + ": a bitmap too short for its information header");
      return;
    }
    item.Prefix = BmpFileHeader(item.DataBytes, U16(info + 14));
  }
  result.Items.push_back(std::move(item));
}

// A safe extension from the sound's own extension text: letters and digits only.
std::string SoundExtension(const std::u16string& text, bool isWave) {
  std::string out;
  for (const char16_t c : text) {
    if (out.empty() && c == u'.') continue;
    const bool alnum = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    if (!alnum || out.size() >= 8) return isWave ? ".wav" : ".snd";
    out.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c));
  }
  if (out.empty()) return isWave ? ".wav" : ".snd";
  return "." + out;
}

void TakeSound(const TStreamRead& read, std::uint64_t offsetBytes, std::uint64_t endBytes, TWalkResult& result) {
  std::u16string extension;
  bool haveData = false;
  TStructureItem item;
  item.Kind = TStructureKind::Sound;
  item.RecordOffsetBytes = offsetBytes;
  std::uint64_t pos = offsetBytes + kRecordHeaderBytes;
  while (pos + kRecordHeaderBytes <= endBytes) {
    TRecordHeader header{};
    if (!ReadHeader(read, pos, header)) return;
    const std::uint64_t bodyOffset = pos + kRecordHeaderBytes;
    if (header.LengthBytes > endBytes - bodyOffset) {
      result.Problems.push_back(At(pos) + ": reaches past its sound container");
      return;
    }
    if (header.Type == kCString && header.Instance == kExtensionInstance && header.LengthBytes <= 64) {
      std::uint8_t text[64];
      if (!read(bodyOffset, text, header.LengthBytes)) return;
      extension.clear();
      for (std::size_t i = 0; i + 1 < header.LengthBytes; i += 2) extension.push_back(static_cast<char16_t>(U16(text + i)));
    } else if (header.Type == kSoundData && !haveData) {
      haveData = true;
      item.DataOffsetBytes = bodyOffset;
      item.DataBytes = header.LengthBytes;
    }
    pos = bodyOffset + header.LengthBytes;
  }
  if (!haveData) {
    result.Problems.push_back(At(offsetBytes) + ": a sound without data");
    return;
  }
  std::uint8_t riff[12] = {};
  const bool isWave = item.DataBytes >= sizeof riff && read(item.DataOffsetBytes, riff, sizeof riff) &&
                      riff[0] == 'R' && riff[1] == 'I' && riff[2] == 'F' && riff[3] == 'F' && riff[8] == 'W' &&
                      riff[9] == 'A' && riff[10] == 'V' && riff[11] == 'E';
  item.Extension = SoundExtension(extension, isWave);
  result.Items.push_back(std::move(item));
}

// Walks the records in [begin, end); containers are entered, sound containers taken.
void WalkSoundRecords(const TStreamRead& read, std::uint64_t beginBytes, std::uint64_t endBytes, int depth,
                      bool inCollection, TWalkResult& result) {
  std::uint64_t pos = beginBytes;
  while (pos + kRecordHeaderBytes <= endBytes) {
    TRecordHeader header{};
    if (!ReadHeader(read, pos, header)) {
      result.Problems.push_back(At(pos) + ": unreadable");
      return;
    }
    const std::uint64_t bodyOffset = pos + kRecordHeaderBytes;
    if (header.LengthBytes > endBytes - bodyOffset) {
      result.Problems.push_back(At(pos) + ": claims " + std::to_string(header.LengthBytes) +
                                " bytes past the end of its container");
      return;
    }
    const std::uint64_t bodyEnd = bodyOffset + header.LengthBytes;
    if (header.Version == kContainerVersion) {
      if (inCollection && header.Type == kSoundContainer) {
        TakeSound(read, pos, bodyEnd, result);
      } else if (depth + 1 >= kMaxRecordDepth) {
        result.Problems.push_back(At(pos) + ": containers nested too deep");
      } else {
        WalkSoundRecords(read, bodyOffset, bodyEnd, depth + 1, header.Type == kSoundCollection, result);
      }
    }
    pos = bodyEnd;
  }
}

}  // namespace

void WalkPictures(const TStreamRead& read, std::uint64_t streamBytes, TWalkResult& result) {
  std::uint64_t pos = 0;
  while (pos + kRecordHeaderBytes <= streamBytes) {
    TRecordHeader header{};
    if (!ReadHeader(read, pos, header)) {
      result.Problems.push_back(At(pos) + ": unreadable");
      return;
    }
    if (header.LengthBytes > streamBytes - pos - kRecordHeaderBytes) {
      result.Problems.push_back(At(pos) + ": claims " + std::to_string(header.LengthBytes) +
                                " bytes past the end of the stream");
      return;
    }
    const auto type = std::find_if(kPictureTypes.begin(), kPictureTypes.end(),
                                   [&](const TPictureType& t) { return t.RecordType == header.Type; });
    if (type != kPictureTypes.end()) TakePicture(read, pos, header, *type, result);
    pos += kRecordHeaderBytes + header.LengthBytes;
  }
}

void WalkSounds(const TStreamRead& read, std::uint64_t streamBytes, TWalkResult& result) {
  WalkSoundRecords(read, 0, streamBytes, 0, false, result);
}

bool HasPlaceableKey(const std::uint8_t* data, std::size_t lengthBytes) {
  return lengthBytes >= 4 && U32(data) == kPlaceableKey;
}

std::vector<std::uint8_t> PlaceableWmfHeader(const TMetafileInfo& info) {
  const auto clamp16 = [](std::int64_t v) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp<std::int64_t>(v, -32768, 32767)));
  };
  // Units per inch follow from the bounds against the size in EMU; the common default
  // stands in when the record gives no usable size.
  const std::int64_t widthUnits = std::int64_t{info.Bounds[2]} - info.Bounds[0];
  std::int64_t unitsPerInch = kDefaultUnitsPerInch;
  if (widthUnits > 0 && info.SizeEmu[0] > 0) {
    unitsPerInch = (widthUnits * kEmuPerInch + info.SizeEmu[0] / 2) / info.SizeEmu[0];
    if (unitsPerInch < 1 || unitsPerInch > 65535) unitsPerInch = kDefaultUnitsPerInch;
  }
  std::vector<std::uint8_t> header;
  PutU32(header, kPlaceableKey);
  PutU16(header, 0);  // handle
  for (int i = 0; i < 4; ++i) PutU16(header, clamp16(info.Bounds[i]));
  PutU16(header, static_cast<std::uint16_t>(unitsPerInch));
  PutU32(header, 0);  // reserved
  std::uint16_t checksum = 0;
  for (std::size_t i = 0; i < header.size(); i += 2) checksum ^= U16(header.data() + i);
  PutU16(header, checksum);
  return header;
}

const char* StructureKindName(TStructureKind kind) {
  switch (kind) {
    case TStructureKind::Emf: return "emf";
    case TStructureKind::Wmf: return "wmf";
    case TStructureKind::Pict: return "pict";
    case TStructureKind::Jpeg: return "jpeg";
    case TStructureKind::Png: return "png";
    case TStructureKind::Dib: return "bmp";
    case TStructureKind::Tiff: return "tiff";
    case TStructureKind::Sound: return "sound";
  }
  return "unknown";
}

}  // namespace bw::extract
