#include "tools/extract/JsonReport.h"

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

std::string RenderStructureFiles(const std::vector<extract::TStructureFile>& files) {
  std::string out;
  for (std::size_t f = 0; f < files.size(); ++f) {
    const extract::TStructureFile& item = files[f];
    const bool wave = item.Kind == extract::TStructureKind::Sound && item.Path.size() >= 4 &&
                      item.Path.compare(item.Path.size() - 4, 4, ".wav") == 0;
    out += f == 0 ? "\n" : ",\n";
    out += "    {\"kind\": \"" + std::string(wave ? "wave" : extract::StructureKindName(item.Kind)) +
           "\", \"path\": " + JsonString(item.Path) + ", \"size\": " + std::to_string(item.SizeBytes) +
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
    out += "  {\"source\": " + JsonString(report.Source) + ", \"status\": " + JsonString(report.Status) +
           ", \"outputFolder\": " + JsonString(report.OutputFolder) +
           ", \"pictures\": " + std::to_string(report.Pictures) + ", \"sounds\": " + std::to_string(report.Sounds) +
           ", \"mode\": " + JsonString(report.Mode) +
           (report.Fallback.empty() ? std::string() : ", \"fallback\": " + JsonString(report.Fallback)) +
           ",\n   \"files\": [";
    if (report.Mode == "structure") out += RenderStructureFiles(report.StructureFiles);
    for (std::size_t f = 0; f < report.Files.size(); ++f) {
      const extract::TWrittenItem& item = report.Files[f];
      out += f == 0 ? "\n" : ",\n";
      out += "    {\"kind\": \"" + std::string(KindName(item.Kind)) + "\", \"path\": " + JsonString(item.Path) +
             ", \"size\": " + std::to_string(item.SizeBytes) +
             ", \"sourceStart\": " + std::to_string(item.SourceStartBytes) +
             ", \"sourceEnd\": " + std::to_string(item.SourceEndBytes) +
             ", \"truncated\": " + (item.Truncated ? "true" : "false") + "}";
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
