// TKRMediaBuffer: a data buffer of media data, whose storage carries the
// media time stamp; IKRMediaBuffer is its interface.
//
// A media buffer follows the copy-on-write rules of IZTDataBuffer. Its
// storage is normally a TKRSmartMediaBuffer; a media buffer sharing a storage
// without a time stamp (one made by a plain data buffer) reports the stamp as
// not available and ignores `SetTimeStamp`.
#pragma once

#include <cstddef>

#include "packages/sonquo/KRSmartMediaBuffer.h"
#include "packages/zenthic/ZTGenericBuffer.h"

namespace qx {

class IKRMediaBuffer : public virtual IZTDataBuffer {
 public:
  // The storage's time stamp.
  virtual TKRMediaTimeStamp GetTimeStamp() const = 0;

 protected:
  ~IKRMediaBuffer() override = default;
};

class TKRMediaBuffer : public TZTGenericBuffer, public virtual IKRMediaBuffer {
 public:
  // `byteSize` uninitialised bytes in a TKRSmartMediaByteBuffer.
  explicit TKRMediaBuffer(std::size_t byteSize = 0);
  // A buffer holding `container`; raises EZTException for a null one.
  explicit TKRMediaBuffer(TRefPtr<TKRSmartMediaBuffer> container);
  // A buffer sharing `source`'s storage.
  explicit TKRMediaBuffer(const IZTDataBuffer& source);

  TKRMediaTimeStamp GetTimeStamp() const override;
  // Writes the time stamp into the storage, shared or not: every buffer
  // sharing it sees the new stamp. Stamp data before sharing it with another
  // thread.
  void SetTimeStamp(const TKRMediaTimeStamp& stamp);

  TRefPtr<IZTDataBuffer> MakeCopy() const override;

 protected:
  // The storage as media storage, or null when it carries no time stamp.
  TKRSmartMediaBuffer* GetMediaContainer() const noexcept;
};

}  // namespace qx
