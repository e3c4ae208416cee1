#pragma once
// Scroll bars. The system draws a control's scroll bars in its non-client area, out of a
// painter's reach, so each bar gets a cover window of its own (a sibling of the control,
// directly above it in z-order) that paints arrows, track and thumb from the skin and
// hands every press to the covered bar: the system's own scrolling (line, page, thumb
// drag, auto-repeat, keyboard) keeps running underneath.
#include <windows.h>

#include <memory>

#include "framework/win/StdCtrls.h"
#include "skin/controls/WinSubClass.h"

namespace bw::skin {

// What a cover window covers.
enum TScrollKind : int {
  kScrollHorz = 0,     // the target's horizontal window scroll bar
  kScrollVert = 1,     // its vertical window scroll bar
  kScrollControl = 2,  // a scroll-bar control, whole
};

// The part of a bar a press or a scroll request concerns: the scroll request codes.
constexpr int kPartLineUp = SB_LINEUP, kPartLineDown = SB_LINEDOWN, kPartPageUp = SB_PAGEUP,
              kPartPageDown = SB_PAGEDOWN, kPartThumb = SB_THUMBTRACK, kPartNone = SB_ENDSCROLL;

// The cover window. It belongs to its painter alone: no owner, no framework parent (only a
// parent window), so neither a form nor discovery ever sees it as one of its controls.
class TWScrollbar : public win::TCustomPanel {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  TWScrollbar();
  ~TWScrollbar() override;

  void Attach(TSkinControl* painter, win::TWinControl* control, int kind);
  void AttachHwnd(TSkinControl* painter, HWND handle, int kind);
  // Follows the covered bar: place, size, z-order, shown or hidden.
  void SetPosition(HWND handle);
  void HideScrollbar();
  void ButtonUp();
  // The part of a scroll-bar control under a point of the cover (kind 2).
  int GetScrollPos(POINT point) const;
  // The thumb under the cursor while it is dragged, clamped between the arrows.
  void GetThumb();
  // The covered bar's rectangle (screen), state and thumb extent; false when unreadable.
  bool GetInfo(SCROLLBARINFO& info);
  // Repaints now when the covered bar's range, page, position or state changed since the
  // last paint (keyboard and programmatic scrolling send no scroll request).
  void RefreshIfChanged();

  int FLength = 0;
  int FThumbTop = 0, FThumbBottom = 0;
  POINT FOrigin{};
  POINT FDownPos{};
  int FThumbStart = 0;
  bool FPressed = false;
  int FVertical = 0;
  int FButtonSize = 0;
  HWND FTargetHandle = nullptr;
  win::TWinControl* FTargetControl = nullptr;
  TSkinControl* FPainter = nullptr;
  int FKind = kScrollHorz;
  RECT FBarRect{};
  int FHitPart = kPartNone;
  bool FShown = false;

  // What the last paint drew, for tests and for RefreshIfChanged.
  struct TPainted {
    int Thickness = 0;        // the cross size the image was drawn with
    int ArrowPx = 0;          // each arrow's length along the axis
    int TrackFrame = 0;       // 1 enabled, 3 disabled
    int ThumbFrame = 0;       // 0: no thumb drawn
    int ThumbTop = 0, ThumbBottom = 0;
    int FirstArrowFrame = 0, SecondArrowFrame = 0;
  };
  const TPainted& Painted() const { return FPainted; }

 protected:
  void CreateParams(win::TCreateParams& params) override;
  void WndProc(win::TMessage& message) override;
  void Paint() override;

 private:
  void Press(win::TMessage& message);
  void Release(win::TMessage& message);
  TSkinData* SkinData() const;
  // The covered bar's scroll state, to tell whether a repaint is due.
  struct TScrollState {
    int Min = 0, Max = 0, Page = 0, Pos = 0, Track = 0;
    DWORD State = 0;
    bool operator==(const TScrollState&) const = default;
  };
  TScrollState ReadState() const;

  HWND FParentWindow = nullptr;
  // Cleared when the cover goes: a press handed on may outlive it (a skin switched off
  // from a timer while the system tracks the press).
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  TPainted FPainted;
  TScrollState FLastState;
  bool FPainting = false;
};

// The window scroll bars of a framework control (memos, list boxes, grids, rich edits,
// tree views, scroll boxes); list views derive from it.
class TSkinScrollbar : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinScrollbar(core::TComponent* owner) : TSkinControl(owner) {}
  ~TSkinScrollbar() override;

  virtual void InitScrollbar(win::TWinControl* control, TSkinData* skinData, win::TCanvas* canvas,
                             TLacquerForm* form);
  void Unsubclass() override;
  bool BeforeProc(win::TMessage& message) override;
  void AfterProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  std::unique_ptr<TWScrollbar> FHorzBar, FVertBar;
  bool FDrawBorder = false;

 protected:
  void PlaceBars();
  void HideBars();
  void FreeBars();
};

// The same for a bare window (the list of a simple combo box).
class TSkinScrollbarH : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinScrollbarH(core::TComponent* owner) : TSkinControl(owner) {}
  ~TSkinScrollbarH() override;

  void Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) override;
  void Unsubclass() override;
  void AfterProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  std::unique_ptr<TWScrollbar> FHorzBar, FVertBar;
};

// A scroll-bar control, covered whole.
class TSkinScControl : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinScControl(core::TComponent* owner) : TSkinControl(owner) {}
  ~TSkinScControl() override;

  virtual void InitScrollbar(win::TWinControl* control, TSkinData* skinData, win::TCanvas* canvas,
                             TLacquerForm* form);
  void Unsubclass() override;
  bool BeforeProc(win::TMessage& message) override;
  void AfterProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  std::unique_ptr<TWScrollbar> FBar;
};

// A size grip (a bare "scrollbar" window): a plain face-coloured square.
class TSkinSizer : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinSizer(core::TComponent* owner) : TSkinControl(owner) {}

  void DrawControl(HDC dc, const RECT& rect) override;
};

}  // namespace bw::skin
