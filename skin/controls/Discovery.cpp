// Control discovery: the walk over a window's controls and the table that gives each
// framework control its painter.
#include "skin/controls/Discovery.h"

#include <algorithm>
#include <cctype>

#include "framework/win/Forms.h"
#include "framework/win/Menus.h"
#include "framework/win/ToolBar.h"
#include "skin/controls/Buttons.h"
#include "skin/controls/Checks.h"
#include "skin/controls/Combos.h"
#include "skin/controls/ListViews.h"
#include "skin/controls/Panels.h"
#include "skin/controls/Progress.h"
#include "skin/controls/Scrollbars.h"
#include "skin/controls/Tabs.h"
#include "skin/controls/WinSubClass.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

namespace {

using T = TSkinControlType;
using TTypes = TSkinControlTypes;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

// A painter owned by the control, attached to it and listed by the frame.
template <class P>
P* Attach(TLacquerForm& frame, win::TControl& control, bool flag) {
  auto* painter = new P(&control);
  painter->Init(&frame, frame.FSkinData, &frame.FCanvas2, flag);
  return painter;
}

// Every control below the container: the components it owns, then its children.
void Children(TLacquerForm& frame, win::TControl& control) {
  if (auto* container = dynamic_cast<win::TWinControl*>(&control)) {
    frame.InitControlA(*container);
    for (int i = 0; i < container->ControlCount(); ++i) frame.AddComp(*container->Controls(i), *container);
  }
}

void DiscoverChildren(TLacquerForm& frame, win::TControl& control, win::TWinControl&) { Children(frame, control); }

void ToolButton(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  if (auto* menu = static_cast<win::TPopupMenu*>(
          TSkinControl::GetObjProp(&control, "DropdownMenu", &win::TPopupMenu::kClass)))
    InitToolbarMenu(frame, *menu->Items(), true);
}

void TrackBar(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinTrackBar>(frame, control, false);
}

// Each button of the group is painted as a radio button, the group as a group box.
void RadioGroup(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  if (auto* group = dynamic_cast<win::TWinControl*>(&control))
    for (int i = 0; i < group->ControlCount(); ++i)
      if (win::TControl* child = group->Controls(i); !frame.FindSkinComp(*child))
        Attach<TSkinRadioButton>(frame, *child, false);
  Attach<TSkinGroupBox>(frame, control, true);
}

void CheckBox(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinCheckBox>(frame, control, false);
}

// The painter hands these a glyph strip; they go on painting themselves.
void GlyphCheckBox(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  (new TSkinObjImage(&control, TSkinObjImage::kCheckKind))->Init(&frame, frame.FSkinData, &frame.FCanvas2, true);
}

void GlyphRadioButton(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  (new TSkinObjImage(&control, TSkinObjImage::kRadioKind))->Init(&frame, frame.FSkinData, &frame.FCanvas2, true);
}

void RadioButton(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinRadioButton>(frame, control, false);
}

// A spin control docked in an edit keeps the edit's border visible round it.
void UpDown(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  auto* painter = new TSkinUpDown(&control);
  painter->FInEdit = control.Parent() && InheritsFromName(*control.Parent(), "TCustomEdit");
  painter->Init(&frame, frame.FSkinData, &frame.FCanvas2, false);
}

void ComboBox(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinComBox>(frame, control, false);
}

// A time picker, or one stepped by its up-down, looks like an edit; a date picker with a
// drop-down calendar like a combo box.
void DateTimePicker(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  const bool editLook = TSkinControl::GetEnumProperty(&control, "Kind") == "dtkTime" ||
                        TSkinControl::GetEnumProperty(&control, "DateMode") == "dmUpDown";
  if (editLook) Attach<TSkinEdit>(frame, control, false);
  else Attach<TSkinComBox>(frame, control, false);
}

void Edit(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinEdit>(frame, control, false);
}

// A control's window scroll bars get cover windows.
void Scrollbars(TLacquerForm& frame, win::TControl& control) {
  auto* windowed = dynamic_cast<win::TWinControl*>(&control);
  if (!windowed) return;
  auto* painter = new TSkinScrollbar(&control);
  painter->InitScrollbar(windowed, frame.FSkinData, &frame.FCanvas2, &frame);
}

void ScrollingControl(TLacquerForm& frame, win::TControl& control, win::TWinControl&) { Scrollbars(frame, control); }

void Grid(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Scrollbars(frame, control);
  // Integer properties are written as signed decimals: a system colour keeps its high bit.
  TSkinControl::SetProperty(
      &control, "FixedColor",
      std::to_string(static_cast<std::int32_t>(frame.FSkinData->Colors[TShemeColor::csButtonFace])));
}

void ScrollBarControl(TLacquerForm& frame, win::TControl& control) {
  auto* windowed = dynamic_cast<win::TWinControl*>(&control);
  if (!windowed) return;
  auto* painter = new TSkinScControl(&control);
  painter->InitScrollbar(windowed, frame.FSkinData, &frame.FCanvas2, &frame);
}

void ScrollBar(TLacquerForm& frame, win::TControl& control, win::TWinControl&) { ScrollBarControl(frame, control); }

void Navigator(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  TSkinControl::SetProperty(&control, "Flat", "True");
  Attach<TSkinBox>(frame, control, true);
}

void GroupBox(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinGroupBox>(frame, control, true);
  Children(frame, control);
}

void Label(TLacquerForm&, win::TControl& control, win::TWinControl&) {
  TSkinControl::SetProperty(&control, "Transparent", "True");
}

// The items of a menu the bar shows (read by name: not every tool bar has one).
win::TMenu* ToolBarMenu(win::TControl& control) {
  return static_cast<win::TMenu*>(TSkinControl::GetObjProp(&control, "Menu", &win::TMenu::kClass));
}

void ToolBar(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  TSkinControl::SetProperty(&control, "Flat", "True");
  auto* bar = dynamic_cast<win::TToolBar*>(&control);
  // A bar that draws itself keeps its own handlers.
  const bool bind = bar && !bar->OnCustomDraw && !bar->OnCustomDrawButton;
  if (bind) {
    bar->OnCustomDraw = [&frame](win::TToolBar* sender, const RECT& rect, bool& defaultDraw) {
      frame.ToolBarDrawBackground(*sender, rect, defaultDraw);
    };
    bar->OnCustomDrawButton = [&frame](win::TToolBar* sender, win::TToolButton* button, core::TCustomDrawState state,
                                       bool& defaultDraw) {
      if (button) frame.ToolBarDrawButton(*sender, *button, state, defaultDraw);
    };
  }
  auto* box = Attach<TSkinBox>(frame, control, false);
  if (win::TMenu* menu = ToolBarMenu(control)) InitToolbarMenu(frame, *menu->Items(), true);
  box->SetReleaseAction([&frame, &control, bar, bind] {
    if (bind) {
      bar->OnCustomDraw = nullptr;
      bar->OnCustomDrawButton = nullptr;
      bar->Invalidate();
    }
    if (win::TMenu* menu = ToolBarMenu(control)) InitToolbarMenu(frame, *menu->Items(), false);
  });
  if (bind) bar->Invalidate();
}

void StatusBar(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinStatusBar>(frame, control, false);
}

void Progress(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinProgress>(frame, control, false);
}

void BitButton(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinBitButton>(frame, control, false);
}

void SpeedButton(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  auto* painter = new TSkinSpeedButton(&control);
  painter->InitGraphicControl(&frame, frame.FSkinData, &frame.FCanvas2);
}

void Panel(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinBox>(frame, control, true);
  Children(frame, control);
}

void Button(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinButton>(frame, control, false);
}

void EmbeddedForm(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinBox>(frame, control, true);
  Children(frame, control);
}

void Tab(TLacquerForm& frame, win::TControl& control, win::TWinControl&) { Attach<TSkinTab>(frame, control, false); }
void TabSet(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinTab31>(frame, control, false);
}
void TabSheet(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  Attach<TSkinTabSheet>(frame, control, false);
}

// A header painter owned by the control, on a window of it.
void HeaderOn(TLacquerForm& frame, win::TControl& control, HWND window) {
  if (!window) return;
  auto* painter = new TSkinHeader(&control);
  painter->Inithwnd(window, frame.FSkinData, &frame.FCanvas2, &frame);
}

void HeaderControl(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  if (auto* header = dynamic_cast<win::TWinControl*>(&control)) HeaderOn(frame, control, header->Handle());
}

void ListView(TLacquerForm& frame, win::TControl& control, win::TWinControl&) {
  auto* windowed = dynamic_cast<win::TWinControl*>(&control);
  if (!windowed) return;
  auto* painter = new TSkinListView(&control);
  painter->InitScrollbar(windowed, frame.FSkinData, &frame.FCanvas2, &frame);
}

constexpr TTypes kNone{};

// In the order of the decisions; rows whose painters come with the combo and edit
// painters are not here yet (their controls keep the system look until then), at the
// places marked.
const TDiscoveryRow kTable[] = {
    {TMatchKind::Inherits, {"TCustomTabControl"}, TTypes{T::xcTab}, true, &Tab},
    {TMatchKind::Inherits, {"TToolButton"}, TTypes{T::xcMainMenu}, false, &ToolButton},
    {TMatchKind::ClassName, {"TTABSET"}, TTypes{T::xcTab}, true, &TabSet},
    {TMatchKind::Inherits, {"TTabSheet"}, TTypes{T::xcTab}, true, &TabSheet},
    {TMatchKind::ClassName, {"TTABBEDNOTEBOOK"}, TTypes{T::xcTab}, true, &Tab},
    {TMatchKind::ClassName, {"TMVCPANEL"}, kNone, false, &DiscoverChildren},
    {TMatchKind::Inherits, {"TCustomCheckBox"}, TTypes{T::xcCheckBox}, false, &CheckBox},
    {TMatchKind::Inherits, {"TTrackBar"}, TTypes{T::xcTrackBar}, false, &TrackBar},
    {TMatchKind::ClassName, {"TUPDOWN", "TSPINBUTTON"}, TTypes{T::xcSpin}, false, &UpDown},
    {TMatchKind::Inherits, {"TCustomRadioGroup"}, TTypes{T::xcRadioButton}, false, &RadioGroup},
    {TMatchKind::ClassName, {"TDBNAVIGATOR"}, TTypes{T::xcPanel}, false, &Navigator},
    {TMatchKind::ClassName, {"TRZDBCHECKBOX", "TRZCHECKBOX"}, TTypes{T::xcCheckBox}, false, &GlyphCheckBox},
    {TMatchKind::ClassName, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}, TTypes{T::xcRadioButton}, false, &GlyphRadioButton},
    {TMatchKind::Inherits, {"TCustomGroupBox"}, TTypes{T::xcPanel}, false, &GroupBox},
    {TMatchKind::Inherits, {"TRadioButton"}, TTypes{T::xcRadioButton}, false, &RadioButton},
    {TMatchKind::Inherits, {"TCustomLabel"}, kNone, false, &Label},
    {TMatchKind::Inherits, {"TToolBar"}, TTypes{T::xcToolbar}, false, &ToolBar},
    {TMatchKind::Inherits, {"TCustomStatusBar"}, TTypes{T::xcStatusBar}, false, &StatusBar},
    {TMatchKind::Inherits, {"TProgressBar"}, TTypes{T::xcProgress}, false, &Progress},
    {TMatchKind::Inherits, {"TScrollBar"}, TTypes{T::xcScrollbar}, false, &ScrollBar},
    {TMatchKind::Inherits, {"TCustomComboBox"}, TTypes{T::xcCombo}, false, &ComboBox},
    {TMatchKind::ClassName, {"TDATETIMEPICKER"}, TTypes{T::xcEdit}, false, &DateTimePicker},
    {TMatchKind::ClassName, {"TRICHEDIT"}, TTypes{T::xcScrollbar}, false, &ScrollingControl},
    {TMatchKind::ClassName, {"TWWDBRICHEDIT", "TDXDBMEMO"}, TTypes{T::xcScrollbar}, false, &ScrollingControl},
    {TMatchKind::Inherits, {"TBitBtn"}, TTypes{T::xcBitBtn}, false, &BitButton},
    {TMatchKind::Inherits, {"TSpeedButton"}, TTypes{T::xcSpeedButton}, false, &SpeedButton},
    {TMatchKind::Inherits, {"TCustomPanel"}, TTypes{T::xcPanel}, false, &Panel},
    {TMatchKind::ClassName, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}, TTypes{T::xcScrollbar}, false,
     &ScrollingControl},
    {TMatchKind::Inherits, {"TCustomListView"}, TTypes{T::xcScrollbar}, false, &ListView},
    // Header controls on their own: the skin's header-bar image decides.
    {TMatchKind::Inherits, {"THeaderControl"}, kNone, false, &HeaderControl},
    {TMatchKind::Inherits, {"TCustomMemo"}, TTypes{T::xcScrollbar}, false, &ScrollingControl},
    {TMatchKind::Inherits, {"TCustomGrid"}, TTypes{T::xcScrollbar}, false, &Grid},
    {TMatchKind::ScrollControl, {}, TTypes{T::xcScrollbar}, false, &ScrollingControl},
    {TMatchKind::Inherits, {"TButton"}, TTypes{T::xcButton}, false, &Button},
    {TMatchKind::Inherits, {"TCustomEdit"}, TTypes{T::xcEdit}, false, &Edit},
    {TMatchKind::Inherits, {"TCustomFrame"}, kNone, false, &DiscoverChildren},
    {TMatchKind::Inherits, {"TCustomForm"}, kNone, false, &EmbeddedForm},
    // [combo and edit painters] class TDCEDIT or TDCDBEDIT: by NumButtons TSkinComBox or TSkinEdit
};

