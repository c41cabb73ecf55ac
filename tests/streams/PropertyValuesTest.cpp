// The property value types: initial values agree with the published
// defaults, setters signal real changes only and apply their limits, Assign
// follows its matrix (signals included) and refuses unrelated sources, and a
// refused lock changes nothing.
#include <gtest/gtest.h>

#include <thread>

#include "host/Exceptions.h"
#include "host/Properties.h"
#include "streams/QXAspectRatio.h"
#include "streams/QXRegionProperties.h"
#include "streams/QXSizeProperties.h"
#include "streams/QXVideoFormatProperties.h"
#include "streams/QXVideoSize.h"

namespace qx {
namespace {

// Counts the change signals of the objects built with its handlers, and
// checks each arrives under the lock.
struct TSignals {
  TRefPtr<IFBLock> Lock = FBCreateLock();
  int Count = 0;
  bool AllUnderLock = true;

  void Signal() {
    ++Count;
    AllUnderLock = AllUnderLock && Lock->IsHeldByCurrentThread();
  }
  TNXLockedPersistentNotify::TChangeEvent Notify() {
    return [this](TNXLockedPersistentNotify&) { Signal(); };
  }
  TQXVideoSize::TChangeEvent VideoSize() {
    return [this](TQXVideoSize&) { Signal(); };
  }
};

TEST(PropertyValues, NewObjectsHoldTheirDefaults) {
  const TRefPtr<IFBLock> lock = FBCreateLock();
  TQXVideoSize videoSize(nullptr, lock);
  EXPECT_EQ(videoSize.GetWidth(), 320u);
  EXPECT_EQ(videoSize.GetHeight(), 240u);
  TQXOptionalVideoSize optionalSize(nullptr, lock);
  EXPECT_TRUE(optionalSize.GetCurrent());
  TQXOptionalVideoFormat optionalFormat(nullptr, lock);
  EXPECT_EQ(optionalFormat.GetVideoFormat(), vfRGB24);
  EXPECT_TRUE(optionalFormat.GetAutoSelect());
  TQXAspectRatio ratio(nullptr, lock);
  EXPECT_EQ(ratio.GetMode(), arAuto);
  EXPECT_EQ(ratio.GetWidth(), 4u);
  EXPECT_EQ(ratio.GetHeight(), 3u);
  TQXPoint point(nullptr, lock);
  EXPECT_EQ(point.GetX(), 0);
  EXPECT_EQ(point.GetY(), 0);
  TQXSize size(nullptr, lock, {}, false);
  EXPECT_EQ(size.GetWidth(), 50);
  EXPECT_EQ(size.GetHeight(), 50);
  TQXFilterOutputSize outputSize(nullptr, lock);
  EXPECT_EQ(outputSize.GetSize().width, 240);
  EXPECT_EQ(outputSize.GetSize().height, 180);
  TQXMaskSize maskSize(nullptr, lock);
  EXPECT_EQ(maskSize.GetSize().width, 4);
  EXPECT_EQ(maskSize.GetSize().height, 4);
  TQXIntegerSize integerSize(nullptr, lock);
  EXPECT_EQ(integerSize.GetWidth(), 50);
  EXPECT_EQ(integerSize.GetHeight(), 50);
  TQXOptionalRectRegion region(nullptr, lock);
  EXPECT_EQ(region.GetLeft(), 0);
  EXPECT_EQ(region.GetTop(), 0);
  EXPECT_EQ(region.GetWidth(), 50);
  EXPECT_EQ(region.GetHeight(), 50);
  EXPECT_FALSE(region.GetEnabled());
  EXPECT_FALSE(region.GetAllowZero());
  TQXVideoFormatSettings settings(nullptr, lock);
  EXPECT_EQ(settings.GetFormat(), vfRGBA32);
  EXPECT_FALSE(settings.GetAutoSelect());

  // The initial values are the published defaults: a form stores nothing of
  // them, except the properties published without a default.
  for (const TPersistent* object : std::initializer_list<const TPersistent*>{
           &videoSize, &optionalSize, &point, &size, &outputSize, &maskSize, &integerSize, &region,
           &settings}) {
    EXPECT_FALSE(HasStoredValues(*object)) << object->ClassName();
  }
  EXPECT_TRUE(HasStoredValues(optionalFormat));
  EXPECT_TRUE(HasStoredValues(ratio));
  EXPECT_EQ(GetPropertyInfo(ratio, "Width").GetTypeName(), "uint32");
  EXPECT_EQ(GetPropertyInfo(point, "X").GetTypeName(), "uint16");
  EXPECT_EQ(GetPropertyInfo(integerSize, "Height").GetTypeName(), "int32");
  EXPECT_EQ(GetPropertyInfo(region, "Left").GetTypeName(), "uint16");
}

TEST(PropertyValues, VideoSizeSignalsEachRealChangeAndAssignsThroughItsSetters) {
  TSignals signals;
  TQXVideoSize size(nullptr, signals.Lock, signals.VideoSize());
  size.SetWidth(320);
  EXPECT_EQ(signals.Count, 0);
  size.SetWidth(640);
  size.SetHeight(480);
  EXPECT_EQ(signals.Count, 2);

  TQXVideoSize other(nullptr, FBCreateLock());
  other.SetWidth(640);
  other.SetHeight(360);
  size.Assign(other);  // only the height differs
  EXPECT_EQ(size.GetHeight(), 360u);
  EXPECT_EQ(signals.Count, 3);
  EXPECT_TRUE(signals.AllUnderLock);

  // A derived size that keeps widths even limits assigned widths too.
  class TEvenVideoSize : public TQXVideoSize {
   public:
    using TQXVideoSize::TQXVideoSize;
    void SetWidth(std::uint32_t value) override { TQXVideoSize::SetWidth(value & ~1u); }
  };
  TEvenVideoSize even(nullptr, FBCreateLock());
  other.SetWidth(721);
  even.Assign(other);
  EXPECT_EQ(even.GetWidth(), 720u);
  EXPECT_EQ(even.GetHeight(), 360u);
}

TEST(PropertyValues, OptionalVideoSizeKeepsCurrentSilentAndCopiesItOnlyFromItsKind) {
  TSignals signals;
  TQXOptionalVideoSize size(nullptr, signals.Lock, signals.VideoSize());
  size.SetCurrent(false);
  EXPECT_FALSE(size.GetCurrent());
  EXPECT_EQ(signals.Count, 0);

  TQXOptionalVideoSize optional(nullptr, FBCreateLock());
  optional.SetWidth(1920);
  size.Assign(optional);
  EXPECT_TRUE(size.GetCurrent());
  EXPECT_EQ(size.GetWidth(), 1920u);
  EXPECT_EQ(signals.Count, 1);

  size.SetCurrent(false);
  TQXVideoSize plain(nullptr, FBCreateLock());
  size.Assign(plain);
  EXPECT_FALSE(size.GetCurrent());
  EXPECT_EQ(size.GetWidth(), 320u);
  EXPECT_EQ(signals.Count, 2);
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
  EXPECT_EQ(format.GetVideoFormat(), vfGrayScale);

  TSignals signals;
  TQXAspectRatio ratio(nullptr, signals.Lock, signals.Notify());
  ratio.SetMode(arAuto);
  ratio.SetWidth(4);
  EXPECT_EQ(signals.Count, 0);
  ratio.SetMode(arCustom);
  ratio.SetWidth(16);
  ratio.SetHeight(9);
  EXPECT_EQ(signals.Count, 3);
  EXPECT_EQ(ratio.GetHeight(), 9u);
  EXPECT_TRUE(signals.AllUnderLock);
}

TEST(PropertyValues, SizesTurnZeroIntoOneUnlessAllowedButAssignCopiesZero) {
  TSignals signals;
  TQXSize size(nullptr, signals.Lock, signals.Notify(), false);
  size.SetWidth(0);
  size.SetHeight(0);
  EXPECT_EQ(size.GetSize().width, 1);
  EXPECT_EQ(size.GetSize().height, 1);
  EXPECT_EQ(signals.Count, 2);
  size.SetWidth(1);
  EXPECT_EQ(signals.Count, 2);

  TQXSize zeroAllowed(nullptr, FBCreateLock(), {}, true);
  zeroAllowed.SetWidth(0);
  EXPECT_EQ(zeroAllowed.GetWidth(), 0);
  size.Assign(zeroAllowed);
  EXPECT_EQ(size.GetWidth(), 0);
  EXPECT_EQ(size.GetHeight(), 50);
  EXPECT_EQ(signals.Count, 3);

  TQXMaskSize mask(nullptr, FBCreateLock());
  mask.SetHeight(0);
  EXPECT_EQ(mask.GetHeight(), 1);
  mask.Assign(zeroAllowed);  // any TQXSize
  EXPECT_EQ(mask.GetSize().width, 0);
  EXPECT_EQ(mask.GetSize().height, 50);
}

TEST(PropertyValues, IntegerSizeTurnsValuesBelowOneIntoOneAndWidensSizes) {
  TSignals signals;
  TQXIntegerSize size(nullptr, signals.Lock, signals.Notify());
  size.SetWidth(-5);
  size.SetHeight(0);
  EXPECT_EQ(size.GetWidth(), 1);
  EXPECT_EQ(size.GetHeight(), 1);
  size.SetWidth(100000);
  EXPECT_EQ(size.GetSize().width, 100000);
  EXPECT_EQ(signals.Count, 3);

  TQXSize wide(nullptr, FBCreateLock(), {}, false);
  wide.SetWidth(65535);
  size.Assign(wide);
  EXPECT_EQ(size.GetWidth(), 65535);  // not sign-extended
  EXPECT_EQ(size.GetHeight(), 50);
  EXPECT_EQ(signals.Count, 4);
  size.Assign(wide);  // nothing changes, nothing signals
  EXPECT_EQ(signals.Count, 4);

  TQXIntegerSize other(nullptr, FBCreateLock());
  other.SetHeight(70000);
  size.Assign(other);
  EXPECT_EQ(size.GetWidth(), 50);
  EXPECT_EQ(size.GetHeight(), 70000);
  EXPECT_THROW(wide.Assign(other), EAssignError);
}

TEST(PropertyValues, PointAssignCopiesBothAndSignalsOnce) {
  TSignals signals;
  TQXPoint point(nullptr, signals.Lock, signals.Notify());
  point.SetX(7);
  point.SetX(7);
  EXPECT_EQ(signals.Count, 1);
  TQXPoint other(nullptr, FBCreateLock());
  other.SetX(65535);
  other.SetY(12);
  point.Assign(other);
  EXPECT_EQ(point.GetX(), 65535);
  EXPECT_EQ(point.GetY(), 12);
  EXPECT_EQ(signals.Count, 2);
}

TEST(PropertyValues, RegionAssignCopiesLevelByLevelSignallingAfterEach) {
  TQXOptionalRectRegion source(nullptr, FBCreateLock());
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

  // A plain region takes the corner and size of an optional one.
  TSignals regionSignals;
  TQXRectRegion region(nullptr, regionSignals.Lock, regionSignals.Notify());
  region.Assign(source);
  EXPECT_EQ(region.GetLeft(), 10);
  EXPECT_EQ(region.GetHeight(), 200);
  EXPECT_EQ(regionSignals.Count, 2);

  // From a size only the size is taken; Enabled, Left and Top stay.
  TQXSize size(nullptr, FBCreateLock(), {}, false);
  size.SetWidth(64);
  copy.Assign(size);
  EXPECT_TRUE(copy.GetEnabled());
  EXPECT_EQ(copy.GetLeft(), 10);
  EXPECT_EQ(copy.GetWidth(), 64);
  EXPECT_EQ(copy.GetHeight(), 50);
  EXPECT_EQ(signals.Count, 4);
}

TEST(PropertyValues, AssignFromAnUnrelatedPersistentRaisesAndChangesNothing) {
  TSignals signals;
  TQXOptionalRectRegion region(nullptr, signals.Lock, signals.Notify());
  TQXPoint point(nullptr, FBCreateLock());
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

  TQXVideoFormatSettings settings(nullptr, FBCreateLock());
  TQXOptionalVideoFormat format(nullptr, FBCreateLock());
  TQXVideoSize videoSize(nullptr, FBCreateLock());
  TQXSize size(nullptr, FBCreateLock(), {}, false);
  EXPECT_THROW(settings.Assign(format), EAssignError);
  EXPECT_THROW(videoSize.Assign(size), EAssignError);
  EXPECT_THROW(size.Assign(videoSize), EAssignError);
  EXPECT_THROW(point.Assign(region), EAssignError);
}

TEST(PropertyValues, FormatSettingsAssignCopiesBoth) {
  TQXVideoFormatSettings source(nullptr, FBCreateLock());
  source.SetFormat(vfYUY2);
  source.SetAutoSelect(true);
  TQXVideoFormatSettings copy(nullptr, FBCreateLock());
  copy.Assign(source);
  EXPECT_EQ(copy.GetFormat(), vfYUY2);
  EXPECT_TRUE(copy.GetAutoSelect());
}

TEST(PropertyValues, NothingChangesOrSignalsOnceTheOwnerIsBeingDestroyed) {
  TSignals signals;
  TQXOptionalRectRegion region(nullptr, signals.Lock, signals.Notify());
  TQXVideoSize videoSize(nullptr, signals.Lock, signals.VideoSize());
  TQXOptionalVideoSize optionalSize(nullptr, signals.Lock);
  TQXVideoFormatSettings settings(nullptr, signals.Lock);
  TQXIntegerSize integerSize(nullptr, signals.Lock, signals.Notify());

  TQXOptionalRectRegion otherRegion(nullptr, FBCreateLock());
  otherRegion.SetEnabled(true);
  otherRegion.SetLeft(5);
  TQXOptionalVideoSize otherSize(nullptr, FBCreateLock());
  otherSize.SetWidth(64);
  otherSize.SetCurrent(false);
  TQXVideoFormatSettings otherSettings(nullptr, FBCreateLock());
  otherSettings.SetAutoSelect(true);

  std::thread([&] { signals.Lock->BeginDestroy(); }).join();
  region.SetLeft(9);
  region.SetEnabled(true);
  region.Assign(otherRegion);
  videoSize.SetWidth(1);
  videoSize.Assign(otherSize);
  optionalSize.SetCurrent(false);
  optionalSize.Assign(otherSize);
  settings.SetFormat(vfRGB565);
  settings.Assign(otherSettings);
  integerSize.SetWidth(9);

  EXPECT_EQ(signals.Count, 0);
  EXPECT_EQ(region.GetLeft(), 0);
  EXPECT_FALSE(region.GetEnabled());
  EXPECT_EQ(videoSize.GetWidth(), 320u);
  EXPECT_TRUE(optionalSize.GetCurrent());
  EXPECT_EQ(optionalSize.GetWidth(), 320u);
  EXPECT_EQ(settings.GetFormat(), vfRGBA32);
  EXPECT_FALSE(settings.GetAutoSelect());
  EXPECT_EQ(integerSize.GetWidth(), 50);
}

}  // namespace
}  // namespace qx
