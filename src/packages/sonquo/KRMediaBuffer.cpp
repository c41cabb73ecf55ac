#include "packages/sonquo/KRMediaBuffer.h"

#include <utility>

namespace qx {

TKRMediaBuffer::TKRMediaBuffer(std::size_t byteSize)
    : TZTGenericBuffer(TRefPtr<TZTSmartBuffer>(new TKRSmartMediaByteBuffer(byteSize))) {}

TKRMediaBuffer::TKRMediaBuffer(TRefPtr<TKRSmartMediaBuffer> container)
    : TZTGenericBuffer(TRefPtr<TZTSmartBuffer>(std::move(container))) {}

TKRMediaBuffer::TKRMediaBuffer(const IZTDataBuffer& source) : TZTGenericBuffer(source) {}

TKRSmartMediaBuffer* TKRMediaBuffer::GetMediaContainer() const noexcept {
  return dynamic_cast<TKRSmartMediaBuffer*>(GetDataContainer().Get());
}

TKRMediaTimeStamp TKRMediaBuffer::GetTimeStamp() const {
  const TKRSmartMediaBuffer* media = GetMediaContainer();
  return media ? media->GetTimeStamp() : TKRMediaTimeStamp{};
}

void TKRMediaBuffer::SetTimeStamp(const TKRMediaTimeStamp& stamp) {
  if (TKRSmartMediaBuffer* media = GetMediaContainer()) media->SetTimeStamp(stamp);
}

TRefPtr<IZTDataBuffer> TKRMediaBuffer::MakeCopy() const { return MakeRef<TKRMediaBuffer>(*this); }

}  // namespace qx
