#include "skin/data/WinConvert.h"

#include <array>
#include <cstring>
#include <limits>
#include <new>

namespace bw::skin {

namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int NIL = N;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = 2 * N_CHAR - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;
constexpr int kRingMask = N - 1;
constexpr int kStartPosition = N - F;
constexpr std::size_t kPendingBytes = 4096;

struct TPositionCodes {
  std::array<std::uint8_t, 64> codeLen{};
  std::array<std::uint8_t, 64> code{};
  std::array<std::uint8_t, 256> decodeIndex{};
  std::array<std::uint8_t, 256> decodeLen{};
};

// Canonical prefix code over the upper six position bits: lengths 3, 4 x3, 5 x8,
// 6 x12, 7 x24, 8 x16 in index order, each code left-aligned in a byte.
constexpr TPositionCodes MakePositionCodes() {
  TPositionCodes t{};
  constexpr int kCounts[] = {1, 3, 8, 12, 24, 16};
  int index = 0;
  unsigned next = 0;
  for (int group = 0; group < 6; ++group) {
    const int bits = 3 + group;
    for (int n = 0; n < kCounts[group]; ++n, ++index) {
      t.codeLen[index] = static_cast<std::uint8_t>(bits);
      t.code[index] = static_cast<std::uint8_t>(next);
      const unsigned span = 1u << (8 - bits);
      for (unsigned v = next; v < next + span; ++v) {
        t.decodeIndex[v] = static_cast<std::uint8_t>(index);
        t.decodeLen[v] = static_cast<std::uint8_t>(bits);
      }
      next += span;
    }
  }
  return t;
}

constexpr TPositionCodes kPositionCodes = MakePositionCodes();
static_assert(kPositionCodes.code[1] == 0x20 && kPositionCodes.code[4] == 0x50 &&
              kPositionCodes.code[11] == 0x88 && kPositionCodes.code[48] == 0xF0 &&
              kPositionCodes.code[63] == 0xFF);

}  // namespace

