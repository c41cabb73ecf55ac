// Helpers of the signal package's suites: a storage class that counts its
// live instances, so that tests see copies and destructions, one whose size
// cannot change, and a wait for what other threads do.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <thread>

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

// Bytes whose number follows from something else (as an image's does).
class TFixedStorage final : public TZTBlockStorage<TFixedStorage, TZTSmartBuffer> {
 public:
  explicit TFixedStorage(std::size_t charSize) : TZTBlockStorage(charSize) {}
  TFixedStorage(const TFixedStorage& source, std::size_t charSize, bool copyData)
      : TZTBlockStorage(source, charSize, copyData) {}
  TRefPtr<TZTSmartBuffer> CreateResized(std::size_t) const override { return nullptr; }
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

// Waits up to ten seconds for `condition`, checking it every millisecond.
template <class F>
bool Eventually(F condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace qx::test
