// TQXImageBuffer: construction, sharing, and changes of format and size.
#include "image/QXImageBuffer.h"

#include <cstring>
#include <utility>

#include "image/QXSmartImageBuffers.h"

namespace qx {
namespace {

// The pixel storage `source` holds, or null when it holds another kind.
TQXSmartImageBuffer* ImageStorageOf(const IZTDataBuffer& source) {
  return dynamic_cast<TQXSmartImageBuffer*>(source.GetInstance().GetDataContainer().Get());
}

// The format tag of `source`, which holds `storage`: an image buffer's own
// tag, otherwise the storage class's format.
TQXVideoFormat FormatOf(const IZTDataBuffer& source, const TQXSmartImageBuffer& storage) {
  const auto* image = dynamic_cast<const TQXImageBuffer*>(&source.GetInstance());
  return image ? image->GetFormat() : storage.GetFormat();
}

}  // namespace

TQXImageBuffer::TQXImageBuffer(TStorageAndFormat image)
    : TKRMediaBuffer(TRefPtr<TKRSmartMediaBuffer>(image.Storage)),
      FBuffer(image.Storage.Get()),
      FFormat(image.Format) {
  PopulateCahces();
}

TQXImageBuffer::TStorageAndFormat TQXImageBuffer::SharedImageOf(const IZTDataBuffer& source) {
  TQXSmartImageBuffer* storage = ImageStorageOf(source);
  if (storage == nullptr) return {QXCreateSmartImageBuffer(vfRGB24, 0, 0), vfRGB24};
  return {TRefPtr<TQXSmartImageBuffer>(storage), FormatOf(source, *storage)};
}

TQXImageBuffer::TQXImageBuffer() : TQXImageBuffer(0, 0, vfRGB24) {}

TQXImageBuffer::TQXImageBuffer(std::uint32_t width, std::uint32_t height, TQXVideoFormat format)
    : TQXImageBuffer(
          {QXCreateSmartImageBuffer(format, width, height), QXValidVideoFormat(format)}) {}

TQXImageBuffer::TQXImageBuffer(const void* data, std::uint32_t width, std::uint32_t height,
                               TQXVideoFormat format)
    : TQXImageBuffer(width, height, format) {
  if (data != nullptr && GetByteSize() != 0) std::memcpy(Write(), data, GetByteSize());
}

TQXImageBuffer::TQXImageBuffer(const TQXImageBuffer& source)
    : TQXImageBuffer({TRefPtr<TQXSmartImageBuffer>(source.FBuffer), source.FFormat}) {}

TQXImageBuffer::TQXImageBuffer(const IZTDataBuffer& source)
    : TQXImageBuffer(SharedImageOf(source)) {}

void TQXImageBuffer::Assign(const IZTDataBuffer& source) {
  TQXSmartImageBuffer* storage = ImageStorageOf(source);
  if (storage == nullptr) return;
  FFormat = FormatOf(source, *storage);
  ReplaceDataContainer(TRefPtr<TZTSmartBuffer>(storage));
}

TRefPtr<IZTDataBuffer> TQXImageBuffer::MakeCopy() const { return MakeRef<TQXImageBuffer>(*this); }

void TQXImageBuffer::SetDataContainer(TRefPtr<TZTSmartBuffer> container) {
  auto* storage = dynamic_cast<TQXSmartImageBuffer*>(container.Get());
  if (storage == nullptr) return;
  TKRMediaBuffer::SetDataContainer(std::move(container));
  FBuffer = storage;
}

void TQXImageBuffer::PopulateCahces() {
  TKRMediaBuffer::PopulateCahces();
  FWidth = FBuffer->GetWidth();
  FHeight = FBuffer->GetHeight();
  FBytesPerPixel = FBuffer->GetBytesPerPixel();
  FStep = FBuffer->GetStep();
}

void TQXImageBuffer::SetBuffer(TRefPtr<TQXSmartImageBuffer> buffer) {
  if (!buffer) return;
  const bool keepsRGBTag = FFormat == vfRGB && buffer->GetFormat() == vfRGB24;
  FFormat = keepsRGBTag ? vfRGB : buffer->GetFormat();
  ReplaceDataContainer(std::move(buffer));
}

void TQXImageBuffer::SetFormat(TQXVideoFormat format) {
  format = QXValidVideoFormat(format);
  if (format == FFormat) return;
  FFormat = format;
  // vfRGB24 and vfRGB share one layout: only the tag changes.
  const TQXVideoFormat storageFormat = QXStorageFormat(format);
  if (storageFormat == FBuffer->GetFormat()) return;
  ReplaceDataContainer(QXConvertSmartImageBuffer(storageFormat, *FBuffer));
}

void TQXImageBuffer::SetFormatRGB() {
  if (FFormat != vfRGB24 && FFormat != vfRGBA32) SetFormat(vfRGB24);
}

void TQXImageBuffer::SetImageSize(std::uint32_t width, std::uint32_t height) {
  SetImageSizeFormat(width, height, FFormat);
}

void TQXImageBuffer::SetImageSizeFormat(std::uint32_t width, std::uint32_t height,
                                        TQXVideoFormat format) {
  format = QXValidVideoFormat(format);
  if (width == FWidth && height == FHeight && format == FFormat) return;
  TRefPtr<TQXSmartImageBuffer> fresh = QXCreateSmartImageBuffer(format, width, height);
  fresh->SetTimeStamp(FBuffer->GetTimeStamp());
  FFormat = format;
  ReplaceDataContainer(std::move(fresh));
}

IppiSize TQXImageBuffer::GetDimSize() const {
  return {static_cast<int>(FWidth), static_cast<int>(FHeight)};
}

IppiSize TQXImageBuffer::GetDimSizeC1() const {
  return {static_cast<int>(FWidth * FBytesPerPixel), static_cast<int>(FHeight)};
}

TRefPtr<TQXImageBuffer> QXGetImageBuffer(const TRefPtr<IZTDataBuffer>& buffer) {
  if (!buffer) return nullptr;
  return TRefPtr<TQXImageBuffer>(dynamic_cast<TQXImageBuffer*>(&buffer->GetInstance()));
}

}  // namespace qx
