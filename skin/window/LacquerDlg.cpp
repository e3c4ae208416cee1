#include "skin/window/LacquerDlg.h"

#include <algorithm>
#include <cwctype>

#include "framework/win/Application.h"
#include "framework/win/Text.h"
#include "skin/controls/SkinImages.h"
#include "skin/data/AnsiText.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/LacquerPopMenu.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

TSkinManage* SkinManager = nullptr;
TWinVersion WinVersion;

namespace {

HINSTANCE MyInstance() { return GetModuleHandleW(nullptr); }

bool ClassIs(HWND window, const wchar_t* name) {
  wchar_t cls[100] = {};
  GetClassNameW(window, cls, 100);
  return wcscmp(cls, name) == 0;
}

// Deciding costs a class-name read and a few compares; only qualifying windows go further.
LRESULT CALLBACK SkinHookCBT(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* manager = SkinManager;
  try {
    if (manager && code >= 0 && manager->FSkinOn) {
      switch (code) {
        case HCBT_CREATEWND: {
          auto* window = reinterpret_cast<HWND>(wParam);
          const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
          // Styles first: most windows are plain children, decided without their class name.
          if (cs->dwExStyle & WS_EX_MDICHILD) {
            manager->AddForm(window);
          } else if (cs->style & WS_CHILD) {
            if ((cs->style & SBS_SIZEGRIP) && ClassIs(window, L"ScrollBar"))
              if (TLacquerForm* frame = manager->FindSkinForm(cs->hwndParent)) frame->AddControlh(window);
          } else if (!manager->FParentManager && ClassIs(window, L"#32768")) {
            manager->AddMenu(window);
          }
          break;
        }
        case HCBT_DESTROYWND:
          manager->DeleteMenu(reinterpret_cast<HWND>(wParam));
          break;
        case HCBT_ACTIVATE:
          if (manager->FState == 0) manager->FState = 1;
          manager->AddForm(reinterpret_cast<HWND>(wParam));
          break;
      }
    } else if (manager && code == HCBT_ACTIVATE && manager->FState == 0) {
      manager->FState = 1;
    }
  } catch (...) {
    // A window the engine could not take over keeps its system look.
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Extra threads: their scroll bars on framed windows are refused, their menus wrapped.
LRESULT CALLBACK SkinHookCBT2(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* manager = SkinManager;
  try {
    if (manager && code >= 0) {
      switch (code) {
        case HCBT_CREATEWND: {
          auto* window = reinterpret_cast<HWND>(wParam);
          const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
          if (ClassIs(window, L"ScrollBar") && manager->FindSkinForm(cs->hwndParent)) return 10;
          if (ClassIs(window, L"#32768")) manager->AddMenu(window);
          break;
        }
        case HCBT_DESTROYWND:
          manager->DeleteMenu(reinterpret_cast<HWND>(wParam));
          manager->DeleteForm(reinterpret_cast<HWND>(wParam));
          break;
        case HCBT_ACTIVATE:
          if (manager->FState == 0) manager->FState = 1;
          manager->AddForm(reinterpret_cast<HWND>(wParam));
          break;
      }
    }
  } catch (...) {
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TSkinManagerLink* ProvideManager(bool create) {
  if (!SkinManager && create) SkinManager = new TSkinManage(false);
  return SkinManager;
}

}  // namespace

void InstallSkinEngine() { SetSkinManagerProvider(&ProvideManager); }

void ReleaseSkinEngine() {
  TSkinManage* manager = SkinManager;
  SkinManager = nullptr;
  delete manager;
}

TSkinManage* SkinDll(TSkinManage* parent) {
  if (!SkinManager) SkinManager = new TSkinManage(true, MyInstance());
  SkinManager->AssignData(parent);
  SkinManager->InstallHook();
  ++SkinManager->FState;
  return SkinManager;
}

// ---- TSkinManage

TSkinManage::TSkinManage(bool dllMode, HINSTANCE module) : FTimer(std::make_unique<win::TTimer>(nullptr)) {
  if (!dllMode) {
    FOwnLists = std::make_unique<TSkinLists>();
    FLists = FOwnLists.get();
  } else {
    FModule = module ? module : MyInstance();
  }
  FTimer->SetEnabled(false);
  FTimer->SetInterval(kActionDelayMs);
  FTimer->SetOnTimer([this](core::TObject*) { OnTimer(); });
}

TSkinManage::~TSkinManage() {
  TSkinImageCache::Shared().Clear();
  FState = 4;
  FSkinOn = false;
  FTimer.reset();
  if (FHook) {
    UnhookWindowsHookEx(FHook);
    FHook = nullptr;
  }
  if (!FParentManager && FLists) {
    for (auto& thread : FLists->Threads) UnhookWindowsHookEx(thread->FThreadHook);
    FLists->Threads.clear();
    // Every window is left as it was: frames are unskinned and freed.
    while (!FLists->Forms.empty()) {
      TLacquerForm* frame = FLists->Forms.back();
      FLists->Forms.pop_back();
      if (frame->FState != kFrameDestroyed) frame->UnSubclass();
      frame->FModule = nullptr;
      delete frame;
    }
    for (TLacquerPopMenu* menu : FLists->Menus) {
      menu->UnSubClass();
      delete menu;
    }
    FLists->Menus.clear();
    FLists->Data.clear();
    DetachSubs();
  } else if (FParentManager && FLists) {
    // A sub-manager takes its frames with it: their forms go, and the frames with them.
    auto& subs = FLists->Subs;
    subs.erase(std::remove(subs.begin(), subs.end(), this), subs.end());
    for (size_t i = FLists->Forms.size(); i-- > 0;) {
      if (i >= FLists->Forms.size()) continue;
      TLacquerForm* frame = FLists->Forms[i];
      if (frame->FModule != FModule) continue;
      FLists->Forms.erase(FLists->Forms.begin() + static_cast<std::ptrdiff_t>(i));
      if (frame->FState != kFrameDestroyed) frame->UnSubclass();
      frame->FModule = nullptr;
      if (win::TCustomForm* form = frame->FForm) delete form;  // frees the frame, its component
      else delete frame;
    }
  }
  FLists = nullptr;
}

void TSkinManage::DetachSubs() {
  std::vector<TSkinManage*> subs = FLists->Subs;
  for (TSkinManage* sub : subs) sub->AssignData(nullptr);
  FLists->Subs.clear();
}

void TSkinManage::AddSkinData(TSkinData& data) {
  if (!FLists) return;
  FLists->Data.push_back(&data);
  if (!FMainData && data.SkinFormtype() == TSkinFormType::sfMainform) FMainData = &data;
}

void TSkinManage::RemoveSkinData(TSkinData& data) {
  if (FActionData == &data) FActionData = nullptr;
  if (FMainData == &data) FMainData = nullptr;
  if (!FLists) return;
  auto& list = FLists->Data;
  list.erase(std::remove(list.begin(), list.end(), &data), list.end());
}

void TSkinManage::InstallHook() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&version)) WinVersion = TWinVersion{version.dwMajorVersion, version.dwMinorVersion};
#pragma GCC diagnostic pop
  FHook = SetWindowsHookExW(WH_CBT, &SkinHookCBT, nullptr, GetCurrentThreadId());
}

int TSkinManage::InstallThread(DWORD threadId) {
  if (!FLists) return -1;
  for (const auto& thread : FLists->Threads)
    if (thread->FHookThread == threadId) return static_cast<int>(thread->FHookThread);
  auto thread = std::make_unique<TSkinThread>();
  thread->FHookThread = threadId;
  thread->FThreadHook = SetWindowsHookExW(WH_CBT, &SkinHookCBT2, nullptr, threadId);
  FLists->Threads.push_back(std::move(thread));
  return static_cast<int>(FLists->Threads.size() - 1);
}

void TSkinManage::UnInstallThread(DWORD threadId) {
  if (!FLists) return;
  auto& threads = FLists->Threads;
  for (auto it = threads.begin(); it != threads.end(); ++it)
    if ((*it)->FHookThread == threadId) {
      UnhookWindowsHookEx((*it)->FThreadHook);
      threads.erase(it);
      return;
    }
}

TLacquerForm* TSkinManage::FindSkinForm(HWND window) const {
  if (!FLists || !window) return nullptr;
  for (TLacquerForm* frame : FLists->Forms)
    if (frame->FHandle == window) return frame;
  return nullptr;
}

bool TSkinManage::FindSkinMenu(HWND window) const {
  if (!FLists) return false;
  return std::any_of(FLists->Menus.begin(), FLists->Menus.end(),
                     [&](const TLacquerPopMenu* m) { return m->FHandle == window; });
}

win::TCustomForm* TSkinManage::FindTForm(HWND window) {
  for (int i = 0; i < win::Screen().FormCount(); ++i) {
    win::TCustomForm* form = win::Screen().Forms(i);
    if (form->WindowHandle() == window) return form;
  }
  if (auto* form = dynamic_cast<win::TCustomForm*>(win::TWinControl::FromHandle(window))) return form;
  // A hook sees the window before its first message attaches the form to it.
  if (auto* form = dynamic_cast<win::TCustomForm*>(win::TWinControl::CreationControl()))
    if (!form->WindowHandle()) return form;
  return nullptr;
}

bool TSkinManage::NestedForm(HWND window) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (!(style & WS_CHILD) || (exStyle & WS_EX_MDICHILD)) return false;
  return LowerAscii(GetWindowClassname(GetParent(window))) != "mdiclient";
}

