// Damaged framed LZH streams: never out of bounds, never a hang; a stream that decodes
// gives exactly its stated size, and one that ends early is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/data/WinConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bw::skin;
  const std::vector<std::uint8_t> packed(data, data + size);
  std::vector<std::uint8_t> plain;
  const TUnpackResult result = UnpackFramedBytes(packed, plain, 1 << 20);
  if (result.Ok() && plain.size() != static_cast<std::size_t>(result.statedBytes)) std::abort();
  // Cut anywhere before its last byte, a stream whose every byte was needed is refused.
  if (result.Ok() && size > 5 && result.statedBytes > 0) {
    std::vector<std::uint8_t> cut(packed.begin(), packed.end() - 1), partial;
    if (UnpackFramedBytes(cut, partial, 1 << 20).Ok() && partial != plain) std::abort();
  }
  if (!result.Ok() && !plain.empty()) std::abort();
  // Whatever came out must pack and come back unchanged.
  if (plain.size() <= 4096) {
    std::vector<std::uint8_t> again;
    if (!UnpackFramedBytes(PackFramedBytes(plain), again).Ok() || again != plain) std::abort();
  }
  return 0;
}
