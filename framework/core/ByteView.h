#pragma once
// Little-endian reads over a file's bytes. Callers check Has() before reading: the reads
// themselves do not, so an unchecked read is visible at the call site.
#include <cstddef>
#include <cstdint>
#include <span>

namespace bw::core {

class TByteView {
 public:
  explicit TByteView(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}
  bool Has(std::size_t offset, std::size_t length) const {
    return offset <= FBytes.size() && length <= FBytes.size() - offset;
  }
  std::uint8_t U8Unchecked(std::size_t offset) const { return FBytes[offset]; }
  std::uint16_t U16Unchecked(std::size_t offset) const {
    return static_cast<std::uint16_t>(FBytes[offset] | FBytes[offset + 1] << 8);
  }
  std::uint32_t U32Unchecked(std::size_t offset) const {
    return std::uint32_t{FBytes[offset]} | std::uint32_t{FBytes[offset + 1]} << 8 |
           std::uint32_t{FBytes[offset + 2]} << 16 | std::uint32_t{FBytes[offset + 3]} << 24;
  }
  const std::uint8_t* At(std::size_t offset) const { return FBytes.data() + offset; }
  std::size_t Size() const { return FBytes.size(); }

 private:
  std::span<const std::uint8_t> FBytes;
};

}  // namespace bw::core