// ---- Skin3rd kinds

void Nothing(TLacquerForm&, win::TControl&) {}

void ThirdPanel(TLacquerForm& frame, win::TControl& control) {
  TSkinControl::SetProperty(&control, "Transparent", "True");
  Attach<TSkinBox>(frame, control, true);
}

void ThirdTrackBar(TLacquerForm& frame, win::TControl& control) {
  TSkinControl::SetProperty(&control, "Transparent", "True");
  Attach<TSkinTrackBar>(frame, control, false);
}

void ThirdButton(TLacquerForm& frame, win::TControl& control) { Attach<TSkinButton>(frame, control, false); }
void ThirdBitButton(TLacquerForm& frame, win::TControl& control) { Attach<TSkinBitButton>(frame, control, false); }

void ThirdSpeedButton(TLacquerForm& frame, win::TControl& control) {
  auto* painter = new TSkinSpeedButton(&control);
  painter->InitGraphicControl(&frame, frame.FSkinData, &frame.FCanvas2);
}

void ThirdProgress(TLacquerForm& frame, win::TControl& control) { Attach<TSkinProgress>(frame, control, false); }
void ThirdGroupBox(TLacquerForm& frame, win::TControl& control) { Attach<TSkinGroupBox>(frame, control, true); }
void ThirdComboBox(TLacquerForm& frame, win::TControl& control) { Attach<TSkinComBox>(frame, control, false); }

