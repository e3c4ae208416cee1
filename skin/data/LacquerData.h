#pragma once
// The skin data component: the current skin as objects every frame and painter draws
// from (scheme colours, one skin object per kind of element, each a bitmap cut into
// state frames with the margins drawn unscaled), loaded from a packed skin container
// that the component keeps in its form data.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Enums.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/core/StringList.h"
#include "framework/win/Bitmap.h"
#include "skin/data/LacquerDataRules.h"
#include "skin/data/LacquerIni.h"
#include "skin/data/SkinRead.h"

namespace bw::win {
class TControl;
class TCustomForm;
}

namespace bw::skin {

using win::TBitmap;

enum class TSkinControlType : std::uint8_t {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
  xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
  xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = core::TSet<TSkinControlType>;

enum class TSkinOption : std::uint8_t {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK
};
using TSkinOptions = core::TSet<TSkinOption>;

enum class TSkinFormType : std::uint8_t { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

enum class TShemeColor : std::uint8_t {
  csText, csTitleTextActive, csTitleTextNoActive, csButtonFace, csButtonText, csButtonHilight,
  csButtonlight, csButtonShadow, csButtonDkshadow, csSelectText, csSelectBg, csHilightText, csHilight,
  csMenuBar, csMenuBarText, csMenuText, csMenubg, csScrollbar, csTextDisable
};
constexpr int kShemeColorCount = 19;

// Indexed by TShemeColor.
class TShemeColors {
 public:
  TColor& operator[](TShemeColor slot) { return FColors[static_cast<std::size_t>(slot)]; }
  TColor operator[](TShemeColor slot) const { return FColors[static_cast<std::size_t>(slot)]; }

 private:
  std::array<TColor, kShemeColorCount> FColors{};
};

extern const core::TEnumInfo kSkinControlTypeInfo;
extern const core::TEnumInfo kSkinOptionInfo;
extern const core::TEnumInfo kSkinFormTypeInfo;
extern const core::TEnumInfo kShemeColorInfo;

inline constexpr TSkinControlTypes kDefaultSkinControls = TSkinControlTypes::FromBits(
    ((1u << (static_cast<unsigned>(TSkinControlType::xcFastReport) + 1)) - 1) &
    ~(1u << static_cast<unsigned>(TSkinControlType::xcMenuItem)) &
    ~(1u << static_cast<unsigned>(TSkinControlType::xcFastReport)));
inline constexpr TSkinOptions kDefaultSkinOptions{TSkinOption::xoPreview};
inline constexpr const char* kSkinDataVersion = "3.26.07.21";
// ActiveText / InActiveText when the description gives no colour.
inline constexpr TColor kTextColorNotGiven = core::clNone;
// The skin manager's actions, requested by the component and run later from its timer.
inline constexpr int kActionSkinOn = 1;
inline constexpr int kActionSkinOff = 2;
inline constexpr int kActionSkinChanged = 3;
inline constexpr int kActionPurge = 6;
inline constexpr unsigned kActionDelayMs = 250;
// One cell of the composed combo-box strip.
inline constexpr int kComboCellWidthPx = 50;
inline constexpr int kComboCellHeightPx = 21;

// A file entry the bitmap loader refused; leaves the load with NoSkin still set.
class EInvalidGraphic : public core::Exception {
  using core::Exception::Exception;
};

class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  RECT Margins{0, 0, 0, 0};
  TBitmap Bitmap;
  std::int32_t Trans = 0;
  std::int32_t Tile = 0;
  std::string Name;
  std::int32_t Frame = 0;
  std::int32_t Style = 0;
  // Indexes into the precolour table (-1 none) and explicit text colours per state.
  std::int32_t NormalColour = 0;
  std::int32_t MouseOverColour = 0;
  std::int32_t PressedColour = 0;
  TColor NormalColour2 = 0;
  TColor MouseOverColour2 = 0;
  TColor PressedColour2 = 0;
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap Bitmap2;
};

class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t TextAlignment = 0;
  std::int32_t Textbackground = 0;
  std::int32_t FontHeight = 0;
  std::int32_t TXTBackleft = 0;
  std::int32_t TXTBackRight = 0;
  TColor ActiveText = 0;
  TColor InActiveText = 0;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap CheckBitmap;
  TBitmap RadioBitmap;
  std::int32_t RadioButtonFrame = 0;
  std::int32_t CheckButtonFrame = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t Action = 0;
  std::int32_t Align = 0;
  std::int32_t Xcoord = 0;
  std::int32_t Ycoord = 0;
  std::int32_t CombineOp = 0;
  std::int32_t Visibility = 0;
  std::int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t BackgroundLeftShift = 0;
  std::int32_t BackgroundRightShift = 0;
  std::int32_t BackgroundAlignment = 0;
};

// Owns an image list.
class TImageListHandle {
 public:
  TImageListHandle() = default;
  explicit TImageListHandle(HIMAGELIST list) : FList(list) {}
  ~TImageListHandle() { Reset(); }
  TImageListHandle(TImageListHandle&& other) noexcept : FList(std::exchange(other.FList, nullptr)) {}
  TImageListHandle& operator=(TImageListHandle&& other) noexcept;
  TImageListHandle(const TImageListHandle&) = delete;
  TImageListHandle& operator=(const TImageListHandle&) = delete;
  HIMAGELIST Get() const { return FList; }
  void Reset(HIMAGELIST list = nullptr);