struct TLZH::TTables {
  std::array<std::uint8_t, N + F - 1> textBuf{};
  std::array<std::uint16_t, N + 1> lson{};
  std::array<std::uint16_t, N + 1> dad{};
  std::array<std::uint16_t, N + 257> rson{};
  std::array<std::uint16_t, T + 1> freq{};
  std::array<std::uint16_t, T + N_CHAR> prnt{};
  std::array<std::uint16_t, T> son{};
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::SetStreams(TByteStream* input, TByteStream* output) {
  FInput = input;
  FOutput = output;
}

void TLZH::InitLZH() {
  try {
    // Zeroed: bytes the window has not yet been given compare as 0 in the match finder.
    FTables = std::make_unique<TTables>();
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
  FGetBuf = 0;
  FGetLen = 0;
  FPutBuf = 0;
  FPutLen = 0;
  FCode = 0;
  FLen = 0;
  FInputEnded = false;
  FZeroBytesFed = 0;
}

void TLZH::EndLZH() { FTables.reset(); }

void TLZH::InitTree() {
  TTables& t = *FTables;
  for (int i = N + 1; i <= N + 256; ++i) t.rson[i] = NIL;
  for (int i = 0; i < N; ++i) t.dad[i] = NIL;
  t.dad[N] = NIL;
}

void TLZH::InsertNode(int r) {
  TTables& t = *FTables;
  int cmp = 1;
  const std::uint8_t* key = &t.textBuf[r];
  int p = N + 1 + key[0];
  t.rson[r] = t.lson[r] = NIL;
  FMatchLength = 0;
  for (;;) {
    if (cmp >= 0) {
      if (t.rson[p] != NIL) {
        p = t.rson[p];
      } else {
        t.rson[p] = static_cast<std::uint16_t>(r);
        t.dad[r] = static_cast<std::uint16_t>(p);
        return;
      }
    } else {
      if (t.lson[p] != NIL) {
        p = t.lson[p];
      } else {
        t.lson[p] = static_cast<std::uint16_t>(r);
        t.dad[r] = static_cast<std::uint16_t>(p);
        return;
      }
    }
    int i = 1;
    for (; i < F; ++i) {
      cmp = key[i] - t.textBuf[p + i];
      if (cmp != 0) break;
    }
    if (i > THRESHOLD) {
      const int d = ((r - p) & kRingMask) - 1;
      if (i > FMatchLength) {
        FMatchPosition = static_cast<std::int16_t>(d);
        FMatchLength = static_cast<std::int16_t>(i);
        if (i >= F) break;
      }
      if (i == FMatchLength && d < FMatchPosition) FMatchPosition = static_cast<std::int16_t>(d);
    }
  }
  // Full-length match: r replaces p in the tree.
  t.dad[r] = t.dad[p];
  t.lson[r] = t.lson[p];
  t.rson[r] = t.rson[p];
  t.dad[t.lson[p]] = static_cast<std::uint16_t>(r);
  t.dad[t.rson[p]] = static_cast<std::uint16_t>(r);
  if (t.rson[t.dad[p]] == p) {
    t.rson[t.dad[p]] = static_cast<std::uint16_t>(r);
  } else {
    t.lson[t.dad[p]] = static_cast<std::uint16_t>(r);
  }
  t.dad[p] = NIL;
}

void TLZH::DeleteNode(int p) {
  TTables& t = *FTables;
  if (t.dad[p] == NIL) return;
  int q;
  if (t.rson[p] == NIL) {
    q = t.lson[p];
  } else if (t.lson[p] == NIL) {
    q = t.rson[p];
  } else {
    q = t.lson[p];
    if (t.rson[q] != NIL) {
      do {
        q = t.rson[q];
      } while (t.rson[q] != NIL);
      t.rson[t.dad[q]] = t.lson[q];
      t.dad[t.lson[q]] = t.dad[q];
      t.lson[q] = t.lson[p];
      t.dad[t.lson[p]] = static_cast<std::uint16_t>(q);
    }
    t.rson[q] = t.rson[p];
    t.dad[t.rson[p]] = static_cast<std::uint16_t>(q);
  }
  t.dad[q] = t.dad[p];
  if (t.rson[t.dad[p]] == p) {
    t.rson[t.dad[p]] = static_cast<std::uint16_t>(q);
  } else {
    t.lson[t.dad[p]] = static_cast<std::uint16_t>(q);
  }
  t.dad[p] = NIL;
}

// Tops the bit buffer up to more than 8 bits; past the end of the input it takes zeros.
void TLZH::FillBitBuffer() {
  while (FGetLen <= 8) {
    std::uint8_t byte = 0;
    std::uint16_t actual = 0;
    (*FGetBytes)(&byte, 1, actual);
    if (actual == 0) {
      byte = 0;
      ++FZeroBytesFed;
    }
    FGetBuf = static_cast<std::uint16_t>(FGetBuf | (byte << (8 - FGetLen)));
    FGetLen = static_cast<std::uint8_t>(FGetLen + 8);
  }
}

int TLZH::GetBit() {
  FillBitBuffer();
  const int bit = FGetBuf >> 15;
  FGetBuf = static_cast<std::uint16_t>(FGetBuf << 1);
  --FGetLen;
  return bit;
}

int TLZH::GetByte() {
  FillBitBuffer();
  const int value = FGetBuf >> 8;
  FGetBuf = static_cast<std::uint16_t>(FGetBuf << 8);
  FGetLen = static_cast<std::uint8_t>(FGetLen - 8);
  return value;
}

// c holds l code bits (l <= 16) left-aligned; bits leave most significant first.
void TLZH::Putcode(int l, std::uint16_t c) {
  FPutBuf = static_cast<std::uint16_t>(FPutBuf | (c >> FPutLen));
  FPutLen = static_cast<std::uint8_t>(FPutLen + l);
  if (FPutLen < 8) return;
  std::uint16_t actual = 0;
  std::uint8_t byte = static_cast<std::uint8_t>(FPutBuf >> 8);
  (*FPutBytes)(&byte, 1, actual);
  FPutLen = static_cast<std::uint8_t>(FPutLen - 8);
  if (FPutLen >= 8) {
    byte = static_cast<std::uint8_t>(FPutBuf);
    (*FPutBytes)(&byte, 1, actual);
    FCodeSize += 2;
    FPutLen = static_cast<std::uint8_t>(FPutLen - 8);
    FPutBuf = static_cast<std::uint16_t>(c << (l - FPutLen));
  } else {
    FPutBuf = static_cast<std::uint16_t>(FPutBuf << 8);
    FCodeSize += 1;
  }
}

void TLZH::StartHuff() {
  TTables& t = *FTables;
  for (int i = 0; i < N_CHAR; ++i) {
    t.freq[i] = 1;
    t.son[i] = static_cast<std::uint16_t>(i + T);
    t.prnt[i + T] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    t.freq[j] = static_cast<std::uint16_t>(t.freq[i] + t.freq[i + 1]);
    t.son[j] = static_cast<std::uint16_t>(i);
    t.prnt[i] = t.prnt[i + 1] = static_cast<std::uint16_t>(j);
  }
  t.freq[T] = 0xFFFF;
  t.prnt[R] = 0;
}

void TLZH::reconst() {
  TTables& t = *FTables;
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (t.son[i] >= T) {
      t.freq[j] = static_cast<std::uint16_t>((t.freq[i] + 1) / 2);
      t.son[j] = t.son[i];
      ++j;
    }
  }
  for (int i = 0, k = 0, jj = N_CHAR; jj < T; i += 2, ++jj) {
    const unsigned f = static_cast<unsigned>(t.freq[i]) + t.freq[i + 1];
    t.freq[jj] = static_cast<std::uint16_t>(f);
    for (k = jj - 1; f < t.freq[k]; --k) {
    }
    ++k;
    const std::size_t moved = static_cast<std::size_t>(jj - k) * sizeof(std::uint16_t);
    std::memmove(&t.freq[k + 1], &t.freq[k], moved);
    t.freq[k] = static_cast<std::uint16_t>(f);
    std::memmove(&t.son[k + 1], &t.son[k], moved);
    t.son[k] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = t.son[i];
    if (k >= T) {
      t.prnt[k] = static_cast<std::uint16_t>(i);
    } else {
      t.prnt[k] = t.prnt[k + 1] = static_cast<std::uint16_t>(i);
    }
  }
}

void TLZH::update(int c) {
  TTables& t = *FTables;
  if (t.freq[R] == MAX_FREQ) reconst();
  c = t.prnt[c + T];
  do {
    const unsigned k = ++t.freq[c];
    int l = c + 1;
    if (k > t.freq[l]) {
      while (k > t.freq[++l]) {
      }
      --l;
      t.freq[c] = t.freq[l];
      t.freq[l] = static_cast<std::uint16_t>(k);

      const int i = t.son[c];
      t.prnt[i] = static_cast<std::uint16_t>(l);
      if (i < T) t.prnt[i + 1] = static_cast<std::uint16_t>(l);

      const int j = t.son[l];
      t.son[l] = static_cast<std::uint16_t>(i);
      t.prnt[j] = static_cast<std::uint16_t>(c);
      if (j < T) t.prnt[j + 1] = static_cast<std::uint16_t>(c);
      t.son[c] = static_cast<std::uint16_t>(j);

      c = l;
    }
    c = t.prnt[c];
  } while (c != 0);
}

void TLZH::EncodeChar(int c) {
  TTables& t = *FTables;
  // Gathered in 32 bits: a skewed model can make codes longer than 16 bits, and a
  // 16-bit gatherer would silently drop their last bits.
  std::uint32_t code = 0;
  int bits = 0;
  int k = t.prnt[c + T];
  do {
    code >>= 1;
    if (k & 1) code |= 0x80000000u;
    ++bits;
    k = t.prnt[k];
  } while (k != R);
  if (bits <= 16) {
    Putcode(bits, static_cast<std::uint16_t>(code >> 16));
  } else {
    Putcode(16, static_cast<std::uint16_t>(code >> 16));
    Putcode(bits - 16, static_cast<std::uint16_t>(code));
  }
  FCode = static_cast<std::uint16_t>(code >> 16);
  FLen = static_cast<std::uint16_t>(bits);
  update(c);
}

void TLZH::EncodePosition(int c) {
  const int index = c >> 6;
  Putcode(kPositionCodes.codeLen[index], static_cast<std::uint16_t>(kPositionCodes.code[index] << 8));
  Putcode(6, static_cast<std::uint16_t>((c & 0x3F) << 10));
}

void TLZH::EncodeEnd() {
  if (FPutLen == 0) return;
  std::uint8_t byte = static_cast<std::uint8_t>(FPutBuf >> 8);
  std::uint16_t actual = 0;
  (*FPutBytes)(&byte, 1, actual);
  ++FCodeSize;
}

int TLZH::DecodeChar() {
  TTables& t = *FTables;
  int c = t.son[R];
  while (c < T) c = t.son[c + GetBit()];
  c -= T;
  update(c);
  return c;
}

int TLZH::DecodePosition() {
  int i = GetByte();
  const int high = kPositionCodes.decodeIndex[i] << 6;
  for (int j = kPositionCodes.decodeLen[i] - 2; j > 0; --j) i = (i << 1) + GetBit();
  FLastPosition = high | (i & 0x3F);
  return FLastPosition;
}

bool TLZH::NextInputByte(std::uint8_t& value) {
  if (FInputEnded) return false;
  std::uint16_t actual = 0;
  (*FGetBytes)(&value, 1, actual);
  if (actual == 0) FInputEnded = true;
  return actual != 0;
}

void TLZH::LZHPack(std::int32_t& bytes, const TReadProc& getBytes, const TWriteProc& putBytes) {
  FGetBytes = &getBytes;
  FPutBytes = &putBytes;
  FCodeSize = 0;
  try {
    InitLZH();
    TTables& t = *FTables;
    FTextSize = 0;
    StartHuff();
    InitTree();
    int s = 0;
    int r = kStartPosition;
    std::memset(t.textBuf.data(), 0x20, kStartPosition);
    int len = 0;
    std::uint8_t byte = 0;
    while (len < F && NextInputByte(byte)) t.textBuf[r + len++] = byte;
    FTextSize = len;
    for (int i = 1; i <= F; ++i) InsertNode(r - i);
    InsertNode(r);
    do {
      if (FMatchLength > len) FMatchLength = static_cast<std::int16_t>(len);
      if (FMatchLength <= THRESHOLD) {
        FMatchLength = 1;
        EncodeChar(t.textBuf[r]);
      } else {
        EncodeChar(255 - THRESHOLD + FMatchLength);
        EncodePosition(FMatchPosition);
      }
      const int last = FMatchLength;
      int i = 0;
      for (; i < last && NextInputByte(byte); ++i) {
        DeleteNode(s);
        t.textBuf[s] = byte;
        if (s < F - 1) t.textBuf[s + N] = byte;
        s = (s + 1) & kRingMask;
        r = (r + 1) & kRingMask;
        InsertNode(r);
      }
      FTextSize += i;
      for (; i < last; ++i) {
        DeleteNode(s);
        s = (s + 1) & kRingMask;
        r = (r + 1) & kRingMask;
        if (--len != 0) InsertNode(r);
      }
    } while (len > 0);
    EncodeEnd();
    FlushPending();
  } catch (...) {
    FPending.clear();
    EndLZH();
    throw;
  }
  EndLZH();
  bytes = FTextSize;
}

void TLZH::LZHUnpack(std::int32_t textSize, const TReadProc& getBytes, const TWriteProc& putBytes) {
  FGetBytes = &getBytes;
  FPutBytes = &putBytes;
  try {
    InitLZH();
    TTables& t = *FTables;
    StartHuff();
    std::memset(t.textBuf.data(), 0x20, kStartPosition);
    int r = kStartPosition;
    std::uint16_t actual = 0;
    for (std::int64_t count = 0; count < textSize;) {
      const int c = DecodeChar();
      if (c >= 256) DecodePosition();
      // The buffer reads ahead, so zeros past the end are fine while no code took them.
      if (FZeroBytesFed * 8 > FGetLen) {
        throw ElzhException("LZH : stream ended after " + std::to_string(count) + " of " +
                            std::to_string(textSize) + " bytes");
      }
      if (c < 256) {
        const std::uint8_t byte = static_cast<std::uint8_t>(c);
        putBytes(&byte, 1, actual);
        t.textBuf[r] = byte;
        r = (r + 1) & kRingMask;
        ++count;
      } else {
        const int i = (r - FLastPosition - 1) & kRingMask;
        const int length = c - 255 + THRESHOLD;
        // A damaged stream may end in a match longer than what is left: never more than
        // the stated size is written.
        for (int k = 0; k < length && count < textSize; ++k) {
          const std::uint8_t byte = t.textBuf[(i + k) & kRingMask];
          putBytes(&byte, 1, actual);
          t.textBuf[r] = byte;
          r = (r + 1) & kRingMask;
          ++count;
        }
      }
    }
    FlushPending();
  } catch (...) {
    FPending.clear();
    EndLZH();
    throw;
  }
  EndLZH();
}

void TLZH::GetBlockStream(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual) {
  actual = 0;
  if (FInput == nullptr) return;
  const std::int64_t remaining = FInput->Size() - FInput->Position();
  actual = remaining < count ? static_cast<std::uint16_t>(remaining > 0 ? remaining : 0) : count;
  actual = static_cast<std::uint16_t>(FInput->Read(buffer, actual));
}

void TLZH::PutBlockStream(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual) {
  actual = count;
  if (FOutput == nullptr) throw EWriteError("Stream write error");
  // The coder hands out one byte at a time: the stream gets them in blocks.
  FPending.insert(FPending.end(), buffer, buffer + count);
  if (FPending.size() >= kPendingBytes) FlushPending();
}

void TLZH::FlushPending() {
  if (FPending.empty()) return;
  FOutput->WriteBuffer(FPending.data(), static_cast<std::int64_t>(FPending.size()));
  FPending.clear();
}

TReadProc TLZH::BlockReader() {
  return [this](std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual) {
    GetBlockStream(buffer, count, actual);
  };
}

TWriteProc TLZH::BlockWriter() {
  return [this](const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual) {
    PutBlockStream(buffer, count, actual);
  };
}

void PackFramed(TByteStream& source, TByteStream& dest) {
  source.SetPosition(0);
  dest.SetPosition(0);
  const std::int64_t sizeBytes = source.Size();
  if (sizeBytes > std::numeric_limits<std::int32_t>::max()) {
    throw ElzhException("LZH : input too large for a 32-bit size field");
  }
  const std::uint32_t size = static_cast<std::uint32_t>(sizeBytes);
  const std::uint8_t header[4] = {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                                  static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)};
  dest.WriteBuffer(header, sizeof header);
  TLZH lzh;
  lzh.SetStreams(&source, &dest);
  std::int32_t consumed = 0;
  lzh.LZHPack(consumed, lzh.BlockReader(), lzh.BlockWriter());
}

