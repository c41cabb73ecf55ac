// The property value types: setters signal real changes only and apply their
// limits, Assign follows its matrix (signals included) and refuses unrelated
// sources, and a refused lock changes nothing.
#include <gtest/gtest.h>

#include <thread>

#include "host/Exceptions.h"
#include "streams/QXAspectRatio.h"
#include "streams/QXRegionProperties.h"
#include "streams/QXSizeProperties.h"
#include "streams/QXVideoFormatProperties.h"
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

  TQXAspectRatio ratio(nullptr, signals.Lock, signals.Notify());
  ratio.SetMode(arAuto);  // unchanged
  ratio.SetWidth(4);
  ratio.SetMode(arCustom);
  ratio.SetHeight(9);
  EXPECT_EQ(signals.Count, 3);

  TQXMaskSize mask(nullptr, signals.Lock, signals.Notify());
  mask.SetWidth(0);  // never zero
  mask.SetHeight(0);
  mask.SetWidth(1);
  EXPECT_EQ(mask.GetSize().width, 1);
  EXPECT_EQ(mask.GetSize().height, 1);
  EXPECT_EQ(signals.Count, 5);

  TQXIntegerSize integer(nullptr, signals.Lock, signals.Notify());
  integer.SetWidth(-5);  // never below one
  integer.SetHeight(0);
  EXPECT_EQ(integer.GetSize().width, 1);
  EXPECT_EQ(integer.GetSize().height, 1);
  EXPECT_EQ(signals.Count, 7);
  EXPECT_TRUE(signals.AllUnderLock);

  TQXSize zeroAllowed(nullptr, nullptr, {}, true);
  zeroAllowed.SetWidth(0);
  EXPECT_EQ(zeroAllowed.GetWidth(), 0);

  // The video format signals through its virtual Notify.
  class TSignalledFormat : public TQXOptionalVideoFormat {
   public:
    using TQXOptionalVideoFormat::TQXOptionalVideoFormat;
    int Signals = 0;

   protected:
    void Notify() override { ++Signals; }
  };
  TSignalledFormat format(nullptr, FBCreateLock());
  format.SetVideoFormat(vfRGB24);  // unchanged
  format.SetAutoSelect(true);
  format.SetVideoFormat(vfGrayScale);
  format.SetAutoSelect(false);
  EXPECT_EQ(format.Signals, 2);
}

TEST(PropertyValues, AssignCopiesWithoutTheLimitsAndSignalsAsEachTypeDocuments) {
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
  EXPECT_EQ(video.GetHeight(), 240u);
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
  EXPECT_EQ(even.GetHeight(), 360u);

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
  TQXIntegerSize tall(nullptr, nullptr);
  tall.SetHeight(70000);
  integer.Assign(tall);
  EXPECT_EQ(integer.GetSize().width, 50);
  EXPECT_EQ(integer.GetSize().height, 70000);
  EXPECT_EQ(signals.Count, 3);

  // Regions copy level by level, signalling after each; a point signals once.
  TQXOptionalRectRegion source(nullptr, nullptr);
  source.SetEnabled(true);
  source.SetLeft(10);
  source.SetTop(20);
  source.SetWidth(300);
  source.SetHeight(200);
  TQXOptionalRectRegion copy(nullptr, signals.Lock, signals.Notify());
  copy.Assign(source);
  EXPECT_TRUE(copy.GetEnabled());
  EXPECT_EQ(copy.GetTop(), 20);
  EXPECT_EQ(copy.GetWidth(), 300);
  EXPECT_EQ(signals.Count, 6);
  TQXRectRegion region(nullptr, signals.Lock, signals.Notify());
  region.Assign(source);
  EXPECT_EQ(region.GetLeft(), 10);
  EXPECT_EQ(region.GetHeight(), 200);
  EXPECT_EQ(signals.Count, 8);
  copy.Assign(wide);  // from a size only the size is taken
  EXPECT_TRUE(copy.GetEnabled());
  EXPECT_EQ(copy.GetLeft(), 10);
  EXPECT_EQ(copy.GetWidth(), 65535);
  EXPECT_EQ(signals.Count, 9);
  TQXPoint point(nullptr, signals.Lock, signals.Notify());
  TQXPoint corner(nullptr, nullptr);
  corner.SetX(65535);
  corner.SetY(12);
  point.Assign(corner);
  EXPECT_EQ(point.GetX(), 65535);
  EXPECT_EQ(point.GetY(), 12);
  EXPECT_EQ(signals.Count, 10);
  EXPECT_TRUE(signals.AllUnderLock);

  TQXVideoFormatSettings settings(nullptr, nullptr), other(nullptr, nullptr);
  other.SetFormat(vfYUY2);
  other.SetAutoSelect(true);
  settings.Assign(other);
  EXPECT_EQ(settings.GetFormat(), vfYUY2);
  EXPECT_TRUE(settings.GetAutoSelect());
}

