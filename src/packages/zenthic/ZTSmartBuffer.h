// TZTSmartBuffer: the base of every storage object, the reference-counted
// block of bytes that data buffers share (see ZTGenericBuffer.h).
//
// Counting. A storage object has exactly one reference count, the host's
// TRefCounted count (host/RefCounted.h); `AddReff`/`RemoveReff` add and drop
// a reference on it and the object is destroyed when the last one goes.
// Holders normally keep a storage in a `TRefPtr`, which does the same.
//
// The Boolean of `AddReff`/`RemoveReff` is the kind of holder: true for a data
// buffer's reference to its storage, false for any other holder. The kinds
// share the one count, so the flag changes nothing in counting, in
// `SingleOwner` or in destruction: every reference keeps the object alive and
// makes it shared, whatever its kind.
//
// Ownership. Like every TRefCounted object, a new storage starts without a
// reference. Its creator owns it until it gives it to a holder; a creator that
// ends up not handing it on calls `RemoveOwnerShip`, which destroys an object
// nobody references and leaves a referenced one to its holders.
//
// Copy-on-write. A storage referenced more than once is shared and is only
// read; a holder that wants to write asks for a private copy with `Clone`.
// `SingleOwner` says whether the caller's reference is the only one; when it
// is, no other thread can add one, so the caller may write.
//
// A derived class supplies its bytes (`GetData`, `GetCharSize`) and `Clone`;
// a class whose bytes can be reallocated at another size also supplies
// `CreateResized`. ZTBlockStorage.h does all of that for storages kept in one
// aligned block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/RefCounted.h"

namespace qx {

// A running number that a producer puts on the data it hands out (for example
// a frame counter), with whether one was put.
struct TZTSequenceStamp {
  bool Available = false;
  std::int64_t Value = 0;

  friend bool operator==(const TZTSequenceStamp&, const TZTSequenceStamp&) = default;
};

class TZTSmartBuffer : public virtual TRefCounted {
 public:
  // Adds a reference of the given kind (see above). Any thread.
  void AddReff(bool dataBufferReference) const noexcept;
  // Drops a reference of the given kind; destroys the object when it was the
  // last. Any thread.
  void RemoveReff(bool dataBufferReference) const noexcept;

  // The caller's reference is the only one: the storage may be written.
  bool SingleOwner() const noexcept { return GetRefCount() == 1; }

  // Ends the creator's ownership: destroys the object when no reference is
  // held, does nothing otherwise. The caller must not use the object after.
  void RemoveOwnerShip() const noexcept;

  // A new storage of the same class and size, with the same stamps; the bytes
  // are copied when `copyData` is true and left undefined otherwise.
  virtual TRefPtr<TZTSmartBuffer> Clone(bool copyData) const = 0;

  // A new storage of the same class holding `charSize` bytes (a class of
  // whole elements may round that down), of which the first min(charSize,
  // GetCharSize()) are copied, with the same stamps; null when the class
  // cannot be resized by bytes (its size follows from other values, as an
  // image's does). The base returns null.
  virtual TRefPtr<TZTSmartBuffer> CreateResized(std::size_t charSize) const;

  // The bytes and their number. The pointer is null when the size is 0.
  virtual std::uint8_t* GetData() const noexcept = 0;
  virtual std::size_t GetCharSize() const noexcept = 0;

  // The sequence stamp travels with the bytes: clones and resized copies keep
  // it. It is written in place, shared or not, so stamp data before handing
  // it to another thread.
  TZTSequenceStamp GetSequenceStamp() const noexcept { return FSequenceStamp; }
  void SetSequenceStamp(TZTSequenceStamp stamp) noexcept { FSequenceStamp = stamp; }

 protected:
  TZTSmartBuffer() = default;
  // Copies the stamps; the copy starts without references.
  TZTSmartBuffer(const TZTSmartBuffer& source) = default;
  TZTSmartBuffer& operator=(const TZTSmartBuffer&) = delete;
  ~TZTSmartBuffer() override = default;

 private:
  TZTSequenceStamp FSequenceStamp;
};

}  // namespace qx