TUnpackResult UnpackFramed(TByteStream& source, TByteStream& dest, std::int64_t capBytes) {
  source.SetPosition(0);
  dest.SetPosition(0);
  TUnpackResult result;
  std::uint8_t header[4] = {};
  if (source.Read(header, sizeof header) != sizeof header) {
    result.status = TUnpackStatus::Truncated;
    result.reason = "stream shorter than its 4-byte size field";
    return result;
  }
  result.statedBytes = static_cast<std::int32_t>(static_cast<std::uint32_t>(header[0]) | (header[1] << 8) |
                                                 (header[2] << 16) | (static_cast<std::uint32_t>(header[3]) << 24));
  const std::int64_t streamBytes = source.Size() - 4;
  if (result.statedBytes < 0) {
    result.status = TUnpackStatus::Corrupt;
    result.reason = "negative unpacked size";
    return result;
  }
  if (result.statedBytes > capBytes) {
    result.status = TUnpackStatus::TooLarge;
    result.reason = "unpacked size " + std::to_string(result.statedBytes) + " above the limit of " +
                    std::to_string(capBytes) + " bytes";
    return result;
  }
  if (result.statedBytes > streamBytes * kMaxBytesPerStreamByte) {
    result.status = TUnpackStatus::Corrupt;
    result.reason = "unpacked size " + std::to_string(result.statedBytes) + " beyond what " +
                    std::to_string(streamBytes) + " stream bytes can encode";
    return result;
  }
  if (auto* memory = dynamic_cast<TMemoryStream*>(&dest)) {
    memory->Bytes().reserve(static_cast<std::size_t>(dest.Position() + result.statedBytes));
  }
  TLZH lzh;
  lzh.SetStreams(&source, &dest);
  try {
    lzh.LZHUnpack(result.statedBytes, lzh.BlockReader(), lzh.BlockWriter());
  } catch (const ElzhException& e) {
    result.status = TUnpackStatus::Truncated;
    result.reason = e.what();
    if (auto* memory = dynamic_cast<TMemoryStream*>(&dest)) memory->Clear();
  }
  return result;
}

