#include "tests/extract/CompoundFileWriter.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace bw::extract::test {
namespace {

constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFatMark = 0xFFFFFFFD;
constexpr std::uint32_t kDifatMark = 0xFFFFFFFC;
constexpr std::uint32_t kMiniSectorBytes = 64;
constexpr std::size_t kCutoffBytes = 4096;

void Put16(TBytes& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(TBytes& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Append32(TBytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Append16(TBytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::size_t CeilDiv(std::size_t a, std::size_t b) { return (a + b - 1) / b; }

TBytes Filler(std::size_t sizeBytes, std::size_t seed = 0) {
  TBytes out(sizeBytes);
  for (std::size_t i = 0; i < sizeBytes; ++i) out[i] = static_cast<std::uint8_t>(0x20 + (i + seed) % 31);
  return out;
}

TBytes Utf16(const std::string& text) {
  TBytes out;
  for (const char c : text) Append16(out, static_cast<std::uint8_t>(c));
  return out;
}

}  // namespace

void TCfbLayout::SetFatEntry(std::uint32_t sector, std::uint32_t value) {
  const std::uint32_t perSector = SectorBytes / 4;
  Put32(Bytes, SectorOffset(FatSectors.at(sector / perSector)) + 4 * (sector % perSector), value);
}

void TCfbLayout::SetDirectoryField(std::uint32_t entry, std::uint32_t offset, std::uint32_t value) {
  Put32(Bytes, SectorOffset(DirectorySector) + 128 * entry + offset, value);
}

TCfbLayout WriteCompoundFile(const TCfbSpec& spec) {
  const std::uint32_t ss = spec.SectorBytes;
  const std::uint32_t perSector = ss / 4;

  // The mini stream and the mini FAT first: they are regular data of their own.
  TBytes miniStream;
  std::vector<std::uint32_t> miniFat;
  std::vector<std::uint32_t> startOf(spec.Streams.size(), kEnd);
  std::vector<TBytes> regular;  // data of each regular chain: streams, mini stream, mini FAT, directory
  std::vector<std::string> names;
  for (std::size_t i = 0; i < spec.Streams.size(); ++i) {
    const TBytes& data = spec.Streams[i].second;
    if (data.empty() || data.size() >= kCutoffBytes) continue;
    const std::uint32_t first = static_cast<std::uint32_t>(miniStream.size() / kMiniSectorBytes);
    const std::size_t count = CeilDiv(data.size(), kMiniSectorBytes);
    startOf[i] = first;
    for (std::size_t k = 0; k < count; ++k) miniFat.push_back(k + 1 < count ? first + static_cast<std::uint32_t>(k) + 1 : kEnd);
    miniStream.insert(miniStream.end(), data.begin(), data.end());
    miniStream.resize(CeilDiv(miniStream.size(), kMiniSectorBytes) * kMiniSectorBytes, 0);
  }
  for (std::size_t i = 0; i < spec.Streams.size(); ++i) {
    if (spec.Streams[i].second.size() < kCutoffBytes) continue;
    regular.push_back(spec.Streams[i].second);
    names.push_back(spec.Streams[i].first);
  }
  const std::size_t miniStreamChain = regular.size();
  regular.push_back(miniStream);
  names.push_back("");
  TBytes miniFatBytes;
  for (const std::uint32_t v : miniFat) Append32(miniFatBytes, v);
  const std::size_t miniFatChain = regular.size();
  regular.push_back(miniFatBytes);
  names.push_back("<minifat>");
  const std::size_t directoryChain = regular.size();
  const std::size_t entryCount = spec.Streams.size() + 1;
  regular.push_back(TBytes(CeilDiv(entryCount * 128, ss) * ss, 0));
  names.push_back("<directory>");

  // Sector order: each chain's sectors, one chain after the other or interleaved.
  std::vector<std::size_t> sectorsOf(regular.size());
  std::size_t dataSectors = 0;
  for (std::size_t c = 0; c < regular.size(); ++c) {
    sectorsOf[c] = CeilDiv(regular[c].size(), ss);
    dataSectors += sectorsOf[c];
  }
  std::vector<std::pair<std::size_t, std::size_t>> order;  // (chain, index)
  if (spec.Interleave) {
    for (std::size_t k = 0; order.size() < dataSectors; ++k) {
      for (std::size_t c = 0; c < regular.size(); ++c) {
        if (k < sectorsOf[c]) order.push_back({c, k});
      }
    }
  } else {
    for (std::size_t c = 0; c < regular.size(); ++c) {
      for (std::size_t k = 0; k < sectorsOf[c]; ++k) order.push_back({c, k});
    }
  }

  const std::size_t headerEntries = 109;
  std::size_t fatCount = 1, difatCount = 0;
  while (true) {
    const std::size_t total = dataSectors + spec.ExtraFreeSectors + fatCount + difatCount;
    const std::size_t needFat = CeilDiv(total, perSector);
    const std::size_t needDifat = needFat > headerEntries ? CeilDiv(needFat - headerEntries, perSector - 1) : 0;
    if (needFat == fatCount && needDifat == difatCount) break;
    fatCount = needFat;
    difatCount = needDifat;
  }

  TCfbLayout layout;
  layout.SectorBytes = ss;
  const std::size_t total = dataSectors + spec.ExtraFreeSectors + fatCount + difatCount;
  std::vector<std::uint32_t> fat(fatCount * perSector, kFree);
  std::vector<std::vector<std::uint32_t>> chains(regular.size());
  std::vector<std::uint32_t> placedFat, placedDifat;
  std::vector<int> kindAt(total, -1);  // -1 free/extra, -2 FAT, -3 DIFAT, else chain
  std::size_t next = 0, sinceFat = 0;
  for (const auto& [chain, index] : order) {
    if (spec.FatSectorEvery != 0 && sinceFat == spec.FatSectorEvery && placedFat.size() < fatCount) {
      placedFat.push_back(static_cast<std::uint32_t>(next++));
      sinceFat = 0;
    }
    chains[chain].push_back(static_cast<std::uint32_t>(next++));
    ++sinceFat;
  }
  while (placedFat.size() < fatCount) placedFat.push_back(static_cast<std::uint32_t>(next++));
  while (placedDifat.size() < difatCount) placedDifat.push_back(static_cast<std::uint32_t>(next++));
  for (const std::uint32_t s : placedFat) fat[s] = kFatMark;
  for (const std::uint32_t s : placedDifat) fat[s] = kDifatMark;
  for (const auto& chain : chains) {
    for (std::size_t k = 0; k < chain.size(); ++k) fat[chain[k]] = k + 1 < chain.size() ? chain[k + 1] : kEnd;
  }

  const std::size_t headerBytes = ss;
  layout.Bytes.assign(headerBytes + total * ss, 0);
  TBytes& out = layout.Bytes;
  const std::uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::copy(signature, signature + 8, out.begin());
  Put16(out, 0x18, 0x3E);
  Put16(out, 0x1A, ss == 512 ? 3 : 4);
  Put16(out, 0x1C, 0xFFFE);
  Put16(out, 0x1E, ss == 512 ? 9 : 12);
  Put16(out, 0x20, 6);
  Put32(out, 0x2C, static_cast<std::uint32_t>(fatCount));
  Put32(out, 0x30, chains[directoryChain].front());
  Put32(out, 0x38, kCutoffBytes);
  Put32(out, 0x3C, chains[miniFatChain].empty() ? kEnd : chains[miniFatChain].front());
  Put32(out, 0x40, static_cast<std::uint32_t>(chains[miniFatChain].size()));
  Put32(out, 0x44, placedDifat.empty() ? kEnd : placedDifat.front());
  Put32(out, 0x48, static_cast<std::uint32_t>(difatCount));
  for (std::size_t i = 0; i < headerEntries; ++i) Put32(out, 0x4C + 4 * i, i < fatCount ? placedFat[i] : kFree);
  const auto offsetOf = [&](std::uint32_t sector) { return headerBytes + std::size_t{sector} * ss; };
  for (std::size_t d = 0; d < placedDifat.size(); ++d) {
    const std::size_t at = offsetOf(placedDifat[d]);
    for (std::size_t k = 0; k + 1 < perSector; ++k) {
      const std::size_t index = headerEntries + d * (perSector - 1) + k;
      Put32(out, at + 4 * k, index < fatCount ? placedFat[index] : kFree);
    }
    Put32(out, at + ss - 4, d + 1 < placedDifat.size() ? placedDifat[d + 1] : kEnd);
  }
  for (std::size_t f = 0; f < placedFat.size(); ++f) {
    for (std::size_t k = 0; k < perSector; ++k) Put32(out, offsetOf(placedFat[f]) + 4 * k, fat[f * perSector + k]);
  }

  // Directory: the root, then the streams as a chain of right siblings.
  TBytes& directory = regular[directoryChain];
  const auto entry = [&](std::size_t id, const std::string& name, std::uint8_t type, std::uint32_t right,
                         std::uint32_t child, std::uint32_t start, std::uint64_t size) {
    const std::size_t at = id * 128;
    const TBytes wide = Utf16(name);
    std::copy(wide.begin(), wide.end(), directory.begin() + static_cast<std::ptrdiff_t>(at));
    Put16(directory, at + 64, static_cast<std::uint16_t>(wide.size() + 2));
    directory[at + 66] = type;
    directory[at + 67] = 1;
    Put32(directory, at + 68, kFree);
    Put32(directory, at + 72, right);
    Put32(directory, at + 76, child);
    Put32(directory, at + 116, start);
    Put32(directory, at + 120, static_cast<std::uint32_t>(size));
    Put32(directory, at + 124, static_cast<std::uint32_t>(size >> 32));
  };
  for (std::size_t id = 0; id < CeilDiv(entryCount * 128, ss) * ss / 128; ++id) {
    Put32(directory, id * 128 + 68, kFree);
    Put32(directory, id * 128 + 72, kFree);
    Put32(directory, id * 128 + 76, kFree);
  }
  entry(0, "Root Entry", 5, kFree, spec.Streams.empty() ? kFree : 1,
        chains[miniStreamChain].empty() ? kEnd : chains[miniStreamChain].front(), miniStream.size());
  std::size_t regularIndex = 0;
  for (std::size_t i = 0; i < spec.Streams.size(); ++i) {
    const TBytes& data = spec.Streams[i].second;
    std::uint32_t start = kEnd;
    if (data.size() >= kCutoffBytes) start = chains[regularIndex++].front();
    else if (!data.empty()) start = startOf[i];
    entry(i + 1, spec.Streams[i].first, 2, i + 2 < entryCount ? static_cast<std::uint32_t>(i + 2) : kFree, kFree, start,
          data.size());
  }

  for (std::size_t c = 0; c < regular.size(); ++c) {
    for (std::size_t k = 0; k < chains[c].size(); ++k) {
      const std::size_t from = k * ss;
      const std::size_t length = std::min<std::size_t>(ss, regular[c].size() - from);
      std::copy_n(regular[c].begin() + static_cast<std::ptrdiff_t>(from), length,
                  out.begin() + static_cast<std::ptrdiff_t>(offsetOf(chains[c][k])));
    }
    if (c < miniStreamChain || c == miniStreamChain) layout.Chains[names[c]] = chains[c];
  }
  layout.FatSectors = placedFat;
  layout.DifatSectors = placedDifat;
  layout.DirectorySector = chains[directoryChain].front();
  return layout;
}

TBytes Record(std::uint16_t version, std::uint16_t instance, std::uint16_t type, const TBytes& body) {
  TBytes out;
  Append16(out, static_cast<std::uint16_t>(version | instance << 4));
  Append16(out, type);
  Append32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

TBytes BitmapRecord(std::uint16_t type, std::uint16_t instance, const TBytes& picture) {
  TBytes body(16, 0x11);
  body.push_back(0xFF);  // tag
  body.insert(body.end(), picture.begin(), picture.end());
  return Record(0, instance, type, body);
}

TBytes MetafileRecord(std::uint16_t type, std::uint16_t instance, const TBytes& metafile, bool compress,
                      std::int32_t widthUnits, std::int32_t heightUnits, std::int32_t widthEmu) {
  TBytes data = metafile;
  if (compress) {
    uLongf length = compressBound(static_cast<uLong>(metafile.size()));
    data.resize(length);
    if (compress2(data.data(), &length, metafile.data(), static_cast<uLong>(metafile.size()), 9) != Z_OK) {
      throw std::runtime_error("compress failed");
    }
    data.resize(length);
  }
  TBytes body(16, 0x11);
  Append32(body, static_cast<std::uint32_t>(metafile.size()));
  for (const std::int32_t v : {0, 0, widthUnits, heightUnits}) Append32(body, static_cast<std::uint32_t>(v));
  Append32(body, static_cast<std::uint32_t>(widthEmu));
  Append32(body, 0);
  Append32(body, static_cast<std::uint32_t>(data.size()));
  body.push_back(compress ? 0x00 : 0xFE);
  body.push_back(0xFE);
  body.insert(body.end(), data.begin(), data.end());
  return Record(0, instance, type, body);
}

TBytes SoundDocument(const std::vector<std::pair<std::string, TBytes>>& namedSounds) {
  TBytes count;
  Append32(count, static_cast<std::uint32_t>(namedSounds.size()));
  TBytes collection = Record(0, 0, 0x07E5, count);
  int id = 1;
  for (const auto& [name, data] : namedSounds) {
    const std::size_t dot = name.rfind('.');
    TBytes sound = Record(0, 0, 0x0FBA, Utf16(name));
    const TBytes ext = Record(0, 1, 0x0FBA, Utf16(dot == std::string::npos ? "" : name.substr(dot)));
    sound.insert(sound.end(), ext.begin(), ext.end());
    const TBytes number = Record(0, 2, 0x0FBA, Utf16(std::to_string(id++)));
    sound.insert(sound.end(), number.begin(), number.end());
    const TBytes payload = Record(0, 0, 0x07E7, data);
    sound.insert(sound.end(), payload.begin(), payload.end());
    const TBytes container = Record(0xF, 0, 0x07E6, sound);
    collection.insert(collection.end(), container.begin(), container.end());
  }
  TBytes document = Record(0, 0, 0x03E9, TBytes(40, 0));
  const TBytes sounds = Record(0xF, 0, 0x07E4, collection);
  document.insert(document.end(), sounds.begin(), sounds.end());
  return Record(0xF, 0, 0x03E8, document);
}

TBytes FakeJpeg(std::size_t sizeBytes, bool exif) {
  TBytes out = {0xFF, 0xD8, 0xFF, static_cast<std::uint8_t>(exif ? 0xE1 : 0xE0)};
  const TBytes fill = Filler(sizeBytes - 6, sizeBytes);
  out.insert(out.end(), fill.begin(), fill.end());
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

TBytes FakePng(std::size_t sizeBytes) {
  TBytes out = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  const TBytes fill = Filler(sizeBytes - 16, sizeBytes);
  out.insert(out.end(), fill.begin(), fill.end());
  out.insert(out.end(), {0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82});
  return out;
}

TBytes FakeWave(std::size_t dataBytes) {
  TBytes out = {'R', 'I', 'F', 'F'};
  Append32(out, static_cast<std::uint32_t>(dataBytes + 4));
  out.insert(out.end(), {'W', 'A', 'V', 'E'});
  const TBytes fill = Filler(dataBytes, 7);
  out.insert(out.end(), fill.begin(), fill.end());
  return out;
}

TBytes FakeDib(std::uint16_t bitCount, std::size_t pixelBytes) {
  TBytes out;
  Append32(out, 40);
  Append32(out, 16);
  Append32(out, 16);
  Append16(out, 1);
  Append16(out, bitCount);
  out.resize(40, 0);
  if (bitCount <= 8) out.resize(40 + (std::size_t{4} << bitCount), 0x01);
  const TBytes fill = Filler(pixelBytes, 3);
  out.insert(out.end(), fill.begin(), fill.end());
  return out;
}

}  // namespace bw::extract::test
