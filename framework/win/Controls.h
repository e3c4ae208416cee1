#pragma once
// Controls: windowless controls painted by their parent (TGraphicControl) and windowed
// controls owning one window each (TWinControl). Every message goes through the control's
// replaceable WindowProc slot, whose default is the control's WndProc; code that takes a
// control over saves the slot and puts its own handler there.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Enums.h"
#include "framework/core/TypeInfo.h"
#include "framework/win/Canvas.h"
#include "framework/win/Colors.h"
#include "framework/win/GraphicsObjects.h"
#include "framework/win/Messages.h"
#include "framework/win/WindowProcSlot.h"

namespace bw::win {

class TWinControl;
class TPopupMenu;

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
using TMouseEvent = core::TEvent<void(core::TObject* sender, TMouseButton button, int x, int y)>;
using TMouseMoveEvent = core::TEvent<void(core::TObject* sender, int x, int y)>;

class TControl : public core::TComponent {
  friend class TWinControl;

 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  explicit TControl(core::TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  core::TComponent* GetParentComponent() const override;
  void SetParentComponent(core::TComponent* parent) override;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  virtual RECT ClientRect() const { return RECT{0, 0, FWidth, FHeight}; }
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  virtual void SetClientWidth(int v) { SetWidth(v); }
  virtual void SetClientHeight(int v) { SetHeight(v); }
  // Client coordinates of this control to and from the screen.
  virtual POINT ClientToScreen(POINT p) const;
  virtual POINT ScreenToClient(POINT p) const;

  // Where the control sits in its parent's client area; the parent places its aligned
  // children whenever it, or one of them, changes size or visibility.
  core::TAlign Align() const { return FAlign; }
  void SetAlign(core::TAlign align);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent up to a top-level window that is showing.
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool enabled);

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TFont* Font() const { return FFont.get(); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool parentFont);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool parentColor);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool show);
  // True between CM_MOUSEENTER and CM_MOUSELEAVE.
  bool MouseInControl() const { return FMouseInControl; }
  // Shown on a right click or the menu key over the control.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);
  // Shows the popup menu at a screen point; false when the control has none to show.
  bool DoContextPopup(POINT screen);

  // The replaceable message handler: code that takes the control over puts its handler on
  // top (Replace) and releases it (Restore); the bottom is the control's WndProc.
  TWindowProcSlot WindowProc;
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  virtual void Click();
  virtual bool IsWindowed() const { return false; }
  void BringToFront();

  core::TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  core::TNotifyEvent OnMouseEnter;
  core::TNotifyEvent OnMouseLeave;

 protected:
  // The default message handler: framework notifications, mouse events, then DefaultHandler.
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  virtual void FontChanged();
  // After the caption changed, from SetCaption or a WM_SETTEXT to the window.
  virtual void TextChanged() {}
  void DoTextChanged();
  // Windowed controls change their caption through their window, so that every handler on
  // the window's chain sees it; false when there is no window to go through.
  virtual bool SetTextThroughWindow(const std::string&) { return false; }
  virtual void BoundsChanged() {}
  virtual void MouseDown(TMouseButton button, int x, int y);
  virtual void MouseUp(TMouseButton button, int x, int y);
  virtual void MouseMove(int x, int y);
  void Notification(core::TComponent& component, core::TOperation operation) override;
  // Colour of the parent for ParentColor; the control's own colour without a parent.
  void ApplyParentFont();
  void ApplyParentColor();
  void RequestAlign();

  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  core::TAlign FAlign = core::TAlign::alNone;
  std::string FCaption;
  TColor FColor = clBtnFace;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FParentColor = false;
  std::string FHint;
  bool FShowHint = false;
  bool FMouseInControl = false;
  bool FMouseDownInside = false;
  TWinControl* FParent = nullptr;
  TPopupMenu* FPopupMenu = nullptr;

 private:
  static const core::TPropInfo kProps[];
  bool FUpdatingFromParent = false;
};

// A control without a window, painted by its parent on the parent's device context.
class TGraphicControl : public TControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TGraphicControl(core::TComponent* owner);
  ~TGraphicControl() override;

  TCanvas& Canvas() { return FCanvas; }
  void Invalidate() override;
  void Update() override;

 protected:
  void WndProc(TMessage& message) override;
  // Draws on Canvas() in client coordinates of the control.
  virtual void Paint() {}

 private:
  TCanvas FCanvas;
};

struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  std::wstring WinClassName;  // the framework class name the window class is registered as
  std::wstring SystemClass;   // the system class it superclasses; empty for a class of its own
  UINT ClassStyle = CS_DBLCLKS;
  HBRUSH ClassBackground = nullptr;
  void* CreateParam = nullptr;  // CreateWindowEx's last argument (the MDI client's record)
};

class TWinControl : public TControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TWinControl(core::TComponent* owner);
  ~TWinControl() override;

  // The window, created (with its parents') on first use.
  HWND Handle();
  HWND WindowHandle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  // Destroys and re-creates the window (and its children's) inside the handling of
  // CM_RECREATEWND, so that code on the WindowProc chain sees the change.
  void RecreateWnd();
  // The framework control attached to a window of this module and thread, if any.
  static TWinControl* FromHandle(HWND window);
  // The control whose window this thread is creating now (before its first message attached
  // it), if any: window hooks see a window before its control is attached.
  static TWinControl* CreationControl();
  // The child window's control id (WM_COMMAND, WM_MEASUREITEM, GetDlgItem); 0 for top-level windows.
  int ControlId() const { return FControlId; }

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
  // The visible windowless child under a client point, if any.
  TControl* ControlAtPos(POINT clientPoint, bool allowDisabled = false) const;
  void InsertControl(TControl& control);
  void RemoveControl(TControl& control);
  void GetChildren(const std::function<void(core::TComponent&)>& visit, core::TComponent& root) override;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool tabStop);
  bool Focused() const;
  virtual bool CanFocus() const;
  void SetFocus();
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool on) { FDoubleBuffered = on; }

  RECT ClientRect() const override;
  POINT ClientToScreen(POINT p) const override;
  POINT ScreenToClient(POINT p) const override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  bool Showing() const override;
  bool IsWindowed() const override { return true; }
  void Invalidate() override;
  void Update() override;
  // Paints the windowless children on dc (client coordinates of this control).
  void PaintControls(HDC dc);
  // Places the aligned children: top and bottom ones across the full width in child
  // order, then left and right ones in the height left, then client ones in the rest.
  // Not while the control is being read: bounds read later must not undo it.
  void AlignControls();
  void Loaded() override;

 protected:
  // The part of the client area aligned children share (a tab control's page, say).
  virtual void AdjustClientRect(RECT&) const {}
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  // Draws the control itself; the default lets the window class paint on dc.
  virtual void PaintWindow(HDC dc);
  // Windows of own classes paint through PaintHandler; superclassed system controls
  // paint themselves unless they have windowless children.
  virtual bool OwnsPainting() const;
  void FontChanged() override;
  bool SetTextThroughWindow(const std::string& text) override;
  // Answers a reflected WM_CTLCOLOR*: text and background from Font and Color.
  void ColorMessage(TMessage& message);

  WNDPROC FDefWndProc = nullptr;
  bool FDoubleBuffered = false;
  bool FTabStop = false;

 private:
  friend class TControl;
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND window);
  void Detach();
  void PaintHandler(TMessage& message);
  bool ReflectToChild(TMessage& message);
  void ForwardMouseToChild(TMessage& message, bool& handled);
  void TrackMouse(TControl* target);

  HWND FHandle = nullptr;
  int FControlId = 0;
  std::vector<TControl*> FControls;  // children in tab (creation) order; not owned
  TControl* FCaptureControl = nullptr;
  bool FTrackingLeave = false;
  bool FAligning = false;
  std::unique_ptr<TBrush> FBackground;
};

// A windowed control with a canvas of its own that paints itself in Paint().
class TCustomControl : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomControl(core::TComponent* owner);
  ~TCustomControl() override;
  TCanvas& Canvas() { return FCanvas; }

 protected:
  void PaintWindow(HDC dc) override;
  bool OwnsPainting() const override { return true; }
  virtual void Paint() {}

 private:
  TCanvas FCanvas;
};

// The name under which a control's object is attached to its window: "ControlOfs" + module
// instance and thread id in hexadecimal; and its atom.
const std::string& ControlPropName();
ATOM ControlAtom();

// The control under the mouse, as told by CM_MOUSEENTER and CM_MOUSELEAVE.
TControl* MouseControl();

// Sends `message` to the control under the window, catching every exception at the
// window-procedure boundary.
LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace bw::win
