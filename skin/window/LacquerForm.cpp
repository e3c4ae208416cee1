// The frame's set-up in two halves, its metrics, state and unskinning.
#include "skin/window/LacquerForm.h"

#include <algorithm>

#include "framework/win/Text.h"
#include "skin/controls/WinSubClass.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerMenu.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

const core::TClassInfo TLacquerForm::kClass{"TLacquerForm", &core::TComponent::kClass, {}, {}};

std::string GetWindowClassname(HWND window) {
  wchar_t name[100] = {};
  GetClassNameW(window, name, 100);
  return win::Narrow(name);
}

std::wstring GetFormCaption(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return text;
}

std::string GetFormCaptionA(HWND window) { return win::Narrow(GetFormCaption(window)); }

win::TBitmap* SharedBG() {
  static win::TBitmap bg(1, 1, win::TPixelFormat::pf24bit);
  return &bg;
}

TLacquerForm::TLacquerForm(core::TComponent* owner)
    : core::TComponent(owner), FCaptionFont(std::make_unique<win::TFont>()) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    FCaptionFont->SetName(win::Narrow(metrics.lfCaptionFont.lfFaceName));
    FCaptionFont->SetHeight(metrics.lfCaptionFont.lfHeight);
    if (metrics.lfCaptionFont.lfWeight >= FW_BOLD)
      FCaptionFont->SetStyle(core::TFontStyles{core::TFontStyle::fsBold});
  }
  FIconBitmap.SetPixelFormat(win::TPixelFormat::pf24bit);
  FCaptionBitmap.SetPixelFormat(win::TPixelFormat::pf24bit);
  FDblClickTime = GetDoubleClickTime();
}

TLacquerForm::~TLacquerForm() {
  Destroying();
  DeleteControls();
  ReleaseSubclasses();
  FButtons.clear();
  FHot = nullptr;
  FMenuBar.reset();
  FSysMenu.reset();
  FTimer.reset();
  FCanvas.SetHandle(nullptr);
  FCanvas2.SetHandle(nullptr);
  if (SkinManager) SkinManager->DeleteForm2(*this);
}

void TLacquerForm::ReleaseSubclasses() {
  if (FForm && FOldWindowProc) {
    FForm->WindowProc.Restore(FOldWindowProc);
    FOldWindowProc.reset();
  }
  FOldWndProc.Restore();
  FMDIInstance.Restore();
}

void TLacquerForm::InitTform(TSkinData& data, win::TCustomForm& form) {
  FForm = &form;
  core::SetPropText(&form, "AutoScroll", "False");
  if (data.SkinControls().Contains(TSkinControlType::xcMainMenu))
    FOldWindowProc = form.WindowProc.Replace([this](win::TMessage& m) { NewWndProc(m); });
  InitSkin(data);
  FOrigColor = form.Color();
  // A form whose colour is its see-through key keeps it: recoloured, it would lose its shape.
  if (!KeepsKeyColour()) form.SetColor(data.Colors[TShemeColor::csButtonFace]);
  if (data.SkinControls().Contains(TSkinControlType::xcMenuItem)) InitMainMenu(form, true);
}

