#pragma once
// Components: named objects owned by an owner that frees them, with free
// notification, a loading state while their form is read, and Loaded afterwards.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/TypeInfo.h"

namespace bw::core {

enum class TComponentStateFlag : std::uint8_t { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateFlag>;

enum class TOperation : std::uint8_t { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }

  explicit TComponent(TComponent* owner);
  // Frees the owned components, last first; tells every component that asked for
  // free notification; leaves the owner's list.
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or that another
  // component of the same owner already has (letter case ignored).
  virtual void SetName(const std::string& name);
  std::int32_t Tag() const { return FTag; }
  void SetTag(std::int32_t tag) { FTag = tag; }

  std::int32_t ComponentCount() const { return static_cast<std::int32_t>(FComponents.size()); }
  TComponent* Components(std::int32_t index) const;  // raises EListError out of range
  std::int32_t ComponentIndex() const;                // position in the owner's list, -1 without owner
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent& component);
  void RemoveComponent(TComponent& component);

  // Both sides are told with Notification(opRemove) when the other is freed.
  void FreeNotification(TComponent& component);
  void RemoveFreeNotification(TComponent& component);

  TComponentState ComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState.Contains(TComponentStateFlag::csLoading); }
  bool IsReading() const { return FComponentState.Contains(TComponentStateFlag::csReading); }
  bool IsDestroying() const { return FComponentState.Contains(TComponentStateFlag::csDestroying); }
  // Designing never holds at run time; there is no designer.
  bool IsDesigning() const { return false; }
  // Marks this component and its owned ones as being destroyed. Destructors of derived
  // classes that tear down state others may look at call it first.
  void Destroying();

  // Form streaming. The reader sets the states; Loaded clears csLoading.
  void SetComponentState(TComponentStateFlag flag, bool on);
  virtual void Loaded();
  // The component under which this one is nested in a form description (a control's
  // parent); nullptr when it hangs under the root.
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent);
  // The components nested under this one when root is written, in order. The root's
  // default lists the owned components without another parent component.
  virtual void GetChildren(const std::function<void(TComponent&)>& visit, TComponent& root);

 protected:
  virtual void Notification(TComponent& component, TOperation operation);

 private:
  static const TPropInfo kProps[];
  void Insert(TComponent& component);
  void Remove(TComponent& component);

  TComponent* FOwner = nullptr;
  std::string FName;
  std::int32_t FTag = 0;
  std::vector<TComponent*> FComponents;     // owned
  std::vector<TComponent*> FFreeNotifies;  // not owned; the link goes both ways
  TComponentState FComponentState;
};

}  // namespace bw::core
