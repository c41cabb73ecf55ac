// Audio pins: they speak the audio stream, carry audio buffers as shared
// supplied buffers, and the start-wave operation delivers its format byte
// for byte. Type agreement and delivery are the pin framework's and are
// tested there.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/Component.h"
#include "packages/flowbus/FBStreamRegistry.h"
#include "packages/sonquo/SNAudioBuffer.h"
#include "packages/sonquo/SNAudioStream.h"
#include "packages/sonquo/SNFBAudioPins.h"
#include "packages/sonquo/SNWaveOperations.h"
#include "packages/zenthic/ZTBufferOperations.h"
#include "packages/zenthic/ZTException.h"

namespace qx {
namespace {

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
  auto audio = RefCast<ISNAudioBuffer>(supplied->GetBuffer());
  EXPECT_EQ(audio.Get(), static_cast<ISNAudioBuffer*>(buffer.Get()));

  WAVEFORMATEXTENSIBLE sent{};
  sent.Format = {WAVE_FORMAT_EXTENSIBLE, 2, 48000, 48000 * 6, 6, 24, 22};
  sent.Samples.wValidBitsPerSample = 20;
  sent.dwChannelMask = 0x3;
  sent.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
  EXPECT_TRUE(source.Output->Notify(MakeRef<TFBStartWaveOperation>(100.0f, sent, true)));
  ASSERT_EQ(sink.Received.size(), 2u);
  auto start = RefCast<TFBStartWaveOperation>(sink.Received[1]);
  ASSERT_TRUE(start);
  EXPECT_TRUE(start->IsPaused());
  EXPECT_EQ(RefCast<TFBStartSampleRateOperation>(sink.Received[1])->GetSampleRate(), 100.0);
  ASSERT_EQ(start->GetFormat().GetSize(), 40u);
  EXPECT_EQ(std::memcmp(start->GetFormat().GetData(), &sent, 40), 0);
}

TEST(StartWave, FromAPlainFormatNeverReadsPastIt) {
  const WAVEFORMATEX pcm{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
  TFBStartWaveOperation start(25.0f, pcm, false);
  EXPECT_FALSE(start.IsPaused());
  ASSERT_EQ(start.GetFormat().GetSize(), 18u);
  EXPECT_EQ(start.GetFormat().GetFormat().nAvgBytesPerSec, 44100u);

  // A bare structure that claims extra bytes has none to copy.
  WAVEFORMATEX claiming = pcm;
  claiming.cbSize = 22;
  EXPECT_THROW(TFBStartWaveOperation(25.0f, claiming, false), EZTException);
}

}  // namespace
}  // namespace qx
