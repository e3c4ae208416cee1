// Caption buttons: visibility, drawing, hot tracking, actions; the window icon; the skinned
// system menu.
#include "skin/window/LacquerCaption.h"

#include <algorithm>

#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"
#include "skin/draw/SkinDraw.h"
#include "skin/controls/WinSubClass.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/LacquerMenu.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

// ---- TNCObject

void TNCObject::MouseEnter() {
  if (FOwner->FHot && FOwner->FHot != this) FOwner->FHot->MouseLeave();
  if (FOwner->FHot == this) return;
  if (!FVisible) return;
  FOwner->FHot = this;
  FStatus = kNCHot;
  Draw();
}

void TNCObject::MouseLeave() {
  if (!FVisible) return;
  if (FOwner->FHot == this) FOwner->FHot = nullptr;
  FStatus = kNCNormal;
  Draw();
}

void TNCObject::MouseDown() {
  if (FOwner->FHot && FOwner->FHot != this) FOwner->FHot->MouseLeave();
  if (!FVisible) return;
  FOwner->FHot = this;
  FStatus = kNCPressed;
  Draw();
}

void TNCObject::MouseUp() {
  if (!FVisible) return;
  FStatus = kNCHot;
  Draw();
}

void TWinSysButton::Draw() { FOwner->DrawSysbtn(*this, FStatus); }

// ---- visibility and placement

namespace {

bool IconAction(std::int32_t action) {
  return action == kActionIcon || action == kActionIcon2 || action == kActionIcon3;
}

}  // namespace

bool TLacquerForm::Checkvisible(int index) {
  if (index < 0 || index >= FButtonCount) return false;
  const TDataSkinSysButton& s = *FButtons[static_cast<size_t>(index)]->FSkinButton;
  const bool max = IsZoomed(FHandle) != FALSE;
  const bool hasMax = (FCaps & kCapMaxBox) != 0, hasMin = (FCaps & kCapMinBox) != 0;
  const bool hasSys = (FCaps & kCapSysMenu) != 0;
  auto mdiChildMax = [&] {
    if (!FMenuBar || !IsMDIForm()) return false;
    auto active = reinterpret_cast<HWND>(SendMessageW(FMDIClientWnd, WM_MDIGETACTIVE, 0, 0));
    return active && IsZoomed(active);
  };
  // The first condition (`Visibility`) and the second (`Visibility1`) differ only where noted.
  auto holds = [&](std::int32_t v, bool first) -> bool {
    if (v < 0 || v == 5) return false;
    switch (v) {
      case 0: return !first || s.Action != kActionClose || hasSys;
      case 1: return max;
      case 2: return !max;
      case 3: return FActive;
      case 4: return !FActive;
      case 6: return first ? (hasMax && hasSys) : hasMax;
      case 7: return !hasMax;
      case 8: return first ? (hasMin && hasSys) : hasMin;
      case 9: return !hasMin;
      case kVisibilityMDI: return mdiChildMax();
      case 200: return !FDialogClass && FBorderStyle == TSkinFormBorder::sbsDialog;
    }
    if (v >= 10 && v <= 99) return false;
    if (v >= 101 && v <= 199) return false;
    if (v >= 201 && v <= 999) return true;
    if (v >= 1000 && v <= 2000)
      return !first || SendMessageW(FHandle, SKIN_MSG_BUTTONVISIBLE, static_cast<WPARAM>(index), 0) > 0;
    return false;
  };
  bool visible = holds(s.Visibility, true);
  if (visible) visible = s.Visibility1 == kVisibilityMDI ? visible : holds(s.Visibility1, false);
  if (visible && (s.Action == kActionMaximize) && !hasMax) visible = false;
  if (visible && (s.Action == kActionMinimize) && !hasMin) visible = false;
  if (visible && IconAction(s.Action) && FBorderStyle == TSkinFormBorder::sbsDialog) visible = false;
  return visible;
}

void TLacquerForm::SetSysbtnRect(const TFrameLayout& g) {
  for (int i = 0; i < FButtonCount; ++i) {
    TWinSysButton& b = *FButtons[static_cast<size_t>(i)];
    b.FRect = i < static_cast<int>(g.ButtonRects.size()) ? g.ButtonRects[static_cast<size_t>(i)] : RECT{};
  }
}

void TLacquerForm::DrawAllSysbtn(HDC dc) {
  for (const auto& button : FButtons) {
    TDataSkinSysButton& s = *button->FSkinButton;
    if (!button->FVisible || s.Bitmap.Width() == 0 || s.Visibility == kVisibilityMDI) continue;
    if (IconAction(s.Action)) {
      DrawIcon(dc, button->FRect);
      continue;
    }
    const int frames = std::max(s.Frame, 1);
    const int frame = FActive || frames < 4 ? 1 : 4;
    DrawRect1(dc, button->FRect, s.Bitmap, frame, frames, true);
  }
}