 private:
  HIMAGELIST FList = nullptr;
};

class TSkinStore;
class TSkinData;

using TOnFormSkin = core::TEvent<void(core::TObject* sender, const std::string& aName, bool& doSkin)>;
// Form and control are the window and control about to be skinned.
using TOnSkinControl =
    core::TEvent<void(core::TComponent* sender, TSkinData* skinData, core::TComponent* form,
                      core::TComponent* control, const std::string& controlClass, core::TComponent*& skinnedControl)>;

class TSkinData : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  explicit TSkinData(core::TComponent* owner);
  ~TSkinData() override;

  // Published properties.
  bool Active() const { return FActive; }
  void SetActive(bool value);
  std::int32_t DisableTag() const { return FDisableTag; }
  void SetDisableTag(std::int32_t tag) { FDisableTag = tag; }
  TSkinControlTypes SkinControls() const { return FSkinControls; }
  void SetSkinControls(TSkinControlTypes controls) { FSkinControls = controls; }
  TSkinOptions Options() const { return FOptions; }
  void SetOptions(TSkinOptions options) { FOptions = options; }
  core::TStringList* Skin3rd() const { return FSkin3rd.get(); }
  const std::string& SkinFile() const { return FSkinFile; }
  std::string GetSkinStore() const;
  void SetSkinStore(const std::string& ignored);
  TSkinFormType SkinFormtype() const { return FSkinFormtype; }
  void SetSkinFormtype(TSkinFormType type) { FSkinFormtype = type; }
  std::string Version() const { return kSkinDataVersion; }
  void SetVersion(const std::string& ignored);
  bool MenuUpdate() const { return FMenuUpdate; }
  void SetMenuUpdate(bool value) { FMenuUpdate = value; }
  bool MenuMerge() const { return FMenuMerge; }
  void SetMenuMerge(bool value) { FMenuMerge = value; }
  TOnFormSkin OnFormSkin;
  core::TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  // The packed container of the current skin, written back with the form.
  core::TMemoryStream& SkinStream() { return FSkinStream; }
  void DefineProperties(core::TFiler& filer) override;
  void ReadData(core::TStream& stream);
  void WriteData(core::TStream& stream);

  // Missing files change nothing but the SkinFile text.
  void LoadFromFile(const std::string& fileName);
  void LoadFromStream(core::TStream& stream);
  // Nothing for an index at or past the item count; EListError for a negative one.
  void LoadFromCollection(TSkinStore& store, std::int32_t index);

  // Parses the skin stream into the skin objects. False, objects untouched, for a
  // container the reader refuses; a bitmap entry that is not a valid bitmap raises
  // EInvalidGraphic. NoSkin stays set unless the whole description was applied.
  bool LoadSkin();
  void LoadFromIni(const std::string& iniName);

  // Registers with the process's skin manager (made here if there is none) and, for the
  // main component, switches skinning on.
  void Loaded() override;
  // Applies a newly loaded skin to the skinned windows, later, from the manager's timer.
  void UpdateSkin();
  // Skin on / off for every window (requests to the manager), or the manager's switch at once.
  void Install();
  void Uninstall();
  void EnableSkin(bool value);
  // Frames one window, even a form nested in another form.
  void SkinForm(HWND window);
  // The frame of host takes the nested form's controls in.
  void AddNestForm(win::TCustomForm& host, win::TCustomForm* nested);
  // The frame of form skins the controls below control (below the form without one).
  void UpdateSkinControl(win::TCustomForm& form, win::TControl* control);
  void DeleteGraphicControl(win::TCustomForm& form, win::TControl& control);
  void UpdateMenu(win::TCustomForm& form);
  // FramePaint := value; with true, skinned menu bars rebuild their buttons.
  void UpdateMainMenu(bool value);
  // Hooks a further thread of the process; -1 without a manager.
  int InstallThread(DWORD threadId);
  void UnInstallThread(DWORD threadId);
  void DoSkinChanged();
  void DoFormSkin(const std::string& aName, bool& doSkin);
  // Sets an enumeration property of `object` by member name; anything else is ignored.
  // EConvertError when the enumeration has no such member.
  void ChangeProperty(core::TObject* object, std::string_view propertyName, std::string_view value);

