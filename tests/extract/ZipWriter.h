#pragma once
// Test-side writer of zip containers, honest or lying: entries stored or deflated, in a
// central directory whose order may differ from the data's, with stated sizes, checksums,
// flags and offsets a test may falsify, zip64 records, and holes that stay sparse on disk.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace bw::extract::test {

using TZipBytes = std::vector<std::uint8_t>;

struct TZipSpecEntry {
  TZipSpecEntry() = default;
  TZipSpecEntry(std::string name, TZipBytes data, bool deflate = false)
      : Name(std::move(name)), Data(std::move(data)), Deflate(deflate) {}
  std::string Name;
  TZipBytes Data;
  bool Deflate = false;
  bool Encrypted = false;                   // flag only: the data is written as it is
  std::optional<std::uint64_t> StatedSize;  // the uncompressed size the headers claim
  std::optional<std::uint32_t> Crc;         // the checksum the headers claim
  std::uint64_t HoleBytes = 0;              // a stored entry of this many zero bytes, left sparse
  int SharesDataOf = -1;                    // the directory points at that entry's local header
};

struct TZipSpec {
  std::vector<TZipSpecEntry> Entries;        // local headers and data in this order
  std::vector<std::size_t> DirectoryOrder;   // empty: the same order
  bool Zip64 = false;                        // zip64 extra fields and end records
  std::optional<std::uint64_t> DirectoryOffset;  // a lying central-directory offset
};

TZipBytes WriteZip(const TZipSpec& spec);
// Writes to a file, seeking over holes; false when the file cannot be written.
bool WriteZipFile(const TZipSpec& spec, const std::string& path);
TZipBytes Deflated(const TZipBytes& data);

}  // namespace bw::extract::test
