#include "tools/skinpack/SkinCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>
#include <system_error>

#include "framework/core/BmpFile.h"
#include "skin/data/AnsiText.h"
#include "skin/data/ByteStream.h"
#include "skin/data/LacquerDataRules.h"
#include "skin/data/LacquerIni.h"

namespace bw::tools {

namespace fs = std::filesystem;
using bw::skin::LowerAscii;

namespace {

// The region builder treats a colour within 1 per channel of the key as the key.
constexpr int kKeyTolerance = 1;
// A pixel beside the key that is this magenta is an edge blended into the key colour: it
// shows as a pink fringe round every cut-out.
constexpr int kFringeMinRedBlue = 176;
constexpr int kFringeMaxGreen = 112;
// The tab-page painter keeps edges of 4, 5, 4 and 4 pixels.
constexpr std::int32_t kTabPageMinWidthPx = 8;
constexpr std::int32_t kTabPageMinHeightPx = 9;
// Caption-button images without a frame count: wider than this ratio hold 6 frames, else 3.
constexpr double kSysButtonSixFrameRatio = 3.8;

struct TMargins {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Sections of one image with a fixed frame count (the loader's frame table).
struct TFixedFrames {
  const char* Section;
  int Frames;
};
constexpr std::array<TFixedFrames, 22> kFixedFrames{{
    {"GroupBoxEdge", 2}, {"GroupBox", 1}, {"MenuBackground", 1}, {"StatusBarEdges", 3},
    {"ComboButton", 4}, {"SunkEdge", 4}, {"HorzScroll", 4}, {"VertScroll", 4},
    {"ToolBars", 5}, {"Tabs", 5}, {"ExtraImages", 5}, {"Headerbar", 5}, {"MenuItem", 5},
    {"Trackbar.ThumbHorz", 5}, {"Trackbar.ThumbVert", 5}, {"Trackbar.ThumbLeft", 5},
    {"Trackbar.ThumbRight", 5}, {"Trackbar.ThumbUp", 5}, {"Trackbar.ThumbDown", 5},
    {"UpDown.Horz", 8}, {"UpDown.Vert", 8}, {"Scrollbar", 23},
}};

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  return text.size() >= lowerPrefix.size() && LowerAscii(text.substr(0, lowerPrefix.size())) == lowerPrefix;
}

bool EndsWithNoCase(std::string_view text, std::string_view lowerSuffix) {
  return text.size() >= lowerSuffix.size() && LowerAscii(text.substr(text.size() - lowerSuffix.size())) == lowerSuffix;
}

bool IsCaptionButtonSection(const std::string& section) {
  const std::string lower = LowerAscii(section);
  return StartsWithNoCase(lower, "button") && lower != "buttons" && lower != "button" && lower != "button.radio" &&
         lower != "button.checkbox";
}

// The keys whose value the loader reads as a file name, by section.
bool IsFileKey(const std::string& section, const std::string& lowerKey) {
  const std::string s = LowerAscii(section);
  if (lowerKey == "image") return true;
  if (s == "personality")
    return lowerKey == "left" || lowerKey == "right" || lowerKey == "top" || lowerKey == "bottom" ||
           lowerKey == "textback" || lowerKey == "menubar";
  if (s == "buttons") return lowerKey == "bitmap" || lowerKey == "checkbutton" || lowerKey == "radiobutton";
  if (s == "progress") return lowerKey == "bitmap" || lowerKey == "chunk";
  if (s == "tabs") return lowerKey == "border";
  if (s == "updown.horz" || s == "updown.vert") return lowerKey == "glyphimage";
  return IsCaptionButtonSection(section) && lowerKey == "buttonimage";
}

bool IsColourKey(const std::string& section, const std::string& lowerKey) {
  const std::string s = LowerAscii(section);
  if (s == "colours" || s == "customcolors" || (StartsWithNoCase(s, "colour") && lowerKey == "color")) return true;
  return lowerKey == "normalcolour2" || lowerKey == "mouseovercolour2" || lowerKey == "pressedcolour2";
}

int DigitRuns(std::string_view text) {
  int runs = 0;
  bool inRun = false;
  for (char ch : text) {
    const bool digit = ch >= '0' && ch <= '9';
    if (digit && !inRun) ++runs;
    inRun = digit;
  }
  return runs;
}

std::string Size(const core::TDib& dib) {
  return std::to_string(dib.WidthPx()) + "x" + std::to_string(dib.HeightPx());
}

std::string At(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

struct TNamedImage {
  std::string File;
  core::TDib Dib;
};
// A bitmap the description names and that loaded; no image otherwise.
struct TNamedImageRef {
  const TNamedImage* Image = nullptr;
};

class TChecker {
 public:
  explicit TChecker(const std::string& folder) : FFolder(folder) {}

  TSkinCheckReport Run() {
    if (!ListFolder() || !ReadIni()) return std::move(FReport);
    CheckNames();
    CheckColours();
    CheckBorders();
    CheckElements();
    CheckCaptionButtons();
    for (const auto& [lower, actual] : FFiles)
      if (EndsWithNoCase(lower, ".bmp") && !FNamed.contains(lower))
        FReport.Notes.push_back(actual + ": not named by " + FIniName + ", so not packed");
    FReport.Notes.push_back(std::to_string(FImages.size()) + " bitmaps named by " + FIniName + " checked");
    return std::move(FReport);
  }

 private:
  void Problem(std::string text) { FReport.Problems.push_back(std::move(text)); }

  bool ListFolder() {
    std::error_code ec;
    if (!fs::is_directory(FFolder, ec)) {
      Problem(FFolder.string() + ": not a folder");
      return false;
    }
    std::vector<std::string> inis;
    for (fs::directory_iterator it(FFolder, ec), end; !ec && it != end; it.increment(ec)) {
      if (!it->is_regular_file(ec)) continue;
      const std::string name = it->path().filename().string();
      if (!FFiles.emplace(LowerAscii(name), name).second)
        Problem(name + ": differs from another file of the folder only in letter case");
      if (EndsWithNoCase(name, ".ini")) inis.push_back(name);
    }
    if (ec) {
      Problem(FFolder.string() + ": cannot be listed (" + ec.message() + ")");
      return false;
    }
    if (inis.size() != 1) {
      Problem(FFolder.string() + ": holds " + std::to_string(inis.size()) +
              " .ini files; a skin folder holds exactly one description");
      return false;
    }
    FIniName = inis[0];
    return true;
  }

  bool ReadIni() {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!bw::skin::ReadWholeFile((FFolder / FIniName).string(), bytes, error)) {
      Problem(FIniName + ": " + error);
      return false;
    }
    bw::skin::TMemoryStream stream(bytes);
    FIni.LoadFromStream(&stream);
    FIni.ReadSections(FSections);
    return true;
  }

  std::string Where(const std::string& section, const std::string& key) const {
    return FIniName + " [" + section + "] " + key;
  }

  // Every value that names a bitmap: it must be one the loader loads, and be in the folder
  // as a BMP file it reads, without near-magenta pixels.
  void CheckNames() {
    std::string section;
    for (const std::string& line : FIni.Lines()) {
      if (bw::skin::TQuickIni::IsSection(line)) {
        const std::string trimmed = bw::skin::TrimBlanks(line);
        section = bw::skin::TrimBlanks(std::string_view(trimmed).substr(1, trimmed.size() - 2));
        continue;
      }
      const std::size_t eq = line.find('=');
      if (eq == std::string::npos || section.empty()) continue;
      const std::string key = bw::skin::TQuickIni::GetName(line);
      const std::string value = bw::skin::TrimBlanks(std::string_view(line).substr(eq + 1));
      if (value.empty() || (!IsFileKey(section, key) && !EndsWithNoCase(value, ".bmp"))) continue;
      const std::string where = Where(section, bw::skin::TrimBlanks(std::string_view(line).substr(0, eq))) + "=" + value;
      const std::string entry = bw::skin::SkinBitmapEntryName(value);
      if (entry.empty()) {
        Problem(where + ": the loader loads only names ending in \".bmp\" (lower case)");
        continue;
      }
      if (entry != value) {
        Problem(where + ": not a plain file name; the loader looks for \"" + entry + "\" and skinpack packs plain names only");
        continue;
      }
      const std::string lower = LowerAscii(entry);
      FNamed.insert(lower);
      const auto file = FFiles.find(lower);
      if (file == FFiles.end()) {
        Problem(where + ": no such file in the folder");
        continue;
      }
      LoadImage(lower, file->second);
    }
  }

  void LoadImage(const std::string& lower, const std::string& fileName) {
    if (FImages.contains(lower) || FBroken.contains(lower)) return;
    core::TDib dib;
    const core::TBmpResult result = core::ReadBmpFile((FFolder / fileName).string(), dib);
    if (!result.Ok() || dib.IsEmpty()) {
      Problem(fileName + ": not a bitmap the loader reads (" + (result.Ok() ? "no pixels" : result.Reason) + ")");
      FBroken.insert(lower);
      return;
    }
    CheckKeyColour(fileName, dib);
    FImages.emplace(lower, TNamedImage{fileName, std::move(dib)});
  }

  void CheckKeyColour(const std::string& fileName, const core::TDib& dib) {
    auto isKey = [&](int x, int y) {
      const core::TRgbQuad c = dib.PixelColor(x, y);
      return c.Red == 255 && c.Green == 0 && c.Blue == 255;
    };
    int near = 0, fringe = 0;
    std::string firstNear, firstFringe;
    const int w = dib.WidthPx(), h = dib.HeightPx();
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (isKey(x, y)) continue;
        const core::TRgbQuad c = dib.PixelColor(x, y);
        if (c.Red >= 255 - kKeyTolerance && c.Green <= kKeyTolerance && c.Blue >= 255 - kKeyTolerance) {
          if (near++ == 0) firstNear = At(x, y);
          continue;
        }
        const bool besideKey = (x > 0 && isKey(x - 1, y)) || (x + 1 < w && isKey(x + 1, y)) ||
                               (y > 0 && isKey(x, y - 1)) || (y + 1 < h && isKey(x, y + 1));
        if (besideKey && c.Red >= kFringeMinRedBlue && c.Blue >= kFringeMinRedBlue && c.Green <= kFringeMaxGreen) {
          if (fringe++ == 0) firstFringe = At(x, y);
        }
      }
    }
    if (near > 0)
      Problem(fileName + ": " + std::to_string(near) + " near-magenta pixel(s), the first at " + firstNear +
              ", would be cut out as transparent (the key is 255,0,255 and the region builder allows 1 per channel)");
    if (fringe > 0)
      Problem(fileName + ": magenta fringe: " + std::to_string(fringe) + " pixel(s) beside the transparent key, the first at " +
              firstFringe + ", are blends of magenta; edges against the key must be hard");
  }

