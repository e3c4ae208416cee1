#pragma once
// Controls that choose a value in a range: scroll bars, track bars and up-down buttons.
#include <windows.h>

#include "framework/core/Enums.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TScrollBarKind;
using core::TTickMark;
using core::TTickStyle;
using core::TTrackBarOrientation;
using core::TUDOrientation;

enum class TScrollCode : std::uint8_t {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};
// `scrollPos` comes in as the position the request leads to; the handler may change it.
using TScrollEvent = core::TEvent<void(core::TObject* sender, TScrollCode code, int& scrollPos)>;

// A system scroll-bar control (SBS_HORZ or SBS_VERT). Position stays within
// Min .. Max - PageSize + 1 (Max when PageSize is 0). OnScroll tells every scroll request,
// OnChange every change of Position.
class TScrollBar : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TScrollBar(core::TComponent* owner);

  // A change of kind swaps width and height.
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind kind);
  int Min() const { return FMin; }
  void SetMin(int value) { SetParams(FPosition, value, FMax); }
  int Max() const { return FMax; }
  void SetMax(int value) { SetParams(FPosition, FMin, value); }
  int Position() const;
  void SetPosition(int value) { SetParams(value, FMin, FMax); }
  // A maximum below the minimum is taken as the minimum.
  void SetParams(int position, int min, int max);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int size);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int change) { FSmallChange = change; }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int change) { FLargeChange = change; }
  void Loaded() override;

  core::TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  int HighestPosition() const;
  void ApplyToWindow();
  void Scroll(WORD code);

  TScrollBarKind FKind = TScrollBarKind::sbHorizontal;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FPageSize = 0;
  int FSmallChange = 1;
  int FLargeChange = 1;
};

// A system track bar. OnChange fires for every change of Position, by the user or by code.
class TTrackBar : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTrackBar(core::TComponent* owner);

  // A change of orientation swaps width and height.
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation orientation);
  int Min() const { return FMin; }
  void SetMin(int value);
  int Max() const { return FMax; }
  void SetMax(int value);
  int Position() const;
  void SetPosition(int value);
  // A tick every Frequency positions (tsAuto).
  int Frequency() const { return FFrequency; }
  void SetFrequency(int frequency);
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle style);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark marks);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int size);
  int LineSize() const { return FLineSize; }
  void SetLineSize(int size);
  // A tick of its own at `value` (tsManual).
  void SetTick(int value);
  void Loaded() override;

  core::TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  void PositionChanged(int position);

  TTrackBarOrientation FOrientation = TTrackBarOrientation::trHorizontal;
  int FMin = 0;
  int FMax = 10;
  int FPosition = 0;
  int FFrequency = 1;
  TTickStyle FTickStyle = TTickStyle::tsAuto;
  TTickMark FTickMarks = TTickMark::tmBottomRight;
  int FPageSize = 2;
  int FLineSize = 1;
};

enum class TUDBtnType : std::uint8_t { btNext, btPrev };
using TUDClickEvent = core::TEvent<void(core::TObject* sender, TUDBtnType button)>;
using TUDChangingEvent = core::TEvent<void(core::TObject* sender, bool& allowChange)>;

// A pair of arrow buttons stepping Position by Increment within Min .. Max. With an
// Associate it shows Position as that control's text, takes a number typed there, and
// answers the arrow keys in it. Made a child of its associate it docks at the
// associate's right edge, inside it; otherwise it stands just right of it.
class TUpDown : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TUpDown(core::TComponent* owner);
  ~TUpDown() override;

  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* associate);
  int Min() const { return FMin; }
  void SetMin(int value);
  int Max() const { return FMax; }
  void SetMax(int value);
  int Position() const;
  void SetPosition(int value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int increment);
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation orientation);
  // Steps as a click on one of the buttons does: OnChanging may refuse, then OnClick.
  void Step(TUDBtnType button);
  void Loaded() override;

  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  void Notification(core::TComponent& component, core::TOperation operation) override;

 private:
  static const core::TPropInfo kProps[];
  void AssociateMessage(TMessage& message);
  void ReleaseAssociate();
  void Dock();
  void ShowPosition();
  void TakeAssociateText();
  bool Changing();
  void Clicked(TUDBtnType button);

  TWinControl* FAssociate = nullptr;
  TWindowProcHook FAssociateHook;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FIncrement = 1;
  TUDOrientation FOrientation = TUDOrientation::udVertical;
  bool FShowing = false;  // writing Position into the associate
};

void RegisterRangeControls();

}  // namespace bw::win
