#include "extract/CompoundFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "extract/FileIo.h"

namespace bw::extract {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

constexpr std::size_t kHeaderBytes = 512;
constexpr std::size_t kHeaderDifatEntries = 109;
constexpr std::size_t kEntryBytes = 128;
constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::uint32_t kMiniCutoffBytes = 4096;

constexpr std::uint8_t kTypeStream = 2;
constexpr std::uint8_t kTypeRoot = 5;

// Who holds a sector: the allocation tables, the directory, the mini FAT, the mini
// stream; streams count on from kFirstStreamOwner.
constexpr std::uint8_t kOwnerFat = 1;
constexpr std::uint8_t kOwnerDirectory = 2;
constexpr std::uint8_t kOwnerMiniFat = 3;
constexpr std::uint8_t kOwnerMiniStream = 4;
constexpr std::uint8_t kFirstStreamOwner = 5;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}
std::uint64_t U64(const std::uint8_t* p) { return std::uint64_t{U32(p)} | std::uint64_t{U32(p + 4)} << 32; }

TCfbResult Corrupt(std::string reason) { return {TCfbStatus::Corrupt, std::move(reason)}; }
TCfbResult ReadFailure() { return {TCfbStatus::ReadFailed, "the file could not be read"}; }

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t unit) { return value / unit + (value % unit != 0 ? 1 : 0); }

