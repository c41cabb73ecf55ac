// Media buffers with time stamps, the audio buffers built on them, and the
// audio pins that carry them (delivery is the pin framework's, tested there).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/Component.h"
#include "packages/flowbus/FBStreamRegistry.h"
#include "packages/sonquo/KRMediaBuffer.h"
#include "packages/sonquo/SNAudioBuffer.h"
#include "packages/sonquo/SNAudioFormat.h"
#include "packages/sonquo/SNAudioStream.h"
#include "packages/sonquo/SNFBAudioPins.h"
#include "packages/sonquo/SNWaveOperations.h"
#include "packages/zenthic/ZTBufferOperations.h"
#include "packages/zenthic/ZTException.h"

namespace qx::test {
namespace {

constexpr TKRMediaTimeStamp Stamp{true, 1'000'000, 1'400'000};

TEST(KRMediaBuffer, TheTimeStampLivesInTheStorageAndFollowsCopiesAndResizes) {
  auto producer = MakeRef<TKRMediaBuffer>(16);
  std::memcpy(producer->ByteWrite(), "0123456789abcdef", 16);
  auto holder = MakeRef<TKRMediaBuffer>(*producer);
  producer->SetTimeStamp(Stamp);
  EXPECT_EQ(holder->GetTimeStamp(), Stamp);  // shared storage

  holder->ByteModify();
  holder->SetTimeStamp({true, 5, 6});
  EXPECT_EQ(producer->GetTimeStamp(), Stamp);  // private now: no longer shared
  ASSERT_TRUE(producer->Resize(40));
  EXPECT_EQ(producer->GetTimeStamp(), Stamp);
  EXPECT_EQ(std::memcmp(producer->ByteRead(), "0123456789abcdef", 16), 0);
}

TEST(SNAudioBuffer, GeometryFollowsTheFormat) {
  const struct {
    std::uint32_t Rate;
    std::size_t Samples;
    std::uint16_t Channels, Bits;
    std::size_t BlockAlign, Bytes;
    std::int64_t Duration;  // 100-ns units
  } cases[] = {
      {44100, 1000, 2, 16, 4, 4000, 226757},  // 10^10 / 44100 = 226757.37
      {48000, 480, 6, 24, 18, 8640, 100000},  // exactly 10 ms
      {22050, 10, 1, 12, 2, 20, 4535},        // 12-bit samples take two bytes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Rate << " Hz, " << c.Channels << " x " << c.Bits);
    auto buffer = MakeRef<TSNAudioBuffer>(c.Rate, c.Samples, c.Channels, c.Bits);
    EXPECT_EQ(buffer->GetSampleCount(), c.Samples);
    EXPECT_EQ(buffer->GetBlockAlign(), c.BlockAlign);
    EXPECT_EQ(buffer->GetByteSize(), c.Bytes);
    EXPECT_EQ(buffer->GetDuration(), c.Duration);
  }
  EXPECT_THROW(TSNAudioBuffer(0, 10, 2, 16), EZTException);
  EXPECT_THROW(TSNAudioBuffer(44100, 10, 2, 0), EZTException);
  EXPECT_THROW(TSNAudioBuffer(44100, SIZE_MAX / 2, 2, 16), EZTException);
}

TEST(SNAudioBuffer, SamplesAndGeometryTravelWithTheStorageInWholeFrames) {
  const std::int16_t samples[] = {1, -1, 2, -2, 3, -3};
  auto producer = MakeRef<TSNAudioBuffer>(16000, 3, 2, 16, samples);

  // What a pin delivers is a plain data buffer interface.
  const TRefPtr<IZTDataBuffer> delivered = producer->MakeCopy();
  auto received = MakeRef<TSNAudioBuffer>(*delivered);
  EXPECT_EQ(received->GetSampleRate(), 16000u);
  EXPECT_EQ(received->GetSampleCount(), 3u);
  EXPECT_EQ(received->ByteRead(), producer->ByteRead());

  auto bytes = MakeRef<TZTGenericBuffer>(12);
  EXPECT_THROW(TSNAudioBuffer(static_cast<const IZTDataBuffer&>(*bytes)), EZTException);
  EXPECT_THROW(received->Assign(*bytes), EZTException);
  EXPECT_EQ(received->GetSampleCount(), 3u);

  EXPECT_FALSE(received->Resize(10));
  EXPECT_EQ(received->GetByteSize(), 12u);
  ASSERT_TRUE(received->Resize(8));
  EXPECT_EQ(received->GetSampleCount(), 2u);
}

TEST(SNAudioBuffer, CopySamplesTakesARangeWithItsTime) {
  // 10 kHz: one frame lasts 1000 units.
  const std::uint8_t frames[] = {10, 11, 20, 21, 30, 31, 40, 41};
  auto buffer = MakeRef<TSNAudioBuffer>(10000, 4, 1, 16, frames);
  buffer->SetTimeStamp({true, 5000, 9000});

  auto middle = buffer->CopySamples(1, 2);
  ASSERT_EQ(middle->GetSampleCount(), 2u);
  const std::uint8_t expectMiddle[] = {20, 21, 30, 31};
  EXPECT_EQ(std::memcmp(middle->ByteRead(), expectMiddle, 4), 0);
  EXPECT_EQ(middle->GetTimeStamp(), (TKRMediaTimeStamp{true, 6000, 8000}));

  auto tail = buffer->CopySamples(3, 10);
  ASSERT_EQ(tail->GetSampleCount(), 1u);
  EXPECT_EQ(tail->GetTimeStamp(), (TKRMediaTimeStamp{true, 8000, 9000}));
  EXPECT_EQ(buffer->CopySamples(9, 1)->GetSampleCount(), 0u);
}

class TAudioNode : public TComponent {
 public:
  TAudioNode() : TComponent(nullptr) {
    SNRegisterStreams();
    Input =
        new TSNFBAudioSinkPin(this, "AudioInputPin", Lock,
                              [this](TFBPin&, const TGUID&, const TFBOperationPtr& op, TFBState) {
                                Received.push_back(op);
                                return true;
                              });
  }
  ~TAudioNode() override {
    Lock->BeginDestroy();
    FBShutdownPins(*this);
  }

