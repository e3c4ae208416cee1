// The painters that own cover windows: a framework control's window scroll bars, a bare
// window's, a scroll-bar control; and the size grip.
#include <algorithm>
#include <cctype>

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "skin/controls/Scrollbars.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinScrollbar::kClass{"TSkinScrollbar", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinScrollbarH::kClass{"TSkinScrollbarH", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinScControl::kClass{"TSkinScControl", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinSizer::kClass{"TSkinSizer", &TSkinControl::kClass, {}, {}};

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

void Frame(HDC dc, const RECT& r, TColor colour) {
  win::TBrushHandle brush(CreateSolidBrush(win::ColorToRGB(colour)));
  FrameRect(dc, &r, brush.Get());
}

bool Shown(const std::unique_ptr<TWScrollbar>& bar) { return bar && bar->FShown; }

void RepaintShown(const std::unique_ptr<TWScrollbar>& bar) {
  if (Shown(bar)) bar->Repaint();
}

void Place(const std::unique_ptr<TWScrollbar>& bar, HWND target) {
  if (bar) bar->SetPosition(target);
}

// The square between two shown bars, in the target's window coordinates.
void FillCorner(TSkinControl& painter, HDC dc, HWND target, const TWScrollbar& horz, const TWScrollbar& vert) {
  RECT window;
  if (!GetWindowRect(target, &window)) return;
  RECT corner{vert.FOrigin.x, horz.FOrigin.y, vert.FOrigin.x + (vert.FBarRect.right - vert.FBarRect.left),
              horz.FOrigin.y + (horz.FBarRect.bottom - horz.FBarRect.top)};
  OffsetRect(&corner, -window.left, -window.top);
  painter.FillBG(dc, corner);
}

// Messages after which the covered bars may show another position, range or state
// without a scroll request (typing, selecting, content set through the control's API).
bool MayMoveBars(UINT msg) {
  switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case SBM_GETPOS:
    case SBM_GETRANGE:
    case SBM_GETSCROLLINFO:
    case SBM_GETSCROLLBARINFO:
      return false;
  }
  return true;
}

// What every scroll painter keeps of the control it attaches to; the frame lists it.
void Store(TSkinControl& painter, win::TWinControl& control, TSkinData* skinData, win::TCanvas* canvas,
           TLacquerForm* form) {
  painter.FSkinData = skinData;
  painter.FForm = form;
  painter.FCanvas = canvas;
  painter.FControl = &control;
  painter.FHandle = control.Handle();
  painter.FUnicode = IsWindowUnicode(painter.FHandle) != FALSE;
  if (form) form->AddControlList(&painter);
}

// A scroll request the target received: its bar shows the part it concerns. False for
// other messages.
bool FollowRequest(const win::TMessage& message, const std::unique_ptr<TWScrollbar>& horz,
                   const std::unique_ptr<TWScrollbar>& vert) {
  if (message.Msg != WM_HSCROLL && message.Msg != WM_VSCROLL) return false;
  const auto& bar = message.Msg == WM_HSCROLL ? horz : vert;
  if (bar) {
    bar->FHitPart = LOWORD(message.WParam);
    RepaintShown(bar);
  }
  return true;
}

}  // namespace

// ---- TSkinScrollbar

TSkinScrollbar::~TSkinScrollbar() { FreeBars(); }

void TSkinScrollbar::InitScrollbar(win::TWinControl* control, TSkinData* skinData, win::TCanvas* canvas,
                                   TLacquerForm* form) {
  if (FInitialized || !control) return;
  Store(*this, *control, skinData, canvas, form);
  FDrawBorder = Lower(GetEnumProperty(control, "BorderStyle")) != "bsnone" &&
                Lower(control->ClassName()) != "timagescrollbox";
  FHorzBar = std::make_unique<TWScrollbar>();
  FHorzBar->Attach(this, control, kScrollHorz);
  FVertBar = std::make_unique<TWScrollbar>();
  FVertBar->Attach(this, control, kScrollVert);
  if (!control->Visible()) HideBars();
  HookControl(*control);
  FInitialized = true;
  FStatus = kPainterAttached;
  control->Invalidate();
}