// Only an edit with a border: its window and client rectangles differ in size.
void ThirdEdit(TLacquerForm& frame, win::TControl& control) {
  auto* edit = dynamic_cast<win::TWinControl*>(&control);
  if (!edit || !edit->HandleAllocated()) return;
  RECT window, client;
  GetWindowRect(edit->WindowHandle(), &window);
  GetClientRect(edit->WindowHandle(), &client);
  if (window.right - window.left == client.right && window.bottom - window.top == client.bottom) return;
  Attach<TSkinEdit>(frame, control, false);
}

void ThirdCheckBox(TLacquerForm& frame, win::TControl& control) { Attach<TSkinCheckBox>(frame, control, false); }
void ThirdRadioButton(TLacquerForm& frame, win::TControl& control) {
  Attach<TSkinRadioButton>(frame, control, false);
}

// With xcRadioButton every child of a group gets the painter of its kind; the library
// buttons that draw their own glyphs get a strip of the kind instead.
template <class P>
void GroupChildren(TLacquerForm& frame, win::TControl& control, int glyphKind) {
  auto* group = dynamic_cast<win::TWinControl*>(&control);
  if (!group || !frame.FSkinData->SkinControls().Contains(T::xcRadioButton)) return;
  for (int i = 0; i < group->ControlCount(); ++i) {
    win::TControl& child = *group->Controls(i);
    if (frame.FindSkinComp(child)) continue;
    if (Upper(child.ClassName()).find("TRZ") != std::string::npos) {
      (new TSkinObjImage(&child, glyphKind))->Init(&frame, frame.FSkinData, &frame.FCanvas2, true);
    } else {
      Attach<P>(frame, child, false);
    }
  }
}

