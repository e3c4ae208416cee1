// Push and bitmap buttons: state, clicks, hot tracking and their faces.
#include "skin/controls/Buttons.h"

#include <algorithm>
#include <cctype>

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"
#include "skin/draw/ImgUtil.h"
#include "skin/draw/SkinDraw.h"
#include "skin/data/AnsiText.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinButton::kClass{"TSkinButton", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinBitButton::kClass{"TSkinBitButton", &TSkinButton::kClass, {}, {}};

namespace {

constexpr UINT kMeasure = DT_CALCRECT | DT_NOCLIP;
constexpr int kHugePx = 32768;  // beyond this, mouse coordinates do not fit the message



SIZE Extent(const RECT& r) { return SIZE{r.right - r.left, r.bottom - r.top}; }

}  // namespace

TGlyphPlacement PlaceGlyph(SIZE client, SIZE glyph, SIZE text, TGlyphLayout layout, int margin, int spacing,
                           bool alignCentre, bool plusOne) {
  const bool across = layout == TGlyphLayout::Left || layout == TGlyphLayout::Right;
  TGlyphPlacement p{};
  // Centred on the other axis.
  if (across) {
    p.Glyph.y = (client.cy - glyph.cy + 1) / 2;
    p.Text.y = (client.cy - text.cy + 1) / 2;
  } else {
    p.Glyph.x = (client.cx - glyph.cx + 1) / 2;
    p.Text.x = (client.cx - text.cx + 1) / 2;
  }
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  const int c = across ? client.cx : client.cy;
  const int g = across ? glyph.cx : glyph.cy;
  const int t = across ? text.cx : text.cy;
  if (margin == -1 || alignCentre) {
    if (spacing == -1) {
      margin = (c - (g + t)) / 3;
      spacing = margin;
    } else {
      margin = (c - (g + spacing + t)) / 2 + (plusOne ? 1 : 0);
    }
  } else if (spacing == -1) {
    spacing = ((c - (margin + g)) - t) / 2;
  }
  p.Format = DT_WORDBREAK;
  switch (layout) {
    case TGlyphLayout::Left:
      p.Glyph.x = margin;
      p.Text.x = margin + glyph.cx + spacing;
      break;
    case TGlyphLayout::Right:
      p.Glyph.x = client.cx - margin - glyph.cx;
      p.Text.x = p.Glyph.x - spacing - text.cx;
      p.Format |= DT_RIGHT;
      break;
    case TGlyphLayout::Top:
      p.Glyph.y = margin;
      p.Text.y = margin + glyph.cy + spacing;
      p.Format |= DT_CENTER;
      break;
    case TGlyphLayout::Bottom:
      p.Glyph.y = client.cy - margin - glyph.cy;
      p.Text.y = p.Glyph.y - spacing - text.cy;
      p.Format |= DT_CENTER;
      break;
  }
  return p;
}

// ---- TSkinButton

void TSkinButton::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  TSkinControl::Init(form, skinData, canvas, parentBK);
  FClassFlag = false;
  if (FControl) {
    const std::string name = LowerAscii(FControl->ClassName());
    FClassFlag = name.rfind("trz", 0) == 0 || name.rfind("tel", 0) == 0;
  }
}

TDataSkinButton* TSkinButton::Face() const { return FSkinData ? FSkinData->Buttons.get() : nullptr; }

void TSkinButton::Press(const win::TMessage& message) {
  if (!FFocused) SetFocus(FHandle);
  FState.Include(TSkinControlState::scDown);
  PaintControl(nullptr);
  if (FClassFlag || !FControl) return;
  POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  RECT r;
  if (GetWindowRect(FHandle, &r) && (r.right - r.left > kHugePx || r.bottom - r.top > kHugePx)) {
    GetCursorPos(&p);
    ScreenToClient(FHandle, &p);
  }
  FControl->OnMouseDown(FControl, win::TMouseButton::mbLeft, p.x, p.y);
}

