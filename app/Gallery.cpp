#include "app/Gallery.h"

#include "framework/core/ClassRegistry.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"

namespace bw::app {

// ---- the frame

const core::TMethodInfo kFrameMethods[] = {core::Method<&TGalleryFrame::FrameButtonClick>("FrameButtonClick")};
const core::TFieldInfo kFrameFields[] = {
    core::Field<&TGalleryFrame::FrameEdit>("FrameEdit"),
    core::Field<&TGalleryFrame::FrameButton>("FrameButton"),
};
const core::TClassInfo TGalleryFrame::kClass{"TGalleryFrame", &win::TFrame::kClass, {}, kFrameMethods,
                                             &win::CreateFrameOf<TGalleryFrame>, kFrameFields};

void TGalleryFrame::FrameButtonClick(core::TObject*) {
  if (FrameEdit) FrameEdit->SetText("Clicked in the frame");
}

// ---- the modal dialog

const core::TFieldInfo kDialogFields[] = {
    core::Field<&TGalleryDialog::NameEdit>("NameEdit"),
    core::Field<&TGalleryDialog::RememberBox>("RememberBox"),
    core::Field<&TGalleryDialog::OkButton>("OkButton"),
    core::Field<&TGalleryDialog::CancelButton>("CancelButton"),
};
const core::TClassInfo TGalleryDialog::kClass{"TGalleryDialog", &win::TForm::kClass, {}, {},
                                              &core::CreateComponentOf<TGalleryDialog>, kDialogFields};

// ---- MDI

const core::TFieldInfo kChildFields[] = {core::Field<&TGalleryMdiChild::ChildMemo>("ChildMemo")};
const core::TClassInfo TGalleryMdiChild::kClass{"TGalleryMdiChild", &win::TForm::kClass, {}, {},
                                                &core::CreateComponentOf<TGalleryMdiChild>, kChildFields};

const core::TMethodInfo kMdiMethods[] = {
    core::Method<&TGalleryMdiForm::FormShow>("FormShow"),
    core::Method<&TGalleryMdiForm::NewChildClick>("NewChildClick"),
    core::Method<&TGalleryMdiForm::TileClick>("TileClick"),
    core::Method<&TGalleryMdiForm::CascadeClick>("CascadeClick"),
    core::Method<&TGalleryMdiForm::ArrangeClick>("ArrangeClick"),
    core::Method<&TGalleryMdiForm::CloseClick>("CloseClick"),
};
const core::TFieldInfo kMdiFields[] = {
    core::Field<&TGalleryMdiForm::MdiMenu>("MdiMenu"),
    core::Field<&TGalleryMdiForm::Window1>("Window1"),
};
const core::TClassInfo TGalleryMdiForm::kClass{"TGalleryMdiForm", &win::TForm::kClass, {}, kMdiMethods,
                                               &core::CreateComponentOf<TGalleryMdiForm>, kMdiFields};

TGalleryMdiChild* TGalleryMdiForm::NewChild() {
  auto* child = win::CreateForm<TGalleryMdiChild>(win::Application);
  ++Children;
  child->SetCaption("Document " + std::to_string(Children));
  if (child->ChildMemo) child->ChildMemo->Lines()->Add("This is document " + std::to_string(Children) + ".");
  child->Show();
  return child;
}

void TGalleryMdiForm::FormShow(core::TObject*) {
  if (Children > 0) return;
  for (int i = 0; i < 3; ++i) NewChild();
  Cascade();
}

void TGalleryMdiForm::NewChildClick(core::TObject*) { NewChild(); }
void TGalleryMdiForm::TileClick(core::TObject*) { Tile(); }
void TGalleryMdiForm::CascadeClick(core::TObject*) { Cascade(); }
void TGalleryMdiForm::ArrangeClick(core::TObject*) { ArrangeIcons(); }
void TGalleryMdiForm::CloseClick(core::TObject*) { Close(); }

// ---- the gallery

const core::TMethodInfo kGalleryMethods[] = {
    core::Method<&TGalleryForm::NewMdiClick>("NewMdiClick"),
    core::Method<&TGalleryForm::OpenClick>("OpenClick"),
    core::Method<&TGalleryForm::MessageClick>("MessageClick"),
    core::Method<&TGalleryForm::DialogClick>("DialogClick"),
    core::Method<&TGalleryForm::ExitClick>("ExitClick"),
    core::Method<&TGalleryForm::ViewToolsClick>("ViewToolsClick"),
    core::Method<&TGalleryForm::ViewStatusClick>("ViewStatusClick"),
    core::Method<&TGalleryForm::AnyClick>("AnyClick"),
    core::Method<&TGalleryForm::StatusBar1DrawPanel>("StatusBar1DrawPanel"),
};
const core::TFieldInfo kGalleryFields[] = {
    core::Field<&TGalleryForm::SkinData1>("SkinData1"),
    core::Field<&TGalleryForm::MainMenu1>("MainMenu1"),
    core::Field<&TGalleryForm::PopupMenu1>("PopupMenu1"),
    core::Field<&TGalleryForm::ImageList1>("ImageList1"),
    core::Field<&TGalleryForm::StatusBar1>("StatusBar1"),
    core::Field<&TGalleryForm::ToolBar1>("ToolBar1"),
    core::Field<&TGalleryForm::PageControl1>("PageControl1"),
    core::Field<&TGalleryForm::OpenDialog1>("OpenDialog1"),
    core::Field<&TGalleryForm::ViewStatus>("ViewStatus"),
    core::Field<&TGalleryForm::ViewTools>("ViewTools"),
};
const core::TClassInfo TGalleryForm::kClass{"TGalleryForm", &win::TForm::kClass, {}, kGalleryMethods,
                                            &core::CreateComponentOf<TGalleryForm>, kGalleryFields};

void TGalleryForm::Say(const std::string& text) {
  if (StatusBar1 && StatusBar1->Panels()->Count() > 0) StatusBar1->Panels()->Items(0).SetText(text);
}

void TGalleryForm::NewMdiClick(core::TObject*) {
  auto* mdi = win::CreateForm<TGalleryMdiForm>(win::Application);
  mdi->Show();
}

void TGalleryForm::OpenClick(core::TObject*) {
  if (OpenDialog1 && OpenDialog1->Execute()) Say("Chose " + OpenDialog1->FileName());
}

void TGalleryForm::MessageClick(core::TObject*) {
  win::MessageDlg("A message box of the gallery.\nIts frame and button are skinned.", win::TMsgDlgType::mtInformation,
                  win::TMsgDlgButtons{win::TMsgDlgBtn::mbOK}, 0);
}

void TGalleryForm::DialogClick(core::TObject*) {
  auto* dialog = win::CreateForm<TGalleryDialog>(win::Application);
  const int result = dialog->ShowModal();
  Say(result == win::mrOk ? "The dialog said OK" : "The dialog was cancelled");
  dialog->Release();
}

void TGalleryForm::ExitClick(core::TObject*) { Close(); }

void TGalleryForm::ViewToolsClick(core::TObject*) {
  if (ToolBar1 && ViewTools) ToolBar1->SetVisible(ViewTools->Checked());
}

void TGalleryForm::ViewStatusClick(core::TObject*) {
  if (StatusBar1 && ViewStatus) StatusBar1->SetVisible(ViewStatus->Checked());
}

void TGalleryForm::AnyClick(core::TObject* sender) {
  if (auto* component = dynamic_cast<core::TComponent*>(sender)) Say("Clicked " + component->Name());
}

void TGalleryForm::StatusBar1DrawPanel(win::TCustomStatusBar*, win::TStatusPanel*, const RECT& rect) {
  // An owner-drawn panel: a small gauge.
  HDC dc = StatusBar1->Canvas().Handle();
  RECT fill = rect;
  InflateRect(&fill, -3, -4);
  fill.right = fill.left + (fill.right - fill.left) * 2 / 3;
  win::TBrushHandle brush(CreateSolidBrush(RGB(140, 42, 34)));
  FillRect(dc, &fill, brush.Get());
}

void RegisterGalleryClasses() {
  win::RegisterStdControls();
  win::RegisterComControls();
  for (const core::TClassInfo* cls : {&TGalleryForm::kClass, &TGalleryDialog::kClass, &TGalleryMdiForm::kClass,
                                      &TGalleryMdiChild::kClass, &TGalleryFrame::kClass, &skin::TSkinData::kClass})
    core::RegisterComponentClass(*cls);
}

}  // namespace bw::app