void TLacquerForm::DrawSysbtn(TWinSysButton& button, std::int32_t status) {
  TDataSkinSysButton& s = *button.FSkinButton;
  if (!button.FVisible || s.Bitmap.Width() == 0) return;
  win::TWindowDC dc(FHandle, win::TWindowDC::TArea::Window);
  if (!dc) return;
  if (IconAction(s.Action)) {
    DrawIcon(dc.Get(), button.FRect);
    return;
  }
  const int frames = std::max(s.Frame, 1);
  int frame = status;
  if (s.Visibility == kVisibilityMDI && status == kNCHot) frame = 4;
  frame = std::clamp(frame, 1, frames);
  // The caption strip under the button first: a keyed button leaves the strip showing.
  const RECT& r = button.FRect;
  if (FCaptionBitmap.Width() > 0 && r.bottom <= FCaptionBitmap.Height())
    BitBlt(dc.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top, FCaptionBitmap.Canvas().Handle(), r.left,
           r.top, SRCCOPY);
  DrawRect1(dc.Get(), r, s.Bitmap, frame, frames, true);
}

TWinSysButton* TLacquerForm::FindBtn(POINT p) {
  for (const auto& button : FButtons)
    if (button->FVisible && button->FSkinButton->Action >= 0 && PtInRect(&button->FRect, p)) return button.get();
  return nullptr;
}

// ---- actions

