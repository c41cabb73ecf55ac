// TZTOperationList: first in, first out, with PushBack jumping the queue.
#include <gtest/gtest.h>

#include <vector>

#include "packages/zenthic/ZTOperationList.h"

namespace qx {
namespace {

class TTagged : public TFBNotifyOperation {
 public:
  explicit TTagged(int tag) : Tag(tag) {}
  const int Tag;
};

TFBOperationPtr Tagged(int tag) { return MakeRef<TTagged>(tag); }

// Pops until empty and lists the tags in the order taken.
std::vector<int> Drain(TZTOperationList& list) {
  std::vector<int> tags;
  while (TFBOperationPtr operation = list.Pop()) tags.push_back(RefCast<TTagged>(operation)->Tag);
  return tags;
}

TEST(OperationList, TakesInArrivalOrderWithPutBacksFirstLatestPutBackFirst) {
  TZTOperationList list;
  EXPECT_EQ(list.Pop(), nullptr);
  list.Push(Tagged(1));
  list.Push(Tagged(2), false);
  list.PushBack(Tagged(3));
  list.PushBack(Tagged(4));
  list.Push(Tagged(5));
  list.Push(Tagged(6), true);
  EXPECT_EQ(list.GetCount(), 6u);
  EXPECT_EQ(Drain(list), (std::vector<int>{6, 4, 3, 1, 2, 5}));
  EXPECT_TRUE(list.IsEmpty());
}

TEST(OperationList, PopThenPushBackGivesTheSameOperationNext) {
  TZTOperationList list;
  list.Push(Tagged(1));
  list.Push(Tagged(2));
  TFBOperationPtr first = list.Pop();
  list.PushBack(first);
  EXPECT_EQ(list.Pop(), first);
  EXPECT_EQ(Drain(list), (std::vector<int>{2}));
}

TEST(OperationList, RefusesNullAndClearReleasesEverything) {
  TZTOperationList list;
  EXPECT_FALSE(list.Push(nullptr));
  EXPECT_FALSE(list.PushBack(nullptr));
  EXPECT_TRUE(list.IsEmpty());

  TFBOperationPtr kept = Tagged(7);
  list.Push(kept);
  list.PushBack(kept);
  EXPECT_EQ(kept->GetRefCount(), 3);
  list.Clear();
  EXPECT_EQ(kept->GetRefCount(), 1);
  EXPECT_EQ(list.Pop(), nullptr);
  list.Push(Tagged(8));
  EXPECT_EQ(Drain(list), (std::vector<int>{8}));
}

}  // namespace
}  // namespace qx
