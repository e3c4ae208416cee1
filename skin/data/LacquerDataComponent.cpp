// The component side of the skin data: published properties, the skin stream kept in
// the form data, the ways a skin container reaches the component, and its switches.
#include "framework/core/ClassRegistry.h"
#include "framework/core/Text.h"
#include "framework/win/Application.h"
#include "framework/win/Forms.h"
#include "skin/data/LacquerData.h"
#include "skin/data/LacquerStore.h"
#include "skin/data/SkinManagerLink.h"

namespace bw::skin {

using core::TPropInfo;

const TPropInfo TSkinData::kProps[] = {
    core::BoolProp<&TSkinData::Active, &TSkinData::SetActive>("Active", false),
    core::IntProp<&TSkinData::DisableTag, &TSkinData::SetDisableTag>("DisableTag", 99),
    core::SetProp<&TSkinData::SkinControls, &TSkinData::SetSkinControls>("SkinControls", kSkinControlTypeInfo,
                                                                          kDefaultSkinControls),
    core::SetProp<&TSkinData::Options, &TSkinData::SetOptions>("Options", kSkinOptionInfo, kDefaultSkinOptions),
    core::StringsProp<&TSkinData::Skin3rd>("Skin3rd"),
    core::StrProp<&TSkinData::SkinFile, &TSkinData::SetSkinFileProp>("SkinFile"),
    core::StrProp<&TSkinData::GetSkinStore, &TSkinData::SetSkinStore>("SkinStore"),
    core::EnumProp<&TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype>("SkinFormtype", kSkinFormTypeInfo,
                                                                         TSkinFormType::sfMainform),
    core::StrProp<&TSkinData::Version, &TSkinData::SetVersion>("Version"),
    core::BoolProp<&TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate>("MenuUpdate", true),
    core::BoolProp<&TSkinData::MenuMerge, &TSkinData::SetMenuMerge>("MenuMerge", false),
    core::EventProp<&TSkinData::OnFormSkin>("OnFormSkin"),
    core::EventProp<&TSkinData::OnSkinChanged>("OnSkinChanged"),
    core::EventProp<&TSkinData::OnSkinControl>("OnSkinControl"),
};
const core::TClassInfo TSkinData::kClass{"TSkinData", &core::TComponent::kClass, kProps, {},
                                         &core::CreateComponentOf<TSkinData>};

namespace {
const core::TClassRegistration kRegisterSkinData{TSkinData::kClass};
}  // namespace

TSkinData::TSkinData(core::TComponent* owner)
    : core::TComponent(owner), FSkin3rd(std::make_unique<core::TStringList>()) {
  AppIcon.SetPixelFormat(win::TPixelFormat::pf24bit);
  Buttons = std::make_unique<TDataSkinButton>("Buttons");
  LeftBorder = std::make_unique<TDataSkinBorder>("Left");
  RightBorder = std::make_unique<TDataSkinBorder>("Right");
  TopBorder = std::make_unique<TDataSkinBorder>("Top");
  BottomBorder = std::make_unique<TDataSkinBorder>("Bottom");
  Title = std::make_unique<TDataSkinTitle>("Title");
  LoadMenuGlyphs();
  InitControlList(*FSkin3rd);
}

TSkinData::~TSkinData() {
  Destroying();
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->RemoveSkinData(*this);
  if (FaceBrush != nullptr) DeleteObject(FaceBrush);
}

void TSkinData::LoadMenuGlyphs() {
  // White is the mask: the glyphs are black strokes on a white ground.
  MenuGlyphs.Reset(ImageList_LoadImageW(GetModuleHandleW(nullptr), L"LACQUERMENU", 16, 0, RGB(255, 255, 255),
                                        IMAGE_BITMAP, LR_CREATEDIBSECTION));
  if (MenuGlyphs.Get() != nullptr) ImageList_SetBkColor(MenuGlyphs.Get(), CLR_NONE);
}

void TSkinData::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  // Read from the form: takes effect in Loaded.
  if (IsDesigning() || IsReading() || IsLoading()) return;
  TSkinManagerLink* manager = SkinManagerLink(false);
  if (!manager) return;
  switch (FSkinFormtype) {
    case TSkinFormType::sfOnlyThisForm:
      manager->SetActionData(this);
      if (value && NoSkin) return;
      manager->SetAction(value ? kActionSkinOn : kActionSkinOff, kActionDelayMs);
      return;
    case TSkinFormType::sfDialog:
    case TSkinFormType::sfDLL:
      return;
    case TSkinFormType::sfMainform:
      if (value) {
        if (NoSkin) return;
        manager->SetActionData(this);
        manager->SetAction(kActionSkinOn, kActionDelayMs);
        manager->SetState(1);
      } else {
        manager->SetActionData(this);
        manager->SetAction(kActionSkinOff, kActionDelayMs);
      }
      return;
  }
}

