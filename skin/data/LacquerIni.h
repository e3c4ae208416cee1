#pragma once
// In-memory INI document: the meaningful lines of the text plus an index of its
// section headers, so a lookup jumps to its section and scans only that section.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/ByteStream.h"
#include "skin/data/WinConvert.h"

namespace bw::skin {

using TStrings = std::vector<std::string>;

struct TSectionEntry {
  std::string text;  // the header as kept, brackets included
  int lineIndex = 0;
};

// Decimal with optional sign, or "$" and up to 32 bits of hexadecimal (which may wrap
// to a negative value); nothing else, no blanks after the number.
bool TryStrToInt(std::string_view text, std::int32_t& value);

class TQuickIni {
 public:
  // Parsing keeps trimmed, non-empty, non-comment lines; a missing stream does nothing.
  void LoadFromStream(TByteStream* stream);
  // Opens read-only, denying writers while it reads; EFOpenError (the framework's, with
  // the file's name) when the file cannot be read: the document is then left as it was.
  void LoadFromFile(const std::string& fileName);
  // As LoadFromFile for a packed text; false, document unchanged, when the packed
  // stream states a size it cannot hold.
  bool LoadFromZip(const std::string& fileName);
  void SetIniFile(const TStrings& strings);
  void Clear();

  void SaveToStream(TByteStream* stream) const;
  void SaveToFile(const std::string& fileName) const;
  void SavetoZip(const std::string& fileName) const;
  static void Compress(TByteStream& source, TByteStream& dest);
  static TUnpackResult Decompress(TByteStream& source, TByteStream& dest);

  int GetSectionIndex(std::string_view section) const;
  static bool IsSection(std::string_view line);
  static std::string GetName(std::string_view line);
  // `name` must already be lower-cased.
  static std::string GetValue(std::string_view line, std::string_view name);

  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  void ReadSection(std::string_view section, TStrings& strings) const;
  void ReadSections(TStrings& strings) const;
  void ReadSectionValues(std::string_view section, TStrings& strings) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void DeleteKey(std::string_view section, std::string_view key);
  void EraseSection(std::string_view section);
  void RebuildSections();
  void SetFileName(const std::string& fileName);

  const std::string& FileName() const { return FFileName; }
  const TStrings& Lines() const { return FLines; }
  const std::vector<TSectionEntry>& Sections() const { return FSections; }

 private:
  // Index of the first line of the section whose name equals lowerKey, or -1.
  int FindKeyLine(int headerIndex, std::string_view lowerKey) const;
  // One past the last line of the section whose header is at headerIndex.
  int SectionEnd(int headerIndex) const;
  void ParseText(std::string_view text);

  std::string FFileName;
  TStrings FLines;
  std::vector<TSectionEntry> FSections;
};

}  // namespace bw::skin
