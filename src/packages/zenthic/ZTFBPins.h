// The signal package's pin bases: what the library's typed pins (image,
// coordinates, audio) derive from.
//
// A derived pin declares its stream types in its constructor and hands every
// operation that arrives to its owner through the operation event, on the
// sender's thread, under the owner's lock (the lock given here; when the
// owner is being destroyed the lock refuses and the operation is dropped
// without reaching the event). A pin of one type passes its package's
// stream registration and the type to the base:
//
//   class TQXFBImageSourcePin : public TZTFBSourcePin {
//    public:
//     TQXFBImageSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
//                         TZTOperationEvent onOperation, TZTPinNotifyEvent onConnect = {})
//         : TZTFBSourcePin(owner, name, std::move(lock), std::move(onOperation),
//                          std::move(onConnect), QXRegisterStreams, {IID_IFBQXImageStream}) {}
//   };
//
//   output->Notify(MakeRef<TFBStartFrameOperation>(...));   // announce
//   output->SubmitBuffer(frame);                             // each frame
//   output->Stop();                                          // end
//
// Sending follows the pin framework: synchronous, on the calling thread, to
// every connected sink, in order (packages/flowbus/FBPin.h).
#pragma once

#include <functional>
#include <initializer_list>
#include <string_view>

#include "packages/flowbus/FBSinkPin.h"
#include "packages/flowbus/FBSourcePin.h"
#include "packages/zenthic/NXBufferPair.h"
#include "packages/zenthic/ZTDataBuffer.h"

namespace qx {

class TZTFBSourcePin;

// What a pin hands its owner: the receiving pin, the connection's type, the
// operation and the sender's state; the result is the receiver's answer.
using TZTOperationEvent = TFBOperationEvent;

// The owner's notify event of a source pin (see OnConnect).
using TZTPinNotifyEvent = std::function<void(TZTFBSourcePin& sender)>;

class TZTFBSourcePin : public TFBSourcePin {
  QX_CLASS(TZTFBSourcePin, TFBSourcePin)

 public:
  // `onConnect` becomes OnConnect.
  TZTFBSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                 TZTPinNotifyEvent onConnect = {});

  // Sends `buffer` to every connected sink in one TFBSuppliedBufferOperation:
  // each receives the same buffer object, none a copy. True when at least
  // one sink accepted it; false for a null buffer or no sink.
  bool SubmitBuffer(const TRefPtr<IZTDataBuffer>& buffer, TFBState state = 0);

  // Called after a sink has been connected to this pin, on the connecting
  // thread and outside the lock: an owner whose stream is running announces
  // it again (under its lock) so that the newcomer learns the format.
  TZTPinNotifyEvent OnConnect;

 protected:
  // Runs `registerStreams` (the package's stream registration, so that the
  // types exist before they are declared), declares `types` and installs
  // both events.
  TZTFBSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                 TZTOperationEvent onOperation, TZTPinNotifyEvent onConnect,
                 void (*registerStreams)(), std::initializer_list<TGUID> types = {});

  void SinkConnected(IFBStream& stream) override;
};

class TZTFBSinkPin : public TFBSinkPin {
  QX_CLASS(TZTFBSinkPin, TFBSinkPin)

 public:
  // `onOperation` becomes OnOperation.
  TZTFBSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
               TZTOperationEvent onOperation = {});

 protected:
  // Runs `registerStreams` and declares `types`, as the source pin's does.
  TZTFBSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
               TZTOperationEvent onOperation, void (*registerStreams)(),
               std::initializer_list<TGUID> types);
};

// A source of the pair stream (ZTBufferPairStreamID), the target of the
// converters that split data into two buffers.
class TZTFBPairedSourcePin : public TZTFBSourcePin {
  QX_CLASS(TZTFBPairedSourcePin, TZTFBSourcePin)

 public:
  TZTFBPairedSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                       TZTPinNotifyEvent onConnect = {});

  // Sends `pair` in one TFBSuppliedBufferPairOperation; false for a null
  // pair or when no sink accepted it.
  bool SubmitPair(const TRefPtr<TNXBufferPair>& pair, TFBState state = 0);
};

}  // namespace qx
