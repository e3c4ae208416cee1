// Speed buttons: windowless, painted on their parent's context when it paints them.
#include <algorithm>
#include <cctype>

#include "framework/win/GdiHandles.h"
#include "skin/controls/Buttons.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinSpeedButton::kClass{"TSkinSpeedButton", &TSkinBitButton::kClass, {}, {}};

namespace {
bool IsTrue(const std::string& value) {
  std::string lower = value;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower == "true";
}
}  // namespace

TSkinSpeedButton::~TSkinSpeedButton() = default;

void TSkinSpeedButton::InitGraphicControl(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas) {
  if (FInitialized) return;
  FGraphicControl = dynamic_cast<win::TGraphicControl*>(Owner());
  if (!FGraphicControl) return;
  FForm = form;
  FSkinData = skinData;
  FCanvas = canvas;
  FOldWindowProc = FGraphicControl->WindowProc.Replace([this](win::TMessage& m) { NewWndProc(m); });
  if (FForm) FForm->AddControlList(this);
  FInitialized = true;
  FStatus = kPainterAttached;
  FGraphicControl->Invalidate();
}

void TSkinSpeedButton::Repaint() {
  if (!FGraphicControl) return;
  FGraphicControl->Invalidate();
  FGraphicControl->Update();
}

bool TSkinSpeedButton::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      if (!message.WParam || !FGraphicControl) return true;
      DrawSpeedbtn(reinterpret_cast<HDC>(message.WParam), FGraphicControl->ClientRect());
      message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The speed button keeps its own press handling (down state, groups, its click).
      Default(message);
      FState.Include(TSkinControlState::scDown);
      Repaint();
      return false;
    case WM_MOUSEMOVE:
      if (!FState.Contains(TSkinControlState::scMouseIn)) EnterHot();
      return true;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinSpeedButton::AfterProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_NCDESTROY:
    case win::CM_RELEASE:
      Release();
      return;
    case WM_KEYDOWN:
      if (message.WParam == VK_SPACE) {
        FState.Include(TSkinControlState::scDown);
        Repaint();
      }
      return;
    case WM_KEYUP:
      if (message.WParam != VK_SPACE) return;
      [[fallthrough]];
    case WM_LBUTTONUP:
      FState.Exclude(TSkinControlState::scDown);
      Repaint();
      return;
    case win::CM_MOUSEENTER:
      FState.Include(TSkinControlState::scMouseIn);
      Repaint();
      return;
    case win::CM_MOUSELEAVE:
      FState.Exclude(TSkinControlState::scMouseIn);
      FState.Exclude(TSkinControlState::scDown);
      if (HotControl() == this) SetHotControl(nullptr);
      if (FGraphicControl && FGraphicControl->Visible()) Repaint();
      return;
  }
  TSkinControl::AfterProc(message);
}

