#pragma once
// The skinned frame of one top-level window, MDI frame or MDI child: it takes over the
// window's procedure (and, for a framework form, its WindowProc chain), imposes the skin's
// border and caption sizes, paints the non-client area from the skin, shapes the window
// with a region where the borders are transparent, and keeps maximise, minimise and restore
// working. It owns the painters of the window's controls, its caption buttons, its skinned
// system menu and its menu bar.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Enums.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Canvas.h"
#include "framework/win/Forms.h"
#include "framework/win/GraphicsObjects.h"
#include "framework/win/Menus.h"
#include "framework/win/Subclass.h"
#include "framework/win/Timer.h"
#include "framework/win/WindowProcSlot.h"
#include "skin/data/LacquerData.h"
#include "skin/window/LacquerCaption.h"
#include "skin/window/LacquerFormGeometry.h"

namespace bw::win {
class TToolBar;
class TToolButton;
}  // namespace bw::win

namespace bw::skin {

class TSkinControl;
class TLacquerMenu;
class TMenuBtn;

enum class TSkinFormStyle : std::uint8_t { sfsNormal, sfsMDIform, sfsMDIChild, sfsChild };
enum class TSkinFormBorder : std::uint8_t { sbsSizeable, sbsSingle, sbsNone, sbsDialog };
enum class TSkinWindowState : std::uint8_t { swsNormal, swsMax, swsMin };
enum class TSkinFormIcon : std::uint8_t { sbiMax, sbiMin, sbiHelp, sbisystem, sbicaption };
using TSkinFormIcons = core::TSet<TSkinFormIcon>;

// Lifecycle states of a frame.
constexpr std::int32_t kFrameCreated = 0;
constexpr std::int32_t kFrameSkinned = 1;
constexpr std::int32_t kFrameChanging = 3;
constexpr std::int32_t kFrameClosing = 4;
constexpr std::int32_t kFrameResizing = 5;
constexpr std::int32_t kFrameDestroyed = 6;

// FCaps bits.
constexpr BYTE kCapMaxBox = 1 << 0;
constexpr BYTE kCapMinBox = 1 << 1;
constexpr BYTE kCapSysMenu = 1 << 3;
constexpr BYTE kCapCaptionRemoved = 1 << 4;

class TLacquerForm : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TLacquerForm(core::TComponent* owner);
  ~TLacquerForm() override;

  // Set-up, first half (the manager, at once) and the second (CN_SkinActive, posted).
  void InitTform(TSkinData& data, win::TCustomForm& form);
  void InitSkin(TSkinData& data);
  void InitSkinData();
  void SkinActive();
  void SkinChange();
  // Unskinning: skin off, frame painting was off, window being destroyed.
  void UnSubclass();
  void UnSubclass2();
  void UnSubclass3();
  void Refresh();
  static void RePaint(HWND window);
  void Cropwindow();
  void Uncropwindow();
  void EnableSysbtn(bool enable);
  void DeleteSysbtn();
  void ResizeForm(bool keepClient);

  // Control painters (discovery and the painters' narrow interface).
  void InitControls(win::TCustomForm& form);
  void InitControlA(win::TWinControl& container);
  void InitNestform(win::TCustomForm& container);
  void AddComp(win::TControl& control, win::TWinControl& parent);
  bool Find3rdControl(const std::string& className, win::TControl& control);
  void AddControlh(HWND window);
  bool FindSkinComp(win::TControl& control) const;
  // Registers a painter; true when it was listed already.
  bool AddControlList(TSkinControl* painter);
  void DeleteControl(TSkinControl* painter);
  void DeleteControls();
  // Frees painters whose control's window was destroyed.
  void PurgeControls();

  // Menus: the framework menus' items drawn by the frame (popup and main menus), the
  // menu bar rebuilt, a painter of a windowless control dropped.
  void InitPopMenu(win::TCustomForm& form, bool on);
  void InitMainMenu(win::TCustomForm& form, bool on);
  void RestoreOwnerDrawn();
  void UpdateMenuBar();
  void DeleteGraphicPainter(win::TControl& control);
  void DrawMenuItem(win::TMenuItem& item, win::TCanvas& canvas, RECT rect, bool selected);
  void MeasureItem(win::TMenuItem& item, win::TCanvas& canvas, int& width, int& height);
  void MeasureItemPop(win::TMenuItem& item, win::TCanvas& canvas, int& width, int& height);
  bool WMMeasureItem(LPARAM lParam);
  // A skinned tool bar's custom drawing (bound by discovery unless the bar has its own).
  void ToolBarDrawBackground(win::TToolBar& toolBar, const RECT& rect, bool& defaultDraw);
  void ToolBarDrawButton(win::TToolBar& toolBar, win::TToolButton& button, core::TCustomDrawState state,
                         bool& defaultDraw);
  bool WMDrawItem(LPARAM lParam);

  // The window procedure and the form's framework handler while skinned.
  LRESULT WinWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void NewWndProc(win::TMessage& message);
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

  // Painting.
  void UpdateNc(HDC dc = nullptr);
  TFrameLayout Geometry();
  void Drawborder(int side, const RECT& rect, HDC dc);
  void DrawFLine(HDC dc, const TFrameLayout& g);
  void DrawLine(win::TCanvas& canvas, const TFrameLayout& g);

  // Caption buttons and the system menu.
  void SetSysbtnRect(const TFrameLayout& g);
  bool Checkvisible(int index);
  void DrawAllSysbtn(HDC dc);
  void DrawSysbtn(TWinSysButton& button, std::int32_t status);
  TWinSysButton* FindBtn(POINT windowPoint);
  void SysBtnAction(int x, int y);
  void Maximize();
  void Minimize();
  void Restore();
  void MDIChildAction(WPARAM command);
  void CreateSysmenu();
  void PopSysmenu(POINT screen);
  void DoSysMenu(win::TMenuItem& item);
  void GetIcon();
  void DrawIcon(HDC dc, const RECT& rect);
  void OnTimer();
  // Screen point to window coordinates (origin at the window's top-left).
  POINT GetWinXY(POINT screen) const;
  TSkinWindowState GetWindowstate() const;

