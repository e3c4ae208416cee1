// The skin data component's properties, persistence and switches, the skin store, and
// the unit's text and window routines.
#include <gtest/gtest.h>

#include "framework/win/Forms.h"

#include <filesystem>
#include <fstream>

#include "framework/core/Exceptions.h"
#include "framework/core/FormStreaming.h"
#include "framework/core/Text.h"
#include "skin/data/LacquerStore.h"
#include "tests/skin/data/SkinDataTestSupport.h"

namespace bw::skin::test {
namespace {

namespace fs = std::filesystem;

std::string Hex(const Bytes& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (std::uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

Bytes SkinStreamValue(const Bytes& packed) {
  const auto n = static_cast<std::uint32_t>(packed.size());
  Bytes value{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n >> 16),
              static_cast<std::uint8_t>(n >> 24)};
  value.reserve(4 + packed.size());
  for (std::uint8_t b : packed) value.push_back(b);
  return value;
}

// A form holding one TSkinData with the given extra lines.
std::string HostText(const std::string& lines) {
  return "object Host: TSkinHostForm\n  object SkinData1: TSkinData\n" + lines + "  end\nend\n";
}

TSkinData& ReadHost(TSkinHostForm& host, const std::string& lines) {
  core::ReadComponentText(host, HostText(lines));
  return *dynamic_cast<TSkinData*>(host.FindComponent("SkinData1"));
}

const Bytes& SmallSkin() {
  static const Bytes packed = PackedSkin("[TitlebarSkin]\nSkinName=Small\n");
  return packed;
}

class TempFolder {
 public:
  TempFolder() : FPath(fs::temp_directory_path() / ("bw-skindata-" + std::to_string(GetCurrentProcessId()))) {
    fs::create_directories(FPath);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
  }
  std::string File(const char* name) const { return (FPath / name).string(); }

 private:
  fs::path FPath;
};

TEST(SkinDataComponent, CreationDefaults) {
  TSkinData data(nullptr);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag(), 99);
  EXPECT_FALSE(data.SkinControls().Contains(TSkinControlType::xcMenuItem));
  EXPECT_FALSE(data.SkinControls().Contains(TSkinControlType::xcFastReport));
  EXPECT_TRUE(data.SkinControls().Contains(TSkinControlType::xcSystemMenu));
  EXPECT_TRUE(data.SkinControls().Contains(TSkinControlType::xcMainMenu));
  EXPECT_EQ(data.Options(), TSkinOptions{TSkinOption::xoPreview});
  EXPECT_EQ(data.Skin3rd()->Count(), kSkin3rdEntryCount);
  EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfMainform);
  EXPECT_TRUE(data.MenuUpdate());
  EXPECT_FALSE(data.MenuMerge());
  EXPECT_TRUE(data.NoSkin);
  EXPECT_TRUE(data.FramePaint);
  EXPECT_EQ(data.AppIcon.PixelFormat(), win::TPixelFormat::pf24bit);
  EXPECT_TRUE(data.Buttons && data.Title && data.LeftBorder && data.BottomBorder);
  EXPECT_EQ(data.SkinStream().Size(), 0);
  // Written with nothing but its stream: every published value is at its default.
  TSkinHostForm host(nullptr);
  new TSkinData(&host);
  host.Components(0)->SetName("SkinData1");
  const std::string text = core::WriteComponentText(host);
  const std::size_t stream = text.find("SkinStream = {");
  ASSERT_NE(stream, std::string::npos) << text;
  EXPECT_EQ(text.find_first_not_of(" \n", stream + 14), text.find("00000000}", stream)) << text;
  EXPECT_EQ(text.find("Active"), std::string::npos) << text;
}

TEST(SkinDataComponent, PublishedPropertiesByName) {
  TSkinData data(nullptr);
  EXPECT_EQ(core::GetStrProp(&data, "Version"), "3.26.07.21");
  EXPECT_EQ(core::SetStrProp(&data, "Version", "9"), core::TPropResult::Done);
  EXPECT_EQ(data.Version(), "3.26.07.21");
  EXPECT_EQ(core::SetStrProp(&data, "SkinStore", "(Good)"), core::TPropResult::Done);
  EXPECT_EQ(core::GetStrProp(&data, "SkinStore"), "(none)");
  EXPECT_EQ(core::SetPropText(&data, "SkinFormtype", "sfDialog"), core::TPropResult::Done);
  EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfDialog);
  EXPECT_EQ(core::GetEnumProp(&data, "MenuMerge"), "False");
  EXPECT_EQ(core::SetIntProp(&data, "DisableTag", 7), core::TPropResult::Done);
  EXPECT_EQ(data.DisableTag(), 7);
  EXPECT_NE(core::GetEventProp<TOnFormSkin>(&data, "OnFormSkin"), nullptr);
  EXPECT_NE(core::GetEventProp<TOnSkinControl>(&data, "OnSkinControl"), nullptr);
}