void TSkinSpeedButton::PaintControl(HDC dc) {
  if (!FGraphicControl) return;
  const RECT client = FGraphicControl->ClientRect();
  try {
    if (dc) {
      DrawSpeedbtn(dc, client);
      return;
    }
    win::TWinControl* parent = FGraphicControl->Parent();
    if (!parent || !parent->HandleAllocated()) return;
    win::TWindowDC parentDC(parent->WindowHandle());
    if (!parentDC) return;
    win::TSaveDCGuard saved(parentDC.Get());
    const RECT bounds = FGraphicControl->BoundsRect();
    IntersectClipRect(parentDC.Get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
    OffsetViewportOrgEx(parentDC.Get(), bounds.left, bounds.top, nullptr);
    DrawSpeedbtn(parentDC.Get(), client);
  } catch (...) {
  }
}

void TSkinSpeedButton::DrawSpeedbtn(HDC dc, const RECT& rect) {
  TDataSkinButton* face = Face();
  if (!HasSkinImage(face) || FPainting || !FGraphicControl) return;
  struct TGuard {
    bool& Flag;
    ~TGuard() { Flag = false; }
  } guard{FPainting = true};
  int state = kFrameNormal;
  if (FState.Contains(TSkinControlState::scDown)) state = kFramePressed;
  else if (FState.Contains(TSkinControlState::scMouseIn)) state = kFrameHot;
  FEnabled = IsTrue(GetEnumProperty(FGraphicControl, "Enabled"));
  if (!FEnabled) state = kFrameDisabled;
  if (IsTrue(GetEnumProperty(FGraphicControl, "Down"))) state = kFramePressed;
  FLastFace = state;
  FFocused = false;
  const int glyphFrame = state == kFramePressed ? 3 : state == kFrameDisabled ? 2 : 1;

  FCaption = GetStringProp(FGraphicControl, "Caption");
  auto* glyph = static_cast<win::TBitmap*>(GetObjProp(FGraphicControl, "Glyph", &win::TBitmap::kClass));
  int numGlyphs = GetIntProperty(FGraphicControl, "NumGlyphs");
  if (numGlyphs <= 0) numGlyphs = 1;
  const bool flat = IsTrue(GetEnumProperty(FGraphicControl, "Flat"));
  const int margin = FindIntProperty(FGraphicControl, "Margin").value_or(-1);
  const int spacing = FindIntProperty(FGraphicControl, "Spacing").value_or(-1);
  std::string layoutName = GetEnumProperty(FGraphicControl, "Layout");
  std::transform(layoutName.begin(), layoutName.end(), layoutName.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  TGlyphLayout layout = TGlyphLayout::Left;
  if (layoutName == "blglyphright") layout = TGlyphLayout::Right;
  if (layoutName == "blglyphtop") layout = TGlyphLayout::Top;
  if (layoutName == "blglyphbottom") layout = TGlyphLayout::Bottom;

  const SIZE client{rect.right - rect.left, rect.bottom - rect.top};
  const RECT local{0, 0, client.cx, client.cy};
  TScratch scratch(client.cx, client.cy);
  HDC b = scratch.DC();
  PrepareBuffer(b, local);
  if (state == kFramePressed || state == kFrameHot || !flat) DrawSkinMap(b, local, *face, state, face->Frame);
  TBoundCanvas bound(TextCanvas(scratch), b);
  win::TCanvas& canvas = *bound;
  AssignFontIfChanged(canvas.Font(), *FGraphicControl->Font());
  ApplyTextColour(canvas, state, true);

  if (glyph && glyph->Width() > 0 && glyph->Height() > 0) {
    const SIZE g{glyph->Width() / numGlyphs, glyph->Height()};
    const std::wstring text = StringReplaceW(FCaption, L"||", L"\r\n");
    HDC cdc = canvas.Handle();
    SIZE t{0, 0};
    if (!text.empty()) {
      RECT m = local;
      InflateRect(&m, -2, -2);
      DrawTextW(cdc, text.c_str(), static_cast<int>(text.size()), &m, DT_CALCRECT | DT_WORDBREAK);
      t = SIZE{m.right - m.left, m.bottom - m.top};
    }
    const TGlyphPlacement p = PlaceGlyph(client, g, t, layout, margin, spacing, false, true);
    DrawGlyph(cdc, p.Glyph, *glyph, glyphFrame, numGlyphs);
    cdc = canvas.Handle();
    RECT placed{p.Text.x, p.Text.y, p.Text.x + t.cx, p.Text.y + t.cy};
    SetBkMode(cdc, TRANSPARENT);
    DrawTextW(cdc, text.c_str(), static_cast<int>(text.size()), &placed, p.Format);
    SetBkMode(cdc, OPAQUE);
  } else {
    DrawButtonText(canvas, local, DT_CENTER, FCaption);
  }
  BitBlt(dc, rect.left, rect.top, client.cx, client.cy, b, 0, 0, SRCCOPY);
}

}  // namespace bw::skin
