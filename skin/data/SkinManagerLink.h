#pragma once
// What the skin data component asks of the process's skin manager. The manager lives in the
// window-skinning layer above this one; it registers a provider when the program links it.
// Without one (tools and tests of this layer alone) the component works without a manager.
#include <windows.h>

#include <cstdint>

namespace bw::core {
class TComponent;
}
namespace bw::win {
class TControl;
class TCustomForm;
}

namespace bw::skin {

class TSkinData;

class TSkinManagerLink {
 public:
  virtual ~TSkinManagerLink() = default;
  virtual void AddSkinData(TSkinData& data) = 0;
  virtual void RemoveSkinData(TSkinData& data) = 0;
  virtual void InstallHook() = 0;
  virtual int InstallThread(DWORD threadId) = 0;
  virtual void UnInstallThread(DWORD threadId) = 0;
  virtual void SetAction(int action, unsigned intervalMs) = 0;
  virtual void SetActionData(TSkinData* data) = 0;
  virtual std::int32_t State() const = 0;
  virtual void SetState(std::int32_t state) = 0;
  virtual void SetSkinOn(bool on) = 0;
  // Registers a window; with force, also a form nested in another form.
  virtual bool AddForm(HWND window, bool force) = 0;
  // Every frame of the pending action's skin data drops its caption buttons.
  virtual void DeleteSysbtn() = 0;
  virtual void AddNestForm(win::TCustomForm& host, win::TCustomForm* nested) = 0;
  virtual void UpdateSkinControl(win::TCustomForm& form, win::TControl* control) = 0;
  virtual void DeleteGraphicControl(win::TCustomForm& form, win::TControl& control) = 0;
  virtual void UpdateMenu(win::TCustomForm& form) = 0;
  // Every frame with a skinned menu bar rebuilds its buttons.
  virtual void UpdateMainMenus() = 0;
};

// The manager, created by the provider when `create` and none exists; nullptr when no
// provider is registered or none exists and `create` is false.
TSkinManagerLink* SkinManagerLink(bool create);
using TSkinManagerProvider = TSkinManagerLink* (*)(bool create);
void SetSkinManagerProvider(TSkinManagerProvider provider);

}  // namespace bw::skin
