// The intrusive reference count and TRefPtr.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "host/RefCounted.h"

namespace qx {
namespace {

// Two interfaces, a class that implements both and counts its destructions,
// and one that implements only the first.
class IShape : public virtual TRefCounted {};
class INamed : public virtual TRefCounted {};

class TSquare : public IShape, public INamed {
 public:
  explicit TSquare(int* destroyed) : FDestroyed(destroyed) {}
  ~TSquare() override { ++*FDestroyed; }

 private:
  int* FDestroyed;
};

class TCircle : public IShape {};

TEST(RefCountedTest, CopiesCountMovesSelfAssignmentAndAdoptionDoNotAndTheLastReferenceDestroys) {
  int destroyed = 0;
  TRefPtr<TSquare> first = MakeRef<TSquare>(&destroyed);
  {
    TRefPtr<TSquare> second = first;
    TRefPtr<TSquare> moved = std::move(second);
    TRefPtr<TSquare>& alias = moved;
    moved = alias;
    // Detach and Adopt hand a reference over; a raw pointer adds one.
    TRefPtr<IShape> adopted = TRefPtr<IShape>::Adopt(moved.Detach());
    EXPECT_FALSE(moved);
    TRefPtr<IShape> shared(first.Get());
    EXPECT_EQ(first->GetRefCount(), 3);
  }
  EXPECT_EQ(first->GetRefCount(), 1);
  first.Reset();
  EXPECT_EQ(destroyed, 1);
}

TEST(RefCountedTest, InterfacesOfOneObjectShareOneCountAndCompareEqual) {
  int destroyed = 0;
  TRefPtr<IShape> shape = MakeRef<TSquare>(&destroyed);
  TRefPtr<INamed> named = RefCast<INamed>(shape);
  ASSERT_TRUE(named);
  EXPECT_EQ(named->GetRefCount(), 2);
  // Different interface pointers, one object.
  EXPECT_TRUE(shape == named);
  EXPECT_EQ(std::hash<TRefPtr<IShape>>{}(shape), std::hash<TRefPtr<INamed>>{}(named));
  shape.Reset();
  EXPECT_EQ(destroyed, 0);
  named.Reset();
  EXPECT_EQ(destroyed, 1);

  TRefPtr<IShape> circle = MakeRef<TCircle>();
  EXPECT_FALSE(RefCast<INamed>(circle));
  EXPECT_EQ(circle->GetRefCount(), 1);  // a failed cast keeps no reference
  EXPECT_FALSE(RefCast<INamed>(TRefPtr<IShape>()));
}

TEST(RefCountedThreadedTest, ConcurrentCopiesDestroyExactlyOnce) {
  int destroyed = 0;
  for (int round = 0; round < 10; ++round) {
    TRefPtr<IShape> shared = MakeRef<TSquare>(&destroyed);
    std::vector<std::jthread> threads;
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([copy = shared] {
        for (int i = 0; i < 2000; ++i) {
          TRefPtr<IShape> local = copy;
          EXPECT_TRUE(RefCast<INamed>(local));
        }
      });
    }
    shared.Reset();  // the threads now hold the last references
    threads.clear();
    EXPECT_EQ(destroyed, round + 1);
  }
}

}  // namespace
}  // namespace qx
