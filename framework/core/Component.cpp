#include "framework/core/Component.h"

#include <algorithm>

#include "framework/core/Exceptions.h"
#include "framework/core/Text.h"

namespace bw::core {

const TPropInfo TComponent::kProps[] = {
    StrProp<&TComponent::FName, &TComponent::SetName>("Name"),
    IntProp<&TComponent::FTag, &TComponent::FTag>("Tag", 0),
};
const TClassInfo TComponent::kClass{"TComponent", &TPersistent::kClass, kProps, {},
                                    &CreateComponentOf<TComponent>};

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(*this);
}

TComponent::~TComponent() {
  Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& back = other->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(*this, TOperation::opRemove);
  }
  while (!FComponents.empty()) {
    TComponent* child = FComponents.back();
    FComponents.pop_back();
    child->FOwner = nullptr;
    delete child;
  }
  if (FOwner != nullptr) FOwner->RemoveComponent(*this);
}

void TComponent::Destroying() {
  if (IsDestroying()) return;
  FComponentState.Include(TComponentStateFlag::csDestroying);
  for (TComponent* child : FComponents) child->Destroying();
}

TComponent* TComponent::Components(std::int32_t index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return FComponents[static_cast<std::size_t>(index)];
}

std::int32_t TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  const auto& list = FOwner->FComponents;
  return static_cast<std::int32_t>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, name)) return c;
  return nullptr;
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (FOwner != nullptr && !name.empty()) {
    const TComponent* other = FOwner->FindComponent(name);
    if (other != nullptr && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
  FName = name;
}

void TComponent::InsertComponent(TComponent& component) {
  if (component.FOwner != nullptr) component.FOwner->RemoveComponent(component);
  if (!component.FName.empty() && FindComponent(component.FName) != nullptr)
    throw EComponentError("A component named " + component.FName + " already exists");
  Insert(component);
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent& component) {
  if (component.FOwner != this) return;
  Notification(component, TOperation::opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent& component) {
  FComponents.push_back(&component);
  component.FOwner = this;
}

void TComponent::Remove(TComponent& component) {
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), &component), FComponents.end());
  component.FOwner = nullptr;
}

void TComponent::FreeNotification(TComponent& component) {
  if (&component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), &component) == FFreeNotifies.end())
    FFreeNotifies.push_back(&component);
  auto& back = component.FFreeNotifies;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent& component) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), &component), FFreeNotifies.end());
  auto& back = component.FFreeNotifies;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Notification(TComponent& component, TOperation operation) {
  if (operation == TOperation::opRemove) RemoveFreeNotification(component);
  // A handler may free components of this one; walk a snapshot and skip the gone.
  const std::vector<TComponent*> snapshot = FComponents;
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
    if (std::find(FComponents.begin(), FComponents.end(), *it) != FComponents.end())
      (*it)->Notification(component, operation);
}

void TComponent::SetComponentState(TComponentStateFlag flag, bool on) {
  if (flag == TComponentStateFlag::csDesigning) return;
  if (on) FComponentState.Include(flag);
  else FComponentState.Exclude(flag);
}

void TComponent::Loaded() { FComponentState.Exclude(TComponentStateFlag::csLoading); }

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(const std::function<void(TComponent&)>& visit, TComponent& root) {
  if (&root != this) return;
  const std::vector<TComponent*> snapshot = FComponents;
  for (TComponent* c : snapshot) {
    const TComponent* parent = c->GetParentComponent();
    if (parent == nullptr || parent == this) visit(*c);
  }
}

}  // namespace bw::core