  void CheckColours() {
    std::string section;
    std::set<std::pair<std::string, std::string>> seen;  // the loader reads the first of equal keys
    for (const std::string& line : FIni.Lines()) {
      if (bw::skin::TQuickIni::IsSection(line)) {
        const std::string trimmed = bw::skin::TrimBlanks(line);
        section = bw::skin::TrimBlanks(std::string_view(trimmed).substr(1, trimmed.size() - 2));
        continue;
      }
      const std::size_t eq = line.find('=');
      if (eq == std::string::npos || section.empty()) continue;
      const std::string key = bw::skin::TQuickIni::GetName(line);
      if (!IsColourKey(section, key) || !seen.emplace(LowerAscii(section), key).second) continue;
      const std::string value = bw::skin::TrimBlanks(std::string_view(line).substr(eq + 1));
      if (!value.empty() && DigitRuns(value) != 3)
        Problem(Where(section, bw::skin::TrimBlanks(std::string_view(line).substr(0, eq))) + "=" + value +
                ": a colour is three numbers (red green blue)");
    }
  }

  TNamedImageRef Image(const std::string& section, const std::string& key) const {
    const std::string value = FIni.ReadString(section, key, "");
    if (value.empty()) return {};
    const auto it = FImages.find(LowerAscii(bw::skin::SkinBitmapEntryName(value)));
    return it == FImages.end() ? TNamedImageRef{} : TNamedImageRef{&it->second};
  }

