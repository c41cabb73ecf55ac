// The audio pins: a source and a sink of the audio stream
// (packages/sonquo/SNAudioStream.h).
//
// A source announces the format, then submits its buffers, then stops:
//
//   auto* audio = new TSNFBAudioSourcePin(this, "AudioOutputPin", FLock);
//   audio->Notify(MakeRef<TFBStartWaveOperation>(100.0f, format, false));
//   audio->SubmitBuffer(buffer);          // an ISNAudioBuffer, shared, never copied
//   audio->Stop();
//
// and a sink sees, in its operation event, the start, the buffers as
// TFBSuppliedBufferOperation (RefCast the buffer to ISNAudioBuffer) and the
// stop. The pins speak only the audio stream: they connect to each other, or
// through a converter registered from or to the audio stream.
#pragma once

#include "packages/zenthic/ZTFBPins.h"

namespace qx {

class TSNFBAudioSourcePin : public TZTFBSourcePin {
  QX_CLASS(TSNFBAudioSourcePin, TZTFBSourcePin)

 public:
  TSNFBAudioSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                      TZTOperationEvent onOperation = {}, TZTPinNotifyEvent onConnect = {});
};

class TSNFBAudioSinkPin : public TZTFBSinkPin {
  QX_CLASS(TSNFBAudioSinkPin, TZTFBSinkPin)

 public:
  TSNFBAudioSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                    TZTOperationEvent onOperation = {});
};

}  // namespace qx
