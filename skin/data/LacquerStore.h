#pragma once
// Several named skins kept in one form, each a packed skin container, so that an
// application can switch between them (TSkinData::LoadFromCollection).
#include <cstdint>
#include <memory>
#include <string>

#include "framework/core/Collection.h"
#include "framework/core/Component.h"
#include "framework/core/Streams.h"

namespace bw::skin {

class TSkinCollectionItem : public core::TCollectionItem {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  explicit TSkinCollectionItem(core::TCollection& collection) : core::TCollectionItem(collection) {}

  // "SkinItem" + ID until a name is set.
  std::string Name() const;
  // Raises core::Exception when another item of the collection has the name (letter
  // case significant); the name is then unchanged.
  void SetName(const std::string& name);
  std::string SkinData() const { return "Load Skin"; }
  void SetSkinData(const std::string&) {}
  std::int32_t DataSize() const { return static_cast<std::int32_t>(FData.Bytes().size()); }

  core::TMemoryStream& Data() { return FData; }
  // The whole data into dest; the item's own position is kept.
  void CopyData(core::TStream& dest);
  void LoadFromFile(const std::string& fileName);
  std::string GetDisplayName() const override { return Name(); }
  // Name (without the clash test) and a copy of the data from another item.
  void Assign(const core::TPersistent& source) override;
  void DefineProperties(core::TFiler& filer) override;
  void ReadData(core::TStream& stream);
  void WriteData(core::TStream& stream);

 private:
  static const core::TPropInfo kProps[];
  std::string FName;
  bool FNamed = false;
  core::TMemoryStream FData;
};

class TSkinCollection : public core::TCollection {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  explicit TSkinCollection(core::TPersistent* owner)
      : core::TCollection(owner, &core::CreateItemOf<TSkinCollectionItem>) {}
  TSkinCollectionItem& Add() { return static_cast<TSkinCollectionItem&>(core::TCollection::Add()); }
  TSkinCollectionItem& Items(std::int32_t index) const {
    return static_cast<TSkinCollectionItem&>(core::TCollection::Items(index));
  }
};

class TSkinStore : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  explicit TSkinStore(core::TComponent* owner);
  ~TSkinStore() override;
  TSkinCollection* Store() const { return FStore.get(); }
  // Takes over a copy of the items of a non-empty collection.
  void SetStore(TSkinCollection* collection);

 private:
  static const core::TPropInfo kProps[];
  std::unique_ptr<TSkinCollection> FStore;
};

}  // namespace bw::skin
