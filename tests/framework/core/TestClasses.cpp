#include "tests/framework/core/TestClasses.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"

namespace bw::core::test {

const TPropInfo TTestFont::kProps[] = {
    IntProp<&TTestFont::FColor, &TTestFont::FColor>("Color", clWindowText, &kColorIdents),
    IntProp<&TTestFont::FHeight, &TTestFont::FHeight>("Height", -11),
    StrProp<&TTestFont::FName, &TTestFont::FName>("Name"),
    SetProp<&TTestFont::FStyle, &TTestFont::FStyle>("Style", kFontStyleInfo, TFontStyles{}),
};
const TClassInfo TTestFont::kClass{"TTestFont", &TPersistent::kClass, kProps, {}};

const TClassInfo TTestGlyph::kClass{"TTestGlyph", &TPersistent::kClass, {}, {}};

void TTestGlyph::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data",
      [this](TStream& s) {
        FBytes.assign(static_cast<std::size_t>(s.Size()), '\0');
        s.ReadBuffer(FBytes.data(), s.Size());
      },
      [this](TStream& s) { s.WriteBuffer(FBytes.data(), static_cast<std::int64_t>(FBytes.size())); },
      !FBytes.empty());
}

const TPropInfo TTestItem::kProps[] = {
    StrProp<&TTestItem::FText, &TTestItem::FText>("Text"),
    EnumProp<&TTestItem::FBevel, &TTestItem::FBevel>("Bevel", kStatusPanelBevelInfo, TStatusPanelBevel::pbLowered),
};
const TClassInfo TTestItem::kClass{"TTestItem", &TCollectionItem::kClass, kProps, {}};

void TTestItem::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TTestItem*>(&source);
  if (other == nullptr) return TCollectionItem::Assign(source);
  FText = other->FText;
  FBevel = other->FBevel;
  FData = other->FData;
}

void TTestItem::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "DataStream",
      [this](TStream& s) {
        FData.assign(static_cast<std::size_t>(s.Size()), '\0');
        s.ReadBuffer(FData.data(), s.Size());
      },
      [this](TStream& s) { s.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size())); }, true);
}

const TPropInfo TTestButton::kProps[] = {
    IntProp<&TTestButton::FLeft, &TTestButton::FLeft>("Left", 0),
    IntProp<&TTestButton::FWidth, &TTestButton::FWidth>("Width", 75),
    StrProp<&TTestButton::Caption, &TTestButton::SetCaption>("Caption"),
    IntProp<&TTestButton::FColor, &TTestButton::FColor>("Color", clBtnFace, &kColorIdents),
    BoolProp<&TTestButton::FVisible, &TTestButton::FVisible>("Visible", true),
    EnumProp<&TTestButton::FLayout, &TTestButton::FLayout>("Layout", kButtonLayoutInfo, TButtonLayout::blGlyphLeft),
    SetProp<&TTestButton::FAnchors, &TTestButton::FAnchors>("Anchors", kAlignInfo, TSet<TAlign>{}),
    ObjProp<&TTestButton::Font>("Font"),
    ObjProp<&TTestButton::Glyph>("Glyph"),
    StringsProp<&TTestButton::Items>("Items"),
    ObjProp<&TTestButton::Panels>("Panels"),
    ObjProp<&TTestButton::Buddy, &TTestButton::SetBuddy>("Buddy"),
    EventProp<&TTestButton::FOnClick>("OnClick"),
};
const TClassInfo TTestButton::kClass{"TTestButton", &TComponent::kClass, kProps, {},
                                     &CreateComponentOf<TTestButton>};

TTestButton::TTestButton(TComponent* owner) : TComponent(owner), FPanels(this, &CreateItemOf<TTestItem>) {}

void TTestButton::SetBuddy(TComponent* buddy) {
  FBuddy = buddy;
  if (buddy != nullptr) buddy->FreeNotification(*this);
}

void TTestButton::Notification(TComponent& component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && &component == FBuddy) FBuddy = nullptr;
}

void TTestButton::GetChildren(const std::function<void(TComponent&)>& visit, TComponent& root) {
  for (std::int32_t i = 0; i < root.ComponentCount(); ++i)
    if (root.Components(i)->GetParentComponent() == this) visit(*root.Components(i));
}

const TPropInfo TRecorder::kProps[] = {
    BoolProp<&TRecorder::FActive, &TRecorder::SetActive>("Active", false),
    IntProp<&TRecorder::FMode, &TRecorder::SetMode>("Mode", 0),
};
const TClassInfo TRecorder::kClass{"TRecorder", &TComponent::kClass, kProps, {}, &CreateComponentOf<TRecorder>};

void TRecorder::SetActive(bool active) {
  FActive = active;
  FReadingDuringSet = IsReading();
  if (FLog) FLog->push_back(Name() + ".Active");
}

void TRecorder::SetMode(std::int32_t mode) {
  FMode = mode;
  if (FLog) FLog->push_back(Name() + ".Mode");
}

void TRecorder::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Blob",
      [this](TStream& s) {
        if (FLog) FLog->push_back(Name() + ".Blob");
        const std::int32_t size = s.ReadInt32();
        if (size < 0 || size > s.Size() - s.Position()) throw EReadError("Blob length beyond its data");
        FBlob.assign(static_cast<std::size_t>(size), '\0');
        s.ReadBuffer(FBlob.data(), size);
      },
      [this](TStream& s) {
        s.WriteInt32(static_cast<std::int32_t>(FBlob.size()));
        s.WriteBuffer(FBlob.data(), static_cast<std::int64_t>(FBlob.size()));
      },
      true);
}

void TRecorder::Loaded() {
  FLoadingDuringLoaded = IsLoading() && !IsReading();
  TComponent::Loaded();
  if (FLog) FLog->push_back(Name() + ".Loaded");
}

const TMethodInfo TTestForm::kMethods[] = {
    Method<&TTestForm::Button1Click>("Button1Click"),
    Method<&TTestForm::OtherClick>("OtherClick"),
    Method<&TTestForm::WrongSignature>("WrongSignature"),
};
const TFieldInfo TTestForm::kFields[] = {
    Field<&TTestForm::Button1>("Button1"),
    Field<&TTestForm::Recorder1>("Recorder1"),
};
const TClassInfo TTestForm::kClass{"TTestForm", &TComponent::kClass, {}, kMethods, &CreateComponentOf<TTestForm>,
                                   kFields};

void RegisterTestClasses() {
  RegisterComponentClass(TTestButton::kClass);
  RegisterComponentClass(TRecorder::kClass);
  RegisterComponentClass(TTestForm::kClass);
}

}  // namespace bw::core::test
