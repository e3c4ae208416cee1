// The block of PngToDib on platforms without global memory.
#include <cstdlib>

#include "framework/core/PngDib.h"

namespace bw::core {

std::uint8_t* AllocatePngDibBlock(std::size_t sizeBytes) {
  return static_cast<std::uint8_t*>(std::calloc(sizeBytes == 0 ? 1 : sizeBytes, 1));
}

void FreePngDibBlock(std::uint8_t* block) { std::free(block); }

}  // namespace bw::core