void TLacquerForm::InitSkin(TSkinData& data) {
  if (FOldWndProc.Installed()) return;
  if (SkinManager) SkinManager->FState = 1;
  FSkinData = &data;
  FTimer = std::make_unique<win::TTimer>(nullptr);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(250);
  FTimer->SetOnTimer([this](core::TObject*) { OnTimer(); });
  FFrameOn = data.SkinControls().Contains(TSkinControlType::xcMainMenu);

  HWND h = FHandle;
  FStyle = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE));
  FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  FChildAtStart = (FStyle & WS_CHILD) != 0;
  FSystemMenu = GetSystemMenu(h, FALSE);
  FClassName = GetWindowClassname(h);
  FOwnerWnd = GetWindow(h, GW_OWNER);
  GetClientRect(h, &FClientRect);
  RECT window;
  GetWindowRect(h, &window);
  FStdNC = RECT{0, 0, (window.right - window.left) - FClientRect.right,
                (window.bottom - window.top) - FClientRect.bottom};
  FCaps = 0;
  if ((FStyle & WS_SYSMENU) || FSystemMenu) FCaps |= kCapSysMenu;
  if (FStyle & WS_MINIMIZEBOX) FCaps |= kCapMinBox;
  if (FStyle & WS_MAXIMIZEBOX) FCaps |= kCapMaxBox;
  FDialogClass = FClassName == "#32770" || FClassName == "TMessageForm";

  CreateSysmenu();
  FWindowState = GetWindowstate();

  FFormStyle = TSkinFormStyle::sfsNormal;
  for (HWND child = GetWindow(h, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowClassname(child) == "MDIClient") {
      FFormStyle = TSkinFormStyle::sfsMDIform;
      FMDIClientWnd = child;
      if (SkinManager) {
        SkinManager->FMDIClient = child;
        SkinManager->FMDIForm = FForm;
      }
      break;
    }
  if (FFormStyle == TSkinFormStyle::sfsNormal && (exStyle & WS_EX_MDICHILD)) FFormStyle = TSkinFormStyle::sfsMDIChild;

  FBorderStyle = TSkinFormBorder::sbsSingle;
  if ((FStyle & WS_CAPTION) != WS_CAPTION) FBorderStyle = TSkinFormBorder::sbsNone;
  else if (FStyle & WS_THICKFRAME) FBorderStyle = TSkinFormBorder::sbsSizeable;
  else if (FStyle & DS_MODALFRAME) FBorderStyle = TSkinFormBorder::sbsDialog;
  if (FBorderStyle != TSkinFormBorder::sbsNone && (exStyle & WS_EX_DLGMODALFRAME))
    FBorderStyle = TSkinFormBorder::sbsDialog;
  if (FDialogClass) FBorderStyle = TSkinFormBorder::sbsDialog;

  FUnicode = IsWindowUnicode(h) != FALSE;

  if (IsMDIForm()) {
    FMenuUpdateSaved = data.MenuUpdate();
    SubclassMDIClient();
  }

  if (FFrameOn) {
    FOrigMenu = GetMenu(h);
    if (FOrigMenu && !IsMDIChild()) {
      FMenuBar = std::make_unique<TLacquerMenu>(*this, data);
      FMenuHeight = GetSystemMetrics(SM_CYMENU);
      if (FForm) FMenuBar->FMenu = FForm->Menu();
      FMenuBar->UpdataBtn();
    }
    const bool maxChildShown = IsMDIChild() && SkinManager && SkinManager->FMDIMax;
    if (!maxChildShown && !IsIconic(h)) EnableSysbtn(false);
    InitSkinData();
  } else {
    FState = kFrameSkinned;
  }

  if (IsMDIChild() && FBorderStyle != TSkinFormBorder::sbsNone) {
    const int standard = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (FTopHeight < standard) FMenuHeight = standard - FTopHeight;
  }

  FOldWndProc.Install(h, [this](UINT msg, WPARAM w, LPARAM l) { return WinWndProc(msg, w, l); });

  if (IsMDIChild() && IsZoomed(h) && SkinManager && !SkinManager->FMDIMax) SkinManager->SetMDIMax(true);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TLacquerForm::InitSkinData() {
  if (!FSkinData || FSkinData->NoSkin) return;
  if (FBorderStyle == TSkinFormBorder::sbsNone) {
    FLeftWidth = FTopHeight = FRightWidth = FBottomHeight = 0;
    FMenuHeight = 0;
  } else {
    TSkinData& d = *FSkinData;
    auto across = [](const TDataSkinBorder& b) { return b.Bitmap.Width() / std::max(b.Frame, 1); };
    auto down = [](const TDataSkinBorder& b) { return b.Bitmap.Height() / std::max(b.Frame, 1); };
    FLeftWidth = across(*d.LeftBorder);
    FRightWidth = across(*d.RightBorder);
    FTopHeight = down(*d.TopBorder);
    FBottomHeight = down(*d.BottomBorder);
  }
  DeleteSysbtn();
  for (auto& skinButton : FSkinData->SysButtons) {
    // The window's icon is drawn on an icon button, one frame; without a bitmap it takes
    // the application's icon.
    if (skinButton->Action == kActionIcon || skinButton->Action == kActionIcon2) {
      skinButton->Frame = 1;
      if (skinButton->Bitmap.Width() == 0 && FSkinData->AppIcon.Width() > 0)
        skinButton->Bitmap.Assign(FSkinData->AppIcon);
    }
    FButtons.push_back(std::make_unique<TWinSysButton>(*this, *skinButton));
  }
  FButtonCount = static_cast<std::int32_t>(FButtons.size());
}

void TLacquerForm::DeleteSysbtn() {
  FHot = nullptr;
  FButtons.clear();
  FButtonCount = 0;
}

TSkinWindowState TLacquerForm::GetWindowstate() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(FHandle, &placement)) return TSkinWindowState::swsNormal;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED: case SW_MINIMIZE: case SW_SHOWMINNOACTIVE: return TSkinWindowState::swsMin;
    case SW_SHOWMAXIMIZED: return TSkinWindowState::swsMax;
    default: return TSkinWindowState::swsNormal;
  }
}