std::int64_t MaxFramedStreamBytes(std::int64_t statedBytes) {
  return 4 + kMaxCodeBytesPerByte * (statedBytes > 0 ? statedBytes : 0) + kFramedSlackBytes;
}

bool ReadFramedFile(const std::string& fileName, std::int64_t capBytes, std::vector<std::uint8_t>& bytes,
                    std::string& error) {
  std::vector<std::uint8_t> head;
  if (!ReadWholeFile(fileName, head, error, 4)) return false;
  std::int64_t stated = 0;
  if (head.size() == 4) {
    stated = static_cast<std::int32_t>(static_cast<std::uint32_t>(head[0]) | (head[1] << 8) | (head[2] << 16) |
                                       (static_cast<std::uint32_t>(head[3]) << 24));
  }
  // A size the unpacker refuses needs no more than its header to be refused.
  if (head.size() < 4 || stated < 0 || stated > capBytes) {
    bytes = std::move(head);
    return true;
  }
  return ReadWholeFile(fileName, bytes, error, MaxFramedStreamBytes(stated));
}

std::vector<std::uint8_t> PackFramedBytes(const std::vector<std::uint8_t>& plain) {
  TMemoryStream source(plain);
  TMemoryStream dest;
  PackFramed(source, dest);
  return std::move(dest.Bytes());
}

TUnpackResult UnpackFramedBytes(const std::vector<std::uint8_t>& packed, std::vector<std::uint8_t>& plain,
                                std::int64_t capBytes) {
  TMemoryStream source(packed);
  TMemoryStream dest;
  TUnpackResult result = UnpackFramed(source, dest, capBytes);
  plain = std::move(dest.Bytes());
  if (!result.Ok()) plain.clear();
  return result;
}

}  // namespace bw::skin
