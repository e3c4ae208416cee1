#pragma once
// Reader of a packed skin container: an INI description and the bitmaps it names,
// unpacked into memory and handed out by entry name.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/ByteStream.h"
#include "skin/data/WinConvert.h"

namespace bw::skin {

constexpr std::int32_t kSkinFormatMark = 20000;
constexpr int kMaxSkinEntries = 1001;
constexpr std::int32_t kSkinHeaderBytes = 16;
// Skins are a few hundred kilobytes unpacked; anything far beyond is not a skin.
constexpr std::int64_t kMaxSkinContainerBytes = 64LL * 1024 * 1024;

extern const char* const kOldSkinNotice;

// Shown to the user (a modal message box in the desktop program). Must not throw.
using TNoticeProc = std::function<void(const std::string& text)>;

// Notice for readers created from now on; empty means none.
void SetDefaultSkinNotice(TNoticeProc notice);
const TNoticeProc& DefaultSkinNotice();

class TSkinReader {
 public:
  TSkinReader();

  // On any refusal the previous directory and data are kept and LastError says why;
  // only a wrong format mark raises the old-skin notice.
  bool Loadfromstream(TMemoryStream& stream);
  // False without a notice when the file is missing or unreadable.
  bool loadfromfile(const std::string& fileName);
  static TUnpackResult Decompress(TByteStream& source, TByteStream& dest);

  // dest is cleared, filled with the first exact (case-blind) match and rewound.
  void readfile(std::string_view name, TMemoryStream& dest) const;
  // First entry whose lower-cased name contains pattern; name is left alone without one.
  void readIni(std::string_view pattern, TMemoryStream& dest, std::string& name) const;

  void SetNotice(TNoticeProc notice) { FNotice = std::move(notice); }
  const std::string& LastError() const { return FLastError; }

  int Count() const { return FCount; }
  const std::string& EntryName(int index) const { return FNames.at(static_cast<std::size_t>(index)); }
  std::int32_t EntrySize(int index) const { return FSizes.at(static_cast<std::size_t>(index)); }
  std::int32_t HeaderField(int index) const { return FHeader.at(static_cast<std::size_t>(index)); }
  // A copy of entry `index`'s bytes.
  std::vector<std::uint8_t> EntryBytes(int index) const;

 private:
  bool LoadUnpacked(const std::vector<std::uint8_t>& container);
  bool Refuse(std::string reason);
  void CopyEntry(int index, TMemoryStream& dest) const;
  std::int64_t EntryOffset(int index) const;

  std::vector<std::string> FNames;
  std::int32_t FCount = 0;
  std::vector<std::int32_t> FSizes;
  std::vector<std::uint8_t> FData;
  std::vector<std::int32_t> FHeader = std::vector<std::int32_t>(4, 0);
  TNoticeProc FNotice;
  std::string FLastError;
};

// Builds an unpacked container; sizes are taken from the entries.
struct TSkinEntry {
  std::string name;
  std::vector<std::uint8_t> bytes;
};
std::vector<std::uint8_t> BuildSkinContainer(const std::vector<TSkinEntry>& entries);

}  // namespace bw::skin
