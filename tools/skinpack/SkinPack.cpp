#include "tools/skinpack/SkinPack.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "skin/data/AnsiText.h"
#include "skin/data/ByteStream.h"
#include "skin/data/WinConvert.h"
#include "tools/skinpack/SkinCheck.h"

namespace bw::tools {

namespace fs = std::filesystem;
using bw::skin::LowerAscii;
using bw::skin::ReadWholeFile;
using bw::skin::TSkinEntry;
using bw::skin::WriteWholeFile;

namespace {

constexpr const char* kUsage =
    "usage: skinpack check DIR          check a skin folder before packing it (exit status 1: problems)\n"
    "       skinpack build DIR OUT      pack a skin folder (its .ini and the bitmaps it names)\n"
    "       skinpack stream DIR OUT     as build, with the 4-byte length a form's skin stream holds\n"
    "       skinpack list IN            list the entries of a packed skin\n"
    "       skinpack extract IN DIR     write every entry of a packed skin into DIR\n"
    "       skinpack lzh-pack IN OUT    pack one file (4-byte size, then the LZH stream)\n"
    "       skinpack lzh-unpack IN OUT  unpack one such file\n";

bool EndsWithNoCase(const std::string& text, const std::string& lowerSuffix) {
  return text.size() >= lowerSuffix.size() &&
         LowerAscii(text.substr(text.size() - lowerSuffix.size())) == lowerSuffix;
}

// One file of a skin folder, read no further than a whole skin may be.
bool ReadEntryFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  bool tooLarge = false;
  if (!ReadWholeFile(path, bytes, error, bw::skin::kMaxSkinContainerBytes, &tooLarge)) return false;
  if (!tooLarge) return true;
  error = path + ": larger than " + std::to_string(bw::skin::kMaxSkinContainerBytes) +
          " bytes, the most a skin may have; nothing packed";
  return false;
}

int Fail(std::ostream& err, const std::string& message) {
  err << "skinpack: " << message << "\n";
  return 1;
}

// Silent on success: the build runs it for every skin.
int Build(const std::string& folder, const std::string& outName, bool asStream, std::ostream& err) {
  std::vector<TSkinEntry> entries;
  std::string error;
  if (!CollectSkinEntries(folder, entries, error)) return Fail(err, error);
  const std::vector<std::uint8_t> container = bw::skin::BuildSkinContainer(entries);
  // What the skin reader would refuse is not packed.
  if (static_cast<std::int64_t>(container.size()) > bw::skin::kMaxSkinContainerBytes) {
    return Fail(err, folder + ": the skin is " + std::to_string(container.size()) + " bytes unpacked, over the limit of " +
                         std::to_string(bw::skin::kMaxSkinContainerBytes) + " bytes a skin may have; nothing packed");
  }
  std::vector<std::uint8_t> packed = bw::skin::PackFramedBytes(container);
  if (asStream) {
    const auto size = static_cast<std::uint32_t>(packed.size());
    const std::uint8_t prefix[4] = {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                                    static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)};
    packed.insert(packed.begin(), prefix, prefix + 4);
  }
  if (!WriteWholeFile(outName, packed, error)) return Fail(err, error);
  return 0;
}

bool LoadSkin(const std::string& inName, bw::skin::TSkinReader& reader, std::string& error) {
  reader.SetNotice(nullptr);
  if (reader.loadfromfile(inName)) return true;
  error = inName + ": " + reader.LastError();
  return false;
}

int List(const std::string& inName, std::ostream& out, std::ostream& err) {
  bw::skin::TSkinReader reader;
  std::string error;
  if (!LoadSkin(inName, reader, error)) return Fail(err, error);
  std::int64_t totalBytes = 0;
  for (int i = 0; i < reader.Count(); ++i) {
    out << reader.EntrySize(i) << "\t" << reader.EntryName(i) << "\n";
    totalBytes += reader.EntrySize(i);
  }
  out << reader.Count() << " entries, " << totalBytes << " bytes\n";
  return 0;
}

int Extract(const std::string& inName, const std::string& folder, std::ostream& out, std::ostream& err) {
  bw::skin::TSkinReader reader;
  std::string error;
  if (!LoadSkin(inName, reader, error)) return Fail(err, error);
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) return Fail(err, "cannot create folder \"" + folder + "\"");
  std::set<std::string> written;
  int skipped = 0;
  for (int i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.EntryName(i);
    if (!IsSafeEntryName(name)) {
      err << "skinpack: skipped entry " << i << ": \"" << name << "\" is not a plain file name\n";
      ++skipped;
      continue;
    }
    // Lookups return the first of equal names, so later ones are unreachable.
    if (!written.insert(name).second) {
      err << "skinpack: skipped entry " << i << ": duplicate of \"" << name << "\"\n";
      ++skipped;
      continue;
    }
    if (!WriteWholeFile((fs::path(folder) / name).string(), reader.EntryBytes(i), error)) return Fail(err, error);
  }
  out << "extracted " << written.size() << " entries into " << folder << "\n";
  return skipped == 0 ? 0 : 1;
}

// One line per problem on the output, so an author can work down the list.
int Check(const std::string& folder, std::ostream& out) {
  const TSkinCheckReport report = CheckSkinFolder(folder);
  for (const std::string& problem : report.Problems) out << folder << ": " << problem << "\n";
  for (const std::string& note : report.Notes) out << folder << ": note: " << note << "\n";
  out << folder << ": " << (report.Ok() ? std::string("ok") : std::to_string(report.Problems.size()) + " problem(s)") << "\n";
  return report.Ok() ? 0 : 1;
}