bool TLacquerForm::MDIChildMaxOrMin() const {
  return IsMDIChild() && (IsZoomed(FHandle) || IsIconic(FHandle));
}

POINT TLacquerForm::GetWinXY(POINT screen) const {
  POINT p = screen;
  ScreenToClient(FHandle, &p);
  if (!IsIconic(FHandle)) {
    p.x += FLeftWidth;
    p.y += FTopHeight + FMenuHeight;
  }
  return p;
}

void TLacquerForm::SkinActive() {
  GetIcon();
  if (FForm) {
    InitControls(*FForm);
  } else {
    for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) AddControlh(child);
  }
  if (FState == kFrameCreated) {
    if (IsMDIChild()) {
      if (IsZoomed(FHandle)) {
        if (SkinManager && SkinManager->FMDIClient)
          PostMessageW(SkinManager->FMDIClient, SKIN_MSG_MDIMAX, reinterpret_cast<WPARAM>(FHandle), 0);
      } else if (IsIconic(FHandle)) {
        EnableSysbtn(true);
      } else {
        FState = kFrameResizing;
        ResizeForm(false);
        FState = kFrameSkinned;
        Cropwindow();
      }
    } else if (!FChildAtStart && FBorderStyle != TSkinFormBorder::sbsNone && !IsIconic(FHandle)) {
      FState = kFrameResizing;
      ResizeForm(false);
      FState = kFrameSkinned;
      if (IsZoomed(FHandle)) Refresh();
      else Cropwindow();
    }
  }
  FState = kFrameSkinned;
  if (FTimer) FTimer->SetEnabled(true);
}

void TLacquerForm::ResizeForm(bool keepClient) {
  UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;
  if (FState == kFrameChanging) flags |= SWP_NOACTIVATE;
  if (IsZoomed(FHandle)) {
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE);
    return;
  }
  // The client keeps the size it had with the system's frame. A client measured before the
  // window had its size (an MDI child framed at creation) is read again now, while the
  // system frame still stands.
  if (FDialogClass || FState == kFrameChanging || keepClient || FClientRect.right <= 0 || FClientRect.bottom <= 0)
    GetClientRect(FHandle, &FClientRect);
  int width = FClientRect.right + FLeftWidth + FRightWidth;
  const int height = FClientRect.bottom + FTopHeight + FBottomHeight + FMenuHeight;
  if (FDialogClass && !keepClient) {
    win::TCanvas& canvas = FCanvas;
    win::TWindowDC screen(nullptr);
    canvas.SetHandle(screen.Get());
    canvas.Font().Assign(*FCaptionFont);
    FDialogCaption = GetFormCaption(FHandle);
    FCaptionWidth = canvas.TextWidth(win::Narrow(FDialogCaption));
    canvas.SetHandle(nullptr);
    const auto& t = FSkinData->Title->Margins;  // TextShift, TextShiftVert, TextRightClip
    const int needed = t.left + FCaptionWidth + t.right;
    if (width < needed) {
      const int shift = (needed - width) / 2;
      for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
      }
      width = needed;
    }
  }
  SetWindowPos(FHandle, nullptr, 0, 0, width, height, flags);
}

