// IZTDataBuffer: a block of data handed between components, shared by
// reference and copied only when written.
//
// Every data buffer is a TZTGenericBuffer (ZTGenericBuffer.h), reached from
// the interface with `GetInstance`. The interface is what pins and operations
// carry; derived interfaces (media buffers, audio buffers, images) derive from
// it virtually so that an object has one of each.
//
// Copy-on-write. Buffers share their storage: building a buffer from
// another, `MakeCopy` and `Assign` copy no byte. `ByteRead` returns the shared
// bytes for reading only. `ByteWrite` and `ByteModify` first make the
// storage private to this buffer when other holders share it -- `ByteWrite`
// with a copy whose bytes are undefined (the caller overwrites them all),
// `ByteModify` with a copy that keeps them -- so a shared storage is never
// written. `Unique` is the operation behind both. A pointer returned by
// `ByteRead`, `ByteWrite` or `ByteModify` stays valid until the next call on
// this buffer that can replace its storage (`ByteWrite`, `ByteModify`,
// `Unique`, `Assign`, `Resize`, `LoadFromFile`).
//
// Threads. One buffer is used by one thread at a time; buffers sharing a
// storage may be used on different threads, since a shared storage is only
// read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/RefCounted.h"
#include "packages/zenthic/ZTSmartBuffer.h"

namespace qx {

class TZTGenericBuffer;

class IZTDataBuffer : public virtual TRefCounted {
 public:
  // This buffer shares `source`'s storage from now on (its own is released).
  virtual void Assign(const IZTDataBuffer& source) = 0;

  // The buffer object behind the interface.
  virtual TZTGenericBuffer& GetInstance() noexcept = 0;
  virtual const TZTGenericBuffer& GetInstance() const noexcept = 0;

  // The bytes for reading (null when the size is 0).
  virtual const std::uint8_t* ByteRead() const = 0;
  // The bytes for overwriting: private to this buffer, contents undefined
  // when they had to be unshared.
  virtual std::uint8_t* ByteWrite() = 0;
  // The bytes for changing in place: private to this buffer, contents kept.
  virtual std::uint8_t* ByteModify() = 0;

  // The number of bytes.
  virtual std::size_t GetByteSize() const = 0;
  // The number of elements: bytes for a plain buffer, samples for audio,
  // values for a buffer of reals.
  virtual std::size_t GetSize() const = 0;

  // The stamp the producer put on the data (see TZTSmartBuffer).
  virtual TZTSequenceStamp GetSequenceStamp() const = 0;

  // Copies min(GetByteSize(), destination's size) bytes into `destination`'s
  // own bytes, keeping the rest of them, and returns the number copied.
  virtual std::size_t CopyTo(IZTDataBuffer& destination) const = 0;

  // Gives the buffer `byteSize` bytes, keeping the first ones; false (and
  // nothing changed) when its storage class cannot hold exactly that many
  // (a fixed layout, or a size that is not a whole number of elements).
  virtual bool Resize(std::size_t byteSize) = 0;

  // Makes the storage private to this buffer (see above); `keepContents`
  // says whether an unshared copy keeps the bytes.
  virtual void Unique(bool keepContents) = 0;

  // A new buffer of the same class sharing this one's storage.
  virtual TRefPtr<IZTDataBuffer> MakeCopy() const = 0;

  // Writes the bytes to a file, replacing it; false when it cannot be written.
  virtual bool SaveToFile(const std::string& fileName) const = 0;
  // Reads a whole file into the buffer, resized to the file's size; false
  // when the file cannot be read, or when its size differs from the buffer's
  // and the buffer cannot be resized (the buffer is then unchanged). After a
  // read error the bytes are undefined.
  virtual bool LoadFromFile(const std::string& fileName) = 0;

 protected:
  IZTDataBuffer() = default;
  ~IZTDataBuffer() override = default;
};

}  // namespace qx