TEST(SkinDataComponent, ChangePropertySetsOnlyEnumerations) {
  TSkinData data(nullptr);
  data.ChangeProperty(&data, "skinformtype", "sfDLL");
  EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfDLL);
  data.ChangeProperty(&data, "Active", "True");  // a boolean, not an enumeration
  EXPECT_FALSE(data.Active());
  data.ChangeProperty(&data, "Version", "x");
  data.ChangeProperty(&data, "NoSuchProperty", "x");
  data.ChangeProperty(nullptr, "SkinFormtype", "sfMainform");
  EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfDLL);
  EXPECT_THROW(data.ChangeProperty(&data, "SkinFormtype", "sfNothing"), core::EConvertError);
  EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfDLL);
}

TEST(SkinDataComponent, FormSkinDecision) {
  TSkinData data(nullptr);
  auto decide = [&](const std::string& name) {
    bool doSkin = true;
    data.DoFormSkin(name, doSkin);
    return doSkin;
  };
  EXPECT_FALSE(decide("SysMonthCal32"));
  EXPECT_TRUE(decide("sysmonthcal32"));
  EXPECT_TRUE(decide("TfrPreviewForm"));
  TSkinControlTypes withReports = data.SkinControls();
  data.SetSkinControls(withReports.Include(TSkinControlType::xcFastReport));
  EXPECT_FALSE(decide("TfrPreviewForm"));
  EXPECT_TRUE(decide("tfrPreviewForm"));
  bool untouched = false;
  data.DoFormSkin("TForm1", untouched);
  EXPECT_FALSE(untouched);
  std::string asked;
  data.OnFormSkin = [&](core::TObject* sender, const std::string& name, bool& doSkin) {
    EXPECT_EQ(sender, &data);
    asked = name;
    doSkin = true;
  };
  EXPECT_TRUE(decide("SysMonthCal32"));
  EXPECT_EQ(asked, "SysMonthCal32");
  int changed = 0;
  data.OnSkinChanged = [&](core::TObject* sender) { changed += sender == &data; };
  data.DoSkinChanged();
  EXPECT_EQ(changed, 1);
}

TEST(SkinDataComponent, LoadedAdjustsMenuControlsAndDropsActiveWithoutSkin) {
  TNoticeRecorder notices;
  {
    TSkinHostForm host(nullptr);
    TSkinData& data = ReadHost(host, "    SkinControls = [xcMainMenu, xcMenuItem, xcSystemMenu]\n");
    EXPECT_EQ(data.SkinControls(), (TSkinControlTypes{TSkinControlType::xcMainMenu, TSkinControlType::xcSystemMenu}));
  }
  {
    TSkinHostForm host(nullptr);
    TSkinData& data = ReadHost(host, "    SkinControls = [xcPopupMenu, xcSystemMenu]\n");
    EXPECT_EQ(data.SkinControls(), TSkinControlTypes{TSkinControlType::xcPopupMenu});
  }
  Bytes old = BuildSkinContainer({{"skin.ini", {'[', 'A', ']'}}});
  old[0] = 0x1F;  // format mark 19999
  TSkinHostForm host(nullptr);
  TSkinData& data =
      ReadHost(host, "    Active = True\n    SkinStream = {" + Hex(SkinStreamValue(PackedRaw(old))) + "}\n");
  EXPECT_FALSE(data.Active());
  EXPECT_TRUE(data.NoSkin);
  EXPECT_EQ(notices.notices.size(), 1u);
  TSkinHostForm good(nullptr);
  TSkinData& loaded = ReadHost(good, "    Active = True\n    SkinStream = {" + Hex(SkinStreamValue(SmallSkin())) + "}\n");
  EXPECT_TRUE(loaded.Active());
  EXPECT_EQ(loaded.SkinName, "Small");
}