void TSkinData::Install() {
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->SetAction(kActionSkinOn, kActionDelayMs);
}

void TSkinData::Uninstall() {
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->SetAction(kActionSkinOff, kActionDelayMs);
}

void TSkinData::EnableSkin(bool value) {
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->SetSkinOn(value);
}

void TSkinData::SkinForm(HWND window) {
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->AddForm(window, true);
}

void TSkinData::AddNestForm(win::TCustomForm& host, win::TCustomForm* nested) {
  if (!nested) return;
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->AddNestForm(host, nested);
}

void TSkinData::UpdateSkinControl(win::TCustomForm& form, win::TControl* control) {
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->UpdateSkinControl(form, control);
}

void TSkinData::DeleteGraphicControl(win::TCustomForm& form, win::TControl& control) {
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->DeleteGraphicControl(form, control);
}

void TSkinData::UpdateMenu(win::TCustomForm& form) {
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->UpdateMenu(form);
}

void TSkinData::UpdateMainMenu(bool value) {
  FramePaint = value;
  if (!value) return;
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->UpdateMainMenus();
}

int TSkinData::InstallThread(DWORD threadId) {
  TSkinManagerLink* manager = SkinManagerLink(false);
  return manager ? manager->InstallThread(threadId) : -1;
}

void TSkinData::UnInstallThread(DWORD threadId) {
  if (TSkinManagerLink* manager = SkinManagerLink(false)) manager->UnInstallThread(threadId);
}

std::string TSkinData::GetSkinStore() const {
  if (IsDesigning() && !FSkinStream.Bytes().empty()) return "(Good)";
  return "(none)";
}

void TSkinData::SetSkinStore(const std::string&) {}

void TSkinData::SetVersion(const std::string&) {}

void TSkinData::DefineProperties(core::TFiler& filer) {
  core::TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "SkinStream", [this](core::TStream& s) { ReadData(s); }, [this](core::TStream& s) { WriteData(s); }, true);
}

void TSkinData::ReadData(core::TStream& stream) {
  const std::int32_t sizeBytes = stream.ReadInt32();
  if (sizeBytes <= 0) return;
  if (sizeBytes > stream.Size() - stream.Position()) throw core::EReadError("Skin stream is truncated");
  // Read in full before anything is replaced: a short value leaves the old skin.
  core::TMemoryStream incoming;
  incoming.SetSize(sizeBytes);
  stream.ReadBuffer(incoming.Memory(), sizeBytes);
  FSkinStream.Clear();
  FSkinStream.CopyFrom(incoming, 0);
  if (!IsDesigning()) LoadSkin();
}

void TSkinData::WriteData(core::TStream& stream) {
  const std::int64_t sizeBytes = FSkinStream.Size();
  stream.WriteInt32(static_cast<std::int32_t>(sizeBytes));
  if (sizeBytes > 0) stream.WriteBuffer(FSkinStream.Memory(), sizeBytes);
}

void TSkinData::ReplaceSkinStream(core::TStream& source) {
  core::TMemoryStream incoming;
  incoming.CopyFrom(source, 0);
  FSkinStream.Clear();
  FSkinStream.CopyFrom(incoming, 0);
}