TSkinData* TSkinManage::FindSkindata(HWND window) const {
  if (!FLists || FLists->Data.empty()) return nullptr;
  TSkinData* found = nullptr;
  for (TSkinData* data : FLists->Data) {
    auto* owner = dynamic_cast<win::TWinControl*>(data->Owner());
    if (data->SkinFormtype() == TSkinFormType::sfOnlyThisForm && owner && owner->WindowHandle() == window)
      found = data;
  }
  if (found) return found;
  const std::string cls = LowerAscii(GetWindowClassname(window));
  if (cls == "tmessageform" || cls == "#32770")
    for (TSkinData* data : FLists->Data)
      if (data->SkinFormtype() == TSkinFormType::sfDialog) found = data;
  if (found) return found;
  for (TSkinData* data : FLists->Data)
    if (data->SkinFormtype() == TSkinFormType::sfMainform) found = data;
  return found ? found : FLists->Data.front();
}

bool TSkinManage::OnBeforeSkin(const std::string& className) const {
  bool doSkin = true;
  if (FMainData) {
    if (!FMainData->Options().Contains(TSkinOption::xoPreview) &&
        LowerAscii(className).find("preview") != std::string::npos)
      doSkin = false;
    FMainData->DoFormSkin(className, doSkin);
  }
  return doSkin;
}

