// The property value types: setters signal real changes only and apply their
// limits, Assign follows its matrix (signals included) and refuses unrelated
// sources, and a refused lock changes nothing.
#include <gtest/gtest.h>

#include <thread>

#include "host/Exceptions.h"
#include "streams/QXRegionProperties.h"
#include "streams/QXSizeProperties.h"
#include "streams/QXVideoSize.h"

namespace qx {
namespace {

// A lock, and the change signals of the objects built with its handlers,
// each checked to arrive under the lock.
struct TSignals {
  TRefPtr<IFBLock> Lock = FBCreateLock();
  int Count = 0;
  bool AllUnderLock = true;

  template <class TSender>
  std::function<void(TSender&)> Handler() {
    return [this](TSender&) {
      ++Count;
      AllUnderLock = AllUnderLock && Lock->IsHeldByCurrentThread();
    };
  }
  auto Notify() { return Handler<TNXLockedPersistentNotify>(); }
};

TEST(PropertyValues, SettersApplyTheirLimitsAndSignalOnlyRealChanges) {
  TSignals signals;
  TQXOptionalVideoSize video(nullptr, signals.Lock, signals.Handler<TQXVideoSize>());
  video.SetWidth(320);      // unchanged
  video.SetCurrent(false);  // Current never signals
  video.SetWidth(640);
  EXPECT_EQ(signals.Count, 1);

  TQXMaskSize mask(nullptr, signals.Lock, signals.Notify());
  mask.SetWidth(0);  // never zero
  mask.SetWidth(1);  // so this changes nothing
  EXPECT_EQ(mask.GetSize().width, 1);
  EXPECT_EQ(signals.Count, 2);

  TQXIntegerSize integer(nullptr, signals.Lock, signals.Notify());
  integer.SetHeight(-5);  // never below one
  EXPECT_EQ(integer.GetSize().height, 1);
  EXPECT_EQ(signals.Count, 3);
  EXPECT_TRUE(signals.AllUnderLock);
}

TEST(PropertyValues, AssignCopiesWithoutTheLimitsSignalsAsEachTypeDocumentsAndRefusesOthers) {
  TSignals signals;
  // Video sizes: Current only from an optional size; one signal per changed value.
  TQXOptionalVideoSize video(nullptr, signals.Lock, signals.Handler<TQXVideoSize>());
  video.SetCurrent(false);
  TQXOptionalVideoSize optional(nullptr, nullptr);
  optional.SetHeight(360);
  video.Assign(optional);
  EXPECT_TRUE(video.GetCurrent());
  EXPECT_EQ(video.GetHeight(), 360u);
  EXPECT_EQ(signals.Count, 1);
  video.SetCurrent(false);
  video.Assign(TQXVideoSize(nullptr, nullptr));
  EXPECT_FALSE(video.GetCurrent());
  EXPECT_EQ(signals.Count, 2);

  // Assign goes through the virtual setters: a derived size keeps its limits.
  class TEvenVideoSize : public TQXVideoSize {
   public:
    using TQXVideoSize::TQXVideoSize;
    void SetWidth(std::uint32_t value) override { TQXVideoSize::SetWidth(value & ~1u); }
  };
  TEvenVideoSize even(nullptr, nullptr);
  optional.SetWidth(721);
  even.Assign(optional);
  EXPECT_EQ(even.GetWidth(), 720u);

  // Sizes copy zeros and signal once; an integer size widens and stays silent.
  TQXSize zero(nullptr, nullptr, {}, true);
  zero.SetWidth(0);
  TQXMaskSize mask(nullptr, signals.Lock, signals.Notify());
  mask.Assign(zero);
  EXPECT_EQ(mask.GetSize().width, 0);
  EXPECT_EQ(mask.GetSize().height, 50);
  EXPECT_EQ(signals.Count, 3);
  TQXIntegerSize integer(nullptr, signals.Lock, signals.Notify());
  TQXSize wide(nullptr, nullptr, {}, false);
  wide.SetWidth(65535);
  integer.Assign(wide);
  EXPECT_EQ(integer.GetWidth(), 65535);  // not sign-extended
  EXPECT_EQ(signals.Count, 3);

  // Regions copy level by level, signalling after each.
  TQXOptionalRectRegion source(nullptr, nullptr);
  source.SetEnabled(true);
  source.SetTop(20);
  source.SetWidth(300);
  TQXOptionalRectRegion copy(nullptr, signals.Lock, signals.Notify());
  copy.Assign(source);
  EXPECT_TRUE(copy.GetEnabled());
  EXPECT_EQ(copy.GetTop(), 20);
  EXPECT_EQ(copy.GetWidth(), 300);
  EXPECT_EQ(signals.Count, 6);
  copy.Assign(wide);  // from a size only the size is taken
  EXPECT_EQ(copy.GetTop(), 20);
  EXPECT_EQ(copy.GetWidth(), 65535);
  EXPECT_EQ(signals.Count, 7);
  EXPECT_TRUE(signals.AllUnderLock);

  // Any other source is refused, changes nothing and leaves the lock free.
  try {
    copy.Assign(TQXPoint(nullptr, nullptr));
    FAIL() << "no EAssignError";
  } catch (const EAssignError& error) {
    EXPECT_STREQ(error.what(), "Cannot assign a TQXPoint to a TQXOptionalRectRegion");
  }
  EXPECT_EQ(copy.GetWidth(), 65535);
  EXPECT_EQ(signals.Count, 7);
  EXPECT_FALSE(signals.Lock->IsHeldByCurrentThread());
}

TEST(PropertyValues, NothingChangesOrSignalsOnceTheOwnerIsBeingDestroyed) {
  TSignals signals;
  TQXOptionalRectRegion region(nullptr, signals.Lock, signals.Notify());
  TQXOptionalRectRegion otherRegion(nullptr, nullptr);
  otherRegion.SetLeft(5);

  std::thread([&] { signals.Lock->BeginDestroy(); }).join();
  region.SetEnabled(true);
  region.Assign(otherRegion);

  EXPECT_EQ(signals.Count, 0);
  EXPECT_FALSE(region.GetEnabled());
  EXPECT_EQ(region.GetLeft(), 0);
}

}  // namespace
}  // namespace qx
