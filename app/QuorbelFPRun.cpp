// The Load command and the run host side of the main window.
#include <exception>

#include "app/QuorbelFP.h"
#include "extract/OutputNaming.h"
#include "extract/Scanner.h"
#include "extract/Texts.h"
#include "framework/core/Exceptions.h"
#include "framework/win/Application.h"
#include "framework/win/Text.h"

namespace bw::app {

namespace {

// Marks the Load command as under way for its whole length, dialogs included.
class TLoadingScope {
 public:
  explicit TLoadingScope(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TLoadingScope() { FFlag = false; }
  TLoadingScope(const TLoadingScope&) = delete;
  TLoadingScope& operator=(const TLoadingScope&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

void TForm1::BitBtn1Click(core::TObject* /*sender*/) {
  if (FRunning || FLoading) return;
  TLoadingScope loading(FLoading);
  OpenDialog1->SetFileName("");
  OpenDialog1->SetTitle(extract::IsFrench(UserLanguage) ? "Choix du fichier PPS \xC3\xA0 utiliser"
                                                         : "PPS file to open");
  if (OpenDialog1->Execute()) {
    LoadSource(OpenDialog1->FileName());
    return;
  }
  ShowSummary();
  ReturnToIdle();
}

void TForm1::LoadFile(const std::string& path) {
  if (FRunning || FLoading) return;
  TLoadingScope loading(FLoading);
  LoadSource(path);
}

void TForm1::LoadSource(const std::string& path) {
  int errnoValue = 0;
  // A source that cannot be opened gets the summary of the state as it stands.
  if (extract::BeginRun(RunState, path, errnoValue) == extract::TOpenResult::Opened) {
    RunScan(path);
    return;
  }
  ShowSummary();
  ReturnToIdle();
}

void TForm1::FileDropped(HDROP drop) {
  // Only the first file of a drop: one Load runs at a time. LoadFile refuses it during one.
  std::wstring path;
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    path.resize(length + 1);
    path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
  }
  DragFinish(drop);
  if (!path.empty()) LoadFile(win::Narrow(path));
}

void TForm1::RunScan(const std::string& sourcePath) {
  ProgressBar1->SetPosition(0);
  SetCaption(sourcePath);
  BitBtn1->Hide();
  BitBtn2->Show();
  RunState.AbortRequested = false;
  RunState.Position = 0;
  FRunErrors.clear();
  FFolderNotCreated = false;
  FCloseAfterRun = false;
  FRunning = true;

  extract::TScanResult result = extract::TScanResult::Completed;
  try {
    result = extract::Scan(RunState, *this);
  } catch (...) {
    // The engine does not throw; should anything, the window must not stay in its run.
    FRunning = false;
    RunState.Source.Close();
    ReturnToIdle();
    throw;
  }
  FRunning = false;
  RunState.Source.Close();

  if (FCloseAfterRun) {
    ReturnToIdle();
    Close();
    return;
  }
  switch (result) {
    case extract::TScanResult::FolderCancelled:
      // Declined at the folder question: nothing more to say.
      ReturnToIdle();
      return;
    case extract::TScanResult::FolderNotCreated:
      ReturnToIdle();
      throw core::Exception(extract::FolderCreationErrorText());
    default: break;
  }
  for (const extract::TRunError& error : FRunErrors) {
    const std::string text = error.Kind == extract::TRunErrorKind::WriteFailed
                                 ? extract::WriteErrorText(UserLanguage, error.Path)
                                 : extract::ReadErrorText(UserLanguage, error.Path);
    win::Application->ShowException(
        std::make_exception_ptr(core::Exception(error.Cause.empty() ? text : text + "\n" + error.Cause)));
  }
  ShowSummary();
  ReturnToIdle();
}

void TForm1::ShowSummary() {
  const std::string text =
      extract::SummaryText(UserLanguage, RunState.PictureCount, RunState.SoundCount, RunState.OutputFolder,
                           RunState.SourceName, extract::PathSeparator());
  win::MessageDlg(text, win::TMsgDlgType::mtInformation, win::TMsgDlgButtons{win::TMsgDlgBtn::mbOK}, 0);
}

void TForm1::ReturnToIdle() {
  ProgressBar1->SetPosition(0);
  Image1->Picture()->SetGraphic(nullptr);
  SetCaption(kIdleCaption);
  BitBtn2->Hide();
  BitBtn1->Show();
}

void TForm1::Progress(int percent) { ProgressBar1->SetPosition(percent); }

void TForm1::ProcessMessages() {
  try {
    win::Application->ProcessMessages();
  } catch (...) {
    // A handler's failure is shown, and the run goes on: the engine must not see it.
    win::Application->HandleException(this);
  }
}

bool TForm1::ConfirmExistingFolder(const std::string& folder) {
  try {
    return win::MessageDlg(extract::FolderQuestionText(UserLanguage, folder), win::TMsgDlgType::mtWarning,
                           win::mbOKCancel, 0) == win::mrOk;
  } catch (...) {
    return false;
  }
}

void TForm1::FolderCreationFailed(const std::string& /*folder*/) { FFolderNotCreated = true; }

void TForm1::ReportError(const extract::TRunError& error) { FRunErrors.push_back(error); }

}  // namespace bw::app
