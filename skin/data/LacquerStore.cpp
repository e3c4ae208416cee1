#include "skin/data/LacquerStore.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"

namespace bw::skin {

const core::TPropInfo TSkinCollectionItem::kProps[] = {
    core::StrProp<&TSkinCollectionItem::Name, &TSkinCollectionItem::SetName>("Name"),
    core::StrProp<&TSkinCollectionItem::SkinData, &TSkinCollectionItem::SetSkinData>("SkinData"),
    core::IntProp<&TSkinCollectionItem::DataSize>("DataSize"),
};
const core::TClassInfo TSkinCollectionItem::kClass{"TSkinCollectionItem", &core::TCollectionItem::kClass, kProps,
                                                   {}};
const core::TClassInfo TSkinCollection::kClass{"TSkinCollection", &core::TCollection::kClass, {}, {}};
const core::TPropInfo TSkinStore::kProps[] = {
    core::ObjProp<&TSkinStore::Store, &TSkinStore::SetStore>("Store"),
};
const core::TClassInfo TSkinStore::kClass{"TSkinStore", &core::TComponent::kClass, kProps, {},
                                          &core::CreateComponentOf<TSkinStore>};

namespace {
const core::TClassRegistration kRegisterSkinStore{TSkinStore::kClass};
}  // namespace

std::string TSkinCollectionItem::Name() const { return FNamed ? FName : "SkinItem" + std::to_string(ID()); }

void TSkinCollectionItem::SetName(const std::string& name) {
  if (name == Name()) return;
  const core::TCollection& items = Collection();
  for (std::int32_t i = 0; i < items.Count(); ++i) {
    const auto& other = static_cast<const TSkinCollectionItem&>(items.Items(i));
    if (&other != this && other.Name() == name) throw core::Exception("The name " + name + " is already used.");
  }
  FName = name;
  FNamed = true;
}

void TSkinCollectionItem::CopyData(core::TStream& dest) {
  const std::int64_t position = FData.Position();
  dest.CopyFrom(FData, 0);
  FData.SetPosition(position);
}

void TSkinCollectionItem::LoadFromFile(const std::string& fileName) {
  core::TMemoryStream file;
  file.LoadFromFile(fileName);
  FData.Clear();
  FData.CopyFrom(file, 0);
}

void TSkinCollectionItem::Assign(const core::TPersistent& source) {
  const auto* other = dynamic_cast<const TSkinCollectionItem*>(&source);
  if (other == nullptr) return core::TCollectionItem::Assign(source);
  if (other == this) return;
  FName = other->Name();
  FNamed = true;
  FData.Clear();
  auto& otherData = const_cast<core::TMemoryStream&>(other->FData);
  const std::int64_t position = otherData.Position();
  FData.CopyFrom(otherData, 0);
  otherData.SetPosition(position);
}

void TSkinCollectionItem::DefineProperties(core::TFiler& filer) {
  core::TCollectionItem::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "DataStream", [this](core::TStream& s) { ReadData(s); }, [this](core::TStream& s) { WriteData(s); }, true);
}

void TSkinCollectionItem::ReadData(core::TStream& stream) {
  core::TMemoryStream incoming;
  incoming.CopyFrom(stream, 0);
  FData.Clear();
  FData.CopyFrom(incoming, 0);
}

void TSkinCollectionItem::WriteData(core::TStream& stream) {
  if (FData.Size() > 0) stream.WriteBuffer(FData.Memory(), FData.Size());
}

TSkinStore::TSkinStore(core::TComponent* owner)
    : core::TComponent(owner), FStore(std::make_unique<TSkinCollection>(this)) {}

TSkinStore::~TSkinStore() = default;

void TSkinStore::SetStore(TSkinCollection* collection) {
  if (collection != nullptr && collection->Count() > 0) FStore->Assign(*collection);
}

}  // namespace bw::skin
