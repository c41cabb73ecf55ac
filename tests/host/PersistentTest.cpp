// Assign / AssignTo and collections.
#include <gtest/gtest.h>

#include "TestClasses.h"
#include "host/Exceptions.h"

namespace qx::test {
namespace {

TEST(PersistentTest, AssignCopiesFromTheSameClassAndFromDescendants) {
  TTestSize source;
  source.FWidth = 7;
  source.FHeight = 9;
  TTestSize destination;
  destination.Assign(source);
  EXPECT_EQ(destination.FWidth, 7);
  EXPECT_EQ(destination.FHeight, 9);

  TTestWideSize wide;
  wide.FWidth = 640;
  destination.Assign(wide);
  EXPECT_EQ(destination.FWidth, 640);
}

TEST(PersistentTest, SourceThatKnowsTheDestinationCopiesItselfThroughAssignTo) {
  TTestPoint point;
  point.FX = 3;
  point.FY = 4;
  TTestSize size;
  size.Assign(point);
  EXPECT_EQ(size.FWidth, 3);
  EXPECT_EQ(size.FHeight, 4);
}

TEST(PersistentTest, IncompatibleSourceRaisesTheAssignmentErrorNamingBothClasses) {
  TTestSize size;
  TTestPoint point;
  try {
    point.Assign(size);
    FAIL() << "no exception";
  } catch (const EAssignError& error) {
    EXPECT_STREQ(error.what(), "Cannot assign a TTestSize to a TTestPoint");
  }
  TTestCaptions captions;
  EXPECT_THROW(size.Assign(captions), EAssignError);
  EXPECT_EQ(size.FWidth, 50);
}

TEST(PersistentTest, ClassNameIsTheMostDerivedDeclaredClass) {
  TTestWideSize wide;
  const TPersistent& asBase = wide;
  EXPECT_EQ(asBase.ClassName(), "TTestWideSize");
  EXPECT_TRUE(asBase.InheritsFrom(TTestSize::StaticClassInfo()));
  EXPECT_TRUE(asBase.InheritsFrom(TPersistent::StaticClassInfo()));
  EXPECT_FALSE(asBase.InheritsFrom(TTestPoint::StaticClassInfo()));
  EXPECT_EQ(TTestWideSize::StaticClassInfo().GetParent(), &TTestSize::StaticClassInfo());
}

TEST(CollectionTest, ItemsKeepTheirOrderAndKnowTheirPosition) {
  TTestCollection items(nullptr);
  for (const char* caption : {"a", "b", "c", "d"}) items.Add().FCaption = caption;
  auto captions = [&] {
    std::string all;
    for (int i = 0; i < items.GetCount(); ++i) all += items.GetItem(i).FCaption;
    return all;
  };
  EXPECT_EQ(captions(), "abcd");
  EXPECT_EQ(items.GetItem(2).GetIndex(), 2);
  EXPECT_EQ(items.GetItem(2).GetCollection(), &items);

  items.GetItem(3).SetIndex(0);
  EXPECT_EQ(captions(), "dabc");
  items.GetItem(0).SetIndex(2);
  EXPECT_EQ(captions(), "abdc");
  items.GetItem(1).SetIndex(99);  // clamped to the end
  EXPECT_EQ(captions(), "adcb");

  items.Delete(1);
  EXPECT_EQ(captions(), "acb");
  EXPECT_THROW(items.Delete(3), EPropertyError);
  EXPECT_THROW(items.GetItem(-1), EPropertyError);
  items.Clear();
  EXPECT_EQ(items.GetCount(), 0);
}

TEST(CollectionTest, AssignReplacesItemsWithCopies) {
  TTestCollection source(nullptr), destination(nullptr);
  source.Add().FCaption = "first";
  source.Add().FSize.FWidth = 11;
  destination.Add().FCaption = "old";

  destination.Assign(source);
  ASSERT_EQ(destination.GetCount(), 2);
  EXPECT_EQ(destination.GetItem(0).FCaption, "first");
  EXPECT_EQ(destination.GetItem(1).FSize.FWidth, 11);
  EXPECT_NE(&destination.GetItem(0), &source.GetItem(0));
}

TEST(CollectionTest, FailedAssignLeavesTheCollectionAsItWas) {
  // Items of a different class refuse each other: nothing may change.
  TCollection points(nullptr, [] { return std::make_unique<TCollectionItem>(); });
  points.Add();
  TTestCollection items(nullptr);
  items.Add().FCaption = "kept";
  EXPECT_THROW(items.Assign(points), EAssignError);
  ASSERT_EQ(items.GetCount(), 1);
  EXPECT_EQ(items.GetItem(0).FCaption, "kept");

  TTestSize size;
  EXPECT_THROW(items.Assign(size), EAssignError);
}

}  // namespace
}  // namespace qx::test