  TMargins MarginsOf(const std::string& section) const {
    return {FIni.ReadInteger(section, "LeftWidth", 0), FIni.ReadInteger(section, "TopHeight", 0),
            FIni.ReadInteger(section, "RightWidth", 0), FIni.ReadInteger(section, "BottomHeight", 0)};
  }

  // The image divides into `frames` equal frames (stacked: one above the other) and the
  // margins fit one frame. Answers the frame's width and height, or 0 x 0.
  std::pair<int, int> FramesFit(const TNamedImageRef& image, const std::string& rule, int frames, bool stacked,
                                TMargins m = {}) {
    if (!image.Image) return {0, 0};
    const core::TDib& dib = image.Image->Dib;
    const std::string& file = image.Image->File;
    if (frames < 1) {
      Problem(file + ": " + rule + " gives " + std::to_string(frames) + " frames; at least 1 is needed");
      return {0, 0};
    }
    const int along = stacked ? dib.HeightPx() : dib.WidthPx();
    if (along % frames != 0) {
      Problem(file + ": " + Size(dib) + " does not divide into " + std::to_string(frames) + " frames " +
              (stacked ? "stacked" : "side by side") + " (" + rule + ")");
      return {0, 0};
    }
    const int fw = stacked ? dib.WidthPx() : dib.WidthPx() / frames;
    const int fh = stacked ? dib.HeightPx() / frames : dib.HeightPx();
    if (m.Left < 0 || m.Top < 0 || m.Right < 0 || m.Bottom < 0) {
      Problem(file + ": a margin of " + rule + " is negative");
    } else if (m.Left + m.Right > fw || m.Top + m.Bottom > fh) {
      Problem(file + ": margins left " + std::to_string(m.Left) + ", top " + std::to_string(m.Top) + ", right " +
              std::to_string(m.Right) + ", bottom " + std::to_string(m.Bottom) + " do not fit its " +
              std::to_string(fw) + "x" + std::to_string(fh) + " frame (" + rule + ")");
    }
    return {fw, fh};
  }

