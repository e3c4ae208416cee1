// Turning a skin container into skin objects: the description's sections and keys,
// each with its default, and the bitmaps they name.
#include <algorithm>

#include "framework/core/Text.h"
#include "framework/win/Colors.h"
#include "skin/data/LacquerData.h"
#include "skin/data/SkinBitmapFile.h"
#include "skin/draw/ImgUtil.h"

namespace bw::skin {

namespace {

constexpr const char* kPersonality = "Personality";

// Clears the load-only pointers however the load ends.
class TLoadScope {
 public:
  TLoadScope(const TSkinReader*& reader, const TQuickIni*& ini, const TSkinReader& r, const TQuickIni& i)
      : FReader(reader), FIni(ini) {
    FReader = &r;
    FIni = &i;
  }
  ~TLoadScope() {
    FReader = nullptr;
    FIni = nullptr;
  }
  TLoadScope(const TLoadScope&) = delete;
  TLoadScope& operator=(const TLoadScope&) = delete;

 private:
  const TSkinReader*& FReader;
  const TQuickIni*& FIni;
};

std::int32_t AtMostOne(std::int32_t value, std::int32_t above) { return value > 1 ? above : value; }

void EmptyBitmap(TBitmap& bitmap) { bitmap.SetSize(0, 0); }

}  // namespace

bool TSkinData::LoadSkin() {
  NoSkin = true;
  if (IsDesigning()) return false;
  TSkinReader reader;
  // The reader works on the skin layer's own byte stream.
  TMemoryStream packed(FSkinStream.Bytes());
  if (!reader.Loadfromstream(packed)) return false;
  TMemoryStream scratch;
  std::string iniName;
  reader.readIni(".ini", scratch, iniName);
  scratch.SetPosition(0);
  TQuickIni ini;
  ini.LoadFromStream(&scratch);
  TLoadScope scope(FReader, FIni, reader, ini);
  LoadFromIni(iniName);
  return true;
}

void TSkinData::LoadFromIni(const std::string&) {
  FIni->ReadSections(FSectionNames);
  SkinName = FIni->ReadString("TitlebarSkin", "SkinName", "");
  ReadBord();
  ReadColor();
  ReadSysButton();
  ReadButton();
  ReadTitle(*Title, kPersonality);
  ReadProgress(Progress, "Progress");
  ReadMenuBar(MenuBar, kPersonality);
  ReadObject(GroupBoxEdge, "GroupBoxEdge");
  ReadBoxLabel(GroupBox, "GroupBox");
  ReadObject2(Tabs, "Tabs", "Border");
  ReadObject(StatusBarEdges, "StatusBarEdges");
  ReadObject(ToolBars, "ToolBars");
  ReadObject2(ComboButton, "ComboButton", "****");
  if (ComboButton && !ComboButton->Bitmap.Empty()) {
    ComboButton->Bitmap2.Assign(ComboButton->Bitmap);
    ComboButton->Bitmap2.SetPixelFormat(win::TPixelFormat::pf24bit);
    SpiegelnHorizontal(ComboButton->Bitmap2);
  }
  const std::pair<std::unique_ptr<TDataSkinObject>*, const char*> plain[] = {
      {&SunkEdge, "SunkEdge"},
      {&ExtraImages, "ExtraImages"},
      {&Headerbar, "Headerbar"},
      {&MenuItem, "MenuItem"},
      {&MenuBackground, "MenuBackground"},
      {&Scrollbar, "Scrollbar"},
      {&HorzScroll, "HorzScroll"},
      {&VertScroll, "VertScroll"},
      {&HorzScrollThumb, "HorzScrollThumb"},
      {&VertScrollThumb, "VertScrollThumb"},
      {&TrackThumbHorz, "Trackbar.ThumbHorz"},
      {&TrackThumbVert, "Trackbar.ThumbVert"},
      {&TrackThumbLeft, "Trackbar.ThumbLeft"},
      {&TrackThumbRight, "Trackbar.ThumbRight"},
      {&TrackThumbUp, "Trackbar.ThumbUp"},
      {&TrackThumbDown, "Trackbar.ThumbDown"},
  };
  for (const auto& [slot, section] : plain) ReadObject(*slot, section);
  ReadObject2(UpDownHorz, "UpDown.Horz", "GlyphImage");
  ReadObject2(UpDownVert, "UpDown.Vert", "GlyphImage");
  SetFrame();
  ReBuildCombobox();
  RebuildToolbar();
  if (FaceBrush != nullptr) DeleteObject(FaceBrush);
  FaceBrush = CreateSolidBrush(win::ColorToRGB(Colors[TShemeColor::csButtonFace]));
  FSectionNames.clear();
  NoSkin = false;
}

void TSkinData::Readbmp(TBitmap& bitmap, std::string_view fileName) {
  const std::string entry = SkinBitmapEntryName(fileName);
  if (entry.empty() || FReader == nullptr) return EmptyBitmap(bitmap);
  TMemoryStream scratch;
  FReader->readfile(entry, scratch);
  if (scratch.Size() == 0) return EmptyBitmap(bitmap);
  std::string reason;
  if (!LoadBitmapFromBmp(bitmap, scratch.Bytes(), reason))
    throw EInvalidGraphic("Bitmap image is not valid: " + entry + " (" + reason + ")");
}

void TSkinData::ReadBord() {
  const std::pair<TDataSkinBorder*, std::string> borders[] = {
      {LeftBorder.get(), "Left"}, {RightBorder.get(), "Right"}, {TopBorder.get(), "Top"}, {BottomBorder.get(), "Bottom"}};
  for (const auto& [border, b] : borders) {
    const std::int32_t top = FIni->ReadInteger(kPersonality, b + "TopHeight", 0);
    const std::int32_t bottom = FIni->ReadInteger(kPersonality, b + "BotHeight", 0);
    const bool upright = border == LeftBorder.get() || border == RightBorder.get();
    border->Margins = upright ? RECT{0, top, 0, bottom} : RECT{top, 0, bottom, 0};
    border->Frame = FIni->ReadInteger(kPersonality, b + "Frame", 1);
    border->Tile = AtMostOne(FIni->ReadInteger(kPersonality, b + "Stretch", 1), 1);
    border->Trans = FIni->ReadInteger(kPersonality, b + "Trans", 1);
    Readbmp(border->Bitmap, FIni->ReadString(kPersonality, b, ""));
  }
}

void TSkinData::ReadColor() {
  using enum TShemeColor;
  auto colour = [this](const char* key, TColor fallback) {
    return GetColor(FIni->ReadString("Colours", key, ""), fallback);
  };
  Colors[csText] = colour("WindowText", win::clWindowText);
  Colors[csTitleTextActive] = colour("TitleTextActive", win::clCaptionText);
  Colors[csTitleTextNoActive] = colour("TitleTextNoActive", win::kSystemColorFlag | COLOR_INACTIVECAPTIONTEXT);
  Colors[csButtonFace] = colour("ButtonFace", win::clBtnFace);
  Colors[csButtonText] = colour("ButtonText", win::clBtnText);
  Colors[csButtonHilight] = colour("ButtonHilight", win::clBtnHighlight);
  Colors[csButtonlight] = colour("Buttonlight", win::clBtnHighlight);
  Colors[csButtonShadow] = colour("ButtonShadow", win::clBtnShadow);
  Colors[csButtonDkshadow] = colour("ButtonDkShadow", win::cl3DDkShadow);
  Colors[csSelectText] = 0;
  Colors[csSelectBg] = 0;
  Colors[csHilightText] = colour("HilightText", win::clHighlightText);
  Colors[csHilight] = colour("Hilight", win::clHighlight);
  Colors[csMenuBar] = colour("Menubar", Colors[csButtonFace]);
  Colors[csMenuBarText] = colour("MenuBarText", win::clMenuText);
  Colors[csMenuText] = colour("MenuText", win::clMenuText);
  Colors[csMenubg] = colour("Menu", win::clMenu);
  Colors[csScrollbar] = colour("Scrollbar", win::clScrollBar);
  Colors[csTextDisable] = 0;

  // Only the order of the sections counts, not the numbers in their names.
  Precolors.clear();
  for (const std::string& section : FSectionNames) {
    const std::string upper = core::UpperCase(section);
    if (!upper.starts_with("COLOUR") || upper == "COLOURS") continue;
    Precolors.push_back(GetColor(FIni->ReadString(section, "color", ""), win::clWindowText));
  }
  for (std::size_t i = 0; i < CustomColors.size(); ++i)
    CustomColors[i] = GetColor(FIni->ReadString("Customcolors", "Color" + std::to_string(i), ""), core::clWhite);
}

void TSkinData::ReadSysButton() {
  SysButtons.clear();
  std::vector<std::string> sections;
  for (const std::string& section : FSectionNames) {
    const std::string upper = core::UpperCase(section);
    if (!upper.starts_with("BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
      continue;
    const std::int32_t action = FIni->ReadInteger(section, "Action", 0);
    if (action == -1 && FIni->ReadInteger(section, "Visibility", -1) != 0) continue;
    sections.push_back(section);
  }
  SysButtons.reserve(sections.size() + 3);
  for (const std::string& section : sections) {
    auto button = std::make_unique<TDataSkinSysButton>(core::UpperCase(section));
    button->Action = FIni->ReadInteger(section, "Action", 0);
    button->Align = FIni->ReadInteger(section, "Align", 0);
    button->Xcoord = FIni->ReadInteger(section, "Xcoord", 0);
    button->Ycoord = FIni->ReadInteger(section, "Ycoord", 0);
    button->Visibility = FIni->ReadInteger(section, "Visibility", 0);
    button->Visibility1 = FIni->ReadInteger(section, "Visibility1", button->Action == -1 ? -1 : 0);
    button->CombineOp = FIni->ReadInteger(section, "CombineOp", -1);
    button->Frame = FIni->ReadInteger(section, "frame", 0);
    Readbmp(button->Bitmap, FIni->ReadString(section, "ButtonImage", ""));
    if (button->Frame == 0) {
      button->Frame = 6;
      const TBitmap& image = button->Bitmap;
      if (!image.Empty()) button->Frame = static_cast<double>(image.Width()) / image.Height() <= 3.8 ? 3 : 6;
      if (button->Action < 0) button->Frame = 6;
      if (button->Action == 3 || button->Action == 11) EmptyBitmap(button->Bitmap);
    }
    SysButtons.push_back(std::move(button));
  }
  const std::size_t first = SysButtons.size();
  for (std::int32_t action : {7, 8, 9}) {
    auto button = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
    button->Action = action;
    button->Align = 100;
    button->Visibility = 100;
    button->Visibility1 = 100;
    button->Frame = 4;
    SysButtons.push_back(std::move(button));
  }
  CreateMdibtn(first);
}

void TSkinData::CreateMdibtn(std::size_t first) {
  TBitmap image;
  Readbmp(image, FIni->ReadString("MDICONTROLS", "Image", ""));
  if (image.Empty()) return;
  const int w = image.Width() / 12;
  const int h = image.Height();
  for (int i = 0; i < 3; ++i) {
    TDataSkinSysButton& button = *SysButtons[first + static_cast<std::size_t>(i)];
    TBitmap part(4 * w, h, win::TPixelFormat::pf24bit);
    BitBlt(part.Canvas().Handle(), 0, 0, 4 * w, h, image.Canvas().Handle(), 4 * w * i, 0, SRCCOPY);
    button.Bitmap.Assign(part);
    button.Xcoord = (w + 4) * (3 - i);
  }
}

void TSkinData::ReadStateColours(TDataSkinObject& object, std::string_view section) {
  object.NormalColour = FIni->ReadInteger(section, "NormalColour", -1);
  object.MouseOverColour = FIni->ReadInteger(section, "MouseOverColour", -1);
  object.PressedColour = FIni->ReadInteger(section, "PressedColour", -1);
  const TColor text = Colors[TShemeColor::csButtonText];
  object.NormalColour2 = GetColor(FIni->ReadString(section, "NormalColour2", ""), text);
  object.MouseOverColour2 = GetColor(FIni->ReadString(section, "MouseOverColour2", ""), text);
  object.PressedColour2 = GetColor(FIni->ReadString(section, "PressedColour2", ""), text);
}

void TSkinData::ReadCommon(TDataSkinObject& object, std::string_view section, bool withStyle,
                           std::int32_t tileAboveOne) {
  if (withStyle) object.Style = FIni->ReadInteger(section, "Style", 0);
  object.Margins = RECT{FIni->ReadInteger(section, "LeftWidth", 0), FIni->ReadInteger(section, "TopHeight", 0),
                        FIni->ReadInteger(section, "RightWidth", 0), FIni->ReadInteger(section, "BottomHeight", 0)};
  object.Trans = FIni->ReadInteger(section, "Trans", 0);
  object.Tile = AtMostOne(FIni->ReadInteger(section, "Tile", 0), tileAboveOne);
}

void TSkinData::ReadButton() {
  constexpr const char* kSection = "Buttons";
  TDataSkinButton& b = *Buttons;
  b.Margins = RECT{FIni->ReadInteger(kSection, "LeftWidth", 0), FIni->ReadInteger(kSection, "TopHeight", 0),
                   FIni->ReadInteger(kSection, "RightWidth", 0), FIni->ReadInteger(kSection, "BottomHeight", 0)};
  b.Trans = FIni->ReadInteger(kSection, "Trans", 0);
  Readbmp(b.Bitmap, FIni->ReadString(kSection, "Bitmap", ""));
  b.Tile = AtMostOne(FIni->ReadInteger(kSection, "Tile", 0), 0);
  Readbmp(b.CheckBitmap, FIni->ReadString(kSection, "CheckButton", ""));
  Readbmp(b.RadioBitmap, FIni->ReadString(kSection, "RadioButton", ""));
  b.RadioButtonFrame = FIni->ReadInteger(kSection, "RadioButtonFrame", 0);
  b.CheckButtonFrame = FIni->ReadInteger(kSection, "CheckButtonFrame", 0);
  b.HasNormalColour2 = !FIni->ReadString(kSection, "NormalColour2", "").empty();
  b.HasMouseOverColour2 = !FIni->ReadString(kSection, "MouseOverColour2", "").empty();
  b.HasPressedColour2 = !FIni->ReadString(kSection, "PressedColour2", "").empty();
  ReadStateColours(b, kSection);
}

void TSkinData::ReadTitle(TDataSkinTitle& title, std::string_view section) {
  Readbmp(title.Bitmap, FIni->ReadString(section, "TextBack", ""));
  title.Margins = RECT{FIni->ReadInteger(section, "TextShift", 0), FIni->ReadInteger(section, "TextShiftVert", 0),
                       FIni->ReadInteger(section, "TextRightClip", 0), 0};
  title.TextAlignment = FIni->ReadInteger(section, "TextAlignment", 0);
  title.Textbackground = FIni->ReadInteger(section, "Textbackground", 0);
  title.TXTBackleft = FIni->ReadInteger(section, "TXTBackleft", 0);
  title.TXTBackRight = FIni->ReadInteger(section, "TXTBackRight", 0);
  title.FontHeight = FIni->ReadInteger("Fonts", "FontHeight", 14);
  title.ActiveText = kTextColorNotGiven;
  title.InActiveText = kTextColorNotGiven;
  ReadRGB(section, "ActiveText", title.ActiveText);
  ReadRGB(section, "InActiveText", title.InActiveText);
}

void TSkinData::ReadProgress(std::unique_ptr<TDataSkinBorder>& slot, std::string_view section) {
  slot.reset();
  const std::string image = FIni->ReadString(section, "Bitmap", "");
  if (image.empty()) return;
  slot = std::make_unique<TDataSkinBorder>(std::string(section));
  Readbmp(slot->Bitmap, image);
  const std::string chunk = FIni->ReadString(section, "Chunk", "");
  if (!chunk.empty()) Readbmp(slot->Bitmap2, chunk);
  ReadCommon(*slot, section, true, 1);
}

void TSkinData::ReadMenuBar(std::unique_ptr<TDataSkinObject>& slot, std::string_view section) {
  slot.reset();
  const std::string image = FIni->ReadString(section, "menuBar", "");
  if (image.empty()) return;
  slot = std::make_unique<TDataSkinObject>(std::string(section));
  Readbmp(slot->Bitmap, image);
  slot->Tile = AtMostOne(FIni->ReadInteger(section, "TileMenu", 1), 1);
  slot->Margins = RECT{FIni->ReadInteger(section, "TileLeftMenu", 1), 0, FIni->ReadInteger(section, "TileRightMenu", 1), 0};
}

void TSkinData::ReadObject(std::unique_ptr<TDataSkinObject>& slot, std::string_view section) {
  slot.reset();
  const std::string image = FIni->ReadString(section, "Image", "");
  if (image.empty()) return;
  slot = std::make_unique<TDataSkinObject>(std::string(section));
  Readbmp(slot->Bitmap, image);
  ReadCommon(*slot, section, true, 0);
  ReadStateColours(*slot, section);
}

void TSkinData::ReadObject2(std::unique_ptr<TDataSkinBorder>& slot, std::string_view section, std::string_view key) {
  slot.reset();
  const std::string image = FIni->ReadString(section, "Image", "");
  if (image.empty()) return;
  slot = std::make_unique<TDataSkinBorder>(std::string(section));
  Readbmp(slot->Bitmap, image);
  ReadCommon(*slot, section, false, 0);
  ReadStateColours(*slot, section);
  const std::string second = FIni->ReadString(section, key, "");
  if (!second.empty()) Readbmp(slot->Bitmap2, second);
}

void TSkinData::ReadBoxLabel(std::unique_ptr<TDataSkinBoxLabel>& slot, std::string_view section) {
  slot.reset();
  const std::string image = FIni->ReadString(section, "Image", "");
  if (image.empty()) return;
  slot = std::make_unique<TDataSkinBoxLabel>(std::string(section));
  Readbmp(slot->Bitmap, image);
  ReadCommon(*slot, section, true, 0);
  ReadStateColours(*slot, section);
  slot->BackgroundAlignment = FIni->ReadInteger(section, "BackgroundAlignment", 0);
  slot->BackgroundLeftShift = FIni->ReadInteger(section, "BackgroundLeftShift", 0);
  slot->BackgroundRightShift = FIni->ReadInteger(section, "BackgroundRightShift", 0);
}

void TSkinData::ReadRGB(std::string_view section, std::string_view name, TColor& colour) {
  const std::string base(name);
  const std::int32_t r = FIni->ReadInteger(section, base + "R", -1);
  const std::int32_t g = FIni->ReadInteger(section, base + "G", -1);
  const std::int32_t b = FIni->ReadInteger(section, base + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0) colour = RGBToColor(r, g, b);
}

std::int32_t TSkinData::GetSectionNum(std::string_view prefix, std::string_view key) const {
  if (FIni == nullptr) return 0;
  std::int32_t count = 0;
  while (!FIni->ReadString(std::string(prefix) + std::to_string(count), key, "").empty()) ++count;
  return count;
}

}  // namespace bw::skin