void TLacquerForm::Refresh() {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TLacquerForm::RePaint(HWND window) {
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
}

void TLacquerForm::EnableSysbtn(bool enable) {
  if (!enable && IsMDIChild() && SkinManager && SkinManager->FMDIMax) return;
  if (enable && !IsMDIChild() && FChildAtStart) return;
  auto style = static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_STYLE));
  if (enable) {
    if (FCaps & kCapSysMenu) style |= WS_SYSMENU;
    if (FCaps & kCapMinBox) style |= WS_MINIMIZEBOX;
    if (FCaps & kCapMaxBox) style |= WS_MAXIMIZEBOX;
    if (FCaps & kCapCaptionRemoved) {
      style |= WS_CAPTION;
      FCaps &= static_cast<BYTE>(~kCapCaptionRemoved);
    }
  } else {
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_EXSTYLE));
    const bool unowned = !GetWindow(FHandle, GW_OWNER) && !IsMDIChild();
    const bool keepsCaption = WinVersion.Major > 4 && WinVersion.Minor > 0;
    if ((unowned || (exStyle & WS_EX_APPWINDOW)) && !keepsCaption && (style & WS_CAPTION) == WS_CAPTION) {
      FCaps |= kCapCaptionRemoved;
      style &= ~static_cast<DWORD>(WS_CAPTION);
    } else {
      style &= ~static_cast<DWORD>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU);
    }
  }
  SetWindowLongPtrW(FHandle, GWL_STYLE, static_cast<LONG_PTR>(style));
}

bool TLacquerForm::KeepsKeyColour() const {
  return FForm && FForm->TransparentColor() && FForm->Color() == FForm->TransparentColorValue();
}

void TLacquerForm::SkinChange() {
  bool focused = false;
  if (FForm) {
    if (!KeepsKeyColour()) FForm->SetColor(FSkinData->Colors[TShemeColor::csButtonFace]);
    for (std::int32_t i = 0; i < FForm->ComponentCount(); ++i) {
      core::TComponent* c = FForm->Components(i);
      if (dynamic_cast<win::TCustomForm*>(c)) core::SetIntProp(c, "Color", FSkinData->Colors[TShemeColor::csButtonFace]);
      if (core::FindPropInfo(c, "FixedColor"))
        core::SetIntProp(c, "FixedColor", FSkinData->Colors[TShemeColor::csButtonFace]);
    }
    if (win::TWinControl* active = FForm->ActiveControl()) focused = active->Focused();
  }
  for (TSkinControl* painter : FControls) painter->SkinChange();
  FState = kFrameChanging;
  FRgnWidth = FRgnHeight = 0;
  if (FFrameOn && FForm) {
    InitPopMenu(*FForm, true);
    ResizeForm(true);
    FForm->SetHeight(FForm->Height() + 1);
    FForm->SetHeight(FForm->Height() - 1);
  }
  if (!FFrameOn || !FForm) {
    // Nothing above resized the window: its region and frame follow the new skin here.
    Cropwindow();
    UpdateNc();
  }
  if (focused && FForm && FForm->ActiveControl()) FForm->ActiveControl()->SetFocus();
  FState = kFrameSkinned;
}

