// Storage classes whose bytes are one aligned block (ZTBufferAllocator.h).
//
// `TZTBlockStorage<Self, Base>` completes a storage base (TZTSmartBuffer or
// a class derived from it) with a block: it supplies `GetData`,
// `GetCharSize`, `Clone` and `CreateResized`. `Self` is the final class; it
// derives from `TZTBlockStorage<Self, Base>` and has a public constructor
//
//   Self(const Self& source, std::size_t charSize, bool copyData)
//
// that passes its arguments on (after adjusting `charSize` if the class only
// holds whole elements); `Clone` and `CreateResized` call it.
//
// `TZTSmartByteBuffer` is the plain storage of bytes that generic data
// buffers use.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "packages/zenthic/ZTBufferAllocator.h"
#include "packages/zenthic/ZTSmartBuffer.h"

namespace qx {

template <class Self, class Base>
class TZTBlockStorage : public Base {
 public:
  std::uint8_t* GetData() const noexcept override { return FBlock.GetData(); }
  std::size_t GetCharSize() const noexcept override { return FBlock.GetSize(); }

  TRefPtr<TZTSmartBuffer> Clone(bool copyData) const override {
    return TRefPtr<TZTSmartBuffer>(new Self(AsSelf(), GetCharSize(), copyData));
  }
  TRefPtr<TZTSmartBuffer> CreateResized(std::size_t charSize) const override {
    return TRefPtr<TZTSmartBuffer>(new Self(AsSelf(), charSize, true));
  }

 protected:
  // A storage of `charSize` uninitialised bytes.
  explicit TZTBlockStorage(std::size_t charSize) : FBlock(charSize) {}

  // A copy of `source` as Base copies it (stamps and other fields) with a
  // block of `charSize` bytes, of which the first min(charSize,
  // source.GetCharSize()) are copied from `source` when `copyData` is true.
  TZTBlockStorage(const TZTBlockStorage& source, std::size_t charSize, bool copyData)
      : Base(source), FBlock(charSize) {
    const std::size_t kept = std::min(charSize, source.GetCharSize());
    if (copyData && kept > 0) std::memcpy(FBlock.GetData(), source.GetData(), kept);
  }

 private:
  const Self& AsSelf() const noexcept { return static_cast<const Self&>(*this); }

  TZTBufferBlock FBlock;
};

// A storage of bytes without any further meaning.
class TZTSmartByteBuffer final : public TZTBlockStorage<TZTSmartByteBuffer, TZTSmartBuffer> {
 public:
  // `charSize` uninitialised bytes.
  explicit TZTSmartByteBuffer(std::size_t charSize) : TZTBlockStorage(charSize) {}
  TZTSmartByteBuffer(const TZTSmartByteBuffer& source, std::size_t charSize, bool copyData)
      : TZTBlockStorage(source, charSize, copyData) {}
};

}  // namespace qx