  TRefPtr<IFBLock> Lock = FBCreateLock();
  TSNFBAudioSourcePin* Output = new TSNFBAudioSourcePin(this, "AudioOutputPin", Lock);
  TSNFBAudioSinkPin* Input;
  std::vector<TFBOperationPtr> Received;
};

TEST(AudioPins, CarryTheAudioBufferItselfAndTheStartWaveFormatIntact) {
  TAudioNode source, sink;
  source.Output->Connect(*sink.Input);
  EXPECT_EQ(sink.Input->GetDataType(), IID_IFBSNAudioStream);
  auto buffer = MakeRef<TSNAudioBuffer>(8000, 80, 1, 16);
  EXPECT_TRUE(source.Output->SubmitBuffer(buffer));
  ASSERT_EQ(sink.Received.size(), 1u);
  auto supplied = RefCast<TFBSuppliedBufferOperation>(sink.Received[0]);
  ASSERT_TRUE(supplied);
  EXPECT_EQ(supplied->GetBuffer().Get(), static_cast<IZTDataBuffer*>(buffer.Get()));

  const WAVEFORMATEXTENSIBLE sent = TSNAudioFormatBasic().GetWaveFormat();
  EXPECT_TRUE(source.Output->Notify(MakeRef<TFBStartWaveOperation>(100.0f, sent, true)));
  ASSERT_EQ(sink.Received.size(), 2u);
  auto start = RefCast<TFBStartWaveOperation>(sink.Received[1]);
  ASSERT_TRUE(start);
  EXPECT_TRUE(start->IsPaused());
  EXPECT_EQ(RefCast<TFBStartSampleRateOperation>(sink.Received[1])->GetSampleRate(), 100.0);
  ASSERT_EQ(start->GetFormat().GetSize(), 40u);
  EXPECT_EQ(std::memcmp(start->GetFormat().GetData(), &sent, 40), 0);

  // A plain structure is copied as 18 bytes; one that claims extra bytes has
  // none to copy.
  WAVEFORMATEX plain = sent.Format;
  plain.cbSize = 0;
  EXPECT_EQ(TFBStartWaveOperation(25.0f, plain, false).GetFormat().GetSize(), 18u);
  plain.cbSize = 22;
  EXPECT_THROW(TFBStartWaveOperation(25.0f, plain, false), EZTException);
}

}  // namespace
}  // namespace qx::test