void TSkinScrollbar::PlaceBars() {
  Place(FHorzBar, FHandle);
  Place(FVertBar, FHandle);
}

void TSkinScrollbar::HideBars() {
  if (FHorzBar) FHorzBar->HideScrollbar();
  if (FVertBar) FVertBar->HideScrollbar();
}

void TSkinScrollbar::FreeBars() {
  FHorzBar.reset();
  FVertBar.reset();
}

void TSkinScrollbar::Unsubclass() {
  TSkinControl::Unsubclass();
  // A destroyed control's covers stay hidden until the painter goes (their parent may be
  // tearing them down right now).
  if (FStatus == kPainterDestroyed) HideBars();
  else FreeBars();
  if (FControl && !FControl->IsDestroying() && FControl->HandleAllocated())
    RedrawWindow(FControl->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

bool TSkinScrollbar::BeforeProc(win::TMessage& message) {
  if (message.Msg == win::CM_RECREATEWND) {
    const bool pass = TSkinControl::BeforeProc(message);
    if (FControl && FControl->HandleAllocated()) {
      FHandle = FControl->WindowHandle();
      PlaceBars();
    }
    return pass;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinScrollbar::AfterProc(win::TMessage& message) {
  if (FollowRequest(message, FHorzBar, FVertBar)) return;
  switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      PlaceBars();
      RepaintShown(FHorzBar);
      RepaintShown(FVertBar);
      return;
    case WM_MOUSEWHEEL:
      RepaintShown(FHorzBar);
      RepaintShown(FVertBar);
      return;
    case win::CM_VISIBLECHANGED:
      if (message.WParam) PlaceBars();
      else HideBars();
      return;
    case WM_NCPAINT:
      // The border is the control's edge: drawn again over the system's.
      PaintControl(nullptr);
      return;
  }
  TSkinControl::AfterProc(message);
  if (MayMoveBars(message.Msg) && FStatus == kPainterAttached) {
    if (FHorzBar) FHorzBar->RefreshIfChanged();
    if (FVertBar) FVertBar->RefreshIfChanged();
  }
}

void TSkinScrollbar::DrawControl(HDC dc, const RECT& rect) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_STYLE));
  for (auto* bar : {&FHorzBar, &FVertBar}) {
    if (!*bar) continue;
    if ((*bar)->FShown) (*bar)->Repaint();
    else if (style & ((*bar)->FKind == kScrollVert ? WS_VSCROLL : WS_HSCROLL)) (*bar)->SetPosition(FHandle);
  }
  if (Shown(FHorzBar) && Shown(FVertBar)) FillCorner(*this, dc, FHandle, *FHorzBar, *FVertBar);
  if (FDrawBorder && FSkinData) {
    RECT client;
    GetClientRect(FHandle, &client);
    // Only over an edge the control has: a borderless one keeps its content.
    if (client.right == rect.right - rect.left && client.bottom == rect.bottom - rect.top) return;
    Frame(dc, rect, FSkinData->Colors[TShemeColor::csButtonShadow]);
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    Frame(dc, inner, FSkinData->Colors[TShemeColor::csButtonFace]);
  }
}

// ---- TSkinScrollbarH

TSkinScrollbarH::~TSkinScrollbarH() {
  FHorzBar.reset();
  FVertBar.reset();
}

void TSkinScrollbarH::Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) {
  if (FInitialized || !window) return;
  FSkinData = skinData;
  FHorzBar = std::make_unique<TWScrollbar>();
  FHorzBar->AttachHwnd(this, window, kScrollHorz);
  FVertBar = std::make_unique<TWScrollbar>();
  FVertBar->AttachHwnd(this, window, kScrollVert);
  TSkinControl::Inithwnd(window, skinData, canvas, form);
}

void TSkinScrollbarH::Unsubclass() {
  TSkinControl::Unsubclass();
  if (FStatus == kPainterDestroyed) {
    if (FHorzBar) FHorzBar->HideScrollbar();
    if (FVertBar) FVertBar->HideScrollbar();
    return;
  }
  FHorzBar.reset();
  FVertBar.reset();
}

