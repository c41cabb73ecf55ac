// The intrusive reference count and TRefPtr.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "host/RefCounted.h"

namespace qx {
namespace {

class IShape : public virtual TRefCounted {
 public:
  virtual int Area() const = 0;
};

class INamed : public virtual TRefCounted {
 public:
  virtual const char* Name() const = 0;
};

// Implements two interfaces; counts its destructions.
class TSquare : public IShape, public INamed {
 public:
  explicit TSquare(int* destroyed) : FDestroyed(destroyed) {}
  ~TSquare() override { ++*FDestroyed; }
  int Area() const override { return 1; }
  const char* Name() const override { return "square"; }

 private:
  int* FDestroyed;
};

class TCircle : public IShape {
 public:
  int Area() const override { return 3; }
};

TEST(RefCountedTest, CopiesCountMovesAndSelfAssignmentDoNotAndTheLastReferenceDestroys) {
  int destroyed = 0;
  TRefPtr<TSquare> first = MakeRef<TSquare>(&destroyed);
  {
    TRefPtr<TSquare> second = first;
    EXPECT_EQ(first->GetRefCount(), 2);
    TRefPtr<TSquare> moved = std::move(second);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(first->GetRefCount(), 2);
    TRefPtr<TSquare>& alias = moved;
    moved = alias;
    EXPECT_EQ(first->GetRefCount(), 2);
  }
  EXPECT_EQ(first->GetRefCount(), 1);
  EXPECT_EQ(destroyed, 0);
  first.Reset();
  EXPECT_EQ(destroyed, 1);
}

TEST(RefCountedTest, InterfacesOfOneObjectShareOneCountAndCompareEqual) {
  int destroyed = 0;
  TRefPtr<IShape> shape = MakeRef<TSquare>(&destroyed);
  TRefPtr<INamed> named = RefCast<INamed>(shape);
  ASSERT_TRUE(named);
  EXPECT_STREQ(named->Name(), "square");
  EXPECT_EQ(named->GetRefCount(), 2);
  // Different interface pointers, one object.
  EXPECT_NE(static_cast<const void*>(shape.Get()), static_cast<const void*>(named.Get()));
  EXPECT_TRUE(shape == named);
  EXPECT_EQ(std::hash<TRefPtr<IShape>>{}(shape), std::hash<TRefPtr<INamed>>{}(named));
  shape.Reset();
  EXPECT_EQ(destroyed, 0);
  named.Reset();
  EXPECT_EQ(destroyed, 1);

  TRefPtr<IShape> circle = MakeRef<TCircle>();
  EXPECT_FALSE(RefCast<INamed>(circle));
  EXPECT_FALSE(RefCast<TSquare>(circle));
  EXPECT_TRUE(RefCast<TCircle>(circle));
  EXPECT_EQ(circle->GetRefCount(), 1);  // failed casts keep no reference
  EXPECT_FALSE(RefCast<INamed>(TRefPtr<IShape>()));
}

TEST(RefCountedTest, DetachAndAdoptHandOverAReferenceWithoutCounting) {
  int destroyed = 0;
  TRefPtr<TSquare> square = MakeRef<TSquare>(&destroyed);
  TSquare* raw = square.Detach();
  EXPECT_FALSE(square);
  TRefPtr<IShape> adopted = TRefPtr<IShape>::Adopt(raw);
  EXPECT_EQ(adopted->GetRefCount(), 1);
  TRefPtr<IShape> shared(raw);  // from a raw pointer: adds a reference
  EXPECT_EQ(adopted->GetRefCount(), 2);
  adopted.Reset();
  shared.Reset();
  EXPECT_EQ(destroyed, 1);
}

TEST(RefCountedThreadedTest, ConcurrentCopiesDestroyExactlyOnce) {
  int destroyed = 0;
  for (int round = 0; round < 20; ++round) {
    TRefPtr<IShape> shared = MakeRef<TSquare>(&destroyed);
    std::vector<std::jthread> threads;
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([copy = shared] {
        for (int i = 0; i < 2000; ++i) {
          TRefPtr<IShape> local = copy;
          TRefPtr<INamed> other = RefCast<INamed>(local);
          EXPECT_EQ(local->Area(), 1);
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
