#include "framework/win/Buttons.h"

#include <algorithm>

#include "framework/core/ClassRegistry.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/Dialogs.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/ImageList.h"
#include "framework/win/Menus.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Text.h"
#include "framework/win/Timer.h"

namespace bw::win {

// ---- TButton

const core::TPropInfo TButton::kProps[] = {
    core::EnumProp<&TButton::FModalResult, &TButton::SetModalResult>("ModalResult", core::kModalResultInfo, 0),
    core::BoolProp<&TButton::FDefault, &TButton::SetDefault>("Default", false),
};
const core::TClassInfo TButtonControl::kClass{"TButtonControl", &TWinControl::kClass, {}, {}};
const core::TClassInfo TButton::kClass{"TButton", &TButtonControl::kClass, kProps, {},
                                       &core::CreateComponentOf<TButton>};

TButton::TButton(core::TComponent* owner) : TButtonControl(owner) {
  FWidth = 75;
  FHeight = 25;
  FTabStop = true;
}

void TButton::SetDefault(bool isDefault) {
  FDefault = isDefault;
  RecreateWnd();
}

void TButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.SystemClass = L"BUTTON";
  params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
  if (FModalResult != 0)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND) {
    if (HIWORD(message.WParam) == BN_CLICKED) Click();
    return;
  }
  TButtonControl::WndProc(message);
}

// ---- layout

TButtonLayoutResult CalcButtonLayout(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                     int spacing) {
  const bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  const int room = horizontal ? client.cx : client.cy;
  const int glyphExtent = horizontal ? glyph.cx : glyph.cy;
  const int textExtent = horizontal ? text.cx : text.cy;
  if (glyphExtent == 0 || textExtent == 0) spacing = 0;  // nothing to space apart
  if (margin == -1) {
    if (spacing == -1) {
      const int total = glyphExtent + textExtent;
      spacing = (room - total) / 3;
      margin = spacing;
    } else {
      const int total = glyphExtent + textExtent + spacing;
      margin = (room - total) / 2;
    }
  } else if (spacing == -1) {
    spacing = (room - margin - glyphExtent - textExtent) / 2;
  }
  // Glyph and text centred across the other direction.
  TButtonLayoutResult r{};
  const int glyphAcross = horizontal ? (client.cy - glyph.cy) / 2 : (client.cx - glyph.cx) / 2;
  const int textAcross = horizontal ? (client.cy - text.cy) / 2 : (client.cx - text.cx) / 2;
  int glyphAlong = 0, textAlong = 0;
  switch (layout) {
    case TButtonLayout::blGlyphLeft:
    case TButtonLayout::blGlyphTop:
      glyphAlong = margin;
      textAlong = margin + glyphExtent + spacing;
      break;
    case TButtonLayout::blGlyphRight:
    case TButtonLayout::blGlyphBottom:
      glyphAlong = room - margin - glyphExtent;
      textAlong = glyphAlong - spacing - textExtent;
      break;
  }
  if (horizontal) {
    r.GlyphPos = POINT{glyphAlong, glyphAcross};
    r.TextRect = RECT{textAlong, textAcross, textAlong + text.cx, textAcross + text.cy};
  } else {
    r.GlyphPos = POINT{glyphAcross, glyphAlong};
    r.TextRect = RECT{textAcross, textAlong, textAcross + text.cx, textAlong + text.cy};
  }
  return r;
}

// ---- TBitBtn

const core::TPropInfo TBitBtn::kProps[] = {
    core::ObjProp<&TBitBtn::Glyph>("Glyph"),
    core::IntProp<&TBitBtn::FNumGlyphs, &TBitBtn::SetNumGlyphs>("NumGlyphs", 1),
    core::EnumProp<&TBitBtn::FLayout, &TBitBtn::SetLayout>("Layout", core::kButtonLayoutInfo,
                                                          TButtonLayout::blGlyphLeft),
    core::IntProp<&TBitBtn::FMargin, &TBitBtn::SetMargin>("Margin", -1),
    core::IntProp<&TBitBtn::FSpacing, &TBitBtn::SetSpacing>("Spacing", 4),
};
const core::TClassInfo TBitBtn::kClass{"TBitBtn", &TButton::kClass, kProps, {},
                                       &core::CreateComponentOf<TBitBtn>};