void ThirdRadioGroup(TLacquerForm& frame, win::TControl& control) {
  GroupChildren<TSkinRadioButton>(frame, control, TSkinObjImage::kRadioKind);
  Attach<TSkinGroupBox>(frame, control, true);
}

void ThirdCheckGroup(TLacquerForm& frame, win::TControl& control) {
  GroupChildren<TSkinCheckBox>(frame, control, TSkinObjImage::kCheckKind);
  if (frame.FSkinData->SkinControls().Contains(T::xcGroupBox)) Attach<TSkinGroupBox>(frame, control, true);
}

void ThirdContainer(TLacquerForm& frame, win::TControl& control) {
  auto* container = dynamic_cast<win::TWinControl*>(&control);
  if (!container) return;
  for (int i = 0; i < container->ControlCount(); ++i) {
    win::TControl& child = *container->Controls(i);
    frame.Find3rdControl(Upper(child.ClassName()), child);
  }
}

void ThirdTab(TLacquerForm& frame, win::TControl& control) { Attach<TSkinTab>(frame, control, false); }

void ThirdScrollbar(TLacquerForm& frame, win::TControl& control) {
  Scrollbars(frame, control);
  Children(frame, control);
}

// Each child: a scroll-bar control is covered whole, a scrolling control gets its bars covered.
void ThirdEmbedScrollbar(TLacquerForm& frame, win::TControl& control) {
  auto* container = dynamic_cast<win::TWinControl*>(&control);
  if (!container) return;
  for (int i = 0; i < container->ControlCount(); ++i) {
    win::TControl& child = *container->Controls(i);
    if (frame.FindSkinComp(child)) continue;
    if (InheritsFromName(child, "TScrollBar")) ScrollBarControl(frame, child);
    else if (IsScrollControl(child)) Scrollbars(frame, child);
  }
}