void TSkinScrollbarH::AfterProc(win::TMessage& message) {
  if (FStatus != kPainterAttached) return;
  if (!(GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_VISIBLE)) {
    if (Shown(FHorzBar)) FHorzBar->HideScrollbar();
    if (Shown(FVertBar)) FVertBar->HideScrollbar();
  }
  if (FollowRequest(message, FHorzBar, FVertBar)) return;
  switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
    case WM_SHOWWINDOW:
      Place(FHorzBar, FHandle);
      Place(FVertBar, FHandle);
      RepaintShown(FHorzBar);
      RepaintShown(FVertBar);
      return;
  }
  TSkinControl::AfterProc(message);
  if (MayMoveBars(message.Msg)) {
    if (FHorzBar) FHorzBar->RefreshIfChanged();
    if (FVertBar) FVertBar->RefreshIfChanged();
  }
}

void TSkinScrollbarH::DrawControl(HDC dc, const RECT&) {
  RepaintShown(FHorzBar);
  RepaintShown(FVertBar);
  if (Shown(FHorzBar) && Shown(FVertBar)) FillCorner(*this, dc, FHandle, *FHorzBar, *FVertBar);
}

// ---- TSkinScControl

TSkinScControl::~TSkinScControl() { FBar.reset(); }

void TSkinScControl::InitScrollbar(win::TWinControl* control, TSkinData* skinData, win::TCanvas* canvas,
                                   TLacquerForm* form) {
  if (FInitialized || !control) return;
  Store(*this, *control, skinData, canvas, form);
  FBar = std::make_unique<TWScrollbar>();
  // The cover lies over the whole control: it shows the control's hint.
  FBar->SetShowHint(control->ShowHint());
  FBar->SetHint(control->Hint());
  FBar->Attach(this, control, kScrollControl);
  if (!control->Visible()) FBar->HideScrollbar();
  HookControl(*control);
  FInitialized = true;
  FStatus = kPainterAttached;
}

void TSkinScControl::Unsubclass() {
  TSkinControl::Unsubclass();
  if (FStatus == kPainterDestroyed) {
    if (FBar) FBar->HideScrollbar();
    return;
  }
  FBar.reset();
  if (FControl && !FControl->IsDestroying() && FControl->HandleAllocated())
    InvalidateRect(FControl->WindowHandle(), nullptr, TRUE);
}

bool TSkinScControl::BeforeProc(win::TMessage& message) {
  if (message.Msg == win::CM_RECREATEWND) {
    const bool pass = TSkinControl::BeforeProc(message);
    if (FControl && FControl->HandleAllocated()) {
      FHandle = FControl->WindowHandle();
      Place(FBar, FHandle);
    }
    return pass;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinScControl::AfterProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
      Place(FBar, FHandle);
      return;
    case WM_NCPAINT:
      if (FControl && FControl->HandleAllocated()) FHandle = FControl->WindowHandle();
      Place(FBar, FHandle);
      return;
    case SBM_SETSCROLLINFO:
    case win::CN_BASE + WM_VSCROLL:
    case win::CN_BASE + WM_HSCROLL:
      if (FBar && (message.Msg != SBM_SETSCROLLINFO)) FBar->FHitPart = LOWORD(message.WParam);
      RepaintShown(FBar);
      return;
    case win::CM_VISIBLECHANGED:
      if (message.WParam) Place(FBar, FHandle);
      else if (FBar) FBar->HideScrollbar();
      return;
  }
  TSkinControl::AfterProc(message);
  if (FBar && MayMoveBars(message.Msg) && FStatus == kPainterAttached) FBar->RefreshIfChanged();
}

void TSkinScControl::DrawControl(HDC, const RECT&) { RepaintShown(FBar); }

// ---- TSkinSizer

void TSkinSizer::DrawControl(HDC dc, const RECT& rect) { FillBG(dc, rect); }

}  // namespace bw::skin
