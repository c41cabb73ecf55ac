// TZTGenericBuffer: the data buffer, a light handle on one storage object
// (ZTSmartBuffer.h) that implements the copy-on-write rules of IZTDataBuffer.
//
// A buffer always holds exactly one storage, through a TRefPtr: every
// change of storage (`SetDataContainer`) takes a reference on the new one and
// drops the reference on the old one, so derived classes never count
// references themselves. The buffer caches the storage's data pointer and
// byte size; `PopulateCahces` refreshes the caches after every change of
// storage.
//
// Deriving. A class that keeps state about its storage (a typed pointer, a
// geometry) overrides `SetDataContainer` and `PopulateCahces`, calling the
// base's versions first. C++ calls no override from a base constructor, so the
// base constructors set the storage and the base caches without the virtual
// hooks; a derived constructor calls its own `PopulateCahces` (or
// `SetDataContainer`) itself. Classes with their own copy rules may override
// `MakeCopy` (to return their own class), `Assign`, `GetByteSize` and
// `GetSize`; a storage class supplies `Clone` for the copy-on-write step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "packages/zenthic/ZTDataBuffer.h"
#include "packages/zenthic/ZTSmartBuffer.h"

namespace qx {

class TZTGenericBuffer : public virtual IZTDataBuffer {
 public:
  // A buffer of `byteSize` uninitialised bytes in a TZTSmartByteBuffer.
  explicit TZTGenericBuffer(std::size_t byteSize = 0);
  // A buffer holding `container`; raises EZTException for a null one.
  explicit TZTGenericBuffer(TRefPtr<TZTSmartBuffer> container);
  // A buffer sharing `source`'s storage: copying a buffer copies no byte.
  explicit TZTGenericBuffer(const IZTDataBuffer& source);
  TZTGenericBuffer(const TZTGenericBuffer& source)
      : TZTGenericBuffer(static_cast<const IZTDataBuffer&>(source)) {}
  // Buffers change storage through the virtual Assign.
  TZTGenericBuffer& operator=(const TZTGenericBuffer&) = delete;

  void Assign(const IZTDataBuffer& source) override;
  TZTGenericBuffer& GetInstance() noexcept override { return *this; }
  const TZTGenericBuffer& GetInstance() const noexcept override { return *this; }
  const std::uint8_t* ByteRead() const override { return FData; }
  std::uint8_t* ByteWrite() override;
  std::uint8_t* ByteModify() override;
  std::size_t GetByteSize() const override { return FByteSize; }
  std::size_t GetSize() const override { return FByteSize; }
  TZTSequenceStamp GetSequenceStamp() const override;
  std::size_t CopyTo(IZTDataBuffer& destination) const override;
  bool Resize(std::size_t byteSize) override;
  void Unique(bool keepContents) override;
  TRefPtr<IZTDataBuffer> MakeCopy() const override;
  bool SaveToFile(const std::string& fileName) const override;
  bool LoadFromFile(const std::string& fileName) override;

  // Puts a sequence stamp on the storage. It is written in place, so every
  // buffer sharing the storage sees it: stamp data before sharing it with
  // another thread.
  void SetSequenceStamp(TZTSequenceStamp stamp);

  // The storage this buffer holds (never null).
  const TRefPtr<TZTSmartBuffer>& GetDataContainer() const noexcept { return FDataContainer; }

 protected:
  // Makes `container` this buffer's storage; raises EZTException for a null
  // one. Callers follow it with `PopulateCahces`.
  virtual void SetDataContainer(TRefPtr<TZTSmartBuffer> container);
  // Refreshes the cached data pointer and byte size from the storage.
  virtual void PopulateCahces();

  // Replaces the storage and refreshes the caches, through the virtual hooks.
  void ReplaceDataContainer(TRefPtr<TZTSmartBuffer> container);

 private:
  TRefPtr<TZTSmartBuffer> FDataContainer;
  std::uint8_t* FData = nullptr;
  std::size_t FByteSize = 0;
};

}  // namespace qx
