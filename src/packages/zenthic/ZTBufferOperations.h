// The operations that carry the signal package's data buffers.
//
// A source sends each block of its stream's data as a
// TFBSuppliedBufferOperation (TZTFBSourcePin::SubmitBuffer does it). The one
// buffer object reaches every receiver: none copies it on the way, and a
// receiver that wants to change the data writes through the buffer's
// copy-on-write entries (ByteWrite/ByteModify), which leave the other holders'
// bytes alone. Receivers reach the buffer's own interface with RefCast:
//
//   if (auto supplied = RefCast<TFBSuppliedBufferOperation>(op))
//     if (auto audio = RefCast<ISNAudioBuffer>(supplied->GetBuffer())) ...
#pragma once

#include <utility>

#include "packages/flowbus/FBOperations.h"
#include "packages/zenthic/NXBufferPair.h"
#include "packages/zenthic/ZTDataBuffer.h"

namespace qx {

// A data buffer (never null: a null buffer is sent as no operation at all).
class TFBSuppliedBufferOperation : public TFBSuppliedPayloadOperation {
 public:
  explicit TFBSuppliedBufferOperation(TRefPtr<IZTDataBuffer> buffer)
      : TFBSuppliedPayloadOperation(std::move(buffer)) {}
  TRefPtr<IZTDataBuffer> GetBuffer() const { return GetPayloadAs<IZTDataBuffer>(); }
};

// A buffer a component put back into its own queue, with a flag it decided
// when the buffer first arrived (a logger keeps whether recording was
// enabled then). Handled as a supplied buffer by code that does not know it.
class TFBInternalBufferOperation : public TFBSuppliedBufferOperation {
 public:
  TFBInternalBufferOperation(bool flag, TRefPtr<IZTDataBuffer> buffer)
      : TFBSuppliedBufferOperation(std::move(buffer)), FFlag(flag) {}
  bool GetFlag() const noexcept { return FFlag; }

 private:
  bool FFlag;
};

// Two buffers that travel together (X and Y values), on the pair stream.
class TFBSuppliedBufferPairOperation : public TFBSuppliedPayloadOperation {
 public:
  explicit TFBSuppliedBufferPairOperation(TRefPtr<TNXBufferPair> pair)
      : TFBSuppliedPayloadOperation(std::move(pair)) {}
  TRefPtr<TNXBufferPair> GetPair() const { return GetPayloadAs<TNXBufferPair>(); }
};

}  // namespace qx
