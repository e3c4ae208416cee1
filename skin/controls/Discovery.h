#pragma once
// Control discovery's decisions as tables: which painter takes over which framework
// control (first matching row wins: a row recognises the control by its class's ancestry
// or exact class name; its needs in SkinControls then decide whether anything happens),
// which the kinds of the Skin3rd list stand for, and what a bare window's class and
// button style make of it.
#include <windows.h>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/core/StringList.h"
#include "framework/win/Controls.h"
#include "framework/win/Menus.h"
#include "skin/data/LacquerData.h"

namespace bw::skin {

class TLacquerForm;

// ScrollControl: no names; the control is one whose window scrolls (IsScrollControl).
enum class TMatchKind : std::uint8_t { Inherits, ClassName, ScrollControl };

struct TDiscoveryRow {
  TMatchKind Match;
  // Inherits: a framework class name in the control's ancestry (the class itself too).
  // ClassName: the control's class name in upper case, exactly.
  std::array<const char*, 3> Names;
  TSkinControlTypes Needs;  // every member must be in SkinControls
  bool NeedsTabs;           // and the skin must have a tab object
  void (*Apply)(TLacquerForm& frame, win::TControl& control, win::TWinControl& parent);
};

std::span<const TDiscoveryRow> DiscoveryTable();
// The first row that recognises the control, nullptr when none does.
const TDiscoveryRow* FindDiscoveryRow(const win::TControl& control);
// The row's needs are met by the skin data.
bool RowAllowed(const TSkinData& data, TSkinControlTypes needs, bool needsTabs);
// The class or one of its ancestors has this name.
bool InheritsFromName(const core::TObject& object, std::string_view className);
// A windowed control with a window scroll bar style, or of a kind that scrolls (list box,
// memo, tree view, scroll box).
bool IsScrollControl(const win::TControl& control);

// The kinds of the Skin3rd list (lower case) and what each makes of a control.
struct TThirdPartyKind {
  const char* Kind;
  TSkinControlTypes Needs;
  bool NeedsTabs;
  void (*Apply)(TLacquerForm& frame, win::TControl& control);
};
std::span<const TThirdPartyKind> ThirdPartyKinds();
// The kind the list gives a class (lower case, at most 50 characters): the first line
// that begins with the class name and "=" wins. None when the class is not listed.
std::optional<std::string> LookupSkin3rd(const core::TStringList& list, std::string_view className);

// What a bare "button" window is, by its style.
enum class TBareButtonKind : std::uint8_t { None, CheckBox, RadioButton, PushButton };
TBareButtonKind ClassifyButtonStyle(DWORD style);

// The toolbar variant of the menu item painters for an item and everything below it;
// switching off clears the drawing handler only.
void InitToolbarMenu(TLacquerForm& frame, win::TMenuItem& item, bool on);

}  // namespace bw::skin
