#include "framework/win/Menus.h"

#include <algorithm>
#include <cwctype>
#include <unordered_set>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Enums.h"
#include "framework/win/Application.h"
#include "framework/win/Forms.h"
#include "framework/win/ImageList.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {

// Items alive now: a menu's item data is only trusted when it names one of them.
std::unordered_set<const TMenuItem*>& LiveItems() {
  static std::unordered_set<const TMenuItem*> items;
  return items;
}

// Command ids from 0x40 to 0x7FFF, the lowest free one first, so they stay small; the ids
// below are the dialog commands (IDOK ...) that dialog navigation sends on its own.
constexpr UINT kFirstCommand = 0x40;
constexpr UINT kLastCommand = 0x7FFF;
std::vector<bool>& UsedCommands() {
  static std::vector<bool> used(kLastCommand + 1, false);
  return used;
}
UINT AllocCommand() {
  auto& used = UsedCommands();
  for (UINT id = kFirstCommand; id <= kLastCommand; ++id)
    if (!used[id]) {
      used[id] = true;
      return id;
    }
  return 0;  // every id taken: the item still works through its item data
}
void FreeCommand(UINT id) {
  if (id >= kFirstCommand && id <= kLastCommand) UsedCommands()[id] = false;
}

struct TKeyName {
  WORD Key;
  const char* Name;
};
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},   {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},  {VK_END, "End"},      {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
};

std::string KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  for (const TKeyName& k : kKeyNames)
    if (k.Key == key) return k.Name;
  return {};
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

// A check mark (or a radio bullet) in the text colour, through a monochrome mask.
void DrawCheck(HDC dc, const RECT& box, bool radio, COLORREF color) {
  const int w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return;
  TMemoryDC maskDC(dc);
  TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
  if (!maskDC || !mask) return;
  TSelectGuard selectMask(maskDC.Get(), mask.Get());
  RECT r{0, 0, w, h};
  DrawFrameControl(maskDC.Get(), &r, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  TBrushHandle brush(CreateSolidBrush(color));
  TSelectGuard selectBrush(dc, brush.Get());
  TSaveDCGuard saved(dc);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  // Where the mask is black the brush colour goes down; white keeps the destination.
  BitBlt(dc, box.left, box.top, w, h, maskDC.Get(), 0, 0, 0x00B8074A);
}

constexpr int kGlyphColumnPx = 20;
constexpr int kTextGapPx = 6;

}  // namespace

// ---- short cuts and accelerators

std::string ShortCutToText(TShortCut shortCut) {
  const std::string key = KeyName(static_cast<WORD>(shortCut & 0xFF));
  if (key.empty()) return {};
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + key;
}

TShortCut TextToShortCut(std::string_view text) {
  TShortCut mods = 0;
  for (;;) {
    if (StartsWithNoCase(text, "Shift+")) mods |= scShift, text.remove_prefix(6);
    else if (StartsWithNoCase(text, "Ctrl+")) mods |= scCtrl, text.remove_prefix(5);
    else if (StartsWithNoCase(text, "Alt+")) mods |= scAlt, text.remove_prefix(4);
    else break;
  }
  for (WORD key = 1; key < 256; ++key) {
    const std::string name = KeyName(key);
    if (!name.empty() && name.size() == text.size() && StartsWithNoCase(text, name))
      return static_cast<TShortCut>(key | mods);
  }
  return scNone;
}

TShortCut ShortCutOfKey(UINT msg, WPARAM key) {
  if (msg != WM_KEYDOWN && msg != WM_SYSKEYDOWN) return scNone;
  switch (key) {
    case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_LWIN: case VK_RWIN: case VK_CAPITAL:
      return scNone;
  }
  if (key > 0xFF) return scNone;
  TShortCut shortCut = static_cast<TShortCut>(key);
  if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) shortCut |= scAlt;
  return shortCut;
}

bool IsAccel(wchar_t key, const std::string& caption) {
  const std::wstring text = Widen(caption);
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] == L'&') {
      ++i;
      continue;
    }
    return std::towlower(text[i + 1]) == std::towlower(key);
  }
  return false;
}

