// Discovery for plain windows (system dialogs, windows of other modules): the painter
// comes from the window's class name and button style.
#include <algorithm>
#include <cctype>

#include "skin/controls/Buttons.h"
#include "skin/controls/Checks.h"
#include "skin/controls/Combos.h"
#include "skin/controls/Discovery.h"
#include "skin/controls/Panels.h"
#include "skin/controls/Progress.h"
#include "skin/controls/Scrollbars.h"
#include "skin/controls/Tabs.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

TBareButtonKind ClassifyButtonStyle(DWORD style) {
  if ((style & 0xB) == 0xB) return TBareButtonKind::None;  // owner-drawn
  if ((style & 7) == 7 || (style & 0x80)) return TBareButtonKind::None;  // group box, picture button
  if ((style & 3) == 3 || (style & 2) || (style & 5) == 5) return TBareButtonKind::CheckBox;
  if ((style & 9) == 9 || (style & 4)) return TBareButtonKind::RadioButton;
  return TBareButtonKind::PushButton;
}

namespace {

template <class P>
void AttachBare(TLacquerForm& frame, HWND window) {
  auto* painter = new P(nullptr);  // listed, and freed, by the frame
  painter->Inithwnd(window, frame.FSkinData, &frame.FCanvas2, &frame);
}

void ChildrenOf(TLacquerForm& frame, HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) frame.AddControlh(child);
}

void FaceColourOf(TLacquerForm& frame, HWND window) {
  if (auto* control = dynamic_cast<win::TControl*>(FindControl(window)))
    control->SetColor(frame.FSkinData->Colors[TShemeColor::csButtonFace]);
}

void Button(TLacquerForm& frame, HWND window, DWORD style) {
  switch (ClassifyButtonStyle(style)) {
    case TBareButtonKind::PushButton: AttachBare<TSkinButton>(frame, window); break;
    case TBareButtonKind::CheckBox: AttachBare<TSkinCheckBox>(frame, window); break;
    case TBareButtonKind::RadioButton: AttachBare<TSkinRadioButton>(frame, window); break;
    case TBareButtonKind::None: break;
  }
}

void NestedDialog(TLacquerForm& frame, HWND window, DWORD style) {
  if (style & WS_TABSTOP) return;
  ChildrenOf(frame, window);
  AttachBare<TSkinBoxH>(frame, window);
}

void FrameworkPanel(TLacquerForm& frame, HWND window, DWORD) {
  ChildrenOf(frame, window);
  FaceColourOf(frame, window);
}

void ComboBox(TLacquerForm& frame, HWND window, DWORD style) {
  // A simple combo box's list and edit are always shown: nothing of it is the button's.
  if ((style & 3) != CBS_SIMPLE) AttachBare<TSkinComBox>(frame, window);
}

void ComboBoxEx(TLacquerForm& frame, HWND window, DWORD) {
  if (HWND combo = GetWindow(window, GW_CHILD)) AttachBare<TSkinComBox>(frame, combo);
}

void FrameworkComboBox(TLacquerForm& frame, HWND window, DWORD) { AttachBare<TSkinComBox>(frame, window); }
void Edit(TLacquerForm& frame, HWND window, DWORD) { AttachBare<TSkinEdit>(frame, window); }

void SilentPanel(TLacquerForm& frame, HWND window, DWORD) { FaceColourOf(frame, window); }
void FrameworkButton(TLacquerForm& frame, HWND window, DWORD) { AttachBare<TSkinButton>(frame, window); }
void FrameworkCheckBox(TLacquerForm& frame, HWND window, DWORD) { AttachBare<TSkinCheckBox>(frame, window); }
void FrameworkProgress(TLacquerForm& frame, HWND window, DWORD) { AttachBare<TSkinProgress>(frame, window); }
void Nothing(TLacquerForm&, HWND, DWORD) {}

// Only a size box or grip: a scroll-bar control that lacks a tab stop keeps its bar.
void SizeGrip(TLacquerForm& frame, HWND window, DWORD style) {
  if (!(style & WS_TABSTOP) && (style & (SBS_SIZEBOX | SBS_SIZEGRIP))) AttachBare<TSkinSizer>(frame, window);
}

// An owner-drawn tab control draws its own tabs.
void TabControl(TLacquerForm& frame, HWND window, DWORD style) {
  if (!(style & TCS_OWNERDRAWFIXED)) AttachBare<TSkinTab>(frame, window);
}

struct TBareRow {
  const char* ClassName;  // lower case
  void (*Apply)(TLacquerForm& frame, HWND window, DWORD style);
};

// First match by class name.
const TBareRow kBareRows[] = {
    {"button", &Button},
    {"combobox", &ComboBox},
    {"comboboxex32", &ComboBoxEx},
    {"scrollbar", &SizeGrip},
    {"systreeview32", &Nothing},
    {"#32770", &NestedDialog},
    {"tpanel", &FrameworkPanel},
    {"tcheckbox", &FrameworkCheckBox},
    {"tcombobox", &FrameworkComboBox},
    {"tbutton", &FrameworkButton},
    {"tprogressbar", &FrameworkProgress},
    {"tsilentpaintpanel", &SilentPanel},
    {"systabcontrol32", &TabControl},
    {"edit", &Edit},
};

}  // namespace

void TLacquerForm::AddControlh(HWND window) {
  if (!FSkinData || !window) return;
  if (std::any_of(FControls.begin(), FControls.end(), [&](const TSkinControl* p) { return p->FHandle == window; }))
    return;
  std::string name = GetWindowClassname(window);
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  for (const TBareRow& row : kBareRows)
    if (name == row.ClassName) {
      row.Apply(*this, window, style);
      return;
    }
}

}  // namespace bw::skin