  void CheckBorders() {
    const std::string p = "Personality";
    int captionPx = 0;
    for (const char* side : {"Left", "Right", "Top", "Bottom"}) {
      const std::string b = side;
      const TNamedImageRef image = Image(p, b);
      if (!image.Image) {
        if (FIni.ReadString(p, b, "").empty())
          Problem(Where(p, b) + ": missing; a window frame needs its four borders");
        continue;
      }
      const bool stacked = b == "Top" || b == "Bottom";
      const std::int32_t a = FIni.ReadInteger(p, b + "TopHeight", 0), z = FIni.ReadInteger(p, b + "BotHeight", 0);
      const TMargins m = stacked ? TMargins{a, 0, z, 0} : TMargins{0, a, 0, z};
      const auto [fw, fh] = FramesFit(image, "[" + p + "] " + b + "Frame, " + b + "TopHeight, " + b + "BotHeight",
                                      FIni.ReadInteger(p, b + "Frame", 1), stacked, m);
      if (b == "Top") captionPx = fh;
      (void)fw;
    }
    const auto band = FramesFit(Image(p, "TextBack"), "[Personality] TextBack: 2 frames, TXTBackleft, TXTBackRight", 2, true,
                                {FIni.ReadInteger(p, "TXTBackleft", 0), 0, FIni.ReadInteger(p, "TXTBackRight", 0), 0});
    if (band.second > 0 && captionPx > 0 && band.second != captionPx)
      Problem(Image(p, "TextBack").Image->File + ": its frames are " + std::to_string(band.second) +
              " pixels high, the caption (the Top border) " + std::to_string(captionPx));
    FramesFit(Image(p, "menuBar"), "[Personality] menuBar: 2 frames, TileLeftMenu, TileRightMenu", 2, true,
              {FIni.ReadInteger(p, "TileLeftMenu", 1), 0, FIni.ReadInteger(p, "TileRightMenu", 1), 0});
  }

