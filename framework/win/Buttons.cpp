#include "framework/win/Buttons.h"

#include <algorithm>
#include <cctype>

#include "framework/core/ClassRegistry.h"
#include "framework/win/CheckCtrls.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/Dialogs.h"
#include "framework/win/EditCtrls.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/ImageList.h"
#include "framework/win/ListBox.h"
#include "framework/win/Menus.h"
#include "framework/win/RangeCtrls.h"
#include "framework/win/ScrollBox.h"
#include "framework/win/SpeedButton.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Text.h"
#include "framework/win/Timer.h"

namespace bw::win {

// ---- TButton

const core::TPropInfo TButton::kProps[] = {
    core::EnumProp<&TButton::FModalResult, &TButton::SetModalResult>("ModalResult", core::kModalResultInfo, 0),
    core::BoolProp<&TButton::FDefault, &TButton::SetDefault>("Default", false),
    core::BoolProp<&TButton::FCancel, &TButton::SetCancel>("Cancel", false),
    core::EnumProp<&TButton::FAlignment, &TButton::SetAlignment>("Alignment", core::kAlignmentInfo,
                                                                TAlignment::taCenter),
    core::ObjProp<&TButton::Images, &TButton::SetImages>("Images"),
    core::IntProp<&TButton::FImageIndex, &TButton::SetImageIndex>("ImageIndex", -1),
    core::IntProp<&TButton::FDisabledIndex, &TButton::SetDisabledIndex>("DisabledIndex", -1),
};
const core::TClassInfo TButtonControl::kClass{"TButtonControl", &TWinControl::kClass, {}, {}};
const core::TClassInfo TButton::kClass{"TButton", &TButtonControl::kClass, kProps, {},
                                       &core::CreateComponentOf<TButton>};

TButton::TButton(core::TComponent* owner) : TButtonControl(owner) {
  FWidth = 75;
  FHeight = 25;
  FTabStop = true;
}

TButton::~TButton() { SetImages(nullptr); }

void TButton::SetDefault(bool isDefault) {
  if (isDefault == FDefault) return;
  FDefault = isDefault;
  RecreateWnd();
}

void TButton::SetAlignment(TAlignment alignment) {
  if (alignment == FAlignment) return;
  FAlignment = alignment;
  RecreateWnd();
}

void TButton::SetImages(TImageList* images) {
  if (images == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(*this);
  FImages = images;
  if (FImages) FImages->FreeNotification(*this);
  Invalidate();
}

void TButton::SetImageIndex(int index) {
  FImageIndex = index;
  Invalidate();
}

void TButton::SetDisabledIndex(int index) {
  FDisabledIndex = index;
  Invalidate();
}

void TButton::Notification(core::TComponent& component, core::TOperation operation) {
  TButtonControl::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FImages) FImages = nullptr;
}

void TButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.SystemClass = L"BUTTON";
  params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  switch (FAlignment) {
    case TAlignment::taLeftJustify: params.Style |= BS_LEFT; break;
    case TAlignment::taRightJustify: params.Style |= BS_RIGHT; break;
    case TAlignment::taCenter: params.Style |= BS_CENTER; break;
  }
}

void TButton::Click() {
  if (FModalResult != 0)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      if (HIWORD(message.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY: {
      const bool mine = (message.WParam == VK_RETURN && FDefault) || (message.WParam == VK_ESCAPE && FCancel);
      if (mine && CanFocus() && Showing()) {
        Click();
        message.Result = 1;
        return;
      }
      break;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<unsigned>(message.WParam), FCaption) && CanFocus() && Showing()) {
        Click();
        message.Result = 1;
        return;
      }
      break;
  }
  TButtonControl::WndProc(message);
}

bool IsAccel(unsigned charCode, const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(caption[i + 1]);
    if (c >= 0x80 || charCode >= 0x80) return c == charCode;
    return std::tolower(c) == std::tolower(static_cast<int>(charCode));
  }
  return false;
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

