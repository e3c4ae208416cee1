#include "skin/data/LacquerIni.h"

#include <limits>

#include "skin/data/AnsiText.h"

namespace bw::skin {

bool TryStrToInt(std::string_view text, std::int32_t& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const bool hex = i < text.size() && text[i] == '$';
  if (hex) ++i;
  if (i == text.size()) return false;
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    unsigned digit;
    if (ch >= '0' && ch <= '9') {
      digit = static_cast<unsigned>(ch - '0');
    } else if (hex && ch >= 'a' && ch <= 'f') {
      digit = static_cast<unsigned>(ch - 'a' + 10);
    } else if (hex && ch >= 'A' && ch <= 'F') {
      digit = static_cast<unsigned>(ch - 'A' + 10);
    } else {
      return false;
    }
    magnitude = magnitude * (hex ? 16 : 10) + digit;
    if (magnitude > limit) return false;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  value = static_cast<std::int32_t>(bits);
  return true;
}

void TQuickIni::ParseText(std::string_view text) {
  FLines.clear();
  FSections.clear();
  for (const std::string& raw : SplitTextLines(text)) {
    std::string line = TrimBlanks(raw);
    if (line.empty() || line[0] == ';') continue;
    FLines.push_back(std::move(line));
    if (IsSection(FLines.back())) FSections.push_back({FLines.back(), static_cast<int>(FLines.size()) - 1});
  }
}

void TQuickIni::LoadFromStream(TByteStream* stream) {
  if (stream == nullptr) return;
  const std::int64_t remaining = stream->Size() - stream->Position();
  std::string text(remaining > 0 ? static_cast<std::size_t>(remaining) : 0, '\0');
  text.resize(stream->Read(text.data(), text.size()));
  ParseText(text);
}

void TQuickIni::LoadFromFile(const std::string& fileName) {
  // Read-only, and no writer while it is read (a skin being saved is not half read).
  core::TFileStream file(fileName, core::fmOpenRead | core::fmShareDenyWrite);
  TMemoryStream stream;
  stream.LoadFromStream(file);
  LoadFromStream(&stream);
}

bool TQuickIni::LoadFromZip(const std::string& fileName) {
  TMemoryStream packed;
  packed.LoadFromFile(fileName);
  TMemoryStream plain;
  if (!Decompress(packed, plain).Ok()) return false;
  plain.SetPosition(0);
  LoadFromStream(&plain);
  return true;
}

void TQuickIni::SetIniFile(const TStrings& strings) {
  FLines = strings;
  RebuildSections();
}

void TQuickIni::Clear() {
  FLines.clear();
  FSections.clear();
}

void TQuickIni::SaveToStream(TByteStream* stream) const {
  if (stream == nullptr) return;
  std::string text;
  for (const std::string& line : FLines) {
    text += line;
    text += "\r\n";
  }
  stream->WriteBuffer(text.data(), text.size());
}

void TQuickIni::SaveToFile(const std::string& fileName) const {
  TMemoryStream stream;
  SaveToStream(&stream);
  stream.SaveToFile(fileName);
}

void TQuickIni::SavetoZip(const std::string& fileName) const {
  TMemoryStream plain;
  SaveToStream(&plain);
  TMemoryStream packed;
  Compress(plain, packed);
  packed.SaveToFile(fileName);
}

void TQuickIni::Compress(TByteStream& source, TByteStream& dest) { PackFramed(source, dest); }

TUnpackResult TQuickIni::Decompress(TByteStream& source, TByteStream& dest) { return UnpackFramed(source, dest); }

int TQuickIni::GetSectionIndex(std::string_view section) const {
  std::string header;
  header.reserve(section.size() + 2);
  header += '[';
  header += section;
  header += ']';
  for (const TSectionEntry& entry : FSections) {
    if (AnsiSameText(entry.text, header)) return entry.lineIndex;
  }
  return -1;
}

bool TQuickIni::IsSection(std::string_view line) {
  const std::string trimmed = TrimBlanks(line);
  return !trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']';
}

std::string TQuickIni::GetName(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  return LowerAscii(TrimBlanks(line.substr(0, eq)));
}

std::string TQuickIni::GetValue(std::string_view line, std::string_view name) {
  if (line.empty() || name.empty()) return {};
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos || GetName(line) != name) return {};
  return TrimBlanks(line.substr(eq + 1));
}

