// Audio pins: they join only pins that speak audio, carry audio buffers as
// shared supplied buffers, and the start-wave operation delivers its format
// byte for byte. Converters and delivery are the pin framework's and are
// tested there.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/Component.h"
#include "packages/flowbus/FBExceptions.h"
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

// A stream no audio pin speaks.
constexpr TGUID OtherStream = TGUID::Parse("{0F6B1E2D-4C7A-4B39-9E58-1A2D3C4B5E60}");

class TAudioNode : public TComponent {
 public:
  TAudioNode() : TComponent(nullptr) {
    auto record = [this](TFBPin&, const TGUID&, const TFBOperationPtr& op, TFBState) {
      Received.push_back(op);
      return true;
    };
    Input = new TSNFBAudioSinkPin(this, "AudioInputPin", Lock, record);
    Other = new TZTFBSinkPin(this, "OtherPin", Lock, record);
    Other->AddType(OtherStream);
  }
  ~TAudioNode() override {
    Lock->BeginDestroy();
    FBShutdownPins(*this);
  }

  TRefPtr<IFBLock> Lock = FBCreateLock();
  TSNFBAudioSourcePin* Output = new TSNFBAudioSourcePin(this, "AudioOutputPin", Lock);
  TSNFBAudioSinkPin* Input;
  TZTFBSinkPin* Other;
  std::vector<TFBOperationPtr> Received;
};

class AudioPins : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SNRegisterStreams();
    FBRegisterStream(OtherStream, "Other test stream");
  }
  TAudioNode Source, Sink;
};

WAVEFORMATEXTENSIBLE StereoExtensible() {
  WAVEFORMATEXTENSIBLE format{};
  format.Format = {WAVE_FORMAT_EXTENSIBLE, 2, 48000, 48000 * 6, 6, 24, 22};
  format.Samples.wValidBitsPerSample = 20;
  format.dwChannelMask = 0x3;
  format.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
  return format;
}

TEST_F(AudioPins, JoinOnlyAudioAndCarryTheAudioBufferItself) {
  SNRegisterStreams();  // a second registration is harmless
  EXPECT_EQ(FBGetStreamName(IID_IFBSNAudioStream), "SN Audio stream");
  EXPECT_THROW(Sink.Other->Connect(Source.Output), EFBError);
  EXPECT_FALSE(Sink.Other->IsConnected());

  Source.Output->Connect(*Sink.Input);
  EXPECT_EQ(Sink.Input->GetDataType(), IID_IFBSNAudioStream);
  auto buffer = MakeRef<TSNAudioBuffer>(8000, 80, 1, 16);
  EXPECT_TRUE(Source.Output->SubmitBuffer(buffer));
  ASSERT_EQ(Sink.Received.size(), 1u);
  auto supplied = RefCast<TFBSuppliedBufferOperation>(Sink.Received[0]);
  ASSERT_TRUE(supplied);
  auto audio = RefCast<ISNAudioBuffer>(supplied->GetBuffer());
  ASSERT_TRUE(audio);
  EXPECT_EQ(audio.Get(), static_cast<ISNAudioBuffer*>(buffer.Get()));
  EXPECT_EQ(audio->GetSampleRate(), 8000u);
}

TEST_F(AudioPins, StartWaveDeliversItsFormatIntact) {
  Source.Output->Connect(*Sink.Input);
  const WAVEFORMATEXTENSIBLE sent = StereoExtensible();
  EXPECT_TRUE(Source.Output->Notify(MakeRef<TFBStartWaveOperation>(100.0f, sent, true)));

  ASSERT_EQ(Sink.Received.size(), 1u);
  auto start = RefCast<TFBStartWaveOperation>(Sink.Received[0]);
  ASSERT_TRUE(start);
  EXPECT_TRUE(start->IsPaused());
  EXPECT_EQ(RefCast<TFBStartSampleRateOperation>(Sink.Received[0])->GetSampleRate(), 100.0);
  ASSERT_EQ(start->GetFormat().GetSize(), 40u);
  EXPECT_EQ(std::memcmp(start->GetFormat().GetData(), &sent, 40), 0);
  EXPECT_TRUE(start->GetFormat().GetExtensible());
}

TEST(StartWave, FromAPlainFormatNeverReadsPastIt) {
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