void DrawButtonContent(HDC dc, const RECT& rect, const TButtonContent& content, int offset) {
  const bool hasGlyph = content.Glyph && !content.Glyph->Empty();
  const int numGlyphs = std::max(content.NumGlyphs, 1);
  SIZE glyphSize{0, 0};
  if (hasGlyph) {
    glyphSize = SIZE{content.Glyph->Width() / numGlyphs, content.Glyph->Height()};
  } else if (content.Images && content.ImageIndex >= 0 && content.ImageIndex < content.Images->Count()) {
    glyphSize = SIZE{content.Images->Width(), content.Images->Height()};
  }
  TCanvas canvas(dc);
  if (content.Font) canvas.Font().Assign(*content.Font);
  if (!content.Enabled) canvas.Font().SetColor(clGrayText);
  const SIZE textSize = content.Caption.empty() ? SIZE{0, 0} : canvas.TextExtent(content.Caption);
  const SIZE client{rect.right - rect.left, rect.bottom - rect.top};
  const TButtonLayoutResult layout =
      CalcButtonLayout(client, glyphSize, textSize, content.Layout, content.Margin, content.Spacing);
  const int x = rect.left + layout.GlyphPos.x + offset, y = rect.top + layout.GlyphPos.y + offset;
  if (hasGlyph && glyphSize.cx > 0) {
    const int frame = content.GlyphFrame < numGlyphs ? content.GlyphFrame : 0;
    TBitmap part(glyphSize.cx, glyphSize.cy, TPixelFormat::pf24bit);
    BitBlt(part.Canvas().Handle(), 0, 0, glyphSize.cx, glyphSize.cy, content.Glyph->Canvas().Handle(),
           frame * glyphSize.cx, 0, SRCCOPY);
    part.SetTransparent(true);
    part.SetTransparentColor(
        static_cast<TColor>(GetPixel(content.Glyph->Canvas().Handle(), 0, content.Glyph->Height() - 1)));
    canvas.Draw(x, y, part);
  } else if (glyphSize.cx > 0) {
    content.Images->Draw(canvas, x, y, content.ImageIndex, content.ImageEnabled);
  }
  if (!content.Caption.empty()) {
    RECT textRect = layout.TextRect;
    OffsetRect(&textRect, rect.left + offset, rect.top + offset);
    HDC h = canvas.Handle();
    const int oldMode = SetBkMode(h, TRANSPARENT);
    const std::wstring text = Widen(content.Caption);
    DrawTextW(h, text.c_str(), static_cast<int>(text.size()), &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(h, oldMode);
  }
}

void TBitBtn::DrawButton(HDC dc, const RECT& rect, bool pressed, bool focused) {
  RECT face = rect;
  if (FDefault || focused) {
    // The default button's dark outline.
    TBrushHandle frame(CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME)));
    FrameRect(dc, &face, frame.Get());
    InflateRect(&face, -1, -1);
  }
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  TButtonContent content;
  content.Caption = FCaption;
  content.Font = FFont.get();
  content.Enabled = FEnabled;
  content.Glyph = FGlyph.get();
  content.NumGlyphs = FNumGlyphs;
  // Frame 2 is the disabled look, 3 the pressed one, when the glyph has them.
  content.GlyphFrame = !FEnabled ? 1 : (pressed ? 2 : 0);
  content.Images = FImages;
  content.ImageIndex = FEnabled || FDisabledIndex < 0 ? FImageIndex : FDisabledIndex;
  content.ImageEnabled = FEnabled;
  content.Layout = FLayout;
  content.Margin = FAlignment == TAlignment::taCenter ? -1 : FMargin;
  content.Spacing = FSpacing;
  DrawButtonContent(dc, rect, content, pressed ? 1 : 0);
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
  RegisterSpeedButton();
  RegisterCheckControls();
  RegisterEditControls();
  RegisterListBox();
  RegisterRangeControls();
  RegisterScrollingControls();
  RegisterMenuClasses();
  RegisterComControls();
}

}  // namespace bw::win