std::string SectorText(std::uint32_t sector) {
  switch (sector) {
    case kFreeSector: return "a free sector";
    case kFatSector: return "an allocation-table sector";
    case kDifatSector: return "a DIFAT sector";
    default: return "sector " + std::to_string(sector) + ", outside the file";
  }
}

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool SameName(const std::u16string& entryName, const std::string& asciiName) {
  if (entryName.size() != asciiName.size()) return false;
  for (std::size_t i = 0; i < entryName.size(); ++i) {
    if (AsciiUpper(entryName[i]) != AsciiUpper(static_cast<char16_t>(static_cast<unsigned char>(asciiName[i])))) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool TMemorySource::ReadAt(std::uint64_t offsetBytes, std::uint8_t* into, std::size_t lengthBytes) {
  if (offsetBytes > FSizeBytes || lengthBytes > FSizeBytes - offsetBytes) return false;
  if (lengthBytes > 0) std::memcpy(into, FData + offsetBytes, lengthBytes);
  return true;
}

bool TFileSource::ReadAt(std::uint64_t offsetBytes, std::uint8_t* into, std::size_t lengthBytes) {
  if (offsetBytes > FSizeBytes || lengthBytes > FSizeBytes - offsetBytes) return false;
  if (!Seek64(FFile, offsetBytes)) return false;
  return std::fread(into, 1, lengthBytes, FFile) == lengthBytes;
}

TCfbResult TCompoundFile::Open() {
  TCfbResult result = ReadHeaderAndFat();
  if (!result.Ok()) return result;
  return ReadDirectory();
}

TCfbResult TCompoundFile::ReadHeaderAndFat() {
  const std::uint64_t fileBytes = FSource.SizeBytes();
  std::array<std::uint8_t, kHeaderBytes> header{};
  if (fileBytes < sizeof kSignature) return {TCfbStatus::NotCompound, "shorter than a compound-file signature"};
  if (!FSource.ReadAt(0, header.data(), sizeof kSignature)) return ReadFailure();
  if (std::memcmp(header.data(), kSignature, sizeof kSignature) != 0) {
    return {TCfbStatus::NotCompound, "no compound-file signature"};
  }
  if (fileBytes < kHeaderBytes) return Corrupt("the file ends inside its header");
  if (!FSource.ReadAt(0, header.data(), kHeaderBytes)) return ReadFailure();
  if (U16(&header[0x1C]) != 0xFFFE) return Corrupt("unknown byte order mark");
  const std::uint16_t sectorShift = U16(&header[0x1E]);
  if (sectorShift != 9 && sectorShift != 12) return Corrupt("sector shift " + std::to_string(sectorShift));
  if (U16(&header[0x20]) != 6) return Corrupt("mini sector shift " + std::to_string(U16(&header[0x20])));
  if (U32(&header[0x38]) != kMiniCutoffBytes) return Corrupt("mini stream cut-off " + std::to_string(U32(&header[0x38])));
  FVersion = U16(&header[0x1A]);
  FSectorBytes = std::uint32_t{1} << sectorShift;
  FMiniSectorBytes = 64;
  FMiniCutoffBytes = kMiniCutoffBytes;
  if (fileBytes <= FSectorBytes) return Corrupt("the file holds no sector behind its header");
  FSectorCount = CeilDiv(fileBytes - FSectorBytes, FSectorBytes);
  if (FSectorCount > kMaxCfbSectors) return Corrupt("more sectors than this reader takes");
  FSectorOwner.assign(static_cast<std::size_t>(FSectorCount), 0);

  // Only the allocation-table sectors that describe sectors of the file are read, so a
  // header claiming millions of them costs nothing.
  const std::uint32_t entriesPerSector = FSectorBytes / 4;
  const std::uint64_t fatSectorsUseful = CeilDiv(FSectorCount, entriesPerSector);
  const std::uint64_t fatSectorsWanted = std::min<std::uint64_t>(U32(&header[0x2C]), fatSectorsUseful);
  std::vector<std::uint32_t> fatSectors;
  for (std::size_t i = 0; i < kHeaderDifatEntries && fatSectors.size() < fatSectorsWanted; ++i) {
    fatSectors.push_back(U32(&header[0x4C + 4 * i]));
  }
  std::uint32_t difatSector = U32(&header[0x44]);
  std::vector<std::uint8_t> sectorBytes(FSectorBytes);
  while (fatSectors.size() < fatSectorsWanted) {
    if (difatSector == kEndOfChain || difatSector == kFreeSector) break;
    if (difatSector >= FSectorCount) return Corrupt("DIFAT chain reaches " + SectorText(difatSector));
    if (FSectorOwner[difatSector] != 0) return Corrupt("DIFAT chain loops at sector " + std::to_string(difatSector));
    FSectorOwner[difatSector] = kOwnerFat;
    if (!FSource.ReadAt((std::uint64_t{difatSector} + 1) * FSectorBytes, sectorBytes.data(), FSectorBytes)) {
      return Corrupt("DIFAT sector " + std::to_string(difatSector) + " lies past the end of the file");
    }
    for (std::uint32_t i = 0; i + 1 < entriesPerSector && fatSectors.size() < fatSectorsWanted; ++i) {
      fatSectors.push_back(U32(&sectorBytes[4 * i]));
    }
    difatSector = U32(&sectorBytes[FSectorBytes - 4]);
  }

  FFat.assign(static_cast<std::size_t>(FSectorCount), kFreeSector);
  for (std::size_t i = 0; i < fatSectors.size(); ++i) {
    const std::uint32_t sector = fatSectors[i];
    if (sector == kFreeSector || sector == kEndOfChain) break;  // the list ends early: the rest stays free
    if (sector >= FSectorCount) return Corrupt("allocation table in " + SectorText(sector));
    if (FSectorOwner[sector] != 0) return Corrupt("allocation-table sector " + std::to_string(sector) + " listed twice");
    FSectorOwner[sector] = kOwnerFat;
    if (!FSource.ReadAt((std::uint64_t{sector} + 1) * FSectorBytes, sectorBytes.data(), FSectorBytes)) {
      return Corrupt("allocation-table sector " + std::to_string(sector) + " lies past the end of the file");
    }
    for (std::uint32_t k = 0; k < entriesPerSector; ++k) {
      const std::uint64_t index = std::uint64_t{i} * entriesPerSector + k;
      if (index >= FSectorCount) break;
      FFat[static_cast<std::size_t>(index)] = U32(&sectorBytes[4 * k]);
    }
  }
  FMiniFatStart = U32(&header[0x3C]);
  FDirectoryStart = U32(&header[0x30]);
  return {};
}

TCfbResult TCompoundFile::FollowChain(const std::vector<std::uint32_t>& table, std::vector<std::uint8_t>& owners,
                                      std::uint32_t start, std::uint64_t neededCount, std::uint8_t owner,
                                      std::vector<std::uint32_t>& chain, const char* what) {
  chain.clear();
  const auto fail = [&](std::string reason) {
    for (const std::uint32_t sector : chain) owners[sector] = 0;  // another chain may still claim them
    chain.clear();
    return Corrupt(std::string(what) + ": " + reason);
  };
  std::uint32_t sector = start;
  while (neededCount == 0 || chain.size() < neededCount) {
    if (sector == kEndOfChain) {
      if (neededCount == 0) break;
      return fail("the chain ends after " + std::to_string(chain.size()) + " of " + std::to_string(neededCount) +
                  " sectors");
    }
    if (sector >= table.size()) return fail("the chain reaches " + SectorText(sector));
    if (owners[sector] == owner) return fail("the chain loops at sector " + std::to_string(sector));
    if (owners[sector] != 0) return fail("sector " + std::to_string(sector) + " belongs to another chain");
    owners[sector] = owner;
    chain.push_back(sector);
    sector = table[sector];
  }
  return {};
}

bool TCompoundFile::ReadSectors(const std::vector<std::uint32_t>& chain, std::vector<std::uint8_t>& bytes) {
  bytes.resize(chain.size() * std::size_t{FSectorBytes});
  for (std::size_t i = 0; i < chain.size(); ++i) {
    if (!FSource.ReadAt((std::uint64_t{chain[i]} + 1) * FSectorBytes, bytes.data() + i * FSectorBytes, FSectorBytes)) {
      return false;
    }
  }
  return true;
}

TCfbResult TCompoundFile::ReadDirectory() {
  std::vector<std::uint32_t> chain;
  TCfbResult result = FollowChain(FFat, FSectorOwner, FDirectoryStart, 0, kOwnerDirectory, chain, "directory");
  if (!result.Ok()) return result;
  std::vector<std::uint8_t> bytes;
  if (!ReadSectors(chain, bytes)) return Corrupt("directory: a sector lies past the end of the file");
  FEntries.clear();
  for (std::size_t at = 0; at + kEntryBytes <= bytes.size(); at += kEntryBytes) {
    const std::uint8_t* raw = bytes.data() + at;
    TEntry entry;
    const std::uint16_t nameBytes = std::min<std::uint16_t>(U16(raw + 64), 64);
    for (std::size_t i = 0; i + 1 < nameBytes; i += 2) {
      const char16_t c = static_cast<char16_t>(U16(raw + i));
      if (c == 0) break;
      entry.Name.push_back(c);
    }
    entry.Type = raw[66];
    entry.Left = U32(raw + 68);
    entry.Right = U32(raw + 72);
    entry.Child = U32(raw + 76);
    entry.StartSector = U32(raw + 116);
    // Version 3 writers may leave the high half undefined.
    entry.SizeBytes = FVersion >= 4 ? U64(raw + 120) : U32(raw + 120);
    FEntries.push_back(std::move(entry));
  }
  if (FEntries.empty() || FEntries[0].Type != kTypeRoot) return Corrupt("the directory has no root entry");
  return {};
}

TCfbResult TCompoundFile::ReadMiniStream() {
  if (FMiniStreamRead) return FMiniResult;
  FMiniStreamRead = true;
  const TEntry& root = FEntries[0];
  const std::uint64_t rootNeeded = CeilDiv(root.SizeBytes, FSectorBytes);
  if (rootNeeded > FSectorCount) return FMiniResult = Corrupt("mini stream: its size lies past the end of the file");
  FMiniStream = TCfbStream();
  FMiniStream.SizeBytes = root.SizeBytes;
  if (rootNeeded > 0) {
    FMiniResult = FollowChain(FFat, FSectorOwner, root.StartSector, rootNeeded, kOwnerMiniStream, FMiniStream.Sectors,
                              "mini stream");
    if (!FMiniResult.Ok()) return FMiniResult;
  }
  std::vector<std::uint32_t> chain;
  if (FMiniFatStart != kEndOfChain && FMiniFatStart != kFreeSector) {
    FMiniResult = FollowChain(FFat, FSectorOwner, FMiniFatStart, 0, kOwnerMiniFat, chain, "mini FAT");
    if (!FMiniResult.Ok()) return FMiniResult;
  }
  std::vector<std::uint8_t> bytes;
  if (!ReadSectors(chain, bytes)) return FMiniResult = Corrupt("mini FAT: a sector lies past the end of the file");
  // Entries past the mini stream's end would point outside it: they are left out.
  const std::size_t miniSectors = static_cast<std::size_t>(CeilDiv(root.SizeBytes, FMiniSectorBytes));
  FMiniFat.assign(std::min(miniSectors, bytes.size() / 4), kFreeSector);
  for (std::size_t i = 0; i < FMiniFat.size(); ++i) FMiniFat[i] = U32(&bytes[4 * i]);
  FMiniOwner.assign(FMiniFat.size(), 0);
  return FMiniResult = {};
}

TCfbResult TCompoundFile::OpenStream(const std::string& asciiName, TCfbStream& stream) {
  stream = TCfbStream();
  if (FEntries.empty()) return Corrupt("the compound file is not open");
  // The root's children form a tree through left and right links; each entry is seen once.
  std::vector<bool> seen(FEntries.size(), false);
  std::vector<std::uint32_t> pending = {FEntries[0].Child};
  const TEntry* found = nullptr;
  while (!pending.empty()) {
    const std::uint32_t id = pending.back();
    pending.pop_back();
    if (id == kNoEntry) continue;
    if (id >= FEntries.size()) return Corrupt("directory: entry " + std::to_string(id) + " lies outside the directory");
    if (id == 0 || seen[id]) return Corrupt("directory: the entries form a cycle at entry " + std::to_string(id));
    seen[id] = true;
    const TEntry& entry = FEntries[id];
    if (entry.Type == kTypeStream && found == nullptr && SameName(entry.Name, asciiName)) found = &entry;
    pending.push_back(entry.Left);
    pending.push_back(entry.Right);
  }
  if (found == nullptr) return {TCfbStatus::NotFound, "no stream named " + asciiName};

  stream.SizeBytes = found->SizeBytes;
  if (stream.SizeBytes == 0) return {};
  if (FNextOwner == 0) FNextOwner = kFirstStreamOwner;
  if (FNextOwner == 0xFF) return Corrupt("too many streams opened");
  const std::uint8_t owner = FNextOwner++;
  const std::string what = "stream " + asciiName;
  if (stream.SizeBytes < FMiniCutoffBytes) {
    TCfbResult result = ReadMiniStream();
    if (!result.Ok()) return result;
    stream.InMiniStream = true;
    const std::uint64_t needed = CeilDiv(stream.SizeBytes, FMiniSectorBytes);
    if (needed > FMiniFat.size()) return Corrupt(what + ": its size lies past the end of the mini stream");
    return FollowChain(FMiniFat, FMiniOwner, found->StartSector, needed, owner, stream.Sectors, what.c_str());
  }
  const std::uint64_t needed = CeilDiv(stream.SizeBytes, FSectorBytes);
  if (needed > FSectorCount) return Corrupt(what + ": its size lies past the end of the file");
  return FollowChain(FFat, FSectorOwner, found->StartSector, needed, owner, stream.Sectors, what.c_str());
}

bool TCompoundFile::FileExtents(const std::vector<std::uint32_t>& sectors, std::uint32_t unitBytes, bool mini,
                                std::uint64_t offsetBytes, std::uint64_t lengthBytes,
                                std::vector<TFileExtent>& extents) const {
  while (lengthBytes > 0) {
    const std::uint64_t index = offsetBytes / unitBytes;
    if (index >= sectors.size()) return false;
    const std::uint64_t within = offsetBytes % unitBytes;
    std::uint64_t runBytes = std::min<std::uint64_t>(lengthBytes, unitBytes - within);
    std::uint64_t next = index + 1;
    while (runBytes < lengthBytes && next < sectors.size() && sectors[next] == sectors[next - 1] + 1) {
      runBytes = std::min<std::uint64_t>(lengthBytes, runBytes + unitBytes);
      ++next;
    }
    if (mini) {
      if (!FileExtents(FMiniStream.Sectors, FSectorBytes, false, std::uint64_t{sectors[index]} * unitBytes + within,
                       runBytes, extents)) {
        return false;
      }
    } else {
      const std::uint64_t fileOffset = (std::uint64_t{sectors[index]} + 1) * unitBytes + within;
      if (!extents.empty() && extents.back().FileOffsetBytes + extents.back().LengthBytes == fileOffset) {
        extents.back().LengthBytes += runBytes;
      } else {
        extents.push_back({fileOffset, runBytes});
      }
    }
    offsetBytes += runBytes;
    lengthBytes -= runBytes;
  }
  return true;
}

bool TCompoundFile::Extents(const TCfbStream& stream, std::uint64_t offsetBytes, std::uint64_t lengthBytes,
                            std::vector<TFileExtent>& extents) const {
  extents.clear();
  if (offsetBytes > stream.SizeBytes || lengthBytes > stream.SizeBytes - offsetBytes) return false;
  const std::uint32_t unitBytes = stream.InMiniStream ? FMiniSectorBytes : FSectorBytes;
  return FileExtents(stream.Sectors, unitBytes, stream.InMiniStream, offsetBytes, lengthBytes, extents);
}

bool TCompoundFile::Read(const TCfbStream& stream, std::uint64_t offsetBytes, std::uint8_t* into,
                         std::size_t lengthBytes) {
  std::vector<TFileExtent> extents;
  if (!Extents(stream, offsetBytes, lengthBytes, extents)) return false;
  for (const TFileExtent& extent : extents) {
    if (!FSource.ReadAt(extent.FileOffsetBytes, into, static_cast<std::size_t>(extent.LengthBytes))) return false;
    into += extent.LengthBytes;
  }
  return true;
}

}  // namespace bw::extract
