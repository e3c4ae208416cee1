#include "tests/extract/ZipWriter.h"

#include <zlib.h>

#include <cstdio>
#include <functional>

namespace bw::extract::test {
namespace {

constexpr std::uint32_t kMax32 = 0xFFFFFFFF;

struct TEmitter {
  std::function<void(const TZipBytes&)> Bytes;
  std::function<void(std::uint64_t)> Hole;
  std::uint64_t Offset = 0;
  void Put(const TZipBytes& bytes) {
    Bytes(bytes);
    Offset += bytes.size();
  }
  void Skip(std::uint64_t count) {
    Hole(count);
    Offset += count;
  }
};

void U16(TZipBytes& out, std::uint64_t value) {
  for (int i = 0; i < 2; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void U32(TZipBytes& out, std::uint64_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void U64(TZipBytes& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct TPlaced {
  std::uint64_t LocalOffset = 0;
  std::uint64_t Size = 0;
  std::uint64_t StoredSize = 0;
  std::uint32_t Crc = 0;
};

void Emit(const TZipSpec& spec, TEmitter& out) {
  std::vector<TPlaced> placed(spec.Entries.size());
  const bool zip64 = spec.Zip64;
  for (std::size_t i = 0; i < spec.Entries.size(); ++i) {
    const TZipSpecEntry& entry = spec.Entries[i];
    if (entry.SharesDataOf >= 0) continue;
    const TZipBytes stored = entry.Deflate ? Deflated(entry.Data) : entry.Data;
    TPlaced& p = placed[i];
    p.LocalOffset = out.Offset;
    p.StoredSize = entry.HoleBytes != 0 ? entry.HoleBytes : stored.size();
    p.Size = entry.StatedSize.value_or(entry.HoleBytes != 0 ? entry.HoleBytes : entry.Data.size());
    p.Crc = entry.Crc.value_or(
        static_cast<std::uint32_t>(crc32(0, entry.Data.data(), static_cast<uInt>(entry.Data.size()))));
    TZipBytes header;
    U32(header, 0x04034b50);
    U16(header, zip64 ? 45 : 20);
    U16(header, entry.Encrypted ? 1 : 0);
    U16(header, entry.Deflate ? 8 : 0);
    U16(header, 0);
    U16(header, 0x21);
    U32(header, p.Crc);
    U32(header, zip64 ? kMax32 : p.StoredSize);
    U32(header, zip64 ? kMax32 : p.Size);
    U16(header, entry.Name.size());
    U16(header, zip64 ? 20 : 0);
    header.insert(header.end(), entry.Name.begin(), entry.Name.end());
    if (zip64) {
      U16(header, 1);
      U16(header, 16);
      U64(header, p.Size);
      U64(header, p.StoredSize);
    }
    out.Put(header);
    if (entry.HoleBytes != 0) {
      out.Skip(entry.HoleBytes);
    } else {
      out.Put(stored);
    }
  }
  const std::uint64_t directoryStart = out.Offset;
  std::vector<std::size_t> order = spec.DirectoryOrder;
  if (order.empty()) {
    for (std::size_t i = 0; i < spec.Entries.size(); ++i) order.push_back(i);
  }
  TZipBytes directory;
  for (const std::size_t i : order) {
    const TZipSpecEntry& entry = spec.Entries[i];
    const TPlaced& p = placed[entry.SharesDataOf >= 0 ? static_cast<std::size_t>(entry.SharesDataOf) : i];
    U32(directory, 0x02014b50);
    U16(directory, zip64 ? 45 : 20);
    U16(directory, zip64 ? 45 : 20);
    U16(directory, entry.Encrypted ? 1 : 0);
    U16(directory, entry.Deflate ? 8 : 0);
    U16(directory, 0);
    U16(directory, 0x21);
    U32(directory, p.Crc);
    U32(directory, zip64 ? kMax32 : p.StoredSize);
    U32(directory, zip64 ? kMax32 : p.Size);
    const std::string& name = entry.SharesDataOf >= 0 ? spec.Entries[entry.SharesDataOf].Name : entry.Name;
    U16(directory, name.size());
    U16(directory, zip64 ? 28 : 0);
    U16(directory, 0);
    U16(directory, 0);
    U16(directory, 0);
    U32(directory, 0);
    U32(directory, zip64 ? kMax32 : p.LocalOffset);
    directory.insert(directory.end(), name.begin(), name.end());
    if (zip64) {
      U16(directory, 1);
      U16(directory, 24);
      U64(directory, p.Size);
      U64(directory, p.StoredSize);
      U64(directory, p.LocalOffset);
    }
  }
  out.Put(directory);
  const std::uint64_t statedStart = spec.DirectoryOffset.value_or(directoryStart);
  TZipBytes end;
  if (zip64) {
    const std::uint64_t recordOffset = out.Offset;
    U32(end, 0x06064b50);
    U64(end, 44);
    U16(end, 45);
    U16(end, 45);
    U32(end, 0);
    U32(end, 0);
    U64(end, order.size());
    U64(end, order.size());
    U64(end, directory.size());
    U64(end, statedStart);
    U32(end, 0x07064b50);
    U32(end, 0);
    U64(end, recordOffset);
    U32(end, 1);
  }
  U32(end, 0x06054b50);
  U16(end, 0);
  U16(end, 0);
  U16(end, zip64 ? 0xFFFF : order.size());
  U16(end, zip64 ? 0xFFFF : order.size());
  U32(end, zip64 ? kMax32 : directory.size());
  U32(end, zip64 ? kMax32 : statedStart);
  U16(end, 0);
  out.Put(end);
}

}  // namespace

TZipBytes Deflated(const TZipBytes& data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  TZipBytes out(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

TZipBytes WriteZip(const TZipSpec& spec) {
  TZipBytes bytes;
  TEmitter out{[&](const TZipBytes& part) { bytes.insert(bytes.end(), part.begin(), part.end()); },
               [&](std::uint64_t count) { bytes.resize(bytes.size() + count); }};
  Emit(spec, out);
  return bytes;
}

bool WriteZipFile(const TZipSpec& spec, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = true;
  TEmitter out{[&](const TZipBytes& part) { ok = ok && std::fwrite(part.data(), 1, part.size(), file) == part.size(); },
               [&](std::uint64_t count) {
#ifdef _WIN32
                 ok = ok && _fseeki64(file, static_cast<__int64>(count), SEEK_CUR) == 0;
#else
                 ok = ok && fseeko(file, static_cast<off_t>(count), SEEK_CUR) == 0;
#endif
               }};
  Emit(spec, out);
  return std::fclose(file) == 0 && ok;
}

}  // namespace bw::extract::test
