// The block of PngToDib is global memory, as the Windows bitmap functions expect.
#include <windows.h>

#include "framework/core/PngDib.h"

namespace bw::core {

std::uint8_t* AllocatePngDibBlock(std::size_t sizeBytes) {
  return static_cast<std::uint8_t*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeBytes == 0 ? 1 : sizeBytes));
}

void FreePngDibBlock(std::uint8_t* block) {
  if (block != nullptr) GlobalFree(block);
}

}  // namespace bw::core
