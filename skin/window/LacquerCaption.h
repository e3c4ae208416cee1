#pragma once
// Hot-trackable objects of a skinned frame's non-client area: caption buttons and (through
// the menu bar) its top-level menu buttons. States: 1 normal, 2 pressed, 3 hot.
#include <windows.h>

#include <cstdint>

namespace bw::skin {

class TLacquerForm;
class TDataSkinSysButton;

constexpr std::int32_t kNCNormal = 1;
constexpr std::int32_t kNCPressed = 2;
constexpr std::int32_t kNCHot = 3;

class TNCObject {
 public:
  explicit TNCObject(TLacquerForm& owner) : FOwner(&owner) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Draw() {}

  TLacquerForm* FOwner;
  std::int32_t FReserved = 0;
  RECT FRect{0, 0, 0, 0};  // window coordinates
  bool FVisible = false;
  std::int32_t FStatus = kNCNormal;
};

class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TLacquerForm& owner, TDataSkinSysButton& skinButton) : TNCObject(owner), FSkinButton(&skinButton) {}
  void Draw() override;

  TDataSkinSysButton* FSkinButton;
};

// Button actions of the skin description.
constexpr std::int32_t kActionClose = 0;
constexpr std::int32_t kActionMaximize = 1;
constexpr std::int32_t kActionMinimize = 2;
constexpr std::int32_t kActionIcon = 3;
constexpr std::int32_t kActionIcon2 = 11;
constexpr std::int32_t kActionIcon3 = 12;
constexpr std::int32_t kActionMaximize2 = 22;
constexpr std::int32_t kActionMinimize2 = 23;
constexpr std::int32_t kActionMDIMinimize = 7, kActionMDIMinimize2 = 60;
constexpr std::int32_t kActionMDIRestore = 8, kActionMDIRestore2 = 61;
constexpr std::int32_t kActionMDIClose = 9, kActionMDIClose2 = 62;
constexpr std::int32_t kAlignMDIBand = 100;
constexpr std::int32_t kVisibilityMDI = 100;

// The system menu's Tag and its items' tags.
constexpr std::int32_t kSysMenuTag = 33333;
constexpr std::int32_t kSysRestore = 0, kSysMaximize = 1, kSysMinimize = 2, kSysClose = 3, kSysLine = 100;

}  // namespace bw::skin
