// The XY float stream: point lists, their pins, and the converter that turns
// them into X and Y buffers for a sink of the pair stream.
#include <gtest/gtest.h>

#include "StreamNodes.h"
#include "packages/zenthic/ZTBufferOperations.h"
#include "packages/zenthic/ZTRealBuffer.h"
#include "packages/zenthic/ZTStreams.h"
#include "streams/QXImageStreams.h"
#include "streams/QXStreamOperations.h"
#include "streams/QXXYFloatPins.h"
#include "streams/QXXYFloatToPairsConverter.h"

namespace qx::test {
namespace {

std::vector<double> ValuesOf(const TRefPtr<IZTDataBuffer>& buffer) {
  auto real = RefCast<IZTRealBuffer>(buffer);
  if (!real) return {};
  return std::vector<double>(real->Read(), real->Read() + real->GetCount());
}

TEST(XYFloatData, CountIsCutToThePointsThereAndOtherIndexesReadZero) {
  const TQXFloatPointArray points = {{1.5f, -2.0f}, {3.25f, 4.0f}, {-5.0f, 6.5f}};
  const TQXXYFloatData firstTwo(points, 2), overstated(points, 1000);
  EXPECT_EQ(firstTwo.GetCount(), 2u);
  EXPECT_EQ(firstTwo.GetPoint(1), (TQXFloatPoint{3.25f, 4.0f}));
  EXPECT_EQ(firstTwo.GetPoint(2), (TQXFloatPoint{}));
  EXPECT_EQ(overstated.GetCount(), 3u);
  EXPECT_EQ(overstated.GetPoint(3), (TQXFloatPoint{}));
}

TEST(XYFloatPins, PointListsReachAPairSinkAsXAndYBuffersOtherOperationsAsThemselves) {
  TStreamNode source, sink;
  auto* output = new TQXFBXYFloatSourcePin(&source, "PointsPin", source.Lock);
  TZTFBSinkPin* pairs = sink.AddSink({ZTBufferPairStreamID});
  pairs->Connect(output);
  EXPECT_NE(dynamic_cast<TFBQXXYFloatToPairsFormatConverter*>(pairs->GetConverter().Get()),
            nullptr);

  const TFBOperationPtr start = MakeRef<TFBStartSampleRateOperation>(25.0);
  EXPECT_TRUE(output->Notify(start));
  const TQXFloatPointArray points = {{0.5f, -1.0f}, {16777216.0f, 0.125f}, {-3.75f, 1e-3f}};
  EXPECT_TRUE(output->SubmitData(MakeRef<TQXXYFloatData>(points)));
  EXPECT_TRUE(output->SubmitData(MakeRef<TQXXYFloatData>(points, 2)));
  EXPECT_TRUE(output->SubmitData(MakeRef<TQXXYFloatData>(TQXFloatPointArray{})));
  // A list operation built without data has nothing to convert.
  EXPECT_FALSE(output->Notify(MakeRef<TFBQXSuppliedXYFloatDataOperation>(nullptr)));
  EXPECT_FALSE(output->SubmitData(nullptr));
  EXPECT_TRUE(output->Stop());

  const auto arrived = sink.At(pairs);
  ASSERT_EQ(arrived.size(), 5u);
  EXPECT_EQ(arrived[0], start);
  std::vector<std::vector<double>> xs, ys;
  for (int i = 1; i <= 3; ++i) {
    auto supplied = RefCast<TFBSuppliedBufferPairOperation>(arrived[i]);
    ASSERT_TRUE(supplied);
    ASSERT_EQ(supplied->GetPair()->GetCount(), 2);
    xs.push_back(ValuesOf(supplied->GetPair()->GetFirst()));
    ys.push_back(ValuesOf(supplied->GetPair()->GetSecond()));
  }
  // 1e-3 as a float is 0.001000000047497451..., kept exactly in the double.
  EXPECT_EQ(xs,
            (std::vector<std::vector<double>>{{0.5, 16777216.0, -3.75}, {0.5, 16777216.0}, {}}));
  EXPECT_EQ(ys, (std::vector<std::vector<double>>{
                    {-1.0, 0.125, static_cast<double>(1e-3f)}, {-1.0, 0.125}, {}}));
  EXPECT_TRUE(RefCast<TFBStopOperation>(arrived[4]));
}

}  // namespace
}  // namespace qx::test
