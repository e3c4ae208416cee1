#pragma once
// The application object: its hidden window (class "TApplication", holding the program
// icon), the forms, the message loop, exception display and hints.
#include <windows.h>

#include <exception>
#include <string>

#include "framework/core/Component.h"
#include "framework/win/Forms.h"

namespace bw::win {

using TExceptionEvent = core::TEvent<void(core::TObject* sender, std::exception_ptr error)>;

class TApplication : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TApplication(core::TComponent* owner);
  ~TApplication() override;

  void Initialize();
  HWND Handle() const { return FHandle; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title);
  HICON Icon() const { return FIcon; }
  // The application does not own the icon (resources loaded with LoadIcon are shared).
  void SetIcon(HICON icon);

  // Creates form T from its description; the first one created becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    reference = win::CreateForm<T>(this);
    if (!FMainForm) FMainForm = reference;
  }
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* form) { FMainForm = form; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool show) { FShowMainForm = show; }

  // Shows the main form and handles messages until Terminate.
  void Run();
  // Handles every message now pending, then returns.
  void ProcessMessages();
  // Handles one message, waiting for one when none is pending.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // Shows the exception in flight: nothing for EAbort, its text for framework
  // exceptions, an error box with an empty text for anything else. Never throws.
  void HandleException(core::TObject* sender);
  void ShowException(std::exception_ptr error);
  TExceptionEvent OnException;

  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool show) { FShowHint = show; }
  // Adds or refreshes the tool tip of a control with ShowHint and a hint.
  void UpdateHint(TControl& control);

 private:
  bool ProcessMessage(MSG& msg);
  // Short cuts, dialog keys and characters, MDI keys: true when the message was used.
  bool PreTranslate(MSG& msg);
  void EnsureHintWindow();

  HWND FHandle = nullptr;
  HWND FHintWindow = nullptr;
  std::string FTitle;
  HICON FIcon = nullptr;
  TCustomForm* FMainForm = nullptr;
  bool FShowMainForm = true;
  bool FTerminated = false;
  bool FShowHint = true;
};

// The one application object of the program; created by Initialize's caller (main).
extern TApplication* Application;

}  // namespace bw::win
