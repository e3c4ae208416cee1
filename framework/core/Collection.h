#pragma once
// Collections: an owned, ordered list of items of one class, written into a form
// description as `Prop = <item ... end item ... end>`.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/TypeInfo.h"

namespace bw::core {

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }

  explicit TCollectionItem(TCollection& collection);
  TCollection& Collection() const { return *FCollection; }
  std::int32_t ID() const { return FID; }
  std::int32_t Index() const;
  void SetIndex(std::int32_t index);
  virtual std::string GetDisplayName() const { return ClassName(); }
  TPersistent* GetOwner() const override;

 private:
  friend class TCollection;
  TCollection* FCollection;
  std::int32_t FID = 0;
};

class TCollection : public TPersistent {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }

  using TItemFactory = std::unique_ptr<TCollectionItem> (*)(TCollection&);
  // owner: the persistent object the collection belongs to (may be nullptr).
  TCollection(TPersistent* owner, TItemFactory createItem);
  ~TCollection() override;

  TCollectionItem& Add();
  TCollectionItem& Insert(std::int32_t index);
  void Delete(std::int32_t index);  // raises EListError out of range
  void Clear();
  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  TCollectionItem& Items(std::int32_t index) const;  // raises EListError out of range
  TCollectionItem* FindItemID(std::int32_t id) const;
  // Items copied one by one with their own Assign.
  void Assign(const TPersistent& source) override;
  TPersistent* GetOwner() const override { return FOwner; }

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  friend class TCollectionItem;
  void Move(std::int32_t from, std::int32_t to);

  TPersistent* FOwner;
  TItemFactory FCreateItem;
  std::vector<std::unique_ptr<TCollectionItem>> FItems;
  std::int32_t FNextID = 0;
  std::int32_t FUpdateCount = 0;
};

template <class T>
std::unique_ptr<TCollectionItem> CreateItemOf(TCollection& collection) {
  return std::make_unique<T>(collection);
}

}  // namespace bw::core
