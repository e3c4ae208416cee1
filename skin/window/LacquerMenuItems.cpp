// Menu items drawn by the frame: the framework menus' items take the frame's painters, and
// plain menus' owner-drawn items are measured and drawn here, over the background of the
// skinned popup that shows them.
#include <algorithm>
#include <map>

#include "framework/win/GdiHandles.h"
#include "framework/win/ImageList.h"
#include "framework/win/Text.h"
#include "skin/controls/WinSubClass.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/LacquerMenu.h"
#include "skin/window/LacquerPopMenu.h"

namespace bw::skin {

namespace {

constexpr UINT kFirstSystemId = 4096;  // ids the system gives to submenu entries lie above

bool HasMenuItemObject(const TSkinData* data) {
  return data && data->MenuItem && data->MenuItem->Bitmap.Width() > 0;
}

int ItemLeftMargin(const TSkinData* data) { return data && data->MenuItem ? data->MenuItem->Margins.left : 0; }

// The application's own handlers, kept while the frame's painters stand in for them.
struct TSavedHandlers {
  win::TMenuDrawItemEvent Draw;
  win::TMenuMeasureItemEvent Measure;
};
std::map<win::TMenuItem*, TSavedHandlers>& SavedHandlers() {
  static std::map<win::TMenuItem*, TSavedHandlers> saved;
  return saved;
}

void Bind(TLacquerForm& frame, win::TMenuItem& item, bool popup) {
  auto& saved = SavedHandlers();
  if (!saved.count(&item)) saved[&item] = TSavedHandlers{item.OnDrawItem, item.OnMeasureItem};
  item.OnDrawItem = [&frame](core::TObject* sender, win::TCanvas& canvas, RECT rect, bool selected) {
    frame.DrawMenuItem(*static_cast<win::TMenuItem*>(sender), canvas, rect, selected);
  };
  const bool ownMeasure = static_cast<bool>(saved[&item].Measure);
  if (!ownMeasure) {
    if (popup) {
      item.OnMeasureItem = [&frame](core::TObject* sender, win::TCanvas& canvas, int& w, int& h) {
        frame.MeasureItemPop(*static_cast<win::TMenuItem*>(sender), canvas, w, h);
      };
    } else {
      item.OnMeasureItem = [&frame](core::TObject* sender, win::TCanvas& canvas, int& w, int& h) {
        frame.MeasureItem(*static_cast<win::TMenuItem*>(sender), canvas, w, h);
      };
    }
  }
}

void Unbind(win::TMenuItem& item) {
  auto& saved = SavedHandlers();
  auto it = saved.find(&item);
  if (it == saved.end()) {
    item.OnDrawItem = nullptr;
    item.OnMeasureItem = nullptr;
    return;
  }
  item.OnDrawItem = it->second.Draw;
  item.OnMeasureItem = it->second.Measure;
  saved.erase(it);
}

void ForTree(win::TMenuItem& item, const std::function<void(win::TMenuItem&)>& visit) {
  for (int i = 0; i < item.Count(); ++i) {
    visit(*item.Items(i));
    ForTree(*item.Items(i), visit);
  }
}

// A stand-in item for an entry of a plain menu handle.
std::unique_ptr<win::TMenuItem> CreateMenuItem(HMENU menu, UINT id, UINT state) {
  auto item = std::make_unique<win::TMenuItem>(nullptr);
  wchar_t text[81] = {};
  GetMenuStringW(menu, id, text, 80, MF_BYCOMMAND);
  item->SetCaption(text[0] ? win::Narrow(text) : std::string("-"));
  item->SetEnabled(!(state & (ODS_GRAYED | ODS_DISABLED)));
  item->SetChecked((state & ODS_CHECKED) != 0);
  return item;
}

}  // namespace

void TLacquerForm::InitPopMenu(win::TCustomForm& form, bool on) {
  if (form.ClassName() == "TwwRichEditForm" || !FSkinData) return;
  if (on && !FSkinData->SkinControls().Contains(TSkinControlType::xcPopupMenu)) return;
  for (std::int32_t i = 0; i < form.ComponentCount(); ++i) {
    auto* popup = dynamic_cast<win::TPopupMenu*>(form.Components(i));
    if (!popup || popup->Tag() == FSkinData->DisableTag()) continue;
    popup->SetOwnerDraw(on);
    ForTree(*popup->Items(), [&](win::TMenuItem& item) {
      if (on) Bind(*this, item, true);
      else Unbind(item);
    });
  }
}

void TLacquerForm::InitMainMenu(win::TCustomForm& form, bool on) {
  for (std::int32_t i = 0; i < form.ComponentCount(); ++i) {
    auto* menu = dynamic_cast<win::TMainMenu*>(form.Components(i));
    if (!menu) continue;
    menu->SetOwnerDraw(on);
    for (int top = 0; top < menu->Items()->Count(); ++top)
      ForTree(*menu->Items()->Items(top), [&](win::TMenuItem& item) {
        if (on) Bind(*this, item, false);
        else Unbind(item);
      });
  }
}

void TLacquerForm::MeasureItem(win::TMenuItem& item, win::TCanvas& canvas, int& width, int& height) {
  item.DefaultMeasureItem(canvas, width, height);
  width += ItemLeftMargin(FSkinData) + 10;
  const win::TMenu* menu = item.GetParentMenu();
  if (!menu || !menu->Images()) width += 25;
}

void TLacquerForm::MeasureItemPop(win::TMenuItem& item, win::TCanvas& canvas, int& width, int& height) {
  item.DefaultMeasureItem(canvas, width, height);
  width += ItemLeftMargin(FSkinData) + 12;
  const win::TMenu* menu = item.GetParentMenu();
  if (!menu || !menu->Images()) width += 23;
}

namespace {

// Text in the item's colours: bold for the default item, separators as an etched line.
void DoDrawText(const TSkinData& data, const win::TMenuItem& item, HDC dc, const std::wstring& text, RECT& rect,
                bool selected, UINT format) {
  const bool measuring = (format & DT_CALCRECT) != 0;
  std::wstring shown = text;
  if (measuring && (shown.empty() || shown == L"&")) shown = L" ";
  if (shown == L"-") {
    if (!measuring) {
      RECT line = rect;
      OffsetRect(&line, 0, 4);
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
    return;
  }
  win::TSaveDCGuard saved(dc);
  SetBkMode(dc, TRANSPARENT);
  win::TFontHandle bold;
  if (item.Default()) {
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    bold.Reset(CreateFontIndirectW(&font));
    SelectObject(dc, bold.Get());
  }
  TColor colour = data.Colors[TShemeColor::csMenuText];
  if (!item.Enabled()) {
    colour = data.Colors[TShemeColor::csButtonShadow] == data.Colors[TShemeColor::csMenuText]
                 ? win::clGrayText
                 : data.Colors[TShemeColor::csButtonShadow];
  } else if (selected) {
    colour = data.Colors[TShemeColor::csHilightText];
  }
  SetTextColor(dc, win::ColorToRGB(colour));
  DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &rect, format);
}

void DrawItemText(const TSkinData& data, win::TMenuItem& item, win::TCanvas& canvas, const RECT& r, bool selected) {
  HDC dc = canvas.Handle();
  const std::wstring caption = win::Widen(item.Caption());
  const win::TMenu* menu = item.GetParentMenu();
  win::TImageList* images = menu ? menu->Images() : nullptr;
  const int margin = data.MenuItem ? data.MenuItem->Margins.left : 0;
  int glyph = images ? images->Width() : 16;
  if (item.Checked()) glyph = std::max(glyph, 16);
  const bool rtl = false;
  (void)rtl;
  RECT box{r.left + 1 + margin, r.top + 1, r.left + 1 + margin + glyph, r.top + 1 + glyph};
  int textLeft = box.right + 3;
  if (item.IsLine()) {
    textLeft = r.left + 3;
  } else {
    const bool hasImage = images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count();
    if (hasImage) {
      if (item.Checked()) {
        win::TBrushHandle pattern(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
        FillRect(dc, &box, pattern.Get());
        RECT edge = box;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
      }
      images->Draw(canvas, box.left, box.top, item.ImageIndex(), item.Enabled());
      dc = canvas.Handle();
    } else if (item.Checked()) {
      const int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
      win::TMemoryDC maskDC(dc);
      win::TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
      if (maskDC && mask) {
        win::TSelectGuard select(maskDC.Get(), mask.Get());
        RECT m{0, 0, w, h};
        DrawFrameControl(maskDC.Get(), &m, DFC_MENU, item.RadioItem() ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        win::TBrushHandle brush(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
        win::TSelectGuard selectBrush(dc, brush.Get());
        win::TSaveDCGuard saved(dc);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        BitBlt(dc, box.left + (glyph - w) / 2 + 1, box.top + (glyph - h) / 2 + 1, w, h, maskDC.Get(), 0, 0,
               0x00B8074A);
      }
    }
  }
  RECT text{textLeft, r.top, r.right - 1, r.bottom};
  RECT measured = text;
  DoDrawText(data, item, dc, caption, measured, selected, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  const int th = measured.bottom - measured.top;
  text.top = r.top + ((r.bottom - r.top) - th) / 2;
  text.bottom = text.top + th;
  if (item.IsLine()) text = RECT{textLeft, r.top, r.right - 1, r.bottom - 8};
  DoDrawText(data, item, dc, caption, text, selected, DT_SINGLELINE | DT_EXPANDTABS | DT_LEFT);
  const std::string keys = win::ShortCutToText(item.ShortCut());
  if (!keys.empty() && !item.IsLine()) {
    RECT right{measured.right, text.top, r.right - 11, text.bottom};
    DoDrawText(data, item, dc, win::Widen(keys), right, selected, DT_SINGLELINE | DT_RIGHT);
  }
}

}  // namespace

void TLacquerForm::DrawMenuItem(win::TMenuItem& item, win::TCanvas& canvas, RECT rect, bool selected) {
  if (!FSkinData) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  HMENU parentMenu = item.Parent() && item.Parent()->HandleAllocated() ? item.Parent()->Handle() : nullptr;
  if (parentMenu && SkinManager) SkinManager->SetHMenu(parentMenu);
  TBitmap scratch(w, h, win::TPixelFormat::pf24bit);
  win::TCanvas& sc = scratch.Canvas();
  sc.Font().Assign(*win::Screen().MenuFont());
  win::TBitmap* background = SkinManager ? SkinManager->GetMenuBg(parentMenu) : nullptr;
  if (background && background->Width() > 0) {
    // The background covers the whole popup window; item rectangles are client-relative,
    // and where the client starts differs (a 3 px non-client border, or none under Wine).
    POINT origin{kMenuBorderPx, kMenuBorderPx};
    if (HWND popup = WindowFromDC(canvas.Handle())) {
      RECT window;
      POINT client{0, 0};
      if (GetWindowRect(popup, &window) && ClientToScreen(popup, &client))
        origin = POINT{client.x - window.left, client.y - window.top};
    }
    BitBlt(sc.Handle(), 0, 0, w, h, background->Canvas().Handle(), rect.left + origin.x, rect.top + origin.y,
           SRCCOPY);
  } else {
    sc.Brush().SetColor(FSkinData->Colors[TShemeColor::csMenubg]);
    sc.FillRect(RECT{0, 0, w, h});
  }
  if (!HasMenuItemObject(FSkinData)) {
    if (selected) {
      sc.Brush().SetColor(FSkinData->Colors[TShemeColor::csHilight]);
      sc.FillRect(RECT{0, 0, w, h});
    }
    DrawItemText(*FSkinData, item, sc, RECT{0, 0, w, h}, selected);
  } else if (!item.IsLine()) {
    TDataSkinObject& object = *FSkinData->MenuItem;
    DrawRect2(sc.Handle(), RECT{0, 0, w, h}, object.Bitmap, object.Margins, selected ? 4 : 1, 5, object.Trans != 0,
              object.Tile != 0, false);
    DrawItemText(*FSkinData, item, sc, RECT{0, 0, w, h}, selected);
  } else {
    // The separator: frame 2 as a three-slice, its bottom rows when the item is lower.
    TDataSkinObject& object = *FSkinData->MenuItem;
    const TFrameGeometry f = FrameOf(object.Bitmap, 2, 5, false);
    const int rows = std::min(h, f.fh), sy = f.sy + f.fh - rows;
    const int left = object.Margins.left, right = object.Margins.right;
    TBitmap strip(w, rows, win::TPixelFormat::pf24bit);
    HDC s = strip.Canvas().Handle();
    HDC src = object.Bitmap.Canvas().Handle();
    SetStretchBltMode(s, COLORONCOLOR);
    BitBlt(s, 0, 0, w, rows, sc.Handle(), 0, (h - rows), SRCCOPY);
    StretchBlt(s, 0, 0, left, rows, src, f.sx, sy, left, rows, SRCCOPY);
    StretchBlt(s, left, 0, std::max(w - left - right, 0), rows, src, f.sx + left, sy, std::max(f.fw - left - right, 1),
               rows, SRCCOPY);
    StretchBlt(s, w - right, 0, right, rows, src, f.sx + f.fw - right, sy, right, rows, SRCCOPY);
    DrawTranmap(sc.Handle(), RECT{0, h - rows, w, h}, strip, kSkinKeyColor);
  }
  BitBlt(canvas.Handle(), rect.left, rect.top, w, h, sc.Handle(), 0, 0, SRCCOPY);
}

bool TLacquerForm::WMMeasureItem(LPARAM lParam) {
  auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (!m || m->CtlType != ODT_MENU || !FOrigMenu) return false;
  win::TWindowDC screen(FHandle);
  win::TCanvas canvas;
  canvas.SetHandle(screen.Get());
  canvas.Font().Assign(*win::Screen().MenuFont());
  auto done = [&] { canvas.SetHandle(nullptr); };
  if (FForm && FMenuBar && FMenuBar->FMenu)
    if (win::TMenuItem* item = FMenuBar->FMenu->FindItem(m->itemID, win::TFindItemKind::fkCommand)) {
      int w = static_cast<int>(m->itemWidth), h = static_cast<int>(m->itemHeight);
      MeasureItem(*item, canvas, w, h);
      m->itemWidth = static_cast<UINT>(std::max(w, 0));
      m->itemHeight = static_cast<UINT>(std::max(h, 0));
      done();
      return true;
    }
  if (FForm && m->itemID >= 1 && m->itemID < kFirstSystemId) {
    done();
    return false;
  }
  wchar_t text[81] = {};
  if (FOpenSubmenu) GetMenuStringW(FOpenSubmenu, m->itemID, text, 80, MF_BYCOMMAND);
  const std::string caption = win::Narrow(text);
  m->itemWidth = static_cast<UINT>(canvas.TextWidth(win::StripHotkey(caption)) + 26 + ItemLeftMargin(FSkinData));
  m->itemHeight = caption.empty() ? 8 : m->itemHeight + 4;
  done();
  return true;
}

bool TLacquerForm::WMDrawItem(LPARAM lParam) {
  auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (!d || d->CtlType != ODT_MENU || !FOrigMenu) return false;
  if (IsMDIForm() && WinVersion.Major == 4) return false;
  auto* menu = reinterpret_cast<HMENU>(d->hwndItem);
  if (SkinManager) SkinManager->SetHMenu(menu);
  win::TCanvas canvas;
  canvas.SetHandle(d->hDC);
  canvas.Font().Assign(*win::Screen().MenuFont());
  const bool selected = (d->itemState & ODS_SELECTED) != 0;
  bool handled = true;
  win::TMenuItem* item = FForm && FMenuBar && FMenuBar->FMenu
                             ? FMenuBar->FMenu->FindItem(d->itemID, win::TFindItemKind::fkCommand)
                             : nullptr;
  if (item) {
    DrawMenuItem(*item, canvas, d->rcItem, selected);
  } else if (FForm && d->itemID >= 1 && d->itemID < kFirstSystemId) {
    handled = false;
  } else {
    auto stand = CreateMenuItem(menu, d->itemID, d->itemState);
    DrawMenuItem(*stand, canvas, d->rcItem, selected);
  }
  canvas.SetHandle(nullptr);
  return handled;
}

void TLacquerForm::DeleteGraphicPainter(win::TControl& control) {
  for (TSkinControl* painter : FControls)
    if (painter->FGraphicControl == &control) {
      delete painter;  // unregisters itself
      return;
    }
}

}  // namespace bw::skin
