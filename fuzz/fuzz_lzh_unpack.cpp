// Damaged framed LZH streams: never out of bounds, never a hang, output bounded by
// the stated size plus one unfinished match.
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
  if (result.Ok() && (plain.size() < static_cast<std::size_t>(result.statedBytes) ||
                      plain.size() > static_cast<std::size_t>(result.statedBytes) + 59)) {
    std::abort();
  }
  if (!result.Ok() && !plain.empty()) std::abort();
  // Whatever came out must pack and come back unchanged.
  if (plain.size() <= 4096) {
    std::vector<std::uint8_t> again;
    if (!UnpackFramedBytes(PackFramedBytes(plain), again).Ok() || again != plain) std::abort();
  }
  return 0;
}