  TColor GetCaptionColor();
  // Fills AppIcon from the window's small (else big) icon; unchanged without one.
  void GetAppIcon(HWND applicationWindow);
  bool GetPrecolor(TColor& colour, std::int32_t index) const;

  // The skin.
  std::string SkinName;
  TShemeColors Colors;
  std::vector<TColor> Precolors;
  std::array<TColor, 10> CustomColors{};
  HBRUSH FaceBrush = nullptr;  // owned
  std::unique_ptr<TDataSkinBorder> LeftBorder, RightBorder, TopBorder, BottomBorder;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> MenuBar, GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges, ToolBars;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackThumbHorz, TrackThumbVert, TrackThumbLeft, TrackThumbRight,
      TrackThumbUp, TrackThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz, UpDownVert;
  std::unique_ptr<TDataSkinObject> Toolbar;
  TBitmap AppIcon;
  TImageListHandle MenuGlyphs;
  bool NoSkin = true;
  bool FramePaint = true;

 protected:
  // Section readers, in the order LoadFromIni calls them. Each reads the description
  // being loaded; slots are replaced in place.
  void ReadBord();
  void ReadColor();
  void ReadSysButton();
  void CreateMdibtn(std::size_t first);
  void ReadButton();
  void ReadTitle(TDataSkinTitle& title, std::string_view section);
  void ReadProgress(std::unique_ptr<TDataSkinBorder>& slot, std::string_view section);
  void ReadMenuBar(std::unique_ptr<TDataSkinObject>& slot, std::string_view section);
  void ReadObject(std::unique_ptr<TDataSkinObject>& slot, std::string_view section);
  void ReadObject2(std::unique_ptr<TDataSkinBorder>& slot, std::string_view section, std::string_view key);
  void ReadBoxLabel(std::unique_ptr<TDataSkinBoxLabel>& slot, std::string_view section);
  void ReadRGB(std::string_view section, std::string_view name, TColor& colour);
  void Readbmp(TBitmap& bitmap, std::string_view fileName);
  void SetFrame();
  void ReBuildCombobox();
  void RebuildToolbar();
  std::int32_t GetSectionNum(std::string_view prefix, std::string_view key) const;

 private:
  static const core::TPropInfo kProps[];
  void SetSkinFileProp(const std::string& fileName) { LoadFromFile(fileName); }
  void ReplaceSkinStream(core::TStream& source);
  void AfterExternalLoad();
  // The fields every element reader shares: margins, Trans, Tile (values above 1 read
  // as tileAboveOne), the state colours.
  void ReadCommon(TDataSkinObject& object, std::string_view section, bool withStyle, std::int32_t tileAboveOne);
  void ReadStateColours(TDataSkinObject& object, std::string_view section);
  void LoadMenuGlyphs();

  bool FActive = false;
  std::int32_t FDisableTag = 99;
  TSkinControlTypes FSkinControls = kDefaultSkinControls;
  TSkinOptions FOptions = kDefaultSkinOptions;
  std::unique_ptr<core::TStringList> FSkin3rd;
  std::string FSkinFile;
  TSkinFormType FSkinFormtype = TSkinFormType::sfMainform;
  bool FMenuUpdate = true;
  bool FMenuMerge = false;
  core::TMemoryStream FSkinStream;

  // Alive for one load only.
  const TSkinReader* FReader = nullptr;
  const TQuickIni* FIni = nullptr;
  std::vector<std::string> FSectionNames;
};

// Wide and ANSI text in the system ANSI code page.
std::wstring StrToWideStr(std::string_view text);
std::string WideStringToStringEx(std::wstring_view text);
// The first `count` characters of a NUL-terminated buffer, or all of it for -1.
std::wstring WStr(const wchar_t* text, int count);
// DrawTextW on NT-family systems, else through the ANSI text; answers the call's result.
int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format);
// Chooses the text routine DrawTextWide uses; set once at start (tests flip it).
void SetNTFamily(bool isNT);
// The framework object attached to a window; nullptr for a null handle or none.
core::TObject* FindControl(HWND window);

}  // namespace bw::skin