void TLacquerForm::RestoreAfterUnskin(bool keepSize, SIZE client) {
  EnableSysbtn(true);
  if (FMenuBar) {
    HMENU menu = FMenuBar->FHMenu ? FMenuBar->FHMenu : FOrigMenu;
    if (menu && IsWindow(FHandle)) ::SetMenu(FHandle, menu);
    FMenuBar.reset();
  }
  FMDIInstance.Restore();
  FCaptionBitmap.SetSize(0, 0);
  if (keepSize && IsWindow(FHandle)) {
    RECT window;
    GetWindowRect(FHandle, &window);
    const int width = client.cx + FStdNC.right;
    const int height = client.cy + FStdNC.bottom;
    POINT at{window.left, window.top};
    if (HWND parent = GetParent(FHandle); parent && (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD))
      ScreenToClient(parent, &at);
    if (IsMDIChild() || !(GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD))
      SetWindowPos(FHandle, nullptr, at.x, at.y, width, height,
                   SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (IsWindow(FHandle)) SetWindowRgn(FHandle, nullptr, TRUE);
  FHasRegion = false;
  FRgnWidth = FRgnHeight = 0;
}

void TLacquerForm::UnSubclass() {
  if (!FFrameOn) return UnSubclass2();
  FSysMenu.reset();
  if (FTimer) FTimer->SetEnabled(false);
  if (!FOldWndProc.Installed()) return;
  // The client size with the skin's frame, read before anything recalculates the frame:
  // the system's frame goes back round it.
  const bool keepSize = FState != kFrameClosing;
  RECT client{};
  GetClientRect(FHandle, &client);
  ReleaseSubclasses();
  DeleteControls();
  RestoreOwnerDrawn();
  if (FForm) {
    InitPopMenu(*FForm, false);
    if (FSkinData && FSkinData->SkinControls().Contains(TSkinControlType::xcMenuItem)) InitMainMenu(*FForm, false);
    if (FState != kFrameClosing) FForm->SetColor(FOrigColor);
  }
  RestoreAfterUnskin(keepSize, SIZE{client.right, client.bottom});
}

void TLacquerForm::UnSubclass2() {
  if (FTimer) FTimer->SetEnabled(false);
  DeleteControls();
  RestoreOwnerDrawn();
  if (FForm && FState != kFrameClosing) {
    InitPopMenu(*FForm, false);
    FForm->SetColor(FOrigColor);
  }
  ReleaseSubclasses();
  if (FForm && FState != kFrameClosing)
    for (int i = 0; i < FForm->ControlCount(); ++i) FForm->Controls(i)->Invalidate();
}

void TLacquerForm::UnSubclass3() {
  FSysMenu.reset();
  if (FTimer) FTimer->SetEnabled(false);
  ReleaseSubclasses();
  DeleteControls();
  FMenuBar.reset();
  FCaptionBitmap.SetSize(0, 0);
}

void TLacquerForm::UpdateMenuBar() {
  if (FMenuBar) FMenuBar->UpdataBtn();
}

}  // namespace bw::skin

namespace bw::skin {

bool TLacquerForm::AddControlList(TSkinControl* painter) {
  if (std::find(FControls.begin(), FControls.end(), painter) != FControls.end()) return true;
  FControls.push_back(painter);
  return false;
}

void TLacquerForm::DeleteControl(TSkinControl* painter) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), painter), FControls.end());
  if (FHotControl == painter) FHotControl = nullptr;
}

void TLacquerForm::DeleteControls() {
  // Each painter takes itself out of the list as it goes.
  while (!FControls.empty()) {
    TSkinControl* painter = FControls.back();
    if (painter->FStatus != kPainterDestroyed) painter->Unsubclass();
    delete painter;
  }
  FHotControl = nullptr;
}

void TLacquerForm::PurgeControls() {
  std::vector<TSkinControl*> dead;
  for (TSkinControl* painter : FControls)
    if (painter->FStatus == kPainterDestroyed) dead.push_back(painter);
  for (TSkinControl* painter : dead) delete painter;
}

bool TLacquerForm::FindSkinComp(win::TControl& control) const {
  if (auto* windowed = dynamic_cast<win::TWinControl*>(&control); windowed && windowed->HandleAllocated())
    if (SendMessageW(windowed->WindowHandle(), SKIN_MSG_QUERY, 0, 0) == 1) return true;
  return std::any_of(FControls.begin(), FControls.end(), [&](const TSkinControl* painter) {
    return painter->FControl == &control || painter->FGraphicControl == &control;
  });
}

}  // namespace bw::skin
