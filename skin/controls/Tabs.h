#pragma once
// Tab controls and page controls (strip and page border from the skin's tab images, in any
// of the four strip positions), the older tab set, tab sheets and header controls.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "skin/controls/WinSubClass.h"

namespace bw::skin {

class TSkinUpDown;

enum class TSkinTabPosition : std::uint8_t { StTop, Stbottom, Stleft, Stright };
// The strip position a tab control's style asks for.
TSkinTabPosition TabPositionOfStyle(DWORD style);

// Paints over what the control drew: the strip composed lying horizontally and turned
// upright for side strips, then the page border round the display area.
class TSkinTab : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinTab(core::TComponent* owner) : TSkinControl(owner) {}
  ~TSkinTab() override;

  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  void Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) override;
  void SkinChange() override;
  bool BeforeProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  // The tab and border images turned for the strip position.
  void inittab();
  // Attaches a painter to the scroll arrows; answers whether they are shown.
  bool FindScroll();
  TSkinTabPosition GetPosition();
  // Copies the upright strip to `strip` on dc, leaving out the scroll arrows' window.
  void ClipUpdown(HDC dc, const RECT& strip);
  void Drawitem(win::TCanvas& canvas, const RECT& rect, int state, const std::wstring& text, HIMAGELIST images,
                int imageIndex);

  // The tab under the mouse (-1: none).
  int HotTab() const { return FHotTab; }

  TSkinTabPosition FPosition = TSkinTabPosition::StTop;
  std::unique_ptr<win::TBitmap> FTabImage, FBorderImage, FStripImage;
  TSkinUpDown* FScroller = nullptr;  // owned by this painter, listed by the frame

 protected:
  void Notification(core::TComponent& component, core::TOperation operation) override;

 private:
  void Attached();
  void SetHotTab(int index);
  int FHotTab = -1;
  bool FImagesReady = false;  // FTabImage and FBorderImage are turned for FPosition
};

// The tab set: tabs hang downward from its top edge, laid out from the start margin.
class TSkinTab31 : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinTab31(core::TComponent* owner) : TSkinControl(owner) {}
  ~TSkinTab31() override;

  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  bool BeforeProc(win::TMessage& message) override;
  void SkinChange() override;
  void DrawControl(HDC dc, const RECT& rect) override;
  void inittab();

  std::unique_ptr<win::TBitmap> FTabImage;
  TSkinUpDown* FScroller = nullptr;  // owned by this painter
  win::TControl* FScrollerControl = nullptr;

 protected:
  void Notification(core::TComponent& component, core::TOperation operation) override;
};

// A page of a page control: the skin's face under its controls.
class TSkinTabSheet : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinTabSheet(core::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;
};

// Column headings from the skin's header-bar image; the control's own painting goes first.
class TSkinHeader : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinHeader(core::TComponent* owner) : TSkinControl(owner) {}

  void Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) override;
  bool BeforeProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  void DrawItem(HIMAGELIST images, win::TCanvas& canvas, const RECT& rect, int index);

 private:
  bool HasHeaderImage() const;
};

}  // namespace bw::skin
