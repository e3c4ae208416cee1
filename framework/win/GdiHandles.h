#pragma once
// One owner type per kind of GDI handle, plus scope guards for selections and DC state.
// Owners are move-only; Release() hands the handle to an API that takes ownership.
#include <windows.h>

#include <utility>

namespace bw::win {

template <typename H>
class TGdiObject {
 public:
  TGdiObject() = default;
  explicit TGdiObject(H handle) : FHandle(handle) {}
  ~TGdiObject() { Reset(); }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  TGdiObject(TGdiObject&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, nullptr));
    return *this;
  }

  H Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  H Release() { return std::exchange(FHandle, nullptr); }
  void Reset(H handle = nullptr) {
    if (FHandle && FHandle != handle) DeleteObject(FHandle);
    FHandle = handle;
  }

 private:
  H FHandle = nullptr;
};

using TBitmapHandle = TGdiObject<HBITMAP>;
using TRegionHandle = TGdiObject<HRGN>;
using TFontHandle = TGdiObject<HFONT>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;

// A DC made with CreateCompatibleDC; deleted, not released.
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC compatibleWith = nullptr) : FDC(CreateCompatibleDC(compatibleWith)) {}
  ~TMemoryDC() {
    if (FDC) DeleteDC(FDC);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  TMemoryDC(TMemoryDC&& other) noexcept : FDC(std::exchange(other.FDC, nullptr)) {}
  TMemoryDC& operator=(TMemoryDC&& other) noexcept {
    if (this != &other) {
      if (FDC) DeleteDC(FDC);
      FDC = std::exchange(other.FDC, nullptr);
    }
    return *this;
  }
  HDC Get() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }

 private:
  HDC FDC;
};

// A DC obtained with GetDC (client) or GetWindowDC (whole window); released to its window.
class TWindowDC {
 public:
  enum class TArea { Client, Window };
  explicit TWindowDC(HWND window, TArea area = TArea::Client)
      : FWindow(window), FDC(area == TArea::Client ? GetDC(window) : GetWindowDC(window)) {}
  ~TWindowDC() {
    if (FDC) ReleaseDC(FWindow, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }

 private:
  HWND FWindow;
  HDC FDC;
};

// BeginPaint/EndPaint.
class TPaintDC {
 public:
  explicit TPaintDC(HWND window) : FWindow(window) { FDC = BeginPaint(window, &FPaint); }
  ~TPaintDC() { EndPaint(FWindow, &FPaint); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return FDC; }
  const PAINTSTRUCT& Paint() const { return FPaint; }

 private:
  HWND FWindow;
  HDC FDC = nullptr;
  PAINTSTRUCT FPaint{};
};

// Selects an object and puts the previous one back at scope exit. Declare the object's
// owner before the guard: the object is then deselected first and deleted after.
class TSelectGuard {
 public:
  TSelectGuard(HDC dc, HGDIOBJ object) : FDC(dc), FOld(object ? SelectObject(dc, object) : nullptr) {}
  ~TSelectGuard() {
    if (FOld && FOld != HGDI_ERROR) SelectObject(FDC, FOld);
  }
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// SaveDC/RestoreDC: undoes colours, modes, origins and clipping a helper changes.
class TSaveDCGuard {
 public:
  explicit TSaveDCGuard(HDC dc) : FDC(dc), FSaved(SaveDC(dc)) {}
  ~TSaveDCGuard() {
    if (FSaved) RestoreDC(FDC, FSaved);
  }
  TSaveDCGuard(const TSaveDCGuard&) = delete;
  TSaveDCGuard& operator=(const TSaveDCGuard&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

}  // namespace bw::win
