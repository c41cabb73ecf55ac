// TZTRealBuffer: a data buffer of double-precision values, with its
// interface IZTRealBuffer.
//
// The values follow the copy-on-write rules of IZTDataBuffer; `Read`,
// `Write` and `Modify` are `ByteRead`, `ByteWrite` and `ByteModify` typed as
// values. The values are 64-byte aligned. `GetSize` and `GetCount` give the
// number of values; a buffer built on a storage whose byte size is not a
// multiple of 8 ignores the bytes after the last whole value.
#pragma once

#include <cstddef>

#include "packages/zenthic/ZTGenericBuffer.h"

namespace qx {

class IZTRealBuffer : public virtual IZTDataBuffer {
 public:
  virtual std::size_t GetCount() const = 0;
  virtual const double* Read() const = 0;
  virtual double* Write() = 0;
  virtual double* Modify() = 0;

 protected:
  ~IZTRealBuffer() override = default;
};

class TZTRealBuffer : public TZTGenericBuffer, public virtual IZTRealBuffer {
 public:
  // `count` uninitialised values.
  explicit TZTRealBuffer(std::size_t count = 0);
  // Shares `source`'s storage.
  explicit TZTRealBuffer(const IZTDataBuffer& source);

  std::size_t GetCount() const override { return GetByteSize() / sizeof(double); }
  std::size_t GetSize() const override { return GetCount(); }
  const double* Read() const override;
  double* Write() override;
  double* Modify() override;
  TRefPtr<IZTDataBuffer> MakeCopy() const override;
};

}  // namespace qx
