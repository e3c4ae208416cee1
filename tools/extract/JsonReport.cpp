#include "tools/extract/JsonReport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace bw::tools {
namespace {

// Length of the valid UTF-8 sequence at text[i], or 0.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  std::uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, minimum = 0x80, code = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, minimum = 0x800, code = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, minimum = 0x10000, code = lead & 0x07;
  else return 0;
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(i + k) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// A zip entry's kind is its extension, in the words the other reports use where they share one.
std::string ZipKindName(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == "jpg" || extension == "jpeg") return "jpeg";
  if (extension == "wav") return "wave";
  if (extension == "tif" || extension == "tiff") return "tiff";
  return extension;
}

std::string RenderStructureFiles(const std::vector<extract::TStructureFile>& files) {
  std::string out;
  for (std::size_t f = 0; f < files.size(); ++f) {
    const extract::TStructureFile& item = files[f];
    out += f == 0 ? "\n" : ",\n";
    if (!item.Entry.empty()) {
      out += "    {\"kind\": " + JsonString(ZipKindName(item.Path)) + ", " + JsonNameMember("path", item.Path) +
             ", \"size\": " + std::to_string(item.SizeBytes) + ", " + JsonNameMember("entry", item.Entry) +
             ", \"method\": " + JsonString(item.Method) + ", \"storedSize\": " + std::to_string(item.StoredBytes) +
             "}";
      continue;
    }
    const bool wave = item.Kind == extract::TStructureKind::Sound && item.Path.size() >= 4 &&
                      item.Path.compare(item.Path.size() - 4, 4, ".wav") == 0;
    out += "    {\"kind\": \"" + std::string(wave ? "wave" : extract::StructureKindName(item.Kind)) +
           "\", " + JsonNameMember("path", item.Path) + ", \"size\": " + std::to_string(item.SizeBytes) +
           ", \"stream\": " + JsonString(item.Stream) + ", \"recordOffset\": " + std::to_string(item.RecordOffsetBytes) +
           ", \"sourceStart\": " + std::to_string(item.SourceStartBytes) +
           ", \"fragments\": " + std::to_string(item.Fragments) + ", \"raw\": \"" +
           extract::RawVerdictName(item.Raw) + "\"}";
  }
  return out;
}

}  // namespace

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(utf8, i);
      if (length == 0) {
        out += "\\ufffd";
        ++i;
      } else {
        out.append(utf8, i, length);
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  return out + "\"";
}

std::string JsonNameMember(const std::string& name, const std::string& text) {
  std::string out = "\"" + name + "\": " + JsonString(text);
  bool valid = true;
  for (std::size_t i = 0; i < text.size() && valid;) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(text, i);
    valid = length != 0;
    i += length;
  }
  if (valid) return out;
  static constexpr char kDigits[] = "0123456789abcdef";
  out += ", \"" + name + "Hex\": \"";
  for (const char c : text) {
    out += kDigits[static_cast<unsigned char>(c) >> 4];
    out += kDigits[static_cast<unsigned char>(c) & 0x0F];
  }
  return out + "\"";
}

const char* KindName(extract::TItemKind kind) {
  switch (kind) {
    case extract::TItemKind::Jpeg: return "jpeg";
    case extract::TItemKind::Png: return "png";
    case extract::TItemKind::Bmp: return "bmp";
    case extract::TItemKind::Wave: return "wave";
  }
  return "unknown";
}

std::string RenderJson(const std::vector<TSourceReport>& reports) {
  std::string out = "{\"sources\": [";
  for (std::size_t r = 0; r < reports.size(); ++r) {
    const TSourceReport& report = reports[r];
    out += r == 0 ? "\n" : ",\n";
    out += "  {" + JsonNameMember("source", report.Source) + ", \"status\": " + JsonString(report.Status) +
           ", " + JsonNameMember("outputFolder", report.OutputFolder) +
           ", \"pictures\": " + std::to_string(report.Pictures) + ", \"sounds\": " + std::to_string(report.Sounds) +
           ", \"mode\": " + JsonString(report.Mode) +
           (report.Fallback.empty() ? std::string() : ", \"fallback\": " + JsonString(report.Fallback)) +
           (report.Container.empty() ? std::string() : ", \"container\": " + JsonString(report.Container)) +
           ",\n   \"files\": [";
    if (report.Mode == "structure") out += RenderStructureFiles(report.StructureFiles);
    for (std::size_t f = 0; f < report.Files.size(); ++f) {
      const extract::TWrittenItem& item = report.Files[f];
      out += f == 0 ? "\n" : ",\n";
      const bool checked =
          std::find(report.Unchecked.begin(), report.Unchecked.end(), item.Path) == report.Unchecked.end();
      out += "    {\"kind\": \"" + std::string(KindName(item.Kind)) + "\", " + JsonNameMember("path", item.Path) +
             ", \"size\": " + std::to_string(item.SizeBytes) +
             ", \"sourceStart\": " + std::to_string(item.SourceStartBytes) +
             ", \"sourceEnd\": " + std::to_string(item.SourceEndBytes) +
             ", \"truncated\": " + (item.Truncated ? "true" : "false") + (checked ? "" : ", \"checked\": false") +
             "}";
    }
    out += report.Files.empty() && report.StructureFiles.empty() ? "]" : "\n   ]";
    out += ",\n   \"errors\": [";
    for (std::size_t e = 0; e < report.Errors.size(); ++e) {
      out += (e == 0 ? "" : ", ") + JsonString(report.Errors[e]);
    }
    out += "]}";
  }
  out += reports.empty() ? "]}\n" : "\n]}\n";
  return out;
}

}  // namespace bw::tools