TBitBtn::TBitBtn(core::TComponent* owner) : TButton(owner), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->SetTransparent(true);
}

void TBitBtn::SetNumGlyphs(int count) {
  FNumGlyphs = std::clamp(count, 1, 4);
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout layout) {
  FLayout = layout;
  Invalidate();
}

void TBitBtn::SetMargin(int margin) {
  FMargin = margin;
  Invalidate();
}

void TBitBtn::SetSpacing(int spacing) {
  FSpacing = spacing;
  Invalidate();
}

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::DrawButton(HDC dc, const RECT& rect, bool pressed, bool focused) {
  RECT face = rect;
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const int offset = pressed ? 1 : 0;
  SIZE glyphSize{0, 0};
  if (FGlyph->Width() > 0) glyphSize = SIZE{FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
  TCanvas canvas(dc);
  canvas.Font().Assign(*FFont);
  if (!FEnabled) canvas.Font().SetColor(clGrayText);
  const SIZE textSize = FCaption.empty() ? SIZE{0, 0} : canvas.TextExtent(FCaption);
  const SIZE client{rect.right - rect.left, rect.bottom - rect.top};
  const TButtonLayoutResult layout = CalcButtonLayout(client, glyphSize, textSize, FLayout, FMargin, FSpacing);
  if (glyphSize.cx > 0) {
    // Frame 2 is the disabled look, 3 the pressed one, when the glyph has them.
    int frame = 0;
    if (!FEnabled && FNumGlyphs > 1) frame = 1;
    else if (pressed && FNumGlyphs > 2) frame = 2;
    TBitmap part(glyphSize.cx, glyphSize.cy, TPixelFormat::pf24bit);
    BitBlt(part.Canvas().Handle(), 0, 0, glyphSize.cx, glyphSize.cy, FGlyph->Canvas().Handle(),
           frame * glyphSize.cx, 0, SRCCOPY);
    part.SetTransparent(true);
    part.SetTransparentColor(static_cast<TColor>(GetPixel(FGlyph->Canvas().Handle(), 0, FGlyph->Height() - 1)));
    const int x = rect.left + layout.GlyphPos.x + offset, y = rect.top + layout.GlyphPos.y + offset;
    canvas.Draw(x, y, part);
  }
  if (!FCaption.empty()) {
    RECT textRect = layout.TextRect;
    OffsetRect(&textRect, rect.left + offset, rect.top + offset);
    HDC h = canvas.Handle();
    const int oldMode = SetBkMode(h, TRANSPARENT);
    const std::wstring text = Widen(FCaption);
    DrawTextW(h, text.c_str(), static_cast<int>(text.size()), &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(h, oldMode);
  }
  canvas.SetHandle(nullptr);
  if (focused) {
    RECT focus = rect;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

void TBitBtn::WndProc(TMessage& message) {
  if (message.Msg == CN_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    DrawButton(item->hDC, item->rcItem, (item->itemState & ODS_SELECTED) != 0,
               (item->itemState & ODS_FOCUS) != 0);
    message.Result = TRUE;
    return;
  }
  TButton::WndProc(message);
}

void RegisterStdControls() {
  for (const core::TClassInfo* cls :
       {&TLabel::kClass, &TPanel::kClass, &TComboBox::kClass, &TProgressBar::kClass, &TButton::kClass,
        &TBitBtn::kClass, &TImage::kClass, &TForm::kClass, &TTimer::kClass, &TOpenDialog::kClass,
        &TImageList::kClass})
    core::RegisterComponentClass(*cls);
  RegisterMenuClasses();
  RegisterComControls();
}

}  // namespace bw::win
