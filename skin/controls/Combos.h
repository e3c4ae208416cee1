#pragma once
// Combo boxes, edits and spin buttons. A combo box keeps its list and text and gets its
// frame, drop-down button and arrow from the skin over its own painting; an edit with a
// border gets a flat one; an up-down is drawn as two skinned buttons.
#include <windows.h>

#include <memory>

#include "skin/controls/Scrollbars.h"
#include "skin/controls/WinSubClass.h"

namespace bw::skin {

class TSkinUpDown;

class TSkinComBox : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinComBox(core::TComponent* owner) : TSkinControl(owner) {}
  ~TSkinComBox() override;

  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  void Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) override;
  void Unsubclass() override;
  void AfterProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  // The classic look (the button's Style 1): the button image stretched into a plain frame.
  void DrawControl1(HDC dc, const RECT& rect);

  // The frame (1-based) the last paint drew the button with (0 before the first).
  int LastState() const { return FLastState; }
  HWND EditHandle() const { return FEditHandle; }

  DWORD FStyle = 0;
  DWORD FExStyle = 0;
  HWND FListHandle = nullptr;
  HWND FEditHandle = nullptr;
  COMBOBOXINFO FComboInfo{};
  // A simple combo box's list bars: owned here, not listed by the frame.
  std::unique_ptr<TSkinScrollbarH> FListBars;

 private:
  void Attached();
  // Subclasses the edit child of a drop-down combo box so its painting and clicks reach us.
  void FindBtn();
  LRESULT ButtonProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void RestoreEdit();
  int StateIndex();

  win::TWindowSubclass FEditInstance;
  int FLastState = 0;
};

class TSkinEdit : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinEdit(core::TComponent* owner) : TSkinControl(owner) {}

  void AfterProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  // The up-down inside the edit, if any: attached to a spin painter owned by the edit.
  void FindUPDown();
  void PaintControl1(HDC dc);
  void DrawControl1(HDC dc, const RECT& rect);

  // The spin control given a painter (listed, and freed, by the frame like any other).
  HWND FUpDown = nullptr;
};

class TSkinUpDown : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinUpDown(core::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  void DrawBackGround(HDC dc);
  // Frame `state` (1 normal, 2 pressed, 3 disabled, 4 hot) of button `kind` (0 up,
  // 1 down, 2 left, 3 right) from the skin object of its orientation.
  void DrawSkinButton(HDC dc, const RECT& rect, int state, int kind, TDataSkinBorder& skin);
  // Without the skin object: a plain outlined button and a line-drawn arrow.
  void DrawButton(win::TCanvas& canvas, const RECT& rect, int kind, int state);

  // The frames the last paint drew the first and second button with.
  int LastFirst() const { return FLastStates[0]; }
  int LastSecond() const { return FLastStates[1]; }

  bool FInEdit = false;
  bool FForceHorz = false;

 private:
  POINT FPressAt{-1, -1};  // client point of the press being shown
  int FLastStates[2] = {0, 0};
};

}  // namespace bw::skin
