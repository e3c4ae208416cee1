#include "app/SkinChoice.h"

#include <exception>

#include "framework/core/Dib.h"
#include "skin/data/AnsiText.h"
#include "skin/data/SkinRead.h"

namespace bw::app {

namespace {

// A packed skin is a few hundred kilobytes; the reader refuses far less than this unpacked.
constexpr std::size_t kMaxSkinFileBytes = 64u * 1024 * 1024;

std::string Refusal(const std::string& file, const std::string& reason, bool french) {
  if (french)
    return "Le fichier de skin \"" + file + "\" ne peut pas servir : " + reason +
           ".\nBrindlewick garde son propre skin.";
  return "The skin file \"" + file + "\" cannot be used: " + reason + ".\nBrindlewick keeps its own skin.";
}

// Reads and unpacks the file as the loader will, so that a file the loader would refuse
// halfway never replaces the stored skin. Empty when it is a skin; `noticed` when the
// reader has shown the old-skin notice, which then says all there is to say.
std::string ProbeSkinFile(const std::string& file, bool& noticed) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (core::ReadImageFile(file, kMaxSkinFileBytes, bytes, reason) != core::TFileReadStatus::Ok) return reason;
  if (bytes.empty()) return "the file is empty";
  skin::TSkinReader reader;
  reader.SetNotice([&noticed](const std::string& text) {
    noticed = true;
    if (const skin::TNoticeProc& notice = skin::DefaultSkinNotice()) notice(text);
  });
  skin::TMemoryStream stream(std::move(bytes));
  if (!reader.Loadfromstream(stream)) return "it is not a skin (" + reader.LastError() + ")";
  skin::TMemoryStream ini;
  std::string iniName;
  reader.readIni(".ini", ini, iniName);
  if (ini.Size() == 0) return "it is not a skin (it holds no description: no .ini entry)";
  return {};
}

}  // namespace

TSkinChoice SkinChoiceFromArgs(const std::vector<std::string>& args) {
  TSkinChoice choice;
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] != "--skin") continue;
    const std::string& value = args[i + 1];
    if (skin::LowerAscii(value) == "none") {
      choice = {TSkinChoice::TKind::None, {}};
    } else if (!value.empty()) {
      choice = {TSkinChoice::TKind::File, value};
    }
    ++i;
  }
  return choice;
}

std::string StartFileFromArgs(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--skin") {
      ++i;
    } else if (!args[i].starts_with("--") && !args[i].empty()) {
      return args[i];
    }
  }
  return {};
}

std::string ApplySkinChoice(skin::TSkinData& data, const TSkinChoice& choice, bool french) {
  switch (choice.Kind) {
    case TSkinChoice::TKind::Stored:
      return {};
    case TSkinChoice::TKind::None:
      data.SetActive(false);
      return {};
    case TSkinChoice::TKind::File:
      break;
  }
  bool noticed = false;
  const std::string reason = ProbeSkinFile(choice.File, noticed);
  if (noticed) return {};
  if (!reason.empty()) return Refusal(choice.File, reason, french);

  core::TMemoryStream stored;
  data.SkinStream().SetPosition(0);
  stored.LoadFromStream(data.SkinStream());
  std::string failure;
  try {
    data.LoadFromFile(choice.File);
    if (data.NoSkin) failure = "the skin description could not be applied";
  } catch (const std::exception& e) {
    failure = e.what();
  }
  if (failure.empty()) return {};
  // Back to the stored skin, which loaded once already.
  data.LoadFromStream(stored);
  return Refusal(choice.File, failure, french);
}

}  // namespace bw::app
