
#include "skin/data/LacquerData.h"

#include "framework/win/Controls.h"

namespace bw::skin {

namespace {

constexpr const char* kSkinControlTypeNames[] = {
    "xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
    "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton",
    "xcSpin", "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab", "xcTrackBar", "xcSystemMenu", "xcFastReport"};
constexpr const char* kSkinOptionNames[] = {"xoMDIScrollbar",     "xoMenuMerge",    "xoTransparent", "xoPreview",
                                            "xoParentBackGround", "xoNoFocusRect", "xoToolbarBK"};
constexpr const char* kSkinFormTypeNames[] = {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"};
constexpr const char* kShemeColorNames[] = {
    "csText",        "csTitleTextActive", "csTitleTextNoActive", "csButtonFace",  "csButtonText",
    "csButtonHilight", "csButtonlight",   "csButtonShadow",      "csButtonDkshadow", "csSelectText",
    "csSelectBg",    "csHilightText",     "csHilight",           "csMenuBar",     "csMenuBarText",
    "csMenuText",    "csMenubg",          "csScrollbar",         "csTextDisable"};
static_assert(std::size(kShemeColorNames) == kShemeColorCount);
static_assert(std::size(kSkinControlTypeNames) == static_cast<std::size_t>(TSkinControlType::xcFastReport) + 1);

bool gNTFamily = (GetVersion() & 0x80000000u) == 0;

}  // namespace

const core::TEnumInfo kSkinControlTypeInfo{"TSkinControlType", kSkinControlTypeNames};
const core::TEnumInfo kSkinOptionInfo{"TSkinOption", kSkinOptionNames};
const core::TEnumInfo kSkinFormTypeInfo{"TSkinFormType", kSkinFormTypeNames};
const core::TEnumInfo kShemeColorInfo{"TShemeColor", kShemeColorNames};

TImageListHandle& TImageListHandle::operator=(TImageListHandle&& other) noexcept {
  if (this != &other) Reset(std::exchange(other.FList, nullptr));
  return *this;
}

void TImageListHandle::Reset(HIMAGELIST list) {
  if (FList != nullptr) ImageList_Destroy(FList);
  FList = list;
}

std::wstring StrToWideStr(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (wide <= 0) return {};
  std::wstring out(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), wide);
  return out;
}

std::string WideStringToStringEx(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::wstring WStr(const wchar_t* text, int count) {
  if (text == nullptr) return {};
  if (count < 0) return std::wstring(text);
  // Never past the terminator, whatever count says.
  std::size_t length = 0;
  while (length < static_cast<std::size_t>(count) && text[length] != L'\0') ++length;
  return std::wstring(text, length);
}

void SetNTFamily(bool isNT) { gNTFamily = isNT; }

int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
  if (gNTFamily) return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  const std::string ansi = WideStringToStringEx(text);
  return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

// The framework attaches a control's object to its window under its own property name.
core::TObject* FindControl(HWND window) { return win::TWinControl::FromHandle(window); }

}  // namespace bw::skin