int LzhPack(const std::string& inName, const std::string& outName, std::ostream& err) {
  std::vector<std::uint8_t> plain;
  std::string error;
  bool tooLarge = false;
  // Read no further than lzh-unpack accepts: what it would refuse is not packed.
  if (!ReadWholeFile(inName, plain, error, bw::skin::kMaxUnpackedBytes, &tooLarge)) return Fail(err, error);
  if (tooLarge) {
    return Fail(err, inName + ": larger than " + std::to_string(bw::skin::kMaxUnpackedBytes) +
                         " bytes, the most lzh-unpack accepts; nothing packed");
  }
  if (!WriteWholeFile(outName, bw::skin::PackFramedBytes(plain), error)) return Fail(err, error);
  return 0;
}

int LzhUnpack(const std::string& inName, const std::string& outName, std::ostream& err) {
  std::vector<std::uint8_t> packed;
  std::string error;
  if (!bw::skin::ReadFramedFile(inName, bw::skin::kMaxUnpackedBytes, packed, error)) return Fail(err, error);
  std::vector<std::uint8_t> plain;
  const bw::skin::TUnpackResult result = bw::skin::UnpackFramedBytes(packed, plain);
  if (!result.Ok()) return Fail(err, inName + ": " + result.reason);
  if (!WriteWholeFile(outName, plain, error)) return Fail(err, error);
  return 0;
}

}  // namespace

std::vector<std::string> SkinBitmapNames(const bw::skin::TQuickIni& ini) {
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (const std::string& line : ini.Lines()) {
    if (bw::skin::TQuickIni::IsSection(line)) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string value = bw::skin::TrimBlanks(std::string_view(line).substr(eq + 1));
    if (EndsWithNoCase(value, ".bmp") && seen.insert(LowerAscii(value)).second) names.push_back(value);
  }
  return names;
}

bool IsSafeEntryName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return byte < 32 || ch == '/' || ch == '\\' || ch == ':' || ch == '*' || ch == '?' || ch == '"' ||
           ch == '<' || ch == '>' || ch == '|';
  });
}

bool CollectSkinEntries(const std::string& folder, std::vector<TSkinEntry>& entries, std::string& error) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    error = "\"" + folder + "\" is not a folder";
    return false;
  }
  // Skin descriptions name their files without regard to case; the file system may not.
  std::map<std::string, std::string> filesByLowerName;
  std::vector<std::string> iniNames;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string name = it->path().filename().string();
    if (!filesByLowerName.emplace(LowerAscii(name), name).second) {
      error = "\"" + name + "\" differs from another file of " + folder + " only in letter case";
      return false;
    }
    if (EndsWithNoCase(name, ".ini")) iniNames.push_back(name);
  }
  if (ec) {
    error = "cannot list \"" + folder + "\": " + ec.message();
    return false;
  }
  if (iniNames.size() != 1) {
    error = folder + " holds " + std::to_string(iniNames.size()) + " .ini files; a skin folder holds exactly one";
    return false;
  }

  std::vector<TSkinEntry> result;
  TSkinEntry iniEntry{iniNames[0], {}};
  const std::string iniPath = (fs::path(folder) / iniNames[0]).string();
  if (!ReadEntryFile(iniPath, iniEntry.bytes, error)) return false;
  bw::skin::TQuickIni ini;
  bw::skin::TMemoryStream iniStream(iniEntry.bytes);
  ini.LoadFromStream(&iniStream);
  result.push_back(std::move(iniEntry));

  std::vector<std::string> bitmaps = SkinBitmapNames(ini);
  std::sort(bitmaps.begin(), bitmaps.end(),
            [](const std::string& a, const std::string& b) { return LowerAscii(a) < LowerAscii(b); });
  for (const std::string& wanted : bitmaps) {
    if (!IsSafeEntryName(wanted)) {
      error = iniNames[0] + " names \"" + wanted + "\", which is not a plain file name";
      return false;
    }
    const auto found = filesByLowerName.find(LowerAscii(wanted));
    if (found == filesByLowerName.end()) {
      error = iniNames[0] + " names \"" + wanted + "\", which is not in " + folder;
      return false;
    }
    TSkinEntry entry{found->second, {}};
    if (!ReadEntryFile((fs::path(folder) / found->second).string(), entry.bytes, error)) return false;
    if (entry.bytes.size() < 2 || entry.bytes[0] != 'B' || entry.bytes[1] != 'M') {
      error = found->second + " is not a bitmap file (no BM signature)";
      return false;
    }
    result.push_back(std::move(entry));
  }
  if (result.size() > static_cast<std::size_t>(bw::skin::kMaxSkinEntries)) {
    error = "more than " + std::to_string(bw::skin::kMaxSkinEntries) + " entries";
    return false;
  }
  entries = std::move(result);
  return true;
}

int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? std::string() : args[0];
  const std::size_t wanted = command == "list" || command == "check" ? 2 : 3;
  const bool known = command == "check" || command == "build" || command == "stream" || command == "list" || command == "extract" || command == "lzh-pack" ||
                     command == "lzh-unpack";
  if (!known || args.size() != wanted) {
    if (!command.empty() && !known) err << "skinpack: unknown command \"" << command << "\"\n";
    err << kUsage;
    return 2;
  }
  try {
    if (command == "check") return Check(args[1], out);
    if (command == "build" || command == "stream") return Build(args[1], args[2], command == "stream", err);
    if (command == "list") return List(args[1], out, err);
    if (command == "extract") return Extract(args[1], args[2], out, err);
    if (command == "lzh-pack") return LzhPack(args[1], args[2], err);
    return LzhUnpack(args[1], args[2], err);
  } catch (const std::exception& e) {
    return Fail(err, e.what());
  }
}

}  // namespace bw::tools
