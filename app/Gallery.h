#pragma once
// The gallery: one of every control, menu and window kind the skin engine takes over, each
// enabled and disabled where that differs (`brindlewick.exe --gallery`). It is the skin
// engine's test bed and the source of its screenshots.
#include "framework/win/Application.h"
#include "framework/win/Buttons.h"
#include "framework/win/CheckCtrls.h"
#include "framework/win/DateTime.h"
#include "framework/win/Dialogs.h"
#include "framework/win/EditCtrls.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/Grids.h"
#include "framework/win/ImageList.h"
#include "framework/win/ListBox.h"
#include "framework/win/ListView.h"
#include "framework/win/Menus.h"
#include "framework/win/RangeCtrls.h"
#include "framework/win/ScrollBox.h"
#include "framework/win/SpeedButton.h"
#include "framework/win/StatusBar.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Tabs.h"
#include "framework/win/ToolBar.h"
#include "framework/win/TreeView.h"
#include "skin/data/LacquerData.h"

namespace bw::app {

// A frame with a layout of its own, embedded in the gallery.
class TGalleryFrame : public win::TFrame {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TGalleryFrame(core::TComponent* owner) : win::TFrame(owner) {}
  win::TEdit* FrameEdit = nullptr;
  win::TButton* FrameButton = nullptr;
  void FrameButtonClick(core::TObject* sender);
};

// The modal second window.
class TGalleryDialog : public win::TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TGalleryDialog(core::TComponent* owner) : win::TForm(owner) {}
  win::TEdit* NameEdit = nullptr;
  win::TCheckBox* RememberBox = nullptr;
  win::TButton* OkButton = nullptr;
  win::TButton* CancelButton = nullptr;
};

class TGalleryMdiChild : public win::TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TGalleryMdiChild(core::TComponent* owner) : win::TForm(owner) {}
  win::TMemo* ChildMemo = nullptr;
};

// An MDI window with "Window > New / Tile / Cascade" and a few children.
class TGalleryMdiForm : public win::TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TGalleryMdiForm(core::TComponent* owner) : win::TForm(owner) {}
  win::TMainMenu* MdiMenu = nullptr;
  win::TMenuItem* Window1 = nullptr;
  int Children = 0;
  void FormShow(core::TObject* sender);
  void NewChildClick(core::TObject* sender);
  void TileClick(core::TObject* sender);
  void CascadeClick(core::TObject* sender);
  void ArrangeClick(core::TObject* sender);
  void CloseClick(core::TObject* sender);
  TGalleryMdiChild* NewChild();
};

class TGalleryForm : public win::TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TGalleryForm(core::TComponent* owner) : win::TForm(owner) {}

  skin::TSkinData* SkinData1 = nullptr;
  win::TMainMenu* MainMenu1 = nullptr;
  win::TPopupMenu* PopupMenu1 = nullptr;
  win::TImageList* ImageList1 = nullptr;
  win::TStatusBar* StatusBar1 = nullptr;
  win::TToolBar* ToolBar1 = nullptr;
  win::TPageControl* PageControl1 = nullptr;
  win::TOpenDialog* OpenDialog1 = nullptr;
  win::TMenuItem* ViewStatus = nullptr;
  win::TMenuItem* ViewTools = nullptr;

  void NewMdiClick(core::TObject* sender);
  void OpenClick(core::TObject* sender);
  void MessageClick(core::TObject* sender);
  void DialogClick(core::TObject* sender);
  void ExitClick(core::TObject* sender);
  void ViewToolsClick(core::TObject* sender);
  void ViewStatusClick(core::TObject* sender);
  void AnyClick(core::TObject* sender);
  void StatusBar1DrawPanel(win::TCustomStatusBar* bar, win::TStatusPanel* panel, const RECT& rect);

  // Shows `text` in the status bar's first panel.
  void Say(const std::string& text);
};

void RegisterGalleryClasses();

}  // namespace bw::app