bool TSkinManage::AddForm(HWND window, bool force) {
  if (!FSkinOn || !FLists || !IsWindow(window)) return false;
  if (SendMessageW(window, SKIN_MSG_QUERY, 0, 0) == 1) return false;
  DeleteDeleted();
  if (FindSkinForm(window)) return false;
  win::TCustomForm* form = FindTForm(window);
  if (!force && !FForceAdd && NestedForm(window)) return false;
  const std::string cls = GetWindowClassname(window);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const HINSTANCE mine = FModule ? FModule : MyInstance();
  if (!form && instance != mine && cls != "#32770") return false;
  RECT r;
  GetWindowRect(window, &r);
  const bool hasArea = r.right > r.left && r.bottom > r.top;
  if (!hasArea && !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD)) return false;
  if (form && form->Tag() == 99) return false;
  if (cls == "TApplication" || !OnBeforeSkin(cls)) return false;
  TSkinData* data = FindSkindata(window);
  if (!data || data->NoSkin) return false;
  TLacquerForm* frame = new TLacquerForm(form);
  frame->FHandle = window;
  frame->FModule = FModule;
  try {
    if (form) frame->InitTform(*data, *form);
    else frame->InitSkin(*data);
  } catch (...) {
    frame->UnSubclass();
    delete frame;
    return false;
  }
  FLists->Forms.push_back(frame);
  PostMessageW(window, CN_SkinActive, 0, kSkinActiveLParam);
  return true;
}

void TSkinManage::AddMenu(HWND window) {
  if (!FSkinOn || !FLists) return;
  if (SendMessageW(window, SKIN_MSG_QUERY, 0, 0) == 1 || FindSkinMenu(window)) return;
  TSkinData* data = FindSkindata(window);
  if (!data || data->NoSkin) return;
  const TSkinControlTypes controls = data->SkinControls();
  bool wanted = false;
  switch (FMenuKind) {
    case 1:
      wanted = controls.Contains(TSkinControlType::xcMainMenu) || controls.Contains(TSkinControlType::xcMenuItem);
      break;
    case 2: wanted = controls.Contains(TSkinControlType::xcSystemMenu); break;
    default: wanted = controls.Contains(TSkinControlType::xcPopupMenu); break;
  }
  if (!wanted) return;
  auto menu = std::make_unique<TLacquerPopMenu>();
  menu->InitSkin(window, *data, nullptr);
  FLists->Menus.push_back(menu.release());
}

bool TSkinManage::DeleteMenu(HWND window) {
  if (!FLists) return false;
  auto& menus = FLists->Menus;
  for (auto it = menus.begin(); it != menus.end(); ++it) {
    if ((*it)->FHandle != window) continue;
    TLacquerPopMenu* menu = *it;
    menus.erase(it);
    menu->UnSubClass();
    delete menu;
    if (menus.empty()) FMenuKind = 0;
    return true;
  }
  return false;
}