TEST(SkinDataComponent, SkinStreamValues) {
  TSkinHostForm empty(nullptr);
  TSkinData& none = ReadHost(empty, "    SkinStream = {00000000}\n");
  EXPECT_EQ(none.SkinStream().Size(), 0);
  EXPECT_TRUE(none.NoSkin);
  // A length beyond the stored bytes is refused by the form reader.
  TSkinHostForm shortHost(nullptr);
  EXPECT_THROW(core::ReadComponentText(shortHost, HostText("    SkinStream = {FF00000001}\n")), core::EReadError);
  TSkinHostForm truncated(nullptr);
  EXPECT_THROW(core::ReadComponentText(truncated, HostText("    SkinStream = {0100}\n")), core::EReadError);

  TSkinData data(nullptr);
  LoadPacked(data, SmallSkin());
  core::TMemoryStream written;
  data.WriteData(written);
  EXPECT_EQ(written.Bytes(), SkinStreamValue(SmallSkin()));
  written.SetPosition(0);
  TSkinData back(nullptr);
  back.ReadData(written);
  EXPECT_EQ(back.SkinStream().Bytes(), SmallSkin());
  EXPECT_EQ(back.SkinName, "Small");
}

TEST(SkinDataComponent, SkinFileLoadsOnlyWhatExists) {
  TempFolder folder;
  TSkinData data(nullptr);
  LoadPacked(data, SmallSkin());
  EXPECT_EQ(core::SetStrProp(&data, "SkinFile", folder.File("missing.skn")), core::TPropResult::Done);
  EXPECT_EQ(data.SkinFile(), folder.File("missing.skn"));
  EXPECT_FALSE(data.NoSkin);
  EXPECT_EQ(data.SkinStream().Bytes(), SmallSkin());

  const Bytes other = PackedSkin("[TitlebarSkin]\nSkinName=FromFile\n");
  std::ofstream(folder.File("other.skn"), std::ios::binary)
      .write(reinterpret_cast<const char*>(other.data()), static_cast<std::streamsize>(other.size()));
  data.LoadFromFile(folder.File("other.skn"));
  EXPECT_EQ(data.SkinName, "FromFile");
  EXPECT_EQ(data.SkinStream().Bytes(), other);
  EXPECT_FALSE(data.NoSkin);
}

TEST(SkinStoreItems, NamesAndClashes) {
  TSkinStore store(nullptr);
  TSkinCollectionItem& first = store.Store()->Add();
  TSkinCollectionItem& second = store.Store()->Add();
  EXPECT_EQ(first.Name(), "SkinItem0");
  EXPECT_EQ(second.GetDisplayName(), "SkinItem1");
  EXPECT_EQ(first.SkinData(), "Load Skin");
  try {
    second.SetName("SkinItem0");
    ADD_FAILURE() << "a clash must raise";
  } catch (const core::Exception& e) {
    EXPECT_EQ(e.Message(), "The name SkinItem0 is already used.");
  }
  EXPECT_EQ(second.Name(), "SkinItem1");
  second.SetName("SkinItem1");
  second.SetName("skinitem0");  // letter case counts
  EXPECT_EQ(second.Name(), "skinitem0");
}

