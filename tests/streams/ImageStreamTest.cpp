// The image and raw streams: registration when the library loads, the start
// operations' rate and fields, frames and stops through the image pins, and
// the raw source pin sorting what it sends by connection type.
#include <gtest/gtest.h>

#include "StreamNodes.h"
#include "image/QXImageBuffer.h"
#include "packages/flowbus/FBExceptions.h"
#include "packages/flowbus/FBStreamRegistry.h"
#include "packages/zenthic/ZTGenericBuffer.h"
#include "packages/zenthic/ZTStreams.h"
#include "streams/QXImagePins.h"
#include "streams/QXImageStreams.h"
#include "streams/QXStreamOperations.h"
#include "streams/QXXYFloatPins.h"
#include "streams/QXXYFloatToPairsConverter.h"

namespace qx::test {
namespace {

using TChannelHandler = bool (*)(IFBStream&, const TGUID&, const TFBOperationPtr&, TFBState);

TEST(ImageStreams, RegisteredWhenTheLibraryLoadsWithTheChannelHandlerAndTheConverter) {
  // CTest runs each case in its own process: nothing has created a pin yet.
  EXPECT_EQ(FBGetStreamName(IID_IFBQXImageStream), "QX Image stream");
  for (const TGUID& type : {IID_IFBQXImageStream, IID_IFBQXXYFloatDataStream, IID_IFBQXRawStream}) {
    const TFBStreamHandler handler = FBGetDefaultHandler(type);
    const auto* function = handler.target<TChannelHandler>();
    ASSERT_NE(function, nullptr) << type.ToString();
    EXPECT_EQ(*function, &DefaultZTChannelNotificationHandler) << type.ToString();
  }
  EXPECT_TRUE(FBFindTypeConverter(IID_IFBQXXYFloatDataStream, ZTBufferPairStreamID));

  QXRegisterStreams();  // again: no error, nothing changes
  EXPECT_EQ(FBGetStreamName(IID_IFBQXImageStream), "QX Image stream");
}

TEST(ImageOperations, StartFramesGiveTheFrameRateAsSampleRate) {
  TFBOperationPtr op = MakeRef<TFBStartFrameOperation>(640, 480, 333333, vfRGB24, 0x5, 4, 3);
  // 10^7 / 333333 = 30.0000300..., read through the sample-rate base.
  auto start = RefCast<TFBStartSampleRateOperation>(op);
  ASSERT_TRUE(start);
  EXPECT_NEAR(start->GetSampleRate(), 30.00003, 1e-6);

  // A zero frame delay is stored as one unit.
  TFBOperationPtr soft = MakeRef<TFBSoftStartFrameOperation>(320, 240, 0, vfYUY2, 0, 4, 3);
  ASSERT_TRUE(RefCast<TFBStartFrameOperation>(soft));
  EXPECT_EQ(RefCast<TFBStartFrameOperation>(soft)->GetFrameDelay(), 1);
  EXPECT_DOUBLE_EQ(RefCast<TFBStartFrameOperation>(soft)->GetSampleRate(), 10'000'000.0);
}

TEST(ImagePins, AStreamReachesTheSinkInOrderUnderItsLockWithTheFrameShared) {
  TStreamNode source, sink;
  auto* output = new TQXFBImageSourcePin(&source, "OutputPin", source.Lock);
  auto* input = new TQXFBImageSinkPin(&sink, "InputPin", sink.Lock, sink.Recorder());
  input->Connect(output);
  EXPECT_EQ(input->GetConverter(), nullptr);

  auto frame = MakeRef<TQXImageBuffer>(6, 4, vfRGB24);
  EXPECT_TRUE(output->Notify(MakeRef<TFBStartFrameOperation>(6, 4, 400000, vfRGB24, 0, 4, 3)));
  EXPECT_TRUE(output->SubmitBuffer(frame));
  EXPECT_TRUE(output->Stop());

  const auto arrived = sink.At(input);
  ASSERT_EQ(arrived.size(), 3u);
  EXPECT_TRUE(RefCast<TFBStartFrameOperation>(arrived[0]));
  auto supplied = RefCast<TFBSuppliedBufferOperation>(arrived[1]);
  ASSERT_TRUE(supplied);
  EXPECT_EQ(RefCast<IQXImageBuffer>(supplied->GetBuffer()).Get(), frame.Get());
  EXPECT_TRUE(RefCast<TFBStopOperation>(arrived[2]));
  for (const TArrival& arrival : sink.Arrivals) {
    EXPECT_TRUE(arrival.LockHeld);
    EXPECT_EQ(arrival.DataType, IID_IFBQXImageStream);
  }

  // A pin without an operation event answers false; pins of different streams do not connect.
  auto* silent = new TQXFBImageSinkPin(&sink, "SilentPin", sink.Lock);
  silent->Connect(new TQXFBImageSourcePin(&source, "SecondPin", source.Lock));
  EXPECT_FALSE(silent->Notify(MakeRef<TFBQueryStreamOperation>()));
  auto* points = new TQXFBXYFloatSourcePin(&source, "PointsPin", source.Lock);
  auto* other = new TQXFBImageSinkPin(&sink, "OtherPin", sink.Lock);
  EXPECT_THROW(other->Connect(points), EFBError);
  EXPECT_FALSE(other->IsConnected());
}

// A raw source pin with an image sink, a raw sink and a sink speaking both.
class RawSourcePin : public ::testing::Test {
 protected:
  RawSourcePin()
      : Output(new TQXFBImageRawSourcePin(&Source, "OutputPin", Source.Lock)),
        Image(new TQXFBImageSinkPin(&Sink, "ImagePin", Sink.Lock, Sink.Recorder())),
        Raw(Sink.AddSink({IID_IFBQXRawStream})),
        Both(Sink.AddSink({IID_IFBQXImageStream, IID_IFBQXRawStream})) {}