std::string StripHotkey(const std::string& caption) {
  std::string text;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') text += '&';
      ++i;
      if (i < caption.size() && caption[i] != '&') text += caption[i];
      continue;
    }
    text += caption[i];
  }
  return text;
}

// ---- TMenuItem

const core::TPropInfo TMenuItem::kProps[] = {
    core::StrProp<&TMenuItem::FCaption, &TMenuItem::SetCaption>("Caption"),
    core::BoolProp<&TMenuItem::FAutoCheck, &TMenuItem::SetAutoCheck>("AutoCheck", false),
    core::ObjProp<&TMenuItem::Bitmap>("Bitmap"),
    core::BoolProp<&TMenuItem::FChecked, &TMenuItem::SetChecked>("Checked", false),
    core::BoolProp<&TMenuItem::FDefault, &TMenuItem::SetDefault>("Default", false),
    core::BoolProp<&TMenuItem::FEnabled, &TMenuItem::SetEnabled>("Enabled", true),
    core::IntProp<&TMenuItem::FGroupIndex, &TMenuItem::SetGroupIndex>("GroupIndex", 0),
    core::StrProp<&TMenuItem::FHint, &TMenuItem::SetHint>("Hint"),
    core::IntProp<&TMenuItem::FImageIndex, &TMenuItem::SetImageIndex>("ImageIndex", -1),
    core::BoolProp<&TMenuItem::FRadioItem, &TMenuItem::SetRadioItem>("RadioItem", false),
    core::IntProp<&TMenuItem::GetShortCutProp, &TMenuItem::SetShortCutProp>("ShortCut", 0),
    core::BoolProp<&TMenuItem::FVisible, &TMenuItem::SetVisible>("Visible", true),
    core::EventProp<&TMenuItem::OnClick>("OnClick"),
    core::EventProp<&TMenuItem::OnDrawItem>("OnDrawItem"),
    core::EventProp<&TMenuItem::OnMeasureItem>("OnMeasureItem"),
};
const core::TClassInfo TMenuItem::kClass{"TMenuItem", &core::TComponent::kClass, kProps, {},
                                         &core::CreateComponentOf<TMenuItem>};

TMenuItem::TMenuItem(core::TComponent* owner)
    : core::TComponent(owner), FBitmap(std::make_unique<TBitmap>()), FCommand(AllocCommand()) {
  LiveItems().insert(this);
  FBitmap->OnChange = [this] { Changed(false); };
}

TMenuItem::~TMenuItem() {
  Destroying();
  LiveItems().erase(this);
  FBitmap->OnChange = nullptr;
  if (FParent) FParent->Remove(this);
  for (TMenuItem* child : FItems) child->FParent = nullptr;
  FItems.clear();
  if (FHandle) {
    // Detached first: destroying a menu destroys the submenus still in it.
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
    DestroyMenu(FHandle);
  }
  FreeCommand(FCommand);
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
  auto* item = reinterpret_cast<TMenuItem*>(data);
  return LiveItems().count(item) ? item : nullptr;
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  Changed(false);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  if (shortCut == FShortCut) return;
  FShortCut = shortCut;
  Changed(false);
}

void TMenuItem::SetChecked(bool checked) {
  if (checked == FChecked) return;
  FChecked = checked;
  if (checked && FRadioItem && FParent)
    for (TMenuItem* sibling : FParent->FItems)
      if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->FChecked = false;
  Changed(false);
}

void TMenuItem::SetRadioItem(bool radio) {
  if (radio == FRadioItem) return;
  FRadioItem = radio;
  Changed(false);
}

void TMenuItem::SetGroupIndex(int index) {
  FGroupIndex = index;
  Changed(false);
}

void TMenuItem::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Changed(false);
}

void TMenuItem::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  Changed(true);
}

void TMenuItem::SetDefault(bool isDefault) {
  if (isDefault == FDefault) return;
  FDefault = isDefault;
  Changed(false);
}