void TSkinData::AfterExternalLoad() {
  LoadSkin();
  if (FSkinFormtype == TSkinFormType::sfMainform) UpdateSkin();
}

void TSkinData::LoadFromFile(const std::string& fileName) {
  FSkinFile = fileName;
  if (IsDesigning()) {
    if (!fileName.empty() && FSkinStream.Size() > 0) FSkinStream.Clear();
    return;
  }
  core::TMemoryStream file;
  try {
    file.LoadFromFile(fileName);
  } catch (const core::EFOpenError&) {
    return;  // a missing file changes nothing but the name
  }
  NoSkin = true;
  ReplaceSkinStream(file);
  AfterExternalLoad();
}

void TSkinData::LoadFromStream(core::TStream& stream) {
  NoSkin = true;
  ReplaceSkinStream(stream);
  AfterExternalLoad();
}

void TSkinData::LoadFromCollection(TSkinStore& store, std::int32_t index) {
  TSkinCollection& items = *store.Store();
  if (index >= items.Count()) return;
  auto& item = static_cast<TSkinCollectionItem&>(items.Items(index));
  NoSkin = true;
  item.Data().SetPosition(0);
  ReplaceSkinStream(item.Data());
  AfterExternalLoad();
}

void TSkinData::Loaded() {
  core::TComponent::Loaded();
  if (IsDesigning()) return;
  TSkinManagerLink* manager = SkinManagerLink(true);
  if (manager) manager->AddSkinData(*this);
  if (FSkinFormtype != TSkinFormType::sfMainform) {
    if (manager) {
      manager->SetSkinOn(true);
      manager->SetState(manager->State() + 1);
      if (auto* form = dynamic_cast<win::TCustomForm*>(Owner())) manager->AddForm(form->Handle(), false);
    }
    return;
  }
  if (manager) manager->InstallHook();
  if (FActive) {
    if (NoSkin) FActive = false;
    else if (manager) manager->SetAction(kActionSkinOn, kActionDelayMs);
  }
  if (FSkinControls.Contains(TSkinControlType::xcMainMenu)) {
    FSkinControls.Exclude(TSkinControlType::xcMenuItem);
  } else {
    FSkinControls.Exclude(TSkinControlType::xcSystemMenu);
  }
  if (win::Application) GetAppIcon(win::Application->Handle());
}

void TSkinData::UpdateSkin() {
  if (IsDesigning() || IsReading() || IsLoading()) return;
  TSkinManagerLink* manager = SkinManagerLink(false);
  if (!manager) {
    Loaded();
    manager = SkinManagerLink(false);
    if (!manager) return;
  }
  manager->SetActionData(this);
  manager->DeleteSysbtn();
  if (manager->State() == 1) manager->SetAction(kActionSkinChanged, kActionDelayMs);
}

void TSkinData::DoSkinChanged() { OnSkinChanged(this); }

void TSkinData::DoFormSkin(const std::string& aName, bool& doSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, aName, doSkin);
    return;
  }
  if (aName == "SysMonthCal32") doSkin = false;
  if (FSkinControls.Contains(TSkinControlType::xcFastReport) && aName.starts_with("Tfr")) doSkin = false;
}

void TSkinData::ChangeProperty(core::TObject* object, std::string_view propertyName, std::string_view value) {
  if (object == nullptr) return;
  const core::TPropInfo* p = core::FindPropInfo(object, propertyName);
  if (p == nullptr || p->Kind != core::TPropKind::Enumeration) return;
  if (core::SetEnumProp(object, propertyName, value) == core::TPropResult::BadValue)
    throw core::EConvertError("'" + std::string(value) + "' is not a valid " + p->Enum->Name + " value");
}

bool TSkinData::GetPrecolor(TColor& colour, std::int32_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= Precolors.size()) return false;
  colour = Precolors[static_cast<std::size_t>(index)];
  return true;
}

}  // namespace bw::skin
