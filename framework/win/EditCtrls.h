#pragma once
// Edits, memos and rich edits over the system controls.
#include <windows.h>

#include <memory>
#include <string>

#include "framework/core/Enums.h"
#include "framework/core/StringList.h"
#include "framework/win/Controls.h"
#include "framework/win/StdCtrls.h"

namespace bw::win {

using core::TBorderStyle;
using core::TScrollStyle;

// A one-line edit. Its text is read from the window while there is one (the user types
// there); OnChange fires for every change, typed or set.
class TCustomEdit : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomEdit(core::TComponent* owner);

  std::string Text() const;
  void SetText(const std::string& text);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool readOnly);
  // Characters the user may type; 0: no limit of the edit's own.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int length);
  // bsSingle: a sunken border (WS_EX_CLIENTEDGE), so the client area is smaller than the window.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle style);

  core::TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  // The window's text, as the user left it.
  std::string WindowText() const;

 private:
  static const core::TPropInfo kProps[];
  bool FReadOnly = false;
  int FMaxLength = 0;
  TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
};

class TEdit : public TCustomEdit {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TEdit(core::TComponent* owner) : TCustomEdit(owner) {}
};

// A multi-line edit. Lines is a view of the text: one entry per line of the window
// (a text ending in a line break has an empty last line), read from and written to it.
class TCustomMemo : public TCustomEdit {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomMemo(core::TComponent* owner);
  ~TCustomMemo() override;

  core::TStrings* Lines() const { return FLines.get(); }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle bars);
  // Long lines break at the right edge (no horizontal scrolling then).
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool wrap);

 protected:
  void CreateParams(TCreateParams& params) override;

  TScrollStyle FScrollBars = TScrollStyle::ssNone;
  bool FWordWrap = true;

 private:
  static const core::TPropInfo kProps[];
  std::unique_ptr<core::TStrings> FLines;
};

class TMemo : public TCustomMemo {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TMemo(core::TComponent* owner) : TCustomMemo(owner) {}
};

// A memo over the system's rich edit control (riched20.dll, loaded on first use).
class TRichEdit : public TCustomMemo {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TRichEdit(core::TComponent* owner) : TCustomMemo(owner) {}

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
};

void RegisterEditControls();

}  // namespace bw::win