TEST(SkinStoreItems, DataCopyAssignAndPersistence) {
  TSkinHostForm host(nullptr);
  auto* store = new TSkinStore(&host);
  store->SetName("SkinStore1");
  TSkinCollectionItem& item = store->Store()->Add();
  item.SetName("Small");
  core::TMemoryStream source = StreamOf(SmallSkin());
  item.ReadData(source);
  EXPECT_EQ(item.DataSize(), static_cast<std::int32_t>(SmallSkin().size()));
  item.Data().SetPosition(5);
  core::TMemoryStream copy;
  item.CopyData(copy);
  EXPECT_EQ(copy.Bytes(), SmallSkin());
  EXPECT_EQ(item.Data().Position(), 5);

  const std::string text = core::WriteComponentText(host);
  TSkinHostForm again(nullptr);
  core::ReadComponentText(again, text);
  auto* read = dynamic_cast<TSkinStore*>(again.FindComponent("SkinStore1"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->Store()->Count(), 1);
  EXPECT_EQ(read->Store()->Items(0).Name(), "Small");
  EXPECT_EQ(read->Store()->Items(0).Data().Bytes(), SmallSkin());

  TSkinStore other(nullptr);
  other.SetStore(store->Store());
  ASSERT_EQ(other.Store()->Count(), 1);
  EXPECT_EQ(other.Store()->Items(0).Name(), "Small");
  EXPECT_EQ(other.Store()->Items(0).Data().Bytes(), SmallSkin());
  TSkinCollection emptyCollection(nullptr);
  other.SetStore(&emptyCollection);
  EXPECT_EQ(other.Store()->Count(), 1);

  TSkinData data(nullptr);
  data.LoadFromCollection(*store, 1);
  EXPECT_TRUE(data.NoSkin);
  EXPECT_THROW(data.LoadFromCollection(*store, -1), core::EListError);
  data.LoadFromCollection(*store, 0);
  EXPECT_FALSE(data.NoSkin);
  EXPECT_EQ(data.SkinName, "Small");
}

TEST(SkinDataText, WideAndAnsiConversions) {
  const std::wstring wide = StrToWideStr("Fran\xE7" "ais");
  EXPECT_EQ(wide, L"Fran\u00E7ais");
  EXPECT_EQ(WideStringToStringEx(wide), "Fran\xE7" "ais");
  EXPECT_EQ(StrToWideStr(""), L"");
  EXPECT_EQ(WStr(L"abcdef", 3), L"abc");
  EXPECT_EQ(WStr(L"abcdef", -1), L"abcdef");
  EXPECT_EQ(WStr(L"ab", 10), L"ab");
  EXPECT_EQ(WStr(nullptr, 3), L"");
}

TEST(SkinDataText, DrawTextWideBothWays) {
  TBitmap canvas(200, 40, win::TPixelFormat::pf24bit);
  HDC dc = canvas.Canvas().Handle();
  for (bool nt : {true, false}) {
    SetNTFamily(nt);
    RECT rect{0, 0, 200, 40};
    const int height = DrawTextWide(dc, L"\u00C9cran", rect, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(height, 0) << nt;
    EXPECT_GT(rect.right, 0) << nt;
  }
  SetNTFamily(true);
}

TEST(SkinDataWindows, FindControlAndAppIcon) {
  EXPECT_EQ(FindControl(nullptr), nullptr);
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindControl(window), nullptr);
  TSkinData data(nullptr);
  {
    win::TForm form(nullptr);
    EXPECT_EQ(FindControl(form.Handle()), &form);  // the framework's own control objects
  }

  data.GetAppIcon(window);  // no icon: AppIcon stays as it was
  EXPECT_TRUE(data.AppIcon.Empty());
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_APPLICATION)));
  data.GetAppIcon(window);
  EXPECT_EQ(data.AppIcon.Width(), GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(data.AppIcon.Height(), GetSystemMetrics(SM_CYSMICON));
  EXPECT_TRUE(data.AppIcon.Transparent());
  EXPECT_EQ(data.AppIcon.TransparentColor(), 0xFF00FF);
  DestroyWindow(window);
}

TEST(SkinDataWindows, MenuGlyphsComeFromTheResource) {
  TSkinData data(nullptr);
  HIMAGELIST list = data.MenuGlyphs.Get();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(list), 4);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list, &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  // Drawn transparently: the white ground lets the red through, the strokes are black.
  TBitmap target(16, 16, win::TPixelFormat::pf24bit);
  HDC dc = target.Canvas().Handle();
  win::TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
  const RECT all{0, 0, 16, 16};
  FillRect(dc, &all, red.Get());
  ASSERT_TRUE(ImageList_Draw(list, 1, dc, 0, 0, ILD_TRANSPARENT));  // maximise: a box
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 8, 8), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 3, 8), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 8, 12), RGB(0, 0, 0));
}

}  // namespace
}  // namespace bw::skin::test
