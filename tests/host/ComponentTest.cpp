// Owner tree, names, state and free-notification of TComponent.
#include <gtest/gtest.h>

#include <memory>

#include "TestClasses.h"
#include "host/Exceptions.h"

namespace qx::test {
namespace {

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { EventLog().clear(); }
};

std::pair<std::string, TOperation> Note(const std::string& name, TOperation operation) {
  return {name, operation};
}

TEST_F(ComponentTest, OwnerIsToldOfChangesAndDestroysOwnedComponentsLastCreatedFirst) {
  {
    TTestForm form;
    TTestWidget* owner = NewWidget(&form, "Owner");
    NewWidget(owner, "A");
    delete NewWidget(owner, "B");
    NewWidget(owner, "C");
    ASSERT_EQ(owner->GetComponentCount(), 2);
    EXPECT_EQ(owner->GetComponent(1)->GetName(), "C");
    // Insertion is reported from the base constructor, before the name is set.
    ASSERT_EQ(owner->FNotifications.size(), 4u);
    EXPECT_EQ(owner->FNotifications[0], Note("", opInsert));
    EXPECT_EQ(owner->FNotifications[2], Note("B", opRemove));
    NewWidget(&form, "Last");
    EventLog().clear();
  }
  // Each component is marked as being destroyed before its destructor runs; an
  // owner's own destructor ends before the base destroys what it owns.
  const std::vector<std::string> expected = {"destroy Last (destroying)",
                                             "destroy Owner (destroying)", "destroy C (destroying)",
                                             "destroy A (destroying)"};
  EXPECT_EQ(EventLog(), expected);
}

TEST_F(ComponentTest, InsertComponentMovesOwnershipAndRefusesCycles) {
  TTestForm first, second;
  TTestWidget* widget = NewWidget(&first, "Widget");
  TTestWidget* inner = NewWidget(widget, "Inner");
  second.InsertComponent(*widget);
  EXPECT_EQ(first.GetComponentCount(), 0);
  EXPECT_EQ(second.FindComponent("widget"), widget);

  EXPECT_THROW(inner->InsertComponent(*widget), EComponentError);
  // A name already taken in the new owner keeps the component where it was.
  NewWidget(&first, "Widget");
  EXPECT_THROW(first.InsertComponent(*widget), EComponentError);
  EXPECT_EQ(widget->GetOwner(), &second);

  second.RemoveComponent(*widget);
  EXPECT_EQ(widget->GetOwner(), nullptr);
  std::unique_ptr<TTestWidget> released(widget);  // the caller owns it now
}

TEST_F(ComponentTest, NamesMustBeIdentifiersUniqueAmongSiblingsIgnoringCase) {
  TTestForm form;
  TTestWidget* a = NewWidget(&form, "Display1");
  for (const char* bad : {"1Display", "Dis-play", "Ärger"}) {
    EXPECT_THROW(a->SetName(bad), EComponentError) << bad;
  }
  EXPECT_EQ(a->GetName(), "Display1");

  TTestWidget* b = NewWidget(&form, "_second2");
  EXPECT_THROW(b->SetName("DISPLAY1"), EComponentError);
  EXPECT_EQ(b->GetName(), "_second2");
  a->SetName("DISPLAY1");  // its own name in another case is no clash
  EXPECT_EQ(form.FindComponent("display1"), a);

  // Unnamed components do not clash, and are never found by name.
  NewWidget(&form, "");
  NewWidget(&form, "");
  EXPECT_EQ(form.FindComponent(""), nullptr);
}

TEST_F(ComponentTest, FreeNotificationWorksWhicheverGoesFirst) {
  TTestForm form;
  TTestWidget* watcher = NewWidget(&form, "Watcher");
  TTestWidget* watched = NewWidget(&form, "Watched");
  watcher->FreeNotification(*watched);
  watcher->FNotifications.clear();
  delete watched;
  EXPECT_EQ(watcher->FNotifications, (std::vector{Note("Watched", opRemove)}));

  // The other way round: the watcher goes first and the watched one must not
  // call it afterwards (AddressSanitizer would catch the use after free).
  TTestWidget* second = NewWidget(&form, "Second");
  TTestWidget* watcher2 = NewWidget(&form, "Watcher2");
  watcher2->FreeNotification(*second);
  second->FNotifications.clear();
  delete watcher2;
  EXPECT_EQ(second->FNotifications, (std::vector{Note("Watcher2", opRemove)}));
}

TEST_F(ComponentTest, ComponentLinkDropsDestroyedComponent) {
  TTestForm form;
  TTestWidget* target = NewWidget(&form, "Target");
  TComponentLink<TTestWidget> link(target);
  int freed = 0;
  link.OnFree = [&] {
    ++freed;
    EXPECT_EQ(link.Get(), nullptr);
  };
  delete target;
  EXPECT_EQ(link.Get(), nullptr);
  EXPECT_EQ(freed, 1);

  // Retargeting unregisters from the previous component.
  TTestWidget* first = NewWidget(&form, "First");
  TTestWidget* second = NewWidget(&form, "Second");
  link.Set(first);
  link.Set(second);
  delete first;
  EXPECT_EQ(link.Get(), second);
  EXPECT_EQ(freed, 1);
}

}  // namespace
}  // namespace qx::test
