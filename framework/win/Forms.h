#pragma once
// Top-level windows. A form reads its layout from the description registered under its
// class name (framework/core FormData) when created through CreateForm.
#include <windows.h>

#include <vector>

#include "framework/core/Enums.h"
#include "framework/core/FormData.h"
#include "framework/core/FormStreaming.h"
#include "framework/win/Controls.h"

namespace bw::win {

class TMainMenu;
class TMenuItem;
using core::TWindowState;
using core::TFormBorderStyle;
using core::TFormStyle;
using core::TPosition;

enum class TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };
using TCloseEvent = core::TEvent<void(core::TObject* sender, TCloseAction& action)>;

// Modal results, as numbers (TModalResult ordinals).
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7;

// A windowed control whose content may be larger than itself: forms, scroll boxes, frames.
class TScrollingWinControl : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TScrollingWinControl(core::TComponent* owner) : TWinControl(owner) {}
  bool AutoScroll() const { return FAutoScroll; }
  virtual void SetAutoScroll(bool on) { FAutoScroll = on; }

 protected:
  bool FAutoScroll = true;

 private:
  static const core::TPropInfo kProps[];
};

class TCustomForm : public TScrollingWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomForm(core::TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition position) { FPosition = position; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle style);
  bool TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(bool on);
  TColor TransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor color);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool on) { FKeyPreview = on; }
  HICON Icon() const { return FIcon; }
  // The form does not own the icon.
  void SetIcon(HICON icon);

  // The menu bar.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  // Clicks the item of the form's menus (its bar and its popup menus) with that short cut.
  virtual bool IsShortCut(WORD shortCut);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  // The control that has the focus in this form, or gets it when the form is shown.
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* control);

  // MDI: an fsMDIForm holds an MDI client window; fsMDIChild forms live in the client of
  // the main form (or the first MDI form).
  HWND ClientHandle() const { return FClientHandle; }
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int index) const;
  TCustomForm* ActiveMDIChild() const;
  // The menu item under which the MDI client lists the children.
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* item);
  void Tile();
  void Cascade();
  void ArrangeIcons();
  void Next();
  void Previous();

  RECT ClientRect() const override;
  void SetClientWidth(int width) override;
  void SetClientHeight(int height) override;
  void SetVisible(bool visible) override;
  void SetParent(TWinControl* parent) override;
  bool Showing() const override;

  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }
  bool Modal() const { return FModal; }
  int ShowModal();
  // Asks OnClose; hides (or frees, or minimises) the form; closing the main form ends the program.
  void Close();
  // Frees the form once the messages now pending have been handled.
  void Release();
  bool Active() const;

  // Runs OnCreate once the description has been read.
  void DoCreate();

  core::TNotifyEvent OnCreate;
  core::TNotifyEvent OnShow;
  core::TNotifyEvent OnHide;
  TCloseEvent OnClose;
  core::TNotifyEvent OnDestroy;
  core::TNotifyEvent OnActivate;
  core::TNotifyEvent OnDeactivate;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  bool OwnsPainting() const override { return true; }
  void DefaultHandler(TMessage& message) override;
  void DestroyWnd() override;
  void Notification(core::TComponent& component, core::TOperation operation) override;
  void ApplyLayered();
  bool IsMDIChild() const { return FFormStyle == TFormStyle::fsMDIChild; }
  // The MDI form whose client an MDI child lives in.
  static TCustomForm* MDIParentForm();
  void CreateMDIClient();
  // An active MDI child's menu shows in its frame's bar; an inactive one's leaves it.
  void MergeMenuWithFrame(bool active);
  // The MDI client fills what the form's edge-docked controls leave of its client area.
  void LayoutMDIClient();
  // Broadcasts CM_DIALOGKEY / CM_DIALOGCHAR to the controls until one answers.
  LRESULT BroadcastToControls(TWinControl& parent, TMessage& message);
  bool HandleMenuMessage(TMessage& message);

  TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
  TPosition FPosition = TPosition::poDesigned;
  TFormStyle FFormStyle = TFormStyle::fsNormal;
  bool FTransparentColor = false;
  TColor FTransparentColorValue = clBlack;
  bool FKeyPreview = false;
  HICON FIcon = nullptr;
  int FModalResult = mrNone;
  bool FModal = false;
  bool FShownOnce = false;
  TMainMenu* FMenu = nullptr;
  TMenuItem* FWindowMenu = nullptr;
  TWinControl* FActiveControl = nullptr;
  TWindowState FWindowState = TWindowState::wsNormal;  // kept while there is no window
  HWND FClientHandle = nullptr;

 private:
  static const core::TPropInfo kProps[];
};

class TForm : public TCustomForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TForm(core::TComponent* owner) : TCustomForm(owner) {}
};

// The form a control stands on (the control itself when it is a form), if any.
TCustomForm* GetParentForm(const TControl* control);

// Builds form T: the object first, then its registered description, then OnCreate.
// Raises EReadError when the description is damaged.
template <class T>
T* CreateForm(core::TComponent* owner) {
  auto* form = new T(owner);
  try {
    if (auto text = core::FindFormData(form->ClassName())) core::ReadComponentText(*form, *text);
    form->DoCreate();
  } catch (...) {
    delete form;
    throw;
  }
  return form;
}

class TScreen {
 public:
  int FormCount() const { return static_cast<int>(FForms.size()); }
  // In z-order, the topmost first; forms inside another window follow their top-level form,
  // forms without a window come last, in creation order.
  TCustomForm* Forms(int index) const;
  TCustomForm* ActiveForm() const { return FActiveForm; }
  // The font of menus, from the system's non-client metrics.
  TFont* MenuFont();
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

 private:
  friend class TCustomForm;
  std::vector<TCustomForm*> FForms;  // creation order
  TCustomForm* FActiveForm = nullptr;
  std::unique_ptr<TFont> FMenuFont;
};

TScreen& Screen();

}  // namespace bw::win
