#pragma once
// The header steps shared by the full decode and the picture check, so that both refuse the
// same pictures. Includes the decoder's header: for framework/core's own files.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace bw::core {

// Reads the header from memory into a created decompressor and sets the output colour space
// (CMYK and YCCK give CMYK, all else RGB); false when the picture breaks the pixel limits.
// Decoder errors long-jump out of it, so the caller's frame holds no objects with destructors.
bool ReadJpegHeaderWithinLimits(jpeg_decompress_struct& info, const std::uint8_t* data, std::size_t lengthBytes);

}  // namespace bw::core