  void CheckElements() {
    FramesFit(Image("Buttons", "Bitmap"), "[Buttons] Bitmap: 5 frames and its margins", 5, false, MarginsOf("Buttons"));
    for (const auto& [key, countKey] : {std::pair<const char*, const char*>{"CheckButton", "CheckButtonFrame"},
                                        std::pair<const char*, const char*>{"RadioButton", "RadioButtonFrame"}}) {
      const TNamedImageRef image = Image("Buttons", key);
      int frames = FIni.ReadInteger("Buttons", countKey, 0);
      if (frames == 0 && image.Image) {
        const core::TDib& dib = image.Image->Dib;
        frames = std::max(4, dib.WidthPx() / (dib.HeightPx() < 16 ? 13 : 16));
      }
      FramesFit(image, std::string("[Buttons] ") + countKey, frames, false);
    }
    FramesFit(Image("Progress", "Bitmap"), "[Progress] Bitmap: 2 frames and its margins", 2, false, MarginsOf("Progress"));
    FramesFit(Image("MDICONTROLS", "Image"), "[MDICONTROLS] Image: 12 frames", 12, false);
    for (const TFixedFrames& f : kFixedFrames)
      FramesFit(Image(f.Section, "Image"),
                "[" + std::string(f.Section) + "] Image: " + std::to_string(f.Frames) + " frames and its margins", f.Frames,
                false, MarginsOf(f.Section));
    for (const char* section : {"HorzScrollThumb", "VertScrollThumb"})
      FramesFit(Image(section, "Image"), "[" + std::string(section) + "] FrameCount and its margins",
                FIni.ReadInteger(section, "FrameCount", 3), false, MarginsOf(section));
    for (const char* section : {"UpDown.Horz", "UpDown.Vert"})
      FramesFit(Image(section, "GlyphImage"), "[" + std::string(section) + "] GlyphImage: 8 frames", 8, false);
    if (const TNamedImageRef page = Image("Tabs", "Border"); page.Image) {
      const core::TDib& dib = page.Image->Dib;
      if (dib.WidthPx() < kTabPageMinWidthPx || dib.HeightPx() < kTabPageMinHeightPx)
        Problem(page.Image->File + ": " + Size(dib) + " is smaller than the tab page's edges of 4, 5, 4 and 4 pixels ([Tabs] Border)");
    }
  }

  void CheckCaptionButtons() {
    for (const std::string& section : FSections) {
      if (!IsCaptionButtonSection(section)) continue;
      const std::int32_t action = FIni.ReadInteger(section, "Action", 0);
      if (action == -1 && FIni.ReadInteger(section, "Visibility", -1) != 0) continue;  // the loader drops it
      const TNamedImageRef image = Image(section, "ButtonImage");
      int frames = FIni.ReadInteger(section, "frame", 0);
      if (frames == 0) {
        frames = 6;
        if (image.Image) {
          const core::TDib& dib = image.Image->Dib;
          frames = static_cast<double>(dib.WidthPx()) / dib.HeightPx() <= kSysButtonSixFrameRatio ? 3 : 6;
        }
        if (action < 0) frames = 6;
      }
      FramesFit(image, "[" + section + "] frame", frames, false);
      if (action < 0 && FIni.ReadInteger(section, "Visibility1", action == -1 ? -1 : 0) == -1)
        Problem(Where(section, "Visibility1") + ": a decoration (negative Action) whose Visibility1 is -1 never shows");
    }
  }

  fs::path FFolder;
  std::string FIniName;
  bw::skin::TQuickIni FIni;
  bw::skin::TStrings FSections;
  std::map<std::string, std::string> FFiles;  // lower-cased name -> name on disk
  std::map<std::string, TNamedImage> FImages;  // by lower-cased name
  std::set<std::string> FBroken;
  std::set<std::string> FNamed;
  TSkinCheckReport FReport;
};

}  // namespace

TSkinCheckReport CheckSkinFolder(const std::string& folder) { return TChecker(folder).Run(); }

}  // namespace bw::tools
