#pragma once
// The skin engine's LZH codec: a 4 KiB sliding-window coder with binary-tree match
// finding, an adaptive Huffman code for literals and match lengths, and a fixed prefix
// code for match positions. Streams must stay bit-exact with other coders of the format.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Exceptions.h"
#include "skin/data/ByteStream.h"

namespace bw::skin {

// A framework exception, so the error display shows its text.
class ElzhException : public core::Exception {
 public:
  using core::Exception::Exception;
};

// Callbacks move up to `count` bytes and report the number moved in `actual`.
using TReadProc = std::function<void(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual)>;
using TWriteProc = std::function<void(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual)>;

// One object per pack or unpack; all tables live only inside the call.
class TLZH {
 public:
  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Not owned; read by GetBlockStream and written by PutBlockStream.
  void SetStreams(TByteStream* input, TByteStream* output);

  // Packs everything getBytes delivers up to its first empty answer; on return
  // `bytes` holds the number of input bytes consumed.
  void LZHPack(std::int32_t& bytes, const TReadProc& getBytes, const TWriteProc& putBytes);
  // Decodes exactly textSize bytes; throws ElzhException when the input ends before them
  // (missing input is never read as zero bits).
  void LZHUnpack(std::int32_t textSize, const TReadProc& getBytes, const TWriteProc& putBytes);

  void GetBlockStream(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual);
  // A short write throws EWriteError.
  void PutBlockStream(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual);
  TReadProc BlockReader();
  TWriteProc BlockWriter();

  // Output bytes of the last pack, and the last Huffman code emitted (diagnostics).
  std::int32_t CodeSize() const { return FCodeSize; }
  std::uint16_t LastCode() const { return FCode; }
  std::uint16_t LastCodeBits() const { return FLen; }

 private:
  struct TTables;

  void InitLZH();
  void EndLZH();
  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);
  void FillBitBuffer();
  int GetBit();
  int GetByte();
  void Putcode(int l, std::uint16_t c);
  void StartHuff();
  void reconst();
  void update(int c);
  void EncodeChar(int c);
  void EncodePosition(int c);
  void EncodeEnd();
  int DecodeChar();
  int DecodePosition();
  bool NextInputByte(std::uint8_t& value);
  void FlushPending();

  std::uint16_t FCode = 0;
  std::uint16_t FLen = 0;
  TByteStream* FInput = nullptr;
  TByteStream* FOutput = nullptr;
  std::uint16_t FGetBuf = 0;
  std::uint8_t FGetLen = 0;
  std::uint8_t FPutLen = 0;
  std::uint16_t FPutBuf = 0;
  std::int32_t FTextSize = 0;
  std::int32_t FCodeSize = 0;
  std::int16_t FMatchPosition = 0;
  std::int16_t FMatchLength = 0;
  bool FInputEnded = false;
  std::int64_t FZeroBytesFed = 0;  // bytes the bit buffer took past the end of the input
  int FLastPosition = 0;
  std::vector<std::uint8_t> FPending;  // block writer output not yet in the stream
  const TReadProc* FGetBytes = nullptr;
  const TWriteProc* FPutBytes = nullptr;
  std::unique_ptr<TTables> FTables;
};

// The framed form: 32-bit little-endian unpacked size, then the bit stream.

// The largest unpacked size a framed stream may state before it is refused.
constexpr std::int64_t kMaxUnpackedBytes = 256LL * 1024 * 1024;
// Every code bit can stand for at most 6 output bytes (a 60-byte match costs at least
// 10 bits), so a size above 48 x the stream length cannot come from a real packer.
constexpr std::int64_t kMaxBytesPerStreamByte = 48;

enum class TUnpackStatus { Complete, Truncated, Corrupt, TooLarge };

struct TUnpackResult {
  TUnpackStatus status = TUnpackStatus::Complete;
  std::int32_t statedBytes = 0;
  std::string reason;
  bool Ok() const { return status == TUnpackStatus::Complete; }
};

// Rewinds both streams, writes the source size, packs the source.
void PackFramed(TByteStream& source, TByteStream& dest);
// Rewinds both streams, reads the size and unpacks into dest. Sizes that cannot be
// right (negative, above capBytes, beyond what the stream can encode) are refused
// before anything is decoded.
TUnpackResult UnpackFramed(TByteStream& source, TByteStream& dest, std::int64_t capBytes = kMaxUnpackedBytes);

// A code is at most 22 bits (the adaptive tree's frequencies stay under 0x8000), so a
// stream needs at most 3 bytes per unpacked byte; bytes behind that are never read.
constexpr std::int64_t kMaxCodeBytesPerByte = 3;
constexpr std::int64_t kFramedSlackBytes = 16;
std::int64_t MaxFramedStreamBytes(std::int64_t statedBytes);

// Reads a framed stream from a file no further than its stated size can need (an endless
// input is not read whole); what lies behind is left alone, as the unpacker ignores it.
bool ReadFramedFile(const std::string& fileName, std::int64_t capBytes, std::vector<std::uint8_t>& bytes,
                    std::string& error);

std::vector<std::uint8_t> PackFramedBytes(const std::vector<std::uint8_t>& plain);
TUnpackResult UnpackFramedBytes(const std::vector<std::uint8_t>& packed, std::vector<std::uint8_t>& plain,
                                std::int64_t capBytes = kMaxUnpackedBytes);

}  // namespace bw::skin