  // Sends a start, a frame, a raw block and a stop; returns the results.
  std::vector<bool> SendOneOfEach() {
    return {Output->Notify(MakeRef<TFBStartFrameOperation>(4, 2, 1000, vfRGB24, 0, 4, 3)),
            Output->SubmitBuffer(MakeRef<TQXImageBuffer>(4, 2, vfRGB24)),
            Output->SubmitRawBuffer(Block), Output->Stop()};
  }

  const TRefPtr<IZTDataBuffer> Block = MakeRef<TZTGenericBuffer>(16);
  TStreamNode Source, Sink;
  TQXFBImageRawSourcePin* Output;
  TQXFBImageSinkPin* Image;
  TZTFBSinkPin* Raw;
  TZTFBSinkPin* Both;
};

TEST_F(RawSourcePin, EachOperationGoesOnlyToTheConnectionsOfItsKind) {
  Image->Connect(Output);
  Raw->Connect(Output);
  Both->Connect(Output);
  // The raw type comes first in the source's order.
  EXPECT_EQ(Both->GetDataType(), IID_IFBQXRawStream);
  EXPECT_EQ(Image->GetDataType(), IID_IFBQXImageStream);
  EXPECT_EQ(SendOneOfEach(), (std::vector<bool>{true, true, true, true}));

  const auto image = Sink.At(Image);
  ASSERT_EQ(image.size(), 3u);
  EXPECT_TRUE(RefCast<TFBSuppliedBufferOperation>(image[1]));
  const auto raw = Sink.At(Raw);
  ASSERT_EQ(raw.size(), 1u);
  ASSERT_TRUE(RefCast<TFBSuppliedRawBufferOperation>(raw[0]));
  EXPECT_EQ(RefCast<TFBSuppliedRawBufferOperation>(raw[0])->GetBuffer(), Block);
  EXPECT_EQ(Sink.At(Both), raw);
}

TEST_F(RawSourcePin, WithoutAConnectionOfItsKindOrWhenHeldAnOperationIsNotDelivered) {
  Image->Connect(Output);
  EXPECT_EQ(SendOneOfEach(), (std::vector<bool>{true, true, false, true}));
  Image->Disconnect();
  Raw->Connect(Output);
  EXPECT_EQ(SendOneOfEach(), (std::vector<bool>{false, false, true, false}));
  // Held operations, and a missing block, stay with the sender.
  Sink.Arrivals.clear();
  EXPECT_FALSE(Output->SubmitRawBuffer(Block, fbsHeld));
  EXPECT_FALSE(Output->SubmitRawBuffer(nullptr));
  EXPECT_TRUE(Sink.Arrivals.empty());
}

}  // namespace
}  // namespace qx::test
