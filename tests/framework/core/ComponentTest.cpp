#include "framework/core/Component.h"

#include <gtest/gtest.h>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "tests/framework/core/TestClasses.h"

namespace bw::core::test {
namespace {

// Counts its destructions and the removals it is told about.
class TWatcher : public TComponent {
 public:
  TWatcher(TComponent* owner, std::vector<std::string>& log) : TComponent(owner), FLog(log) {}
  ~TWatcher() override { FLog.push_back("~" + Name()); }

 protected:
  void Notification(TComponent& component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove) FLog.push_back(Name() + " told " + component.Name());
  }

 private:
  std::vector<std::string>& FLog;
};

TEST(Component, OwnerFreesOwnedComponentsLastFirst) {
  std::vector<std::string> log;
  {
    TWatcher owner(nullptr, log);
    owner.SetName("Owner");
    auto* a = new TWatcher(&owner, log);
    a->SetName("A");
    auto* b = new TWatcher(&owner, log);
    b->SetName("B");
    auto* bChild = new TWatcher(b, log);
    bChild->SetName("BChild");
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(owner.FindComponent("b"), b);
    EXPECT_EQ(owner.FindComponent("BChild"), nullptr);  // only direct components
    EXPECT_THROW(owner.Components(2), EListError);
    log.clear();
  }
  const std::vector<std::string> expected = {"~Owner", "~B", "~BChild", "~A"};
  EXPECT_EQ(log, expected);
}

TEST(Component, FreeingAnOwnedComponentLeavesItsOwner) {
  std::vector<std::string> log;
  TWatcher owner(nullptr, log);
  owner.SetName("Owner");
  auto* a = new TWatcher(&owner, log);
  a->SetName("A");
  auto* b = new TWatcher(&owner, log);
  b->SetName("B");
  log.clear();
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  // The owner and its other components hear of the removal.
  EXPECT_NE(std::find(log.begin(), log.end(), "Owner told A"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "B told A"), log.end());
}

TEST(Component, FreeNotificationWorksBothWaysAndCanBeWithdrawn) {
  std::vector<std::string> log;
  auto* x = new TWatcher(nullptr, log);
  x->SetName("X");
  auto* y = new TWatcher(nullptr, log);
  y->SetName("Y");
  auto* z = new TWatcher(nullptr, log);
  z->SetName("Z");
  x->FreeNotification(*y);
  x->FreeNotification(*z);
  x->RemoveFreeNotification(*z);
  delete y;  // x hears, as the link goes both ways
  EXPECT_NE(std::find(log.begin(), log.end(), "X told Y"), log.end());
  log.clear();
  delete x;  // nobody left to tell: z withdrew, y is gone
  EXPECT_EQ(log, std::vector<std::string>{"~X"});
  delete z;
}

TEST(Component, NamesAreIdentifiersUniqueAmongSiblings) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName("Button1");
  auto* b = new TComponent(&owner);
  EXPECT_THROW(b->SetName("BUTTON1"), EComponentError);
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  EXPECT_EQ(b->Name(), "");
  b->SetName("_b2");
  a->SetName("button1");  // its own name in another case is no clash
  EXPECT_EQ(a->Name(), "button1");
  // Moving a component under an owner that already has its name is refused.
  TComponent other(nullptr);
  auto* c = new TComponent(&other);
  c->SetName("_B2");
  EXPECT_THROW(owner.InsertComponent(*c), EComponentError);
  EXPECT_EQ(c->Owner(), nullptr);
  delete c;
}

TEST(Component, StateFollowsLoadingAndDestroying) {
  auto* owner = new TComponent(nullptr);
  auto* child = new TComponent(owner);
  owner->SetComponentState(TComponentStateFlag::csLoading, true);
  owner->SetComponentState(TComponentStateFlag::csDesigning, true);
  EXPECT_TRUE(owner->IsLoading());
  EXPECT_FALSE(owner->IsDesigning());
  EXPECT_FALSE(owner->ComponentState().Contains(TComponentStateFlag::csDesigning));
  owner->Loaded();
  EXPECT_FALSE(owner->IsLoading());
  owner->Destroying();
  EXPECT_TRUE(child->IsDestroying());
  delete owner;
}

TEST(Component, RegistryCreatesByNameIgnoringCase) {
  RegisterTestClasses();
  RegisterTestClasses();  // again: harmless
  TComponent owner(nullptr);
  TComponent* c = CreateComponent("ttestbutton", &owner);
  EXPECT_EQ(c->ClassName(), "TTestButton");
  EXPECT_EQ(c->Owner(), &owner);
  EXPECT_THROW(CreateComponent("TMissing", &owner), EClassNotFound);
  static const TClassInfo kImpostor{"TTestButton", &TComponent::kClass, {}, {}, &CreateComponentOf<TComponent>};
  EXPECT_THROW(RegisterComponentClass(kImpostor), EFilerError);
  EXPECT_THROW(RegisterComponentClass(TPersistent::kClass), EFilerError);  // cannot be created
}

TEST(Collection, ItemsKeepTheirIdsAndCopyByAssign) {
  TCollection panels(nullptr, &CreateItemOf<TTestItem>);
  int changes = 0;
  panels.OnChange = [&](TObject*) { ++changes; };
  auto& first = dynamic_cast<TTestItem&>(panels.Add());
  first.FText = "first";
  panels.Add();
  panels.Delete(1);
  auto& third = dynamic_cast<TTestItem&>(panels.Add());
  EXPECT_EQ(third.ID(), 2);  // IDs are not reused
  EXPECT_EQ(panels.FindItemID(1), nullptr);
  EXPECT_EQ(panels.FindItemID(2), &third);
  third.SetIndex(0);
  EXPECT_EQ(third.Index(), 0);
  EXPECT_EQ(first.Index(), 1);
  EXPECT_EQ(first.GetOwner(), &panels);
  EXPECT_EQ(changes, 5);  // three adds, a delete, a move
  EXPECT_THROW(panels.Items(2), EListError);
  EXPECT_THROW(panels.Insert(5), EListError);

  TCollection copy(nullptr, &CreateItemOf<TTestItem>);
  copy.OnChange = [&](TObject*) { ++changes; };
  copy.Assign(panels);
  EXPECT_EQ(changes, 6);  // one change for the whole copy
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(dynamic_cast<TTestItem&>(copy.Items(1)).FText, "first");

  TStringList notACollection;
  try {
    copy.Assign(notACollection);
    ADD_FAILURE() << "assigned a string list to a collection";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TStringList to a TCollection");
  }
  EXPECT_EQ(copy.Count(), 2);
}

}  // namespace
}  // namespace bw::core::test