  // The menu bar's drop-down (LacquerMenu).
  bool CheckMenu(TMenuBtn* button);
  void ClickButton(TMenuBtn& button);
  TMenuBtn* FindButtonFromAccel(wchar_t key);
  void CancelMenu();
  bool CMDialogChar(win::TMessage& message);

  // Fields, in the order of the frame's description.
  win::TWindowProcHook FOldWindowProc;
  win::TWindowSubclass FOldWndProc;  // the window's procedure while subclassed
  win::TWindowSubclass FMDIInstance;  // the MDI client's procedure (MDI frames)
  std::unique_ptr<win::TFont> FCaptionFont;
  std::unique_ptr<win::TTimer> FTimer;
  std::wstring FCaptionSuffix = L"  ";
  std::wstring FCaptionPrefix = L" ";
  std::wstring FDialogCaption;
  std::string FClassName;
  bool FMenuUpdateSaved = true;
  bool FFrameOn = true;
  RECT FClientRect{};
  DWORD FLastPopupTick = 0;
  DWORD FDblClickTime = 0;
  std::int32_t FCaptionWidth = 0;
  HWND FOwnerWnd = nullptr;
  HICON FIcon = nullptr;
  std::int32_t FIconSize = 16;
  std::int32_t FLeftWidth = 0, FTopHeight = 0, FRightWidth = 0, FBottomHeight = 0;
  RECT FWindowRect{};
  RECT FTextRect{};
  RECT FStdNC{};
  std::int32_t FMenuHeight = 0;
  std::int32_t FButtonCount = 0;
  bool FInMenuLoop = false;
  bool FRightToLeft = false;
  bool FUnicode = true;
  bool FDialogClass = false;
  bool FChildAtStart = false;
  std::unique_ptr<win::TPopupMenu> FSysMenu;
  HWND FMDIClientWnd = nullptr;
  HMENU FOrigMenu = nullptr;
  HMENU FSystemMenu = nullptr;
  HMENU FOpenSubmenu = nullptr;
  // Items of dropped menus that the skin made owner-drawn: the system draws them again after.
  std::vector<std::pair<HMENU, UINT>> FOwnerDrawnItems;
  TColor FOrigColor = 0;
  DWORD FStyle = 0;
  std::int32_t FButtonsRight = 0;
  TNCObject* FHot = nullptr;
  bool FHasRegion = false;
  win::TRegionHandle FRegion;  // a copy of the region given to the window
  win::TCustomForm* FForm = nullptr;
  HWND FHandle = nullptr;
  win::TCanvas FCanvas;
  win::TCanvas FCanvas2;
  TSkinData* FSkinData = nullptr;
  std::unique_ptr<TLacquerMenu> FMenuBar;
  std::vector<std::unique_ptr<TWinSysButton>> FButtons;
  win::TBitmap FIconBitmap;
  win::TBitmap FCaptionBitmap;
  std::vector<TSkinControl*> FControls;  // owned through their controls; listed here
  std::int32_t FWidth = 0, FHeight = 0;
  std::int32_t FRgnWidth = 0, FRgnHeight = 0;
  bool FActive = true;
  TSkinFormStyle FFormStyle = TSkinFormStyle::sfsNormal;
  TSkinFormBorder FBorderStyle = TSkinFormBorder::sbsSingle;
  BYTE FCaps = 0;
  TSkinWindowState FWindowState = TSkinWindowState::swsNormal;
  std::int32_t FState = kFrameCreated;
  TSkinControl* FHotControl = nullptr;
  HINSTANCE FModule = nullptr;

  // The menu changed while a drop-down was open: the bar is rebuilt once it has closed.
  bool FMenuBarStale = false;
  // Text width measured by the last caption paint (with prefix and suffix), for the layout.
  SIZE FTextSize{0, 0};

 private:
  // Stage handlers of WinWndProc.
  bool HandleAlways(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleFramed(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleNonClient(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  LRESULT WMNcCalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcHitTest(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcActivate(WPARAM wParam, LPARAM lParam);
  void WMSize(WPARAM wParam, LPARAM lParam);
  LRESULT WMGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
  bool WMSysCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool NcMouseMove(WPARAM wParam, LPARAM lParam);
  bool NcLButtonDown(WPARAM wParam, LPARAM lParam);
  bool NcLButtonUp(WPARAM wParam, LPARAM lParam);
  bool NcLButtonDblClk(WPARAM wParam, LPARAM lParam);
  bool NcRButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT WinMDIProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void SubclassMDIClient();
  void ReleaseSubclasses();
  bool KeepsKeyColour() const;
  bool IsMDIChild() const { return FFormStyle == TSkinFormStyle::sfsMDIChild; }
  bool IsMDIForm() const { return FFormStyle == TSkinFormStyle::sfsMDIform; }
  bool MDIChildMaxOrMin() const;
  std::wstring CaptionText() const;
  TFrameGeometryInput GeometryInput(std::vector<TButtonPlacement>& placements) const;
  void RestoreAfterUnskin(bool keepSize, SIZE client);
};

// Wide window text; the class name (up to 100 characters).
std::string GetWindowClassname(HWND window);
std::wstring GetFormCaption(HWND window);
std::string GetFormCaptionA(HWND window);

// The unit's shared off-screen bitmap; frame painting is skipped while it is missing.
win::TBitmap* SharedBG();

}  // namespace bw::skin
