// Audio pins: they join only audio pins or a registered converter, carry
// audio buffers as shared supplied buffers, and the start-wave operation
// delivers its format byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/Component.h"
#include "packages/flowbus/FBExceptions.h"
#include "packages/flowbus/FBFormatConverter.h"
#include "packages/flowbus/FBStreamRegistry.h"
#include "packages/sonquo/SNAudioBuffer.h"
#include "packages/sonquo/SNAudioStream.h"
#include "packages/sonquo/SNFBAudioPins.h"
#include "packages/sonquo/SNWaveOperations.h"
#include "packages/zenthic/ZTBufferOperations.h"
#include "packages/zenthic/ZTException.h"
#include "packages/zenthic/ZTFBPins.h"

namespace qx {
namespace {

// A stream no audio pin speaks, and one with a converter from audio.
constexpr TGUID OtherStream = TGUID::Parse("{0F6B1E2D-4C7A-4B39-9E58-1A2D3C4B5E60}");
constexpr TGUID LevelStream = TGUID::Parse("{5B9C7D1E-2F3A-4E6B-8C0D-9A1B2C3D4E5F}");

// Turns each audio buffer into the number of its samples (a "level" meter)
// and passes everything else on.
class TSampleCountOperation : public TFBSuppliedOperation {
 public:
  explicit TSampleCountOperation(std::size_t count) : Count(count) {}
  const std::size_t Count;
};

class TAudioToLevel : public TFBFormatConverter {
 public:
  TAudioToLevel(TFBSinkPin&, TFBSourcePin&)
      : TFBFormatConverter(IID_IFBSNAudioStream, LevelStream) {}

 protected:
  bool SourceOperation(const TGUID& type, const TFBOperationPtr& op, TFBState state) override {
    if (auto supplied = RefCast<TFBSuppliedBufferOperation>(op)) {
      auto audio = RefCast<ISNAudioBuffer>(supplied->GetBuffer());
      return GetOutputPin().Notify(MakeRef<TSampleCountOperation>(audio->GetSampleCount()), state);
    }
    return TFBFormatConverter::SourceOperation(type, op, state);
  }
};

class TAudioNode : public TComponent {
 public:
  TAudioNode() : TComponent(nullptr) {
    auto record = [this](TFBPin&, const TGUID&, const TFBOperationPtr& op, TFBState) {
      Received.push_back(op);
      return true;
    };
    Output = new TSNFBAudioSourcePin(this, "AudioOutputPin", Lock);
    Input = new TSNFBAudioSinkPin(this, "AudioInputPin", Lock, record);
    Other = new TZTFBSinkPin(this, "OtherPin", Lock, record);
    Other->AddType(OtherStream);
    Level = new TZTFBSinkPin(this, "LevelPin", Lock, record);
    Level->AddType(LevelStream);
  }
  ~TAudioNode() override {
    Lock->BeginDestroy();
    FBShutdownPins(*this);
  }

  TRefPtr<IFBLock> Lock = FBCreateLock();
  TSNFBAudioSourcePin* Output;
  TSNFBAudioSinkPin* Input;
  TZTFBSinkPin* Other;
  TZTFBSinkPin* Level;
  std::vector<TFBOperationPtr> Received;
};

class AudioPins : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SNRegisterStreams();
    FBRegisterStream(OtherStream, "Other test stream");
    FBRegisterStream(LevelStream, "Level test stream");
  }
};

WAVEFORMATEXTENSIBLE StereoExtensible() {
  WAVEFORMATEXTENSIBLE format{};
  format.Format = {WAVE_FORMAT_EXTENSIBLE, 2, 48000, 48000 * 6, 6, 24, 22};
  format.Samples.wValidBitsPerSample = 20;
  format.dwChannelMask = 0x3;
  format.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
  return format;
}

TEST_F(AudioPins, AudioStreamIsRegisteredOnceUnderItsName) {
  EXPECT_EQ(FBGetStreamName(IID_IFBSNAudioStream), "SN Audio stream");
  SNRegisterStreams();
  EXPECT_EQ(FBGetStreamName(IID_IFBSNAudioStream), "SN Audio stream");
}