void TLacquerForm::Maximize() {
  if (IsZoomed(FHandle)) return Restore();
  if (IsMDIChild() && SkinManager) SkinManager->SetMDIMax(true);
  FWindowState = TSkinWindowState::swsMax;
  PostMessageW(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  FHot = nullptr;
}

void TLacquerForm::Minimize() {
  if (IsIconic(FHandle)) return Restore();
  FWindowState = TSkinWindowState::swsMin;
  PostMessageW(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TLacquerForm::Restore() {
  FWindowState = TSkinWindowState::swsNormal;
  PostMessageW(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TLacquerForm::MDIChildAction(WPARAM command) {
  if (!IsMDIForm() || !FMDIClientWnd) return;
  auto active = reinterpret_cast<HWND>(SendMessageW(FMDIClientWnd, WM_MDIGETACTIVE, 0, 0));
  if (active) SendMessageW(active, WM_SYSCOMMAND, command, 0);
}

void TLacquerForm::SysBtnAction(int x, int y) {
  auto* button = dynamic_cast<TWinSysButton*>(FHot);
  if (!button) return;
  switch (button->FSkinButton->Action) {
    case kActionClose:
      if (FTimer) FTimer->SetEnabled(false);
      PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case kActionMaximize:
    case kActionMaximize2: Maximize(); break;
    case kActionMinimize:
    case kActionMinimize2: Minimize(); break;
    case kActionIcon:
    case kActionIcon2:
    case kActionIcon3: PopSysmenu(POINT{x + 1, y + 1}); break;
    case kActionMDIMinimize:
    case kActionMDIMinimize2: MDIChildAction(SC_MINIMIZE); break;
    case kActionMDIRestore:
    case kActionMDIRestore2: MDIChildAction(SC_RESTORE); break;
    case kActionMDIClose:
    case kActionMDIClose2: MDIChildAction(SC_CLOSE); break;
    default:
      PostMessageW(FHandle, SKIN_MSG_BUTTONACTION, static_cast<WPARAM>(button->FSkinButton->Action), 0);
      break;
  }
}

// ---- the system menu

void TLacquerForm::CreateSysmenu() {
  FSysMenu = std::make_unique<win::TPopupMenu>(nullptr);
  FSysMenu->SetTag(kSysMenuTag);
  FSysMenu->SetOwnerDraw(true);
  struct TEntry {
    const char* Caption;
    int Tag;
    bool Show;
  };
  const TEntry entries[] = {{" Restore ", kSysRestore, true},
                            {" Maximize ", kSysMaximize, (FStyle & WS_MAXIMIZEBOX) != 0},
                            {" Minimize ", kSysMinimize, (FStyle & WS_MINIMIZEBOX) != 0},
                            {"-", kSysLine, true},
                            {" Close ", kSysClose, true}};
  for (const TEntry& e : entries) {
    if (!e.Show) continue;
    auto* item = new win::TMenuItem(FSysMenu.get());
    item->SetCaption(e.Caption);
    item->SetTag(e.Tag);
    item->SetImageIndex(e.Tag == kSysLine ? -1 : e.Tag);
    if (e.Tag == kSysClose) item->SetShortCut(win::TextToShortCut("Alt+F4"));
    item->OnClick = [this, item](core::TObject*) { DoSysMenu(*item); };
    item->OnDrawItem = [this](core::TObject* sender, win::TCanvas& canvas, RECT rect, bool selected) {
      DrawMenuItem(*static_cast<win::TMenuItem*>(sender), canvas, rect, selected);
    };
    item->OnMeasureItem = [this](core::TObject* sender, win::TCanvas& canvas, int& w, int& h) {
      MeasureItemPop(*static_cast<win::TMenuItem*>(sender), canvas, w, h);
    };
    FSysMenu->Items()->Add(item);
  }
}

void TLacquerForm::DoSysMenu(win::TMenuItem& item) {
  switch (item.Tag()) {
    case kSysRestore: Restore(); break;
    case kSysMaximize: Maximize(); break;
    case kSysMinimize: Minimize(); break;
    case kSysClose:
      if (FTimer) FTimer->SetEnabled(false);
      PostMessageW(FHandle, WM_CLOSE, 0, 0);
      break;
  }
}

void TLacquerForm::PopSysmenu(POINT screen) {
  if (FSysMenu) {
    const bool max = IsZoomed(FHandle) != FALSE, min = IsIconic(FHandle) != FALSE;
    for (int i = 0; i < FSysMenu->Items()->Count(); ++i) {
      win::TMenuItem* item = FSysMenu->Items()->Items(i);
      if (item->Tag() == kSysRestore) item->SetEnabled(max || min);
      if (item->Tag() == kSysMaximize) item->SetEnabled(!max);
      if (item->Tag() == kSysMinimize) item->SetEnabled(!min);
    }
  }
  const DWORD now = GetTickCount();
  if (now - FLastPopupTick > FDblClickTime) {
    if (SkinManager) SkinManager->FMenuKind = 2;
    FLastPopupTick = now;
    const bool skinned =
        FSysMenu && FSkinData && FSkinData->SkinControls().Contains(TSkinControlType::xcSystemMenu) && !IsMDIChild();
    if (skinned) {
      FSysMenu->Popup(screen.x, screen.y);
    } else if (HMENU system = GetSystemMenu(FHandle, FALSE)) {
      const auto command = static_cast<UINT>(
          TrackPopupMenu(system, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, FHandle, nullptr));
      if (command) PostMessageW(FHandle, WM_SYSCOMMAND, command, 0);
    }
  } else if (FHot) {
    // A second click on the icon within the double-click time closes the window.
    if (FTimer) FTimer->SetEnabled(false);
    PostMessageW(FHandle, WM_CLOSE, 0, 0);
  }
}

// ---- the window icon

void TLacquerForm::GetIcon() {
  const int size = GetSystemMetrics(SM_CXSMICON);
  FIconSize = size;
  FIconBitmap.SetPixelFormat(win::TPixelFormat::pf24bit);
  FIconBitmap.SetSize(size, GetSystemMetrics(SM_CYSMICON));
  win::TCanvas& canvas = FIconBitmap.Canvas();
  canvas.Brush().SetColor(static_cast<TColor>(kSkinKeyColor));
  canvas.FillRect(RECT{0, 0, FIconBitmap.Width(), FIconBitmap.Height()});
  FIcon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_SMALL, 0));
  if (!FIcon) FIcon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_BIG, 0));
  if (FIcon) {
    DrawIconEx(canvas.Handle(), 0, 0, FIcon, size, FIconBitmap.Height(), 0, nullptr, DI_NORMAL);
    return;
  }
  if (!FSkinData) return;
  TBitmap* appIcon = &FSkinData->AppIcon;
  if (appIcon->Width() == 0 && SkinManager)
    for (TSkinData* data : SkinManager->DataList())
      if (data->SkinFormtype() == TSkinFormType::sfMainform && data->AppIcon.Width() > 0) appIcon = &data->AppIcon;
  if (appIcon->Width() > 0) {
    FIconBitmap.Assign(*appIcon);
    FIconBitmap.SetPixelFormat(win::TPixelFormat::pf24bit);
  }
}

void TLacquerForm::DrawIcon(HDC dc, const RECT& rect) {
  if (FIcon) {
    DrawIconEx(dc, rect.left, rect.top, FIcon, FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
    return;
  }
  if (FIconBitmap.Width() > 0) DrawTranmap(dc, rect, FIconBitmap, kSkinKeyColor);
}

// ---- hover timer

void TLacquerForm::OnTimer() {
  if (FInMenuLoop || DropLoopRunning()) return;
  POINT cursor;
  GetCursorPos(&cursor);
  if (FHot) {
    const POINT p = GetWinXY(cursor);
    if (!PtInRect(&FHot->FRect, p)) FHot->MouseLeave();
  }
  if (!FForm && FHotControl) {
    RECT r;
    if (!FHotControl->FHandle || !GetWindowRect(FHotControl->FHandle, &r) || !PtInRect(&r, cursor)) {
      TSkinControl* hot = FHotControl;
      FHotControl = nullptr;
      hot->MouseLeave();
    }
  }
}

}  // namespace bw::skin
