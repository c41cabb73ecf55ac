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

TEST(PropertyValues, VideoSizeSignalsRealChangesAndAssignsThroughItsVirtualSetters) {
  TSignals signals;
  TQXOptionalVideoSize size(nullptr, signals.Lock, signals.Handler<TQXVideoSize>());
  size.SetWidth(320);
  size.SetCurrent(false);  // Current never signals
  EXPECT_EQ(signals.Count, 0);
  size.SetWidth(640);
  EXPECT_EQ(signals.Count, 1);

  TQXOptionalVideoSize optional(nullptr, FBCreateLock());
  optional.SetWidth(640);
  optional.SetHeight(360);
  size.Assign(optional);  // Current, and only the height differs
  EXPECT_TRUE(size.GetCurrent());
  EXPECT_EQ(size.GetHeight(), 360u);
  EXPECT_EQ(signals.Count, 2);

  size.SetCurrent(false);
  size.Assign(TQXVideoSize(nullptr, nullptr));  // a plain size leaves Current
  EXPECT_FALSE(size.GetCurrent());
  EXPECT_EQ(size.GetWidth(), 320u);
  EXPECT_EQ(signals.Count, 4);
  EXPECT_TRUE(signals.AllUnderLock);

  // A derived size that keeps widths even limits assigned widths too.
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
}

TEST(PropertyValues, FormatAndRatioChangesGoThroughNotify) {
  class TSignalledFormat : public TQXOptionalVideoFormat {
   public:
    using TQXOptionalVideoFormat::TQXOptionalVideoFormat;
    int Signals = 0;

   protected:
    void Notify() override { ++Signals; }
  };
  TSignalledFormat format(nullptr, FBCreateLock());
  format.SetVideoFormat(vfRGB24);
  format.SetAutoSelect(true);
  EXPECT_EQ(format.Signals, 0);
  format.SetVideoFormat(vfGrayScale);
  format.SetAutoSelect(false);
  EXPECT_EQ(format.Signals, 2);

  TSignals signals;
  TQXAspectRatio ratio(nullptr, signals.Lock, signals.Notify());
  ratio.SetMode(arAuto);
  ratio.SetWidth(4);
  EXPECT_EQ(signals.Count, 0);
  ratio.SetMode(arCustom);
  ratio.SetHeight(9);
  EXPECT_EQ(ratio.GetHeight(), 9u);
  EXPECT_EQ(signals.Count, 2);
}

TEST(PropertyValues, SizesTurnZeroIntoOneUnlessAllowedButAssignCopiesZero) {
  TSignals signals;
  TQXMaskSize size(nullptr, signals.Lock, signals.Notify());
  size.SetWidth(0);
  size.SetHeight(0);
  EXPECT_EQ(size.GetSize().width, 1);
  EXPECT_EQ(size.GetSize().height, 1);
  size.SetWidth(1);
  EXPECT_EQ(signals.Count, 2);

  TQXSize zeroAllowed(nullptr, nullptr, {}, true);
  zeroAllowed.SetWidth(0);
  EXPECT_EQ(zeroAllowed.GetWidth(), 0);
  size.Assign(zeroAllowed);
  EXPECT_EQ(size.GetSize().width, 0);
  EXPECT_EQ(size.GetSize().height, 50);
  EXPECT_EQ(signals.Count, 3);
}

TEST(PropertyValues, IntegerSizeTurnsValuesBelowOneIntoOneAndWidensSizes) {
  TSignals signals;
  TQXIntegerSize size(nullptr, signals.Lock, signals.Notify());
  size.SetWidth(-5);
  size.SetHeight(0);
  EXPECT_EQ(size.GetWidth(), 1);
  EXPECT_EQ(size.GetHeight(), 1);
  EXPECT_EQ(signals.Count, 2);

  TQXSize wide(nullptr, nullptr, {}, false);
  wide.SetWidth(65535);
  size.Assign(wide);
  EXPECT_EQ(size.GetWidth(), 65535);  // not sign-extended
  EXPECT_EQ(size.GetHeight(), 50);
  EXPECT_EQ(signals.Count, 2);  // assignment is silent

  TQXIntegerSize other(nullptr, nullptr);
  other.SetHeight(70000);
  size.Assign(other);
  EXPECT_EQ(size.GetSize().width, 50);
  EXPECT_EQ(size.GetSize().height, 70000);
  EXPECT_EQ(signals.Count, 2);
}

TEST(PropertyValues, RegionAssignCopiesLevelByLevelSignallingAfterEach) {
  TQXOptionalRectRegion source(nullptr, nullptr);
  source.SetEnabled(true);
  source.SetLeft(10);
  source.SetTop(20);
  source.SetWidth(300);
  source.SetHeight(200);

  TSignals signals;
  TQXOptionalRectRegion copy(nullptr, signals.Lock, signals.Notify());
  copy.Assign(source);
  EXPECT_TRUE(copy.GetEnabled());
  EXPECT_EQ(copy.GetLeft(), 10);
  EXPECT_EQ(copy.GetTop(), 20);
  EXPECT_EQ(copy.GetWidth(), 300);
  EXPECT_EQ(copy.GetHeight(), 200);
  EXPECT_EQ(signals.Count, 3);
  EXPECT_TRUE(signals.AllUnderLock);

  // A plain region takes corner and size of an optional one.
  TSignals regionSignals;
  TQXRectRegion region(nullptr, regionSignals.Lock, regionSignals.Notify());
  region.Assign(source);
  EXPECT_EQ(region.GetTop(), 20);
  EXPECT_EQ(region.GetHeight(), 200);
  EXPECT_EQ(regionSignals.Count, 2);

  // From a size only the size is taken; Enabled, Left and Top stay.
  copy.Assign(TQXSize(nullptr, nullptr, {}, false));
  EXPECT_TRUE(copy.GetEnabled());
  EXPECT_EQ(copy.GetLeft(), 10);
  EXPECT_EQ(copy.GetWidth(), 50);
  EXPECT_EQ(signals.Count, 4);

  // A point copies and signals once.
  TQXPoint point(nullptr, signals.Lock, signals.Notify());
  TQXPoint corner(nullptr, nullptr);
  corner.SetX(65535);
  corner.SetY(12);
  point.Assign(corner);
  EXPECT_EQ(point.GetX(), 65535);
  EXPECT_EQ(point.GetY(), 12);
  EXPECT_EQ(signals.Count, 5);
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

  TQXVideoFormatSettings other(nullptr, nullptr);
  other.SetFormat(vfYUY2);
  other.SetAutoSelect(true);
  settings.Assign(other);
  EXPECT_EQ(settings.GetFormat(), vfYUY2);
  EXPECT_TRUE(settings.GetAutoSelect());
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
