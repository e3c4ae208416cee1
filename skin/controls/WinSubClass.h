#pragma once
// The base of every control painter: a small component owned by the control it paints,
// which takes over the control's message stream (a framework control's WindowProc chain,
// or a bare window's procedure), paints it from the skin, and gives it back exactly. The
// frame of the control's window lists its painters and frees them.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Canvas.h"
#include "framework/win/Controls.h"
#include "framework/win/ImageList.h"
#include "framework/win/Subclass.h"
#include "framework/win/WindowProcSlot.h"
#include "skin/controls/SkinImages.h"
#include "skin/data/LacquerData.h"

namespace bw::skin {

class TLacquerForm;

enum class TSkinControlState : std::uint8_t { scMouseIn, scDown };
using TSkinControlStates = core::TSet<TSkinControlState>;

// Painter lifecycle: constructed, attached, released by a panel painter, window destroyed.
constexpr std::int32_t kPainterCreated = 0;
constexpr std::int32_t kPainterAttached = 1;
constexpr std::int32_t kPainterReleased = 2;
constexpr std::int32_t kPainterDestroyed = 6;

// Frame indexes of a painter's skin bitmaps.
constexpr int kFrameNormal = 1, kFramePressed = 2, kFrameDisabled = 3, kFrameHot = 4, kFrameFocused = 5;

class TSkinControl : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinControl(core::TComponent* owner);
  ~TSkinControl() override;

