#pragma once
// Finding the next window that holds one of the four media signatures.
#include <cstddef>
#include <cstdint>

namespace bw::extract {

enum class TSignature { None, Jpeg, Png, Dib, Riff };

TSignature SignatureOf(const std::uint8_t* window);

// Offset of the first i with i + 4 <= lengthBytes whose four bytes are a signature, or
// lengthBytes when there is none.
std::size_t FindSignature(const std::uint8_t* data, std::size_t lengthBytes);

}  // namespace bw::extract