const TThirdPartyKind kKinds[] = {
    {"nil", kNone, false, &Nothing},
    {"panel", TTypes{T::xcPanel}, false, &ThirdPanel},
    {"trackbar", TTypes{T::xcButton}, false, &ThirdTrackBar},
    {"button", TTypes{T::xcButton}, false, &ThirdButton},
    {"bitbtn", TTypes{T::xcButton}, false, &ThirdBitButton},
    {"speedbutton", TTypes{T::xcSpeedButton}, false, &ThirdSpeedButton},
    {"tab", TTypes{T::xcTab}, true, &ThirdTab},
    {"progress", TTypes{T::xcProgress}, false, &ThirdProgress},
    {"groupbox", TTypes{T::xcGroupBox}, false, &ThirdGroupBox},
    {"radiogroup", TTypes{T::xcGroupBox}, false, &ThirdRadioGroup},
    {"radiobutton", TTypes{T::xcRadioButton}, false, &ThirdRadioButton},
    {"checkbox", TTypes{T::xcCheckBox}, false, &ThirdCheckBox},
    {"combobox", TTypes{T::xcCombo}, false, &ThirdComboBox},
    {"edit", TTypes{T::xcEdit}, false, &ThirdEdit},
    {"checkgroup", TTypes{T::xcPanel}, false, &ThirdCheckGroup},
    {"container", kNone, false, &ThirdContainer},
    {"scrollbar", TTypes{T::xcScrollbar}, false, &ThirdScrollbar},
    {"embedscrollbar", TTypes{T::xcScrollbar}, false, &ThirdEmbedScrollbar},
};

constexpr std::size_t kMaxKindLength = 50;

}  // namespace

std::span<const TDiscoveryRow> DiscoveryTable() { return kTable; }
std::span<const TThirdPartyKind> ThirdPartyKinds() { return kKinds; }

bool InheritsFromName(const core::TObject& object, std::string_view className) {
  for (const core::TClassInfo* c = &object.ClassType(); c; c = c->Parent)
    if (className == c->Name) return true;
  return false;
}