  // Attaching: a framework windowed control (the owner), a bare window.
  virtual void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK);
  virtual void Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form);
  // Before the skin is switched off: undo what the painter changed on the control.
  virtual void Unsubclass();
  // After a new skin was loaded.
  virtual void SkinChange();

  // Answers true to pass the message on (then AfterProc), false when it was consumed.
  virtual bool BeforeProc(win::TMessage& message);
  virtual void AfterProc(win::TMessage& message);
  virtual void PaintControl(HDC dc);
  virtual void DrawControl(HDC dc, const RECT& rect);

  void NewWndProc(win::TMessage& message);
  void Default(win::TMessage& message);
  void Invalidate();
  void MouseLeave();
  void WMPaint(win::TMessage& message);
  void WMERASEBKGND(win::TMessage& message);
  void FillBG(HDC dc, const RECT& rect);
  void FillParentBG(HDC dc, const RECT& rect);
  TColor GetParentColor(TColor fallback) const;
  LONG_PTR GetWindowLongEx(HWND window, int index) const;

  // Captions and focus (DrawText flags; "measure" adds DT_CALCRECT | DT_NOCLIP).
  void DrawFocus(HDC dc, const std::wstring& text, const RECT& rect, UINT format);
  void DrawCaption(win::TCanvas& canvas, RECT rect, const std::wstring& text, bool enabled, UINT format);
  void DrawImgCaption(win::TCanvas& canvas, const RECT& rect, HIMAGELIST images, int imageIndex,
                      const std::wstring& text, int align);
  void MyDrawCaption(win::TCanvas& canvas, const RECT& rect, const std::wstring& text, bool enabled,
                     core::TAlignment alignment);
  void MyDrawImgCaption(win::TCanvas& canvas, const RECT& rect, win::TImageList* images, int imageIndex,
                        const std::wstring& text, bool enabled, core::TAlignment alignment);
  static int TextHeight(HDC dc, const std::wstring& text);

  // Skin images (nothing for an inverted rectangle).
  void DrawSkinMap(HDC dc, const RECT& rect, TDataSkinObject& object, int frameIndex, int frameCount);
  static void DrawSkinMap1(HDC dc, const RECT& rect, TBitmap& bitmap, int frameIndex, int frameCount);
  static void DrawSkinMap2(HDC dc, const RECT& rect, TBitmap& bitmap, int frameIndex, int frameCount);
  static void DrawSkinMap3(win::TCanvas& canvas, const RECT& rect, TBitmap& bitmap, int frameIndex, int frameCount);
  void DrawBMPSkin(TBitmap& target, const RECT& rect, TDataSkinObject& object, int frameIndex, int frameCount,
                   bool trans);
  void DrawSkin(const RECT& rect, TDataSkinObject& object, int frameIndex, int frameCount, bool trans);
  static void DrawBuf(HDC dc, const RECT& rect);
  static void DrawArrow(win::TCanvas& canvas, int x, int y, int kind);
  struct TBevel {
    TColor TopLeft, BottomRight;
  };
  static TBevel BevelColors(int bevel);
  static void CopyBMP(TBitmap& source, TBitmap& target);
  static std::wstring StringReplaceW(const std::wstring& text, const std::wstring& oldText,
                                     const std::wstring& newText);

  // Published properties of controls of any class; missing ones read -1, empty or none.
  static std::int32_t GetIntProperty(const core::TObject* object, std::string_view name);
  // The same, but a missing property is told apart from one that holds -1 (Margin and
  // Spacing use -1 for "automatic").
  static std::optional<std::int32_t> FindIntProperty(const core::TObject* object, std::string_view name);
  static std::string GetEnumProperty(const core::TObject* object, std::string_view name);
  static std::string GetProperty(const core::TObject* object, std::string_view name);
  static std::wstring GetStringProp(const core::TObject* object, std::string_view name);
  static core::TObject* GetObjProp(const core::TObject* object, std::string_view name, const core::TClassInfo* cls);
  static core::TEventBase* GetObjMethod(core::TObject* object, std::string_view name);
  static void SetProperty(core::TObject* object, std::string_view name, std::string_view value);

  TSkinControlStates FState;
  win::TCanvas* FCanvas = nullptr;
  bool FEnabled = true;
  bool FFocused = false;
  std::wstring FCaption;
  win::TWindowSubclass FObjectInstance;  // the bare window's procedure while attached
  bool FPaintActive = true;
  bool FUnicode = true;
  TSkinData* FSkinData = nullptr;
  HWND FHandle = nullptr;
  win::TWindowProcHook FOldWindowProc;
  win::TWinControl* FControl = nullptr;
  RECT FWindowRect{};
  win::TGraphicControl* FGraphicControl = nullptr;
  bool FParentBK = false;
  TColor FSavedColor = 0;
  bool FInitialized = false;
  std::int32_t FStatus = kPainterCreated;
  TLacquerForm* FForm = nullptr;
  bool FClassFlag = false;

 protected:
  // Takes the owner's (a framework control's) WindowProc chain over.
  void HookControl(win::TWinControl& control);
  // Gives back whatever the painter took over (chain link, window procedure).
  void Release();
  TColor FaceColor() const;
  bool HasSkinImage(const TDataSkinObject* object) const { return object && object->Bitmap.Width() > 0; }
  bool HasOption(TSkinOption option) const { return FSkinData && FSkinData->Options().Contains(option); }
  // The control's background under the painter: the parent's image with xoTransparent
  // (framework controls), else the skin's face colour.
  void PaintBackground(HDC dc, const RECT& rect);
  // The hot-control slot of the frame (none without a frame).
  TSkinControl* HotControl() const;
  void SetHotControl(TSkinControl* painter);
  static TSkinImageCache& Images() { return TSkinImageCache::Shared(); }
  // The canvas a paint composing in `scratch` draws text with: the frame's shared canvas,
  // bound only while the shared scratch bitmap is held, else the painter's own.
  win::TCanvas& TextCanvas(const TScratch& scratch);

 private:
  bool FRecreating = false;
  win::TCanvas FOwnCanvas;
};

// Binds a canvas to a context for one scope and detaches it after, selections undone.
class TBoundCanvas {
 public:
  TBoundCanvas(win::TCanvas& canvas, HDC dc) : FCanvas(canvas) { FCanvas.SetHandle(dc); }
  ~TBoundCanvas() { FCanvas.SetHandle(nullptr); }
  TBoundCanvas(const TBoundCanvas&) = delete;
  TBoundCanvas& operator=(const TBoundCanvas&) = delete;
  win::TCanvas& operator*() { return FCanvas; }
  win::TCanvas* operator->() { return &FCanvas; }

 private:
  win::TCanvas& FCanvas;
};

}  // namespace bw::skin