TEST(PropertyValues, AssignFromAnUnrelatedPersistentRaisesAndChangesNothing) {
  TSignals signals;
  TQXOptionalRectRegion region(nullptr, signals.Lock, signals.Notify());
  TQXPoint point(nullptr, nullptr);
  point.SetX(3);
  try {
    region.Assign(point);
    FAIL() << "no EAssignError";
  } catch (const EAssignError& error) {
    EXPECT_STREQ(error.what(), "Cannot assign a TQXPoint to a TQXOptionalRectRegion");
  }
  EXPECT_EQ(region.GetLeft(), 0);
  EXPECT_EQ(signals.Count, 0);
  EXPECT_FALSE(signals.Lock->IsHeldByCurrentThread());

  TQXVideoFormatSettings settings(nullptr, nullptr);
  TQXVideoSize videoSize(nullptr, nullptr);
  TQXSize size(nullptr, nullptr, {}, false);
  EXPECT_THROW(settings.Assign(TQXOptionalVideoFormat(nullptr, nullptr)), EAssignError);
  EXPECT_THROW(videoSize.Assign(size), EAssignError);
  EXPECT_THROW(size.Assign(videoSize), EAssignError);
  EXPECT_THROW(point.Assign(region), EAssignError);
  EXPECT_THROW(TQXIntegerSize(nullptr, nullptr).Assign(point), EAssignError);
}

TEST(PropertyValues, NothingChangesOrSignalsOnceTheOwnerIsBeingDestroyed) {
  TSignals signals;
  TQXOptionalRectRegion region(nullptr, signals.Lock, signals.Notify());
  TQXOptionalVideoSize videoSize(nullptr, signals.Lock, signals.Handler<TQXVideoSize>());
  TQXVideoFormatSettings settings(nullptr, signals.Lock);
  TQXOptionalRectRegion otherRegion(nullptr, nullptr);
  otherRegion.SetLeft(5);
  TQXOptionalVideoSize otherSize(nullptr, nullptr);
  otherSize.SetWidth(64);
  otherSize.SetCurrent(false);
  TQXVideoFormatSettings otherSettings(nullptr, nullptr);
  otherSettings.SetAutoSelect(true);

  std::thread([&] { signals.Lock->BeginDestroy(); }).join();
  region.SetEnabled(true);
  region.Assign(otherRegion);
  videoSize.SetCurrent(false);
  videoSize.Assign(otherSize);
  settings.SetFormat(vfRGB565);
  settings.Assign(otherSettings);

  EXPECT_EQ(signals.Count, 0);
  EXPECT_FALSE(region.GetEnabled());
  EXPECT_EQ(region.GetLeft(), 0);
  EXPECT_TRUE(videoSize.GetCurrent());
  EXPECT_EQ(videoSize.GetWidth(), 320u);
  EXPECT_EQ(settings.GetFormat(), vfRGBA32);
  EXPECT_FALSE(settings.GetAutoSelect());
}

}  // namespace
}  // namespace qx