bool TSkinManage::DeleteForm(HWND window) {
  if (FState == 4 || !FLists) return false;
  TLacquerForm* frame = FindSkinForm(window);
  if (!frame || !frame->FForm) return false;
  frame->FState = kFrameClosing;
  frame->UnSubclass();
  DeleteForm2(*frame);
  delete frame;
  return true;
}

void TSkinManage::DeleteForm2(TLacquerForm& frame) {
  if (!FLists) return;
  auto& forms = FLists->Forms;
  auto it = std::find(forms.begin(), forms.end(), &frame);
  if (it != forms.end()) forms.erase(it);
}

void TSkinManage::DeleteDeleted() {
  if (FState == 4 || !FLists) return;
  auto& forms = FLists->Forms;
  for (size_t i = forms.size(); i-- > 0;) {
    if (i >= forms.size()) continue;
    TLacquerForm* frame = forms[i];
    if (frame->FState == kFrameDestroyed && frame->FModule == FModule) {
      forms.erase(forms.begin() + static_cast<std::ptrdiff_t>(i));
      delete frame;
    }
  }
}

void TSkinManage::DeleteForm3() {
  if (FState == 4 || !FLists) return;
  auto& forms = FLists->Forms;
  for (size_t i = forms.size(); i-- > 0;) {
    if (i >= forms.size()) continue;
    TLacquerForm* frame = forms[i];
    if (frame->FState == kFrameDestroyed) {
      forms.erase(forms.begin() + static_cast<std::ptrdiff_t>(i));
      delete frame;
    }
  }
}

void TSkinManage::ActiveForm(win::TCustomForm& form) {
  if (!form.Visible() || !form.HandleAllocated()) return;
  const bool mdiChild = form.FormStyle() == core::TFormStyle::fsMDIChild;
  if (mdiChild || !(GetWindowLongPtrW(form.WindowHandle(), GWL_STYLE) & WS_CHILD)) AddForm(form.WindowHandle());
}

void TSkinManage::RemoveFrame(TLacquerForm* frame, bool repaint) {
  HWND window = frame->FHandle;
  frame->UnSubclass();
  if (repaint && IsWindow(window)) TLacquerForm::RePaint(window);
  DeleteForm2(*frame);
  delete frame;
}

void TSkinManage::DeleteSysbtn() {
  if (!FLists) return;
  for (TLacquerForm* frame : FLists->Forms)
    if (frame->FSkinData == FActionData) frame->DeleteSysbtn();
}

void TSkinManage::SetAction(int action, unsigned intervalMs) {
  FAction = action;
  if (FTimer) FTimer->SetInterval(intervalMs);
  if (FState != 0) {
    if (!FModule && FLists)
      for (TSkinManage* sub : FLists->Subs) {
        sub->FActionData = FActionData;
        if (action == kActionSkinOn) {
          sub->FSkinOn = true;
          sub->SetAction(kActionSkinOn, 300);
        } else if (action == kActionSkinOff) {
          sub->FSkinOn = false;
        }
      }
    if (FTimer) FTimer->SetEnabled(true);
    return;
  }
  if (action == kActionSkinOn) FSkinOn = true;
  if (action == kActionSkinOff) FSkinOn = false;
}

void TSkinManage::OnTimer() {
  FTimer->SetEnabled(false);
  TSkinData* data = FActionData;
  if (!data) return;
  RunAction(FAction, *data);
  // The component may have gone while the action ran (a form closed by it).
  if (FActionData == data) data->DoSkinChanged();
  FActionData = nullptr;
}

