// Helpers of the signal package's suites: a storage class that counts its
// live instances, so that tests see copies and destructions, and buffers
// whose bytes are a known sequence.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "packages/zenthic/ZTBlockStorage.h"
#include "packages/zenthic/ZTGenericBuffer.h"

namespace qx::test {

class TCountedStorage final : public TZTBlockStorage<TCountedStorage, TZTSmartBuffer> {
 public:
  static inline std::atomic<int> Live{0};

  explicit TCountedStorage(std::size_t charSize) : TZTBlockStorage(charSize) { ++Live; }
  TCountedStorage(const TCountedStorage& source, std::size_t charSize, bool copyData)
      : TZTBlockStorage(source, charSize, copyData) {
    ++Live;
  }
  ~TCountedStorage() override { --Live; }
};

// A buffer of `size` bytes in a counted storage, byte i holding `first` + i.
inline TRefPtr<TZTGenericBuffer> CountedBuffer(std::size_t size, std::uint8_t first = 0) {
  auto buffer = MakeRef<TZTGenericBuffer>(TRefPtr<TZTSmartBuffer>(new TCountedStorage(size)));
  std::uint8_t* bytes = buffer->ByteWrite();
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return buffer;
}

// Whether byte i of `buffer` is `first` + i for every i.
inline bool HoldsSequence(const IZTDataBuffer& buffer, std::uint8_t first = 0) {
  const std::uint8_t* bytes = buffer.ByteRead();
  for (std::size_t i = 0; i < buffer.GetByteSize(); ++i) {
    if (bytes[i] != static_cast<std::uint8_t>(first + i)) return false;
  }
  return true;
}

}  // namespace qx::test
