#include "framework/core/Collection.h"

#include <algorithm>

#include "framework/core/Exceptions.h"
#include "framework/core/Text.h"

namespace bw::core {
namespace {

[[noreturn]] void IndexError(std::int32_t index) {
  throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

}  // namespace

const TClassInfo TCollectionItem::kClass{"TCollectionItem", &TPersistent::kClass, {}, {}};
const TClassInfo TCollection::kClass{"TCollection", &TPersistent::kClass, {}, {}};

TCollectionItem::TCollectionItem(TCollection& collection) : FCollection(&collection) {}

std::int32_t TCollectionItem::Index() const {
  const auto& items = FCollection->FItems;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<std::int32_t>(i);
  return -1;
}

void TCollectionItem::SetIndex(std::int32_t index) {
  const std::int32_t from = Index();
  if (from >= 0 && index != from) FCollection->Move(from, index);
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

TCollection::TCollection(TPersistent* owner, TItemFactory createItem) : FOwner(owner), FCreateItem(createItem) {}

TCollection::~TCollection() = default;

TCollectionItem& TCollection::Add() { return Insert(Count()); }

TCollectionItem& TCollection::Insert(std::int32_t index) {
  if (index < 0 || index > Count()) IndexError(index);
  std::unique_ptr<TCollectionItem> item = FCreateItem(*this);
  item->FID = FNextID++;
  TCollectionItem& ref = *item;
  FItems.insert(FItems.begin() + index, std::move(item));
  Changed();
  return ref;
}

void TCollection::Delete(std::int32_t index) {
  if (index < 0 || index >= Count()) IndexError(index);
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

TCollectionItem& TCollection::Items(std::int32_t index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return *FItems[static_cast<std::size_t>(index)];
}

TCollectionItem* TCollection::FindItemID(std::int32_t id) const {
  for (const auto& item : FItems)
    if (item->FID == id) return item.get();
  return nullptr;
}

void TCollection::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TCollection*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (const auto& item : other->FItems) Add().Assign(*item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) OnChange(this);
}

void TCollection::Move(std::int32_t from, std::int32_t to) {
  if (to < 0 || to >= Count()) IndexError(to);
  std::unique_ptr<TCollectionItem> item = std::move(FItems[static_cast<std::size_t>(from)]);
  FItems.erase(FItems.begin() + from);
  FItems.insert(FItems.begin() + to, std::move(item));
  Changed();
}

}  // namespace bw::core