int TQuickIni::SectionEnd(int headerIndex) const {
  int i = headerIndex + 1;
  while (i < static_cast<int>(FLines.size()) && !IsSection(FLines[i])) ++i;
  return i;
}

int TQuickIni::FindKeyLine(int headerIndex, std::string_view lowerKey) const {
  const int end = SectionEnd(headerIndex);
  for (int i = headerIndex + 1; i < end; ++i) {
    if (GetName(FLines[i]) == lowerKey) return i;
  }
  return -1;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
  const std::string lowerKey = LowerAscii(key);
  if (FLines.empty()) return std::string(defaultValue);
  const int header = GetSectionIndex(section);
  if (header < 0) return std::string(defaultValue);
  const int line = FindKeyLine(header, lowerKey);
  if (line < 0) return std::string(defaultValue);
  std::string value = GetValue(FLines[line], lowerKey);
  return value.empty() ? std::string(defaultValue) : value;
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "$");
  std::int32_t value = 0;
  return TryStrToInt(text, value) ? value : defaultValue;
}

bool TQuickIni::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TQuickIni::ReadSection(std::string_view section, TStrings& strings) const {
  strings.clear();
  const int header = GetSectionIndex(section);
  if (header < 0) return;
  const int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i) {
    std::string name = GetName(FLines[i]);
    if (!name.empty()) strings.push_back(std::move(name));
  }
}

void TQuickIni::ReadSections(TStrings& strings) const {
  strings.clear();
  for (const TSectionEntry& entry : FSections) {
    const std::string outer = TrimBlanks(entry.text);
    strings.push_back(outer.size() >= 2 ? TrimBlanks(std::string_view(outer).substr(1, outer.size() - 2))
                                        : std::string());
  }
}

void TQuickIni::ReadSectionValues(std::string_view section, TStrings& strings) const {
  strings.clear();
  const int header = GetSectionIndex(section);
  if (header < 0) return;
  const int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i) strings.push_back(FLines[i]);
}

void TQuickIni::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += value;
  const int header = GetSectionIndex(section);
  if (header < 0) {
    std::string headerText = "[" + std::string(section) + "]";
    FLines.push_back(std::move(headerText));
    if (!key.empty()) FLines.push_back(std::move(line));
    RebuildSections();
    return;
  }
  if (key.empty()) return;
  const int found = FindKeyLine(header, LowerAscii(key));
  if (found >= 0) {
    FLines[found] = std::move(line);
  } else {
    FLines.insert(FLines.begin() + SectionEnd(header), std::move(line));
  }
  // Inserting shifts later headers, and a written line may itself read as a header.
  RebuildSections();
}

void TQuickIni::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TQuickIni::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TQuickIni::DeleteKey(std::string_view section, std::string_view key) {
  if (FLines.empty()) return;
  const int header = GetSectionIndex(section);
  if (header < 0) return;
  const int found = FindKeyLine(header, LowerAscii(key));
  if (found < 0) return;
  FLines.erase(FLines.begin() + found);
  RebuildSections();
}

void TQuickIni::EraseSection(std::string_view section) {
  const int header = GetSectionIndex(section);
  if (header < 0) return;
  FLines.erase(FLines.begin() + header, FLines.begin() + SectionEnd(header));
  if (header > 0) FLines.insert(FLines.begin() + header, std::string());
  RebuildSections();
}

void TQuickIni::RebuildSections() {
  FSections.clear();
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    const std::string& line = FLines[i];
    if (!line.empty() && line.front() == '[' && line.back() == ']') {
      FSections.push_back({TrimBlanks(line), static_cast<int>(i)});
    }
  }
}

void TQuickIni::SetFileName(const std::string& fileName) {
  if (fileName != FFileName) FFileName = fileName;
}

}  // namespace bw::skin