void TSkinManage::RunAction(int action, TSkinData& data) {
  // Composed images are keyed by their source bitmap's handle: once a skin is changed or
  // let go, a new bitmap may take an old handle.
  TSkinImageCache::Shared().Clear();
  auto& forms = FLists->Forms;
  auto& screen = win::Screen();
  if (data.SkinFormtype() == TSkinFormType::sfOnlyThisForm) {
    switch (action) {
      case kActionSkinOn:
        FSkinOn = FForceAdd = true;
        for (int i = screen.FormCount(); i-- > 0;)
          if (screen.Forms(i) == data.Owner()) {
            ActiveForm(*screen.Forms(i));
            break;
          }
        FForceAdd = false;
        break;
      case kActionSkinOff:
        FSkinOn = false;
        DeleteDeleted();
        for (size_t i = forms.size(); i-- > 0;)
          if (forms[i]->FSkinData == &data) {
            RemoveFrame(forms[i], true);
            break;
          }
        break;
      case kActionSkinChanged:
        DeleteDeleted();
        for (TLacquerForm* frame : forms)
          if (frame->FSkinData == &data) {
            frame->DeleteSysbtn();
            frame->InitSkinData();
            frame->SkinChange();
            break;
          }
        break;
      case kActionPurge: DeleteForm3(); break;
    }
    return;
  }
  switch (action) {
    case kActionSkinOn:
      FSkinOn = FForceAdd = true;
      DeleteDeleted();
      for (int i = screen.FormCount(); i-- > 0;) ActiveForm(*screen.Forms(i));
      FForceAdd = false;
      if (!FModule)
        for (TSkinManage* sub : FLists->Subs) {
          sub->FActionData = FActionData;
          sub->FSkinOn = true;
          sub->SetAction(kActionSkinOn, 300);
        }
      break;
    case kActionSkinOff:
      FSkinOn = false;
      DeleteDeleted();
      while (!forms.empty()) RemoveFrame(forms.front(), true);
      if (!FModule)
        for (TSkinManage* sub : FLists->Subs) sub->FSkinOn = false;
      break;
    case kActionSkinChanged: {
      DeleteDeleted();
      std::vector<TLacquerForm*> changing;
      for (TLacquerForm* frame : forms)
        if (frame->FSkinData == &data) changing.push_back(frame);
      for (TLacquerForm* frame : changing) {
        frame->DeleteSysbtn();
        frame->InitSkinData();
      }
      for (TLacquerForm* frame : changing) frame->SkinChange();
      break;
    }
    case kActionPurge: DeleteForm3(); break;
  }
}

void TSkinManage::SetMDIMax(bool max) {
  if (FMDIMax == max || !FLists) return;
  FMDIMax = max;
  for (TLacquerForm* frame : FLists->Forms) {
    if (frame->FFormStyle != TSkinFormStyle::sfsMDIChild) continue;
    if (max) {
      if (frame->FHasRegion) frame->Uncropwindow();
      frame->EnableSysbtn(true);
    } else if (IsIconic(frame->FHandle)) {
      frame->EnableSysbtn(true);
    } else {
      frame->FWindowState = TSkinWindowState::swsNormal;
      frame->Cropwindow();
      frame->EnableSysbtn(false);
      if (!frame->FHasRegion) frame->Refresh();
    }
  }
}

void TSkinManage::SetHMenu(HMENU menu) {
  if (!FLists) return;
  for (auto it = FLists->Menus.rbegin(); it != FLists->Menus.rend(); ++it)
    if (!(*it)->FMenuHandle) {
      (*it)->FMenuHandle = menu;
      return;
    }
}

win::TBitmap* TSkinManage::GetMenuBg(HMENU menu) const {
  if (!FLists || !menu) return nullptr;
  for (TLacquerPopMenu* popup : FLists->Menus)
    if (popup->FMenuHandle == menu) return popup->FMenuBackground.get();
  return nullptr;
}

void TSkinManage::AssignData(TSkinManage* parent) {
  if (parent) {
    FLists = parent->FLists;
    FMainData = parent->FMainData;
    FParentManager = parent;
    FState = 1;
    FSkinOn = parent->FSkinOn;
    if (FLists) FLists->Subs.push_back(this);
    return;
  }
  FLists = nullptr;
  FMainData = nullptr;
  FSkinOn = false;
  FState = 4;
  if (FHook) {
    UnhookWindowsHookEx(FHook);
    FHook = nullptr;
  }
}

void TSkinManage::AddNestForm(win::TCustomForm& host, win::TCustomForm* nested) {
  if (!nested || !FLists) return;
  HWND window = host.Handle();
  for (TLacquerForm* frame : FLists->Forms)
    if (frame->FHandle == window) {
      frame->InitNestform(*nested);
      return;
    }
}

void TSkinManage::UpdateSkinControl(win::TCustomForm& form, win::TControl* control) {
  TLacquerForm* frame = FindSkinForm(form.Handle());
  if (!frame) return;
  if (auto* container = dynamic_cast<win::TWinControl*>(control)) frame->InitControlA(*container);
  else frame->InitControls(form);
}

void TSkinManage::DeleteGraphicControl(win::TCustomForm& form, win::TControl& control) {
  if (!FLists) return;
  HWND window = form.Handle();
  for (TLacquerForm* frame : FLists->Forms)
    if (frame->FHandle == window) frame->DeleteGraphicPainter(control);
}

void TSkinManage::UpdateMenu(win::TCustomForm& form) {
  if (TLacquerForm* frame = FindSkinForm(form.Handle())) frame->InitPopMenu(form, true);
}

void TSkinManage::UpdateMainMenus() {
  if (!FLists) return;
  for (TLacquerForm* frame : FLists->Forms) frame->UpdateMenuBar();
}

}  // namespace bw::skin
