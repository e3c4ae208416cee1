#pragma once
// Check boxes and radio buttons with the check and radio images of the skin's "Buttons"
// object. A framework control is drawn whole (box and caption); a bare window paints
// itself and gets the box drawn over its own.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "skin/controls/WinSubClass.h"

namespace bw::skin {

// What decides the frame of a check or radio image.
struct TCheckFrameInputs {
  bool Radio = false;
  bool WindowChecked = false;    // BM_GETSTATE (check box) or BM_GETCHECK (radio) has BST_CHECKED
  bool Framework = false;        // a framework control: its properties win over the window
  std::string State;             // its "State", lower-cased ("" when it has none)
  std::string Checked;           // its "Checked", lower-cased
  bool DataAware = false;        // it has a "DataField"
  int CheckState = 0;            // last BM_SETCHECK + 1 (0 before any)
  bool Disabled = false;
  bool Indeterminate = false;    // BM_GETSTATE has BST_INDETERMINATE (check boxes)
  int Frames = 0;                // frames in the image
};
// 1-based frame of the image: 1 unchecked, 2 checked, 3 and 4 disabled, 4 also mixed; a
// 12-frame check (8-frame radio) image has rows of four per state. Always within the image.
int CheckFrameIndex(const TCheckFrameInputs& in);

// The shared painting of the two; a subclass says which image it is.
class TSkinCheckControl : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinCheckControl(core::TComponent* owner, bool radio) : TSkinControl(owner), FRadio(radio) {}

  // FClassFlag: the painter draws the whole control; set for framework controls.
  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  void SkinChange() override;
  bool BeforeProc(win::TMessage& message) override;
  void AfterProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  // The frame the last paint drew (0 before the first), for tests and tools.
  int LastFrame() const { return FLastFrame; }

 protected:
  virtual int FrameIndex(int frames);
  bool HasBoxImage() const;
  TBitmap* BoxImage() const;
  int BoxFrames() const;

  bool FRadio;
  int FLastFrame = 0;
};

class TSkinCheckBox : public TSkinCheckControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinCheckBox(core::TComponent* owner) : TSkinCheckControl(owner, false) {}
  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  void AfterProc(win::TMessage& message) override;

  // 0 until the control receives BM_SETCHECK, then its wParam + 1; read by data-aware boxes.
  int FCheckState = 0;

 protected:
  int FrameIndex(int frames) override;
};

class TSkinRadioButton : public TSkinCheckControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinRadioButton(core::TComponent* owner) : TSkinCheckControl(owner, true) {}
};

// Check boxes and radio buttons that draw glyph strips of their own (they publish
// "CustomGlyphs", "UseCustomGlyphs" and "transparentcolor"): they are handed a strip built
// from the skin's image once, and keep painting themselves.
class TSkinObjImage : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  static constexpr int kCheckKind = 1, kRadioKind = 2;
  TSkinObjImage(core::TComponent* owner, int imageKind) : TSkinControl(owner), FImageKind(imageKind) {}

  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  void Unsubclass() override;
  void SkinChange() override { ChangeImage(); }
  void ChangeImage();

  int FImageKind;

 private:
  void SetRzImage();
  void SetRzRadio();
  // Copies source frames into a strip of `frames` frames; each pair is (target, source).
  void HandOver(const TBitmap& image, int sourceFrames, int frames, const std::vector<std::pair<int, int>>& copies);
};

}  // namespace bw::skin
