#pragma once
// The skin manager: follows the windows of the process through a thread-local CBT hook,
// frames those that qualify (TLacquerForm), wraps popup-menu windows (TLacquerPopMenu), keeps
// the lists of frames, menus, skin data components and hooked threads, and carries out skin
// on / off / changed requests later, from its one-shot timer. One per module.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "framework/win/Timer.h"
#include "skin/data/LacquerData.h"
#include "skin/data/SkinManagerLink.h"

namespace bw::skin {

class TLacquerForm;
class TLacquerPopMenu;
class TSkinManage;

struct TSkinThread {
  HHOOK FThreadHook = nullptr;
  DWORD FHookThread = 0;
};

// The lists a main manager owns and its sub-managers share.
struct TSkinLists {
  std::vector<TLacquerForm*> Forms;
  std::vector<TLacquerPopMenu*> Menus;  // owned
  std::vector<TSkinData*> Data;
  std::vector<std::unique_ptr<TSkinThread>> Threads;
  std::vector<TSkinManage*> Subs;
};

class TSkinManage : public TSkinManagerLink {
 public:
  // dllMode: a sub-manager of another module; it owns no lists until AssignData.
  explicit TSkinManage(bool dllMode, HINSTANCE module = nullptr);
  ~TSkinManage() override;
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // TSkinManagerLink
  void AddSkinData(TSkinData& data) override;
  void RemoveSkinData(TSkinData& data) override;
  void InstallHook() override;
  int InstallThread(DWORD threadId) override;
  void UnInstallThread(DWORD threadId) override;
  void SetAction(int action, unsigned intervalMs) override;
  void SetActionData(TSkinData* data) override { FActionData = data; }
  std::int32_t State() const override { return FState; }
  void SetState(std::int32_t state) override { FState = state; }
  void SetSkinOn(bool on) override { FSkinOn = on; }
  bool AddForm(HWND window, bool force) override;
  void DeleteSysbtn() override;
  void AddNestForm(win::TCustomForm& host, win::TCustomForm* nested) override;
  void UpdateSkinControl(win::TCustomForm& form, win::TControl* control) override;
  void DeleteGraphicControl(win::TCustomForm& form, win::TControl& control) override;
  void UpdateMenu(win::TCustomForm& form) override;
  void UpdateMainMenus() override;

  // True when a frame was created.
  bool AddForm(HWND window) { return AddForm(window, false); }
  void AddMenu(HWND window);
  bool DeleteMenu(HWND window);
  bool DeleteForm(HWND window);
  // Takes the frame out of the list without freeing it (its destructor calls this).
  void DeleteForm2(TLacquerForm& frame);
  // Purges frames whose window was destroyed (of this module), last first.
  void DeleteDeleted();
  void DeleteForm3();
  void ActiveForm(win::TCustomForm& form);

  TLacquerForm* FindSkinForm(HWND window) const;
  bool FindSkinMenu(HWND window) const;
  static win::TCustomForm* FindTForm(HWND window);
  static bool NestedForm(HWND window);
  TSkinData* FindSkindata(HWND window) const;
  bool OnBeforeSkin(const std::string& className) const;

  void SetMDIMax(bool max);
  // Gives a menu handle to the newest open skinned popup that has none yet.
  void SetHMenu(HMENU menu);
  // The background of the open skinned popup showing `menu`, or nullptr.
  win::TBitmap* GetMenuBg(HMENU menu) const;

  // Attaches this sub-manager to parent's lists (nullptr detaches).
  void AssignData(TSkinManage* parent);
  void OnTimer();

  const std::vector<TLacquerForm*>& Forms() const { return FLists->Forms; }
  const std::vector<TLacquerPopMenu*>& Menus() const { return FLists->Menus; }
  const std::vector<TSkinData*>& DataList() const { return FLists->Data; }
  bool Attached() const { return FLists != nullptr; }

  // The manager's state, shared with frames and menus (the engine's own units).
  std::unique_ptr<win::TTimer> FTimer;
  HHOOK FHook = nullptr;
  bool FSkinOn = false;
  bool FForceAdd = false;
  std::int32_t FState = 0;
  std::int32_t FMenuKind = 0;  // 0 context menu, 1 a window's menu, 2 a window's system menu
  bool FMDIMax = false;
  HWND FMDIClient = nullptr;
  win::TCustomForm* FMDIForm = nullptr;
  std::int32_t FAction = 0;
  TSkinData* FActionData = nullptr;
  TSkinData* FMainData = nullptr;
  HINSTANCE FModule = nullptr;  // none for the main manager
  TSkinManage* FParentManager = nullptr;

 private:
  void RunAction(int action, TSkinData& data);
  void RemoveFrame(TLacquerForm* frame, bool repaint);
  void DetachSubs();

  std::unique_ptr<TSkinLists> FOwnLists;
  TSkinLists* FLists = nullptr;
};

// The module's manager; created by the first skin data component that finishes loading.
extern TSkinManage* SkinManager;

// The engine copy of a library module: its manager in library mode, attached to `parent`.
TSkinManage* SkinDll(TSkinManage* parent);

// Registers the manager with the skin data layer (so its components create and find it)
// and reads the module's naming; the program calls it once before its forms are created.
void InstallSkinEngine();
// Frees the manager, leaving every window as it was (program end, tests).
void ReleaseSkinEngine();

// The system's version (major, minor) read when the hook is installed.
struct TWinVersion {
  DWORD Major = 0, Minor = 0;
};
extern TWinVersion WinVersion;

}  // namespace bw::skin
