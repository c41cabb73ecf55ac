#include "packages/zenthic/NXBufferPair.h"

#include <utility>

#include "packages/zenthic/ZTException.h"

namespace qx {

TNXBufferPair::TNXBufferPair(TRefPtr<IZTDataBuffer> first, TRefPtr<IZTDataBuffer> second) {
  AddBuffer(std::move(first));
  AddBuffer(std::move(second));
}

void TNXBufferPair::AddBuffer(TRefPtr<IZTDataBuffer> buffer) {
  if (!buffer) throw EZTException("a buffer pair takes no null buffer");
  if (!FFirst) {
    FFirst = std::move(buffer);
  } else if (!FSecond) {
    FSecond = std::move(buffer);
  } else {
    throw EZTException("the buffer pair holds two buffers already");
  }
}

}  // namespace qx
