#pragma once
// The message dialog and the open-file dialog, over the system's dialogs. Both are owned
// by the active window of the calling thread.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/core/Component.h"
#include "framework/core/TypeInfo.h"
#include "framework/win/Forms.h"  // modal results

namespace bw::win {

enum class TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgDlgBtn : std::uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbHelp };
using TMsgDlgButtons = core::TSet<TMsgDlgBtn>;

inline const TMsgDlgButtons mbOKCancel{TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel};
inline const TMsgDlgButtons mbYesNoCancel{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry, TMsgDlgBtn::mbIgnore};

// The box's caption by type ("Warning", "Error", "Information", "Confirm"; a custom box
// takes the program's name) and the framework's button texts. The system box offers the
// button sets OK, OK Cancel, Yes No, Yes No Cancel, Retry Cancel, Abort Retry Ignore;
// another set gets the nearest of them (see the .cpp). Answers the modal result of the
// button pressed, mrNone when the box could not be shown. helpContext is not used: the
// program has no help file.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);

// The texts the framework puts on the dialog's buttons ("OK", "Cancel", "&Yes", ...).
const char* MsgDlgButtonText(TMsgDlgBtn button);
const char* MsgDlgCaption(TMsgDlgType type);  // "" for mtCustom

enum class TOpenOption : std::uint8_t {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofNoValidate,
  ofPathMustExist,
  ofFileMustExist,
};
using TOpenOptions = core::TSet<TOpenOption>;
extern const core::TEnumInfo kOpenOptionInfo;

class TOpenDialog : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  // Longest path the dialog hands back, in UTF-16 units.
  static constexpr std::size_t kMaxFileNameChars = 32768;

  explicit TOpenDialog(core::TComponent* owner);

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }
  // "description|pattern|description|pattern..."; a description without its pattern is dropped.
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& filter) { FFilter = filter; }
  // 1-based; the dialog sets it to the filter chosen.
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int index) { FFilterIndex = index; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& fileName) { FFileName = fileName; }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& dir) { FInitialDir = dir; }
  // Appended to a typed name that has no extension.
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& ext) { FDefaultExt = ext; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions options) { FOptions = options; }

  // True when a file was chosen (FileName, FilterIndex and ofReadOnly are then updated);
  // false when cancelled. A dialog the system cannot show raises core::Exception.
  bool Execute();

 private:
  static const core::TPropInfo kProps[];
  std::string FTitle;
  std::string FFilter;
  int FFilterIndex = 1;
  std::string FFileName;
  std::string FInitialDir;
  std::string FDefaultExt;
  TOpenOptions FOptions{TOpenOption::ofHideReadOnly};
};

}  // namespace bw::win
