#pragma once
// The main window: Load and Abort in one place, the progress bar, the preview, and the
// extraction run it hosts. The run state and the user's language live here, one each.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/Language.h"
#include "extract/RunHost.h"
#include "extract/RunState.h"
#include "framework/win/Buttons.h"
#include "framework/win/Dialogs.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "skin/data/LacquerData.h"

namespace bw::app {

inline constexpr const char* kStartCaption = "Brindlewick  V1.2 b";
inline constexpr const char* kIdleCaption = "Brindlewick  V1.2";

// PictureCount, SoundCount, AbortRequested, OutputFolder, SourceName, the file names,
// PngPreviewFailed and the scan's source: one run at a time.
extern extract::TRunState RunState;
// Only its first letter counts: F French, anything else English.
extern std::string UserLanguage;
// Where the language was read from, and where a new choice is written.
extern TSettingsRoot UserLanguageRoot;

class TForm1 : public win::TForm, public extract::TRunHost {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TForm1(core::TComponent* owner) : win::TForm(owner) {}

  win::TBitBtn* BitBtn1 = nullptr;
  win::TProgressBar* ProgressBar1 = nullptr;
  win::TPanel* Panel1 = nullptr;
  win::TImage* Image1 = nullptr;
  win::TBitBtn* BitBtn2 = nullptr;
  win::TOpenDialog* OpenDialog1 = nullptr;
  // The program's skin, stored with the window; it draws once the skin engine runs.
  skin::TSkinData* SkinData1 = nullptr;

  void FormCreate(core::TObject* sender);
  void FormShow(core::TObject* sender);
  void FormClose(core::TObject* sender, win::TCloseAction& action);
  void BitBtn1Click(core::TObject* sender);
  void BitBtn2Click(core::TObject* sender);

  // Texts of the window in the current language.
  void ApplyLanguage();
  bool Running() const { return FRunning; }
  // The Load command on a file named at start: it runs once the window shows and the
  // language question, if any, is answered.
  void LoadAtStart(const std::string& path) { FStartPath = path; }

  void Progress(int percent) override;
  void ProcessMessages() override;
  bool ConfirmExistingFolder(const std::string& folder) override;
  void FolderCreationFailed(const std::string& folder) override;
  bool ShowPreview(extract::TItemKind kind, const std::string& path) override;
  void ReportError(const extract::TRunError& error) override;

 protected:
  void CreateParams(win::TCreateParams& params) override;
  void WndProc(win::TMessage& message) override;

 private:
  // The Load command without its dialog; refused while a Load is under way.
  void LoadFile(const std::string& path);
  // Opens the source and runs the scan, or shows the summary when it cannot be opened.
  void LoadSource(const std::string& path);
  void FileDropped(HDROP drop);
  // The scan over the source just opened; back to idle when it ends.
  void RunScan(const std::string& sourcePath);
  void ShowSummary();
  void ReturnToIdle();
  bool ShowJpegPreview(const std::string& path);
  bool ShowBmpPreview(const std::string& path);
  void ShowPngPreview();

  bool FRunning = false;
  bool FLoading = false;  // from the Load command's start to its summary: no drop is taken
  std::string FStartPath;
  bool FCloseAfterRun = false;
  bool FFolderNotCreated = false;
  std::vector<extract::TRunError> FRunErrors;
};

extern TForm1* Form1;

void RegisterMainFormClasses();

}  // namespace bw::app