bool IsScrollControl(const win::TControl& control) {
  auto* windowed = dynamic_cast<const win::TWinControl*>(&control);
  if (!windowed) return false;
  if (windowed->HandleAllocated() &&
      (GetWindowLongPtrW(windowed->WindowHandle(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)))
    return true;
  for (const char* kind : {"TCustomListBox", "TCustomMemo", "TCustomTreeView", "TScrollBox"})
    if (InheritsFromName(control, kind)) return true;
  return false;
}

const TDiscoveryRow* FindDiscoveryRow(const win::TControl& control) {
  const std::string upper = Upper(control.ClassName());
  for (const TDiscoveryRow& row : kTable) {
    if (row.Match == TMatchKind::ScrollControl) {
      if (IsScrollControl(control)) return &row;
      continue;
    }
    for (const char* name : row.Names) {
      if (!name) continue;
      const bool hit = row.Match == TMatchKind::Inherits ? InheritsFromName(control, name) : upper == name;
      if (hit) return &row;
    }
  }
  return nullptr;
}

bool RowAllowed(const TSkinData& data, TSkinControlTypes needs, bool needsTabs) {
  if ((data.SkinControls().Bits() & needs.Bits()) != needs.Bits()) return false;
  return !needsTabs || (data.Tabs && data.Tabs->Bitmap.Width() > 0);
}

std::optional<std::string> LookupSkin3rd(const core::TStringList& list, std::string_view className) {
  std::string prefix(className);
  std::transform(prefix.begin(), prefix.end(), prefix.begin(), [](unsigned char c) { return std::tolower(c); });
  prefix += '=';
  for (std::int32_t i = 0; i < list.Count(); ++i) {
    std::string line = list.Get(i);
    std::transform(line.begin(), line.end(), line.begin(), [](unsigned char c) { return std::tolower(c); });
    if (line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size(), kMaxKindLength);
  }
  return std::nullopt;
}

// ---- the walk

void TLacquerForm::InitControls(win::TCustomForm& form) {
  PurgeControls();
  InitControlA(form);
  // Windowed controls the form does not own (made at run time by other owners).
  std::function<void(win::TWinControl&)> walk = [&](win::TWinControl& container) {
    for (int i = 0; i < container.ControlCount(); ++i)
      if (auto* child = dynamic_cast<win::TWinControl*>(container.Controls(i))) {
        AddComp(*child, form);
        walk(*child);
      }
  };
  walk(form);
}

void TLacquerForm::InitControlA(win::TWinControl& container) {
  // Discovery may add components (painters) to the container while it walks.
  std::vector<win::TControl*> controls;
  for (std::int32_t i = 0; i < container.ComponentCount(); ++i)
    if (auto* control = dynamic_cast<win::TControl*>(container.Components(i))) controls.push_back(control);
  for (win::TControl* control : controls) AddComp(*control, container);
  if (FSkinData && FSkinData->SkinControls().Contains(TSkinControlType::xcPopupMenu))
    if (auto* form = dynamic_cast<win::TCustomForm*>(&container)) InitPopMenu(*form, true);
}

void TLacquerForm::InitNestform(win::TCustomForm& container) {
  PurgeControls();
  if (!FindSkinComp(container)) Attach<TSkinBox>(*this, container, true);
  InitControlA(container);
}

void TLacquerForm::AddComp(win::TControl& control, win::TWinControl& parent) {
  if (!FSkinData) return;
  if (control.Tag() == FSkinData->DisableTag() || !control.Parent() || FindSkinComp(control)) return;
  const std::string className = Upper(control.ClassName());
  auto* windowed = dynamic_cast<win::TWinControl*>(&control);
  if (windowed) {
    windowed->HandleNeeded();
    if (!windowed->HandleAllocated()) return;
  }
  if (FSkinData->OnSkinControl) {
    core::TComponent* chosen = nullptr;
    FSkinData->OnSkinControl(this, FSkinData, &parent, &control, className, chosen);
    if (auto* painter = dynamic_cast<TSkinControl*>(chosen)) {
      if (!AddControlList(painter)) painter->Init(this, FSkinData, &FCanvas2, painter->FParentBK);
      if (InheritsFromName(control, "TCustomPanel")) Children(*this, control);
      return;
    }
  }
  if (Find3rdControl(className, control)) return;
  if (className == "TDBCOMBOBOXEH" || className == "TFRDESIGNERPAGE" || className == "TFRPBOX") return;
  const TDiscoveryRow* row = FindDiscoveryRow(control);
  if (row && RowAllowed(*FSkinData, row->Needs, row->NeedsTabs)) row->Apply(*this, control, parent);
}

bool TLacquerForm::Find3rdControl(const std::string& className, win::TControl& control) {
  if (!FSkinData || !FSkinData->Skin3rd()) return false;
  const std::optional<std::string> kind = LookupSkin3rd(*FSkinData->Skin3rd(), className);
  if (!kind) return false;
  for (const TThirdPartyKind& k : kKinds)
    if (*kind == k.Kind) {
      if (RowAllowed(*FSkinData, k.Needs, k.NeedsTabs)) k.Apply(*this, control);
      break;
    }
  return true;
}

void InitToolbarMenu(TLacquerForm& frame, win::TMenuItem& item, bool on) {
  for (int i = 0; i < item.Count(); ++i) {
    win::TMenuItem& child = *item.Items(i);
    if (on) {
      child.OnDrawItem = [&frame](core::TObject* sender, win::TCanvas& canvas, RECT rect, bool selected) {
        frame.DrawMenuItem(*static_cast<win::TMenuItem*>(sender), canvas, rect, selected);
      };
      child.OnMeasureItem = [&frame](core::TObject* sender, win::TCanvas& canvas, int& w, int& h) {
        frame.MeasureItem(*static_cast<win::TMenuItem*>(sender), canvas, w, h);
      };
    } else {
      child.OnDrawItem = nullptr;
    }
    InitToolbarMenu(frame, child, on);
  }
}

}  // namespace bw::skin
