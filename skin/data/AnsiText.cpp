#include "skin/data/AnsiText.h"

#include <cstdint>

namespace bw::skin {

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  const std::size_t end = text.size();
  while (pos < end && text[pos] != '\0') {
    const std::size_t start = pos;
    while (pos < end && text[pos] != '\r' && text[pos] != '\n' && text[pos] != '\0') ++pos;
    lines.emplace_back(text.substr(start, pos - start));
    if (pos < end && text[pos] == '\r') ++pos;
    if (pos < end && text[pos] == '\n') ++pos;
  }
  return lines;
}

std::string TrimBlanks(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
  return std::string(text.substr(first, last - first));
}

std::string LowerAscii(std::string_view text) {
  std::string result(text);
  for (char& ch : result) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return result;
}

namespace {

unsigned char AnsiLowerByte(unsigned char ch) {
  if (ch >= 'A' && ch <= 'Z') return static_cast<unsigned char>(ch + 32);
  if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) return static_cast<unsigned char>(ch + 32);
  switch (ch) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return ch;
  }
}

}  // namespace

bool AnsiSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AnsiLowerByte(static_cast<unsigned char>(a[i])) != AnsiLowerByte(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace bw::skin