void TMenuItem::SetImageIndex(int index) {
  if (index == FImageIndex) return;
  FImageIndex = index;
  Changed(false);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  const auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (p == item) throw core::Exception("A menu item cannot hold itself");
  if (item->FParent) item->FParent->Remove(item);
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  const int index = IndexOf(item);
  if (index < 0) return;
  FItems.erase(FItems.begin() + index);
  item->FParent = nullptr;
  if (!IsDestroying()) Changed(true);
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) throw core::EListError("Menu index out of bounds");
  delete FItems[static_cast<size_t>(index)];
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

bool TMenuItem::Reachable() const {
  for (const TMenuItem* item = this; item && !item->FMenu; item = item->FParent)
    if (!item->FEnabled || !item->FVisible) return false;
  return true;
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    const TMenu* menu = FMenu;
    FHandle = menu && menu->IsBar() ? CreateMenu() : CreatePopupMenu();
    if (!FHandle) throw core::Exception("Cannot create a menu (error " + std::to_string(GetLastError()) + ")");
    RebuildHandle();
  }
  return FHandle;
}

TImageList* TMenuItem::ImageListOf() const {
  const TMenu* menu = GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

HBITMAP TMenuItem::ImageBitmap() {
  if (FImage) return FImage.Get();
  TImageList* images = ImageListOf();
  const bool fromList = images && FImageIndex >= 0 && FImageIndex < images->Count();
  const bool fromBitmap = !fromList && FBitmap->Width() > 0 && FBitmap->Height() > 0;
  if (!fromList && !fromBitmap) return nullptr;
  const int w = fromList ? images->Width() : FBitmap->Width();
  const int h = fromList ? images->Height() : FBitmap->Height();
  TBitmap glyph(w, h, TPixelFormat::pf24bit);
  TCanvas& canvas = glyph.Canvas();
  canvas.Brush().SetColor(clMenu);
  canvas.FillRect(RECT{0, 0, w, h});
  if (fromList) {
    images->Draw(canvas, 0, 0, FImageIndex, FEnabled);
  } else {
    FBitmap->SetTransparent(true);
    canvas.Draw(0, 0, *FBitmap);
  }
  FImage.Reset(glyph.ReleaseHandle());
  return FImage.Get();
}

void TMenuItem::FillItemInfo(MENUITEMINFOW& info, std::wstring& text) {
  const TMenu* menu = GetParentMenu();
  const bool ownerDraw = menu && menu->OwnerDraw();
  info = MENUITEMINFOW{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU;
  info.wID = FCommand;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  info.fType = ownerDraw ? MFT_OWNERDRAW : 0;
  if (IsLine()) {
    info.fType |= MFT_SEPARATOR;
    return;
  }
  if (FRadioItem) info.fType |= MFT_RADIOCHECK;
  if (FChecked) info.fState |= MFS_CHECKED;
  if (!FEnabled) info.fState |= MFS_GRAYED;
  if (FDefault) info.fState |= MFS_DEFAULT;
  if (!FItems.empty()) info.hSubMenu = Handle();
  text = Widen(FCaption);
  if (const std::string keys = ShortCutToText(FShortCut); !keys.empty()) text += L"\t" + Widen(keys);
  info.fMask |= MIIM_STRING;
  info.dwTypeData = text.data();
  if (!ownerDraw)
    if (HBITMAP image = ImageBitmap()) {
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = image;
    }
}

std::vector<TMenuItem*> TMenuItem::ShownItems() const {
  const auto* bar = FMenu ? dynamic_cast<const TMainMenu*>(FMenu) : nullptr;
  if (!bar || !bar->Merged()) return FItems;
  // An MDI child's items merged by group: a child group replaces the frame's items of the
  // same group, other groups go in order among the frame's.
  const std::vector<TMenuItem*>& child = bar->Merged()->Items()->FItems;
  std::vector<TMenuItem*> shown;
  for (TMenuItem* item : FItems) {
    const bool replaced = std::any_of(child.begin(), child.end(),
                                      [&](const TMenuItem* c) { return c->FGroupIndex == item->FGroupIndex; });
    if (!replaced) shown.push_back(item);
  }
  for (TMenuItem* item : child) {
    auto at = std::find_if(shown.begin(), shown.end(),
                           [&](const TMenuItem* s) { return s->FGroupIndex > item->FGroupIndex; });
    shown.insert(at, item);
  }
  return shown;
}

void TMenuItem::RebuildHandle() {
  if (!FHandle || FUpdating) return;
  FUpdating = true;
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  UINT position = 0;
  for (TMenuItem* item : ShownItems()) {
    if (!item->FVisible) continue;
    MENUITEMINFOW info;
    std::wstring text;
    item->FillItemInfo(info, text);
    InsertMenuItemW(FHandle, position++, TRUE, &info);
  }
  FUpdating = false;
}

void TMenuItem::Changed(bool structure) {
  FImage.Reset();
  TMenu* menu = GetParentMenu();
  if (IsLoading() || IsDestroying() || (menu && (menu->IsLoading() || menu->IsDestroying()))) return;
  RebuildHandle();
  if (FParent) FParent->RebuildHandle();
  if (menu) menu->MenuChanged(this, structure);
}

void TMenuItem::Loaded() {
  core::TComponent::Loaded();
  Changed(true);
}

void TMenuItem::Click() {
  if (FAutoCheck) SetChecked(FRadioItem ? true : !FChecked);
  OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
  else DefaultMeasureItem(canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas& canvas, const RECT& rect, bool selected) {
  if (OnDrawItem) OnDrawItem(this, canvas, rect, selected);
  else DefaultDrawItem(canvas, rect, selected);
}

void TMenuItem::DefaultMeasureItem(TCanvas& canvas, int& width, int& height) {
  const bool onBar = FParent && FParent->FMenu && FParent->FMenu->IsBar();
  if (IsLine()) {
    width = 10;
    height = 8;
    return;
  }
  if (FDefault) canvas.Font().SetStyle(core::TFontStyles{core::TFontStyle::fsBold});
  const SIZE text = canvas.TextExtent(StripHotkey(FCaption).empty() ? " " : StripHotkey(FCaption));
  if (onBar) {
    width = text.cx + 4;
    height = std::max<int>(text.cy + 4, GetSystemMetrics(SM_CYMENU));
    return;
  }
  const std::string keys = ShortCutToText(FShortCut);
  const int keysWidth = keys.empty() ? 0 : canvas.TextWidth(keys) + 3 * kTextGapPx;
  width = kGlyphColumnPx + kTextGapPx + text.cx + keysWidth + kTextGapPx;
  height = std::max<int>(text.cy + 4, 18);
}

void TMenuItem::DefaultDrawItem(TCanvas& canvas, const RECT& rect, bool selected) {
  HDC dc = canvas.Handle();
  const bool onBar = FParent && FParent->FMenu && FParent->FMenu->IsBar();
  canvas.Brush().SetColor(selected ? clHighlight : clMenu);
  canvas.FillRect(rect);
  if (IsLine()) {
    RECT line = rect;
    line.top += (rect.bottom - rect.top) / 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const TColor textColor = !FEnabled ? clGrayText : selected ? clHighlightText : clMenuText;
  RECT textRect = rect;
  if (!onBar) {
    const RECT glyphBox{rect.left + 2, rect.top + (rect.bottom - rect.top - 16) / 2, rect.left + 18,
                        rect.top + (rect.bottom - rect.top - 16) / 2 + 16};
    TImageList* images = ImageListOf();
    if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
      images->Draw(canvas, glyphBox.left, rect.top + (rect.bottom - rect.top - images->Height()) / 2, FImageIndex,
                   FEnabled);
    } else if (FBitmap->Width() > 0) {
      FBitmap->SetTransparent(true);
      canvas.Draw(glyphBox.left, rect.top + (rect.bottom - rect.top - FBitmap->Height()) / 2, *FBitmap);
    } else if (FChecked) {
      DrawCheck(canvas.Handle(), glyphBox, FRadioItem, ColorToRGB(textColor));
    }
    textRect.left += kGlyphColumnPx + kTextGapPx;
    textRect.right -= kTextGapPx;
  }
  dc = canvas.Handle();
  TSaveDCGuard saved(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(textColor));
  TFontHandle bold;
  if (FDefault) {
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    bold.Reset(CreateFontIndirectW(&font));
    SelectObject(dc, bold.Get());
  }
  const std::wstring caption = Widen(FCaption);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
            DT_SINGLELINE | DT_VCENTER | (onBar ? DT_CENTER : DT_LEFT));
  if (const std::string keys = ShortCutToText(FShortCut); !keys.empty() && !onBar) {
    const std::wstring wide = Widen(keys);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

core::TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(core::TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
}

void TMenuItem::GetChildren(const std::function<void(core::TComponent&)>& visit, core::TComponent& root) {
  for (TMenuItem* item : FItems)
    if (item->Owner() == &root) visit(*item);
}

bool HandleMenuOwnerDraw(UINT msg, LPARAM lParam) {
  if (msg == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (!measure || measure->CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FromItemData(measure->itemData);
    if (!item) return false;
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    canvas.Font().Assign(*Screen().MenuFont());
    int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
    try {
      item->MeasureItem(canvas, width, height);
    } catch (...) {
      canvas.SetHandle(nullptr);
      throw;
    }
    canvas.SetHandle(nullptr);
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    measure->itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (!draw || draw->CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FromItemData(draw->itemData);
    if (!item) return false;
    TCanvas canvas;
    canvas.SetHandle(draw->hDC);
    canvas.Font().Assign(*Screen().MenuFont());
    try {
      item->DrawItem(canvas, draw->rcItem, (draw->itemState & ODS_SELECTED) != 0);
    } catch (...) {
      canvas.SetHandle(nullptr);
      throw;
    }
    canvas.SetHandle(nullptr);
    return true;
  }
  return false;
}

// ---- TMenu

const core::TPropInfo TMenu::kProps[] = {
    core::ObjProp<&TMenu::Images, &TMenu::SetImages>("Images"),
    core::BoolProp<&TMenu::FOwnerDraw, &TMenu::SetOwnerDraw>("OwnerDraw", false),
};
const core::TClassInfo TMenu::kClass{"TMenu", &core::TComponent::kClass, kProps, {}};

TMenu::TMenu(core::TComponent* owner) : core::TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  Destroying();
  FItems.reset();
}

namespace {
template <class F>
TMenuItem* FindIn(TMenuItem& item, F match) {
  for (int i = 0; i < item.Count(); ++i) {
    TMenuItem* child = item.Items(i);
    if (match(*child)) return child;
    if (TMenuItem* found = FindIn(*child, match)) return found;
  }
  return nullptr;
}
}  // namespace

void TMenu::SetOwnerDraw(bool ownerDraw) {
  if (ownerDraw == FOwnerDraw) return;
  FOwnerDraw = ownerDraw;
  if (IsLoading()) return;
  RebuildTree(*FItems);
  MenuChanged(nullptr, true);
}

void TMenu::RebuildTree(TMenuItem& item) {
  item.FImage.Reset();
  for (TMenuItem* child : item.FItems) RebuildTree(*child);
  item.RebuildHandle();
}

void TMenu::SetImages(TImageList* images) {
  if (images == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(*this);
  FImages = images;
  if (FImages) FImages->FreeNotification(*this);
  if (IsLoading()) return;
  RebuildTree(*FItems);
  MenuChanged(nullptr, false);
}

void TMenu::Notification(core::TComponent& component, core::TOperation operation) {
  core::TComponent::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FImages) FImages = nullptr;
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const {
  if (const auto* bar = dynamic_cast<const TMainMenu*>(this); bar && bar->Merged())
    if (TMenuItem* item = bar->Merged()->FindItem(value, kind)) return item;
  switch (kind) {
    case TFindItemKind::fkCommand:
      return FindIn(*FItems, [&](const TMenuItem& i) { return i.Command() == value; });
    case TFindItemKind::fkHandle:
      if (FItems->FHandle == reinterpret_cast<HMENU>(value)) return FItems.get();
      return FindIn(*FItems, [&](const TMenuItem& i) {
        return i.FHandle && i.FHandle == reinterpret_cast<HMENU>(value);
      });
    case TFindItemKind::fkShortCut:
      return FindIn(*FItems, [&](const TMenuItem& i) { return i.ShortCut() == value && i.Visible(); });
  }
  return nullptr;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
  if (shortCut == scNone) return false;
  TMenuItem* item = FindIn(*FItems, [&](const TMenuItem& i) { return i.ShortCut() == shortCut && i.Reachable(); });
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command, TFindItemKind::fkCommand);
  if (!item) return false;
  if (item->Reachable()) item->Click();
  return true;
}

void TMenu::MenuChanged(TMenuItem*, bool) {}

void TMenu::GetChildren(const std::function<void(core::TComponent&)>& visit, core::TComponent& root) {
  FItems->GetChildren(visit, root);
}

void TMenu::Loaded() {
  core::TComponent::Loaded();
  RebuildTree(*FItems);
  MenuChanged(nullptr, true);
}

// ---- TMainMenu

const core::TClassInfo TMainMenu::kClass{"TMainMenu", &TMenu::kClass, {}, {}, &core::CreateComponentOf<TMainMenu>};

TMainMenu::~TMainMenu() {
  if (FWindowOwner) FWindowOwner->SetMenu(nullptr);
}

void TMainMenu::Notification(core::TComponent& component, core::TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FMerged) {
    FMerged = nullptr;
    if (!IsDestroying()) {
      RebuildTree(*Items());
      MenuChanged(nullptr, true);
    }
  }
}

void TMainMenu::MenuChanged(TMenuItem* source, bool structure) {
  if (!FWindowOwner || !FWindowOwner->HandleAllocated()) return;
  // The window shows its menu again (code that drew the bar itself may have taken it away).
  HWND window = FWindowOwner->WindowHandle();
  if (FWindowOwner->Menu() == this && !(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) &&
      GetMenu(window) != Handle())
    ::SetMenu(window, Handle());
  DrawMenuBar(window);
  FWindowOwner->Perform(CM_MENUCHANGED, structure ? 1 : 0, reinterpret_cast<LPARAM>(source));
}

void TMainMenu::Merge(TMainMenu* child) {
  if (child == this || child == FMerged) return;
  if (FMerged) FMerged->RemoveFreeNotification(*this);
  FMerged = child;
  if (FMerged) FMerged->FreeNotification(*this);
  RebuildTree(*Items());
  MenuChanged(nullptr, true);
}

void TMainMenu::Unmerge(TMainMenu* child) {
  if (!child || child != FMerged) return;
  FMerged->RemoveFreeNotification(*this);
  FMerged = nullptr;
  RebuildTree(*Items());
  MenuChanged(nullptr, true);
}

// ---- TPopupMenu

const core::TPropInfo TPopupMenu::kProps[] = {
    core::BoolProp<&TPopupMenu::FAutoPopup, &TPopupMenu::SetAutoPopup>("AutoPopup", true),
    core::EventProp<&TPopupMenu::OnPopup>("OnPopup"),
};
const core::TClassInfo TPopupMenu::kClass{"TPopupMenu", &TMenu::kClass, kProps, {},
                                          &core::CreateComponentOf<TPopupMenu>};

void TPopupMenu::Popup(int x, int y) {
  OnPopup(this);
  // The owner window gets the owner-draw requests: the form the menu is shown for.
  HWND owner = nullptr;
  if (auto* control = dynamic_cast<TControl*>(FPopupComponent))
    if (TCustomForm* form = GetParentForm(control)) owner = form->Handle();
  if (!owner)
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()); form && form->HandleAllocated()) owner = form->Handle();
  if (!owner && Screen().ActiveForm()) owner = Screen().ActiveForm()->Handle();
  if (!owner && Application) owner = Application->Handle();
  if (!owner) return;
  SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);  // lets the menu loop end cleanly
  if (command != 0) DispatchCommand(command);
}

void RegisterMenuClasses() {
  for (const core::TClassInfo* cls : {&TMainMenu::kClass, &TPopupMenu::kClass, &TMenuItem::kClass})
    core::RegisterComponentClass(*cls);
}

}  // namespace bw::win