bool TSkinButton::ReleasePress() {
  if (!FState.Contains(TSkinControlState::scDown)) return false;
  FState.Exclude(TSkinControlState::scDown);
  Invalidate();
  return true;
}

void TSkinButton::EnterHot() {
  const bool wasIn = FState.Contains(TSkinControlState::scMouseIn);
  FState.Include(TSkinControlState::scMouseIn);
  TSkinControl* hot = HotControl();
  if (hot && hot != this) hot->MouseLeave();
  if (HotControl() != this || !wasIn) {
    SetHotControl(this);
    Invalidate();
  }
}

bool TSkinButton::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      WMPaint(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    case win::CN_DRAWITEM:
      // An owner-drawn button (a bit button) asks for its face when its state changes:
      // the skinned face, so the system's never shows in between.
      if (auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam); item && item->hDC) {
        GetWindowRect(FHandle, &FWindowRect);
        try {
          DrawControl(item->hDC, item->rcItem);
        } catch (...) {
        }
        message.Result = TRUE;
        return false;
      }
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The press is the painter's: the control never sees it, so the system button
      // cannot click as well.
      Press(message);
      message.Result = 0;
      return false;
    case WM_MOUSEMOVE:
      if (!FState.Contains(TSkinControlState::scMouseIn)) EnterHot();
      return true;
    case win::CM_MOUSEENTER:
      if (FEnabled) EnterHot();
      return true;
    case win::CM_MOUSELEAVE:
      if (FEnabled) {
        FState.Exclude(TSkinControlState::scMouseIn);
        FState.Exclude(TSkinControlState::scDown);
        if (HotControl() == this) SetHotControl(nullptr);
        Invalidate();
      }
      return true;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinButton::AfterProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONUP:
      if (ReleasePress()) {
        // Last: the click may free the control and this painter with it.
        if (FControl) {
          FControl->Click();
        } else if (HWND parent = GetParent(FHandle)) {
          PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(FHandle), BN_CLICKED),
                       reinterpret_cast<LPARAM>(FHandle));
        }
      }
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
      // Space goes to the control (the system clicks on its release); the face follows.
      if (message.WParam == VK_SPACE) {
        if (message.Msg == WM_KEYDOWN) FState.Include(TSkinControlState::scDown);
        else FState.Exclude(TSkinControlState::scDown);
        Invalidate();
      }
      return;
    case win::CM_DIALOGKEY:
    case win::CM_FOCUSCHANGED:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
      // The system may have drawn its own face on these; ours goes back over it.
      Invalidate();
      return;
  }
  TSkinControl::AfterProc(message);
}

void TSkinButton::RefreshFromWindow() {
  const auto style = static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_STYLE));
  FFocused = GetFocus() == FHandle;
  FEnabled = !(style & WS_DISABLED);
  FCaption = FControl ? GetStringProp(FControl, "Caption") : GetFormCaption(FHandle);
}

void TSkinButton::PrepareBuffer(HDC buffer, const RECT& rect) { PaintBackground(buffer, rect); }

void TSkinButton::ApplyTextColour(win::TCanvas& canvas, int face, bool frameworkBranch) {
  const TDataSkinButton& b = *Face();
  TColor colour = canvas.Font().Color();
  if (frameworkBranch) {
    if (face == kFrameNormal && b.HasNormalColour2) colour = b.NormalColour2;
    if (face == kFrameHot && b.HasMouseOverColour2) colour = b.MouseOverColour2;
    if (face == kFramePressed && b.HasPressedColour2) colour = b.PressedColour2;
    if (!FEnabled) colour = win::clBtnShadow;
  } else {
    colour = FSkinData->Colors[TShemeColor::csButtonText];
    if (face == kFrameNormal) colour = b.NormalColour2;
    if (face == kFrameHot) colour = b.MouseOverColour2;
    if (face == kFramePressed) colour = b.PressedColour2;
    if (!FEnabled) colour = RGB(128, 128, 128);
  }
  canvas.Font().SetColor(colour);
}

