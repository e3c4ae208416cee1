#include "framework/win/Application.h"

#include <commctrl.h>

#include "framework/core/Exceptions.h"
#include "framework/win/CallbackErrors.h"
#include "framework/win/Menus.h"
#include "framework/win/Text.h"

namespace bw::win {

TApplication* Application = nullptr;

namespace {

constexpr wchar_t kApplicationClass[] = L"TApplication";

LRESULT CALLBACK ApplicationWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    if (Application) Application->Terminate();
    return 0;
  }
  // Popup menus shown with no form to own them are owned here.
  if (msg == WM_MEASUREITEM || msg == WM_DRAWITEM) {
    try {
      if (HandleMenuOwnerDraw(msg, lParam)) return TRUE;
    } catch (...) {
      HandleCallbackError(Application);
      return TRUE;
    }
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

// The innermost form a window belongs to.
TCustomForm* FormOfWindow(HWND window) {
  for (HWND w = window; w; w = GetParent(w))
    if (auto* form = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(w))) return form;
  return nullptr;
}

// The keys forms and their controls answer before the dialog navigation sees them, unless
// the focused control wants them itself.
bool IsDialogKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  UINT want = 0;
  switch (msg.wParam) {
    case VK_TAB: want = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: want = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_ESCAPE: case VK_EXECUTE: case VK_CANCEL: want = 0; break;
    default: return false;
  }
  const auto code = static_cast<UINT>(SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam,
                                                   reinterpret_cast<LPARAM>(&msg)));
  if (code & DLGC_WANTALLKEYS) return false;
  if (msg.wParam == VK_RETURN && (code & DLGC_WANTMESSAGE)) return false;
  return (code & want) == 0 || want == 0;
}

void ShowCallbackError(core::TObject* sender, std::exception_ptr error) {
  if (!Application) return;
  try {
    std::rethrow_exception(error);
  } catch (...) {
    Application->HandleException(sender);
  }
}

}  // namespace

const core::TClassInfo TApplication::kClass{"TApplication", &core::TComponent::kClass, {}, {}};

TApplication::TApplication(core::TComponent* owner) : core::TComponent(owner) {
  if (!Application) Application = this;
  SetCallbackErrorHandler(&ShowCallbackError);
}

TApplication::~TApplication() {
  Destroying();
  // Forms first, while the application window they belong to still exists.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  if (FHintWindow) DestroyWindow(FHintWindow);
  if (FHandle) DestroyWindow(FHandle);
  if (Application == this) {
    Application = nullptr;
    SetCallbackErrorHandler(nullptr);
  }
}

void TApplication::Initialize() {
  if (FHandle) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = ApplicationWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = kApplicationClass;
  wc.hIcon = FIcon;
  if (!GetClassInfoW(instance, kApplicationClass, &wc) && !RegisterClassW(&wc))
    throw core::Exception("Cannot register the application window class");
  if (FTitle.empty()) {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, n);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    if (const auto dot = name.rfind(L'.'); dot != std::wstring::npos) name.resize(dot);
    FTitle = Narrow(name);
  }
  // Hidden, zero-sized: it owns the forms and carries the program's icon.
  FHandle = CreateWindowExW(0, kApplicationClass, Widen(FTitle).c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                            nullptr, nullptr, instance, nullptr);
  if (!FHandle) throw core::Exception("Cannot create the application window");
  if (FIcon) SetIcon(FIcon);
}

void TApplication::SetTitle(const std::string& title) {
  FTitle = title;
  if (FHandle) SetWindowTextW(FHandle, Widen(title).c_str());
}

void TApplication::SetIcon(HICON icon) {
  FIcon = icon;
  if (FHandle) {
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SetClassLongPtrW(FHandle, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
  }
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  if (msg.hwnd && PreTranslate(msg)) return true;
  // Tab and arrow keys move the focus between the controls of the active form.
  HWND active = GetActiveWindow();
  if (active && TWinControl::FromHandle(active) && IsDialogMessageW(active, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

bool TApplication::PreTranslate(MSG& msg) {
  try {
    TCustomForm* form = nullptr;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR)
      form = FormOfWindow(msg.hwnd);
    if (!form) return false;
    // Short cuts: the form's menus, then those of the forms around it (an MDI frame's bar).
    if (const TShortCut shortCut = ShortCutOfKey(msg.message, msg.wParam))
      for (TCustomForm* f = form; f; f = f->Parent() ? GetParentForm(f->Parent()) : nullptr)
        if (f->IsShortCut(shortCut)) return true;
    if (IsDialogKey(msg) && form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0) return true;
    if (msg.message == WM_SYSCHAR && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0) return true;
    // Ctrl+F4, Ctrl+F6 and the MDI child's system menu keys.
    if (HWND root = GetAncestor(msg.hwnd, GA_ROOT))
      if (auto* frame = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(root)); frame && frame->ClientHandle())
        if (TranslateMDISysAccel(frame->ClientHandle(), &msg)) return true;
  } catch (...) {
    HandleException(this);
    return true;
  }
  return false;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg) && !FTerminated) WaitMessage();
}

void TApplication::Run() {
  if (!FHandle) Initialize();
  if (FMainForm && FShowMainForm) {
    try {
      FMainForm->Show();
    } catch (...) {
      HandleException(this);
    }
  }
  while (!FTerminated) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() {
  if (!FTerminated) PostQuitMessage(0);
  FTerminated = true;
}

void TApplication::HandleException(core::TObject* sender) {
  std::exception_ptr error = std::current_exception();
  if (!error) return;
  try {
    if (OnException) {
      OnException(sender, error);
    } else {
      ShowException(error);
    }
  } catch (...) {
    // The display itself failed: nothing more can be shown.
  }
}

void TApplication::ShowException(std::exception_ptr error) {
  std::string text;
  try {
    std::rethrow_exception(error);
  } catch (const core::EAbort&) {
    return;
  } catch (const core::Exception& e) {
    text = e.Message();
  } catch (...) {
    text.clear();  // not one of ours: an error without a text
  }
  if (!text.empty() && text.back() != '.') text += '.';
  HWND owner = GetActiveWindow();
  MessageBoxW(owner, Widen(text).c_str(), Widen(FTitle).c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::EnsureHintWindow() {
  if (FHintWindow) return;
  FHintWindow = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FHandle, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
}

void TApplication::UpdateHint(TControl& control) {
  auto* windowed = dynamic_cast<TWinControl*>(&control);
  HWND window = windowed ? windowed->WindowHandle() : (control.Parent() ? control.Parent()->WindowHandle() : nullptr);
  if (!window) return;
  EnsureHintWindow();
  if (!FHintWindow) return;
  std::wstring text = Widen(control.Hint());
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = windowed ? GetParent(window) : window;
  info.uId = windowed ? reinterpret_cast<UINT_PTR>(window) : reinterpret_cast<UINT_PTR>(&control);
  info.uFlags = TTF_SUBCLASS | (windowed ? TTF_IDISHWND : 0);
  info.rect = control.BoundsRect();
  info.lpszText = text.data();
  SendMessageW(FHintWindow, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (FShowHint && control.ShowHint() && !text.empty())
    SendMessageW(FHintWindow, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace bw::win