TEST_F(AudioPins, ConnectOnlyToAudioOrThroughARegisteredConverter) {
  TAudioNode source, sink;
  source.Output->Connect(*sink.Input);
  EXPECT_EQ(sink.Input->GetDataType(), IID_IFBSNAudioStream);
  EXPECT_EQ(sink.Input->GetConverter(), nullptr);

  EXPECT_THROW(sink.Other->Connect(source.Output), EFBError);
  EXPECT_FALSE(sink.Other->IsConnected());

  FBRegisterTypeConverter<TAudioToLevel>(IID_IFBSNAudioStream, LevelStream);
  sink.Level->Connect(source.Output);
  ASSERT_NE(sink.Level->GetConverter(), nullptr);
  EXPECT_EQ(sink.Level->GetSource(), source.Output);

  auto buffer = MakeRef<TSNAudioBuffer>(8000, 80, 1, 16);
  EXPECT_TRUE(source.Output->SubmitBuffer(buffer));
  // The audio sink got the buffer itself, the level sink its conversion.
  ASSERT_EQ(sink.Received.size(), 2u);
  int buffers = 0, counts = 0;
  for (const TFBOperationPtr& op : sink.Received) {
    if (auto supplied = RefCast<TFBSuppliedBufferOperation>(op)) {
      EXPECT_EQ(supplied->GetBuffer(), buffer);
      ++buffers;
    } else if (auto count = RefCast<TSampleCountOperation>(op)) {
      EXPECT_EQ(count->Count, 80u);
      ++counts;
    }
  }
  EXPECT_EQ(buffers, 1);
  EXPECT_EQ(counts, 1);
}

TEST_F(AudioPins, AudioBufferArrivesAsTheSharedBufferWithItsFormat) {
  TAudioNode source, sink;
  source.Output->Connect(*sink.Input);
  const std::int16_t samples[4] = {-2, 3, 32767, -32768};
  auto buffer = MakeRef<TSNAudioBuffer>(44100, 2, 2, 16, samples);
  EXPECT_TRUE(source.Output->SubmitBuffer(buffer));

  ASSERT_EQ(sink.Received.size(), 1u);
  auto supplied = RefCast<TFBSuppliedBufferOperation>(sink.Received[0]);
  ASSERT_TRUE(supplied);
  auto audio = RefCast<ISNAudioBuffer>(supplied->GetBuffer());
  ASSERT_TRUE(audio);
  EXPECT_EQ(audio.Get(), static_cast<ISNAudioBuffer*>(buffer.Get()));
  EXPECT_EQ(audio->GetSampleRate(), 44100u);
  EXPECT_EQ(audio->GetChannels(), 2);
  EXPECT_EQ(audio->ByteRead(), buffer->ByteRead());
  EXPECT_EQ(std::memcmp(audio->ByteRead(), samples, sizeof samples), 0);
}

TEST_F(AudioPins, StartWaveDeliversItsFormatIntact) {
  TAudioNode source, sink;
  source.Output->Connect(*sink.Input);
  const WAVEFORMATEXTENSIBLE sent = StereoExtensible();
  EXPECT_TRUE(source.Output->Notify(MakeRef<TFBStartWaveOperation>(100.0f, sent, true)));

  ASSERT_EQ(sink.Received.size(), 1u);
  auto start = RefCast<TFBStartWaveOperation>(sink.Received[0]);
  ASSERT_TRUE(start);
  EXPECT_TRUE(start->IsPaused());
  EXPECT_EQ(RefCast<TFBStartSampleRateOperation>(sink.Received[0])->GetSampleRate(), 100.0);
  ASSERT_EQ(start->GetFormat().GetSize(), 40u);
  EXPECT_EQ(std::memcmp(start->GetFormat().GetData(), &sent, 40), 0);
  auto extensible = start->GetFormat().GetExtensible();
  ASSERT_TRUE(extensible);
  EXPECT_EQ(extensible->Format.nSamplesPerSec, 48000u);
  EXPECT_EQ(extensible->Samples.wValidBitsPerSample, 20);
  EXPECT_EQ(extensible->dwChannelMask, 0x3u);
  EXPECT_EQ(extensible->SubFormat, KSDATAFORMAT_SUBTYPE_PCM);
}

TEST_F(AudioPins, StartWaveFromAPlainFormatNeverReadsPastIt) {
  const WAVEFORMATEX pcm{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
  TFBStartWaveOperation start(25.0f, pcm, false);
  EXPECT_FALSE(start.IsPaused());
  ASSERT_EQ(start.GetFormat().GetSize(), 18u);
  EXPECT_EQ(start.GetFormat().GetFormat().nAvgBytesPerSec, 44100u);
  EXPECT_FALSE(start.GetFormat().GetExtensible());

  // A bare structure that claims extra bytes has none to copy.
  WAVEFORMATEX claiming = pcm;
  claiming.cbSize = 22;
  EXPECT_THROW(TFBStartWaveOperation(25.0f, claiming, false), EZTException);
}

}  // namespace
}  // namespace qx