void TSkinButton::DrawControl(HDC dc, const RECT& rect) {
  TDataSkinButton* face = Face();
  if (!HasSkinImage(face)) return;
  RefreshFromWindow();
  const auto style = static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_STYLE));
  const bool isDefault = (style & 0xF) == BS_DEFPUSHBUTTON;
  int state = kFrameNormal;
  if (FFocused) state = kFrameHot;
  if (isDefault) state = kFrameFocused;
  if (FState.Contains(TSkinControlState::scDown)) state = kFramePressed;
  else if (FState.Contains(TSkinControlState::scMouseIn)) state = kFrameHot;
  if (!FEnabled) state = kFrameDisabled;
  FLastFace = state;

  const SIZE size = Extent(rect);
  const RECT local{0, 0, size.cx, size.cy};
  TScratch scratch(size.cx, size.cy);
  HDC b = scratch.DC();
  PrepareBuffer(b, local);
  DrawSkinMap(b, local, *face, state, face->Frame);
  {
    TBoundCanvas canvas(TextCanvas(scratch), b);
    if (FControl) {
      AssignFontIfChanged(canvas->Font(), *FControl->Font());
    } else {
      FontFromHandle(reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)), canvas->Font());
    }
    ApplyTextColour(*canvas, state, FControl != nullptr);
    DrawButtonText(*canvas, local, DT_CENTER, FCaption);
  }
  BitBlt(dc, rect.left, rect.top, size.cx, size.cy, b, 0, 0, SRCCOPY);
}

void TSkinButton::DrawButtonText(win::TCanvas& canvas, const RECT& rect, UINT align, std::wstring text) {
  text = StringReplaceW(text, L"||", L"\r\n");
  RECT area = rect;
  InflateRect(&area, -2, -2);
  HDC dc = canvas.Handle();
  SetBkMode(dc, TRANSPARENT);
  const UINT format = align | DT_WORDBREAK | DT_EXPANDTABS;
  RECT block = area;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &block, format | kMeasure);
  const SIZE a = Extent(area), t = Extent(block);
  RECT placed{area.left, area.top, area.left + t.cx, area.top + t.cy};
  OffsetRect(&placed, 0, (a.cy - t.cy) / 2 - 1);
  if (align == DT_CENTER) OffsetRect(&placed, (a.cx - t.cx) / 2, 0);
  else placed.right = placed.left + a.cx;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &placed, format);
  SetBkMode(dc, OPAQUE);
  if (FFocused && !HasOption(TSkinOption::xoNoFocusRect)) {
    InflateRect(&placed, 2, 2);
    DrawFocusRect(dc, &placed);
  }
}

// ---- TSkinBitButton

void TSkinBitButton::DrawGlyph(HDC dc, POINT at, win::TBitmap& glyph, int frame, int numGlyphs) {
  if (TKeyedImage* image = Images().Glyph(glyph, frame, numGlyphs, frame == 2)) image->Draw(dc, at.x, at.y);
}

void TSkinBitButton::DrawControl(HDC dc, const RECT& rect) {
  TDataSkinButton* face = Face();
  if (!HasSkinImage(face)) return;
  RefreshFromWindow();
  int state = kFrameNormal;
  if (FFocused) state = kFrameFocused;
  if (FState.Contains(TSkinControlState::scDown)) state = kFramePressed;
  else if (FState.Contains(TSkinControlState::scMouseIn)) state = kFrameHot;
  if (!FEnabled) state = kFrameDisabled;
  FLastFace = state;
  const int glyphFrame = state == kFramePressed ? 3 : state == kFrameDisabled ? 2 : 1;

  const SIZE client = Extent(rect);
  const RECT local{0, 0, client.cx, client.cy};
  TScratch scratch(client.cx, client.cy);
  HDC b = scratch.DC();
  PrepareBuffer(b, local);
  DrawSkinMap(b, local, *face, state, face->Frame);
  TBoundCanvas bound(TextCanvas(scratch), b);
  win::TCanvas& canvas = *bound;
  FontFromHandle(reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)), canvas.Font());
  if (FControl) AssignFontIfChanged(canvas.Font(), *FControl->Font());

  auto* glyph = static_cast<win::TBitmap*>(GetObjProp(FControl, "Glyph", &win::TBitmap::kClass));
  auto* images = static_cast<win::TImageList*>(GetObjProp(FControl, "Images", &win::TImageList::kClass));
  int numGlyphs = GetIntProperty(FControl, "NumGlyphs");
  if (numGlyphs <= 0) numGlyphs = 1;
  const int imageIndex = GetIntProperty(FControl, "ImageIndex");
  const int disabledIndex = GetIntProperty(FControl, "DisabledIndex");
  // A button without Margin or Spacing is laid out as if both were automatic.
  const int margin = FindIntProperty(FControl, "Margin").value_or(-1);
  const int spacing = FindIntProperty(FControl, "Spacing").value_or(-1);
  const std::string layoutName = LowerAscii(GetEnumProperty(FControl, "Layout"));
  TGlyphLayout layout = TGlyphLayout::Left;
  if (layoutName == "blglyphright") layout = TGlyphLayout::Right;
  if (layoutName == "blglyphtop") layout = TGlyphLayout::Top;
  if (layoutName == "blglyphbottom") layout = TGlyphLayout::Bottom;
  const bool alignCentre = LowerAscii(GetEnumProperty(FControl, "Alignment")) == "tacenter";

  SIZE g{0, 0};
  if (glyph && glyph->Width() > 0) g = SIZE{glyph->Width() / numGlyphs, glyph->Height()};
  else if (images && imageIndex != -1) g = SIZE{images->Width(), images->Height()};

  const std::wstring text = StringReplaceW(FCaption, L"||", L"\r\n");
  RECT textArea = local;
  InflateRect(&textArea, -2, -2);
  if (layout == TGlyphLayout::Left || layout == TGlyphLayout::Right) textArea.right -= g.cx + 2;
  else textArea.bottom -= g.cy + 2;
  SIZE t{0, 0};
  HDC cdc = canvas.Handle();
  if (!text.empty()) {
    RECT m = textArea;
    DrawTextW(cdc, text.c_str(), static_cast<int>(text.size()), &m, DT_CALCRECT | DT_WORDBREAK);
    t = Extent(m);
  }
  const TGlyphPlacement p = PlaceGlyph(client, g, t, layout, margin, spacing, alignCentre, false);

  if (glyph && glyph->Width() > 0) {
    DrawGlyph(cdc, p.Glyph, *glyph, glyphFrame, numGlyphs);
  } else if (images) {
    if (FEnabled) {
      if (imageIndex != -1) images->Draw(canvas, p.Glyph.x, p.Glyph.y, imageIndex, true);
    } else {
      const int shown = disabledIndex != -1 ? disabledIndex : imageIndex;
      if (shown != -1) images->Draw(canvas, p.Glyph.x, p.Glyph.y, shown, false);
    }
  }
  ApplyTextColour(canvas, state, true);
  cdc = canvas.Handle();
  RECT placed{p.Text.x, p.Text.y, p.Text.x + t.cx, p.Text.y + t.cy};
  SetBkMode(cdc, TRANSPARENT);
  DrawTextW(cdc, text.c_str(), static_cast<int>(text.size()), &placed, p.Format);
  SetBkMode(cdc, OPAQUE);
  // A glyph-only button shows its focus by its face: a rectangle round no text would be a dot.
  if (FFocused && !HasOption(TSkinOption::xoNoFocusRect) && !text.empty()) {
    InflateRect(&placed, 2, 2);
    DrawFocusRect(cdc, &placed);
  }
  BitBlt(dc, rect.left, rect.top, client.cx, client.cy, b, 0, 0, SRCCOPY);
}

}  // namespace bw::skin
