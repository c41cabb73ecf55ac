#include "packages/zenthic/ZTGenericBuffer.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <utility>

#include "packages/zenthic/ZTBlockStorage.h"
#include "packages/zenthic/ZTException.h"

namespace qx {
namespace {

TRefPtr<TZTSmartBuffer> CheckedContainer(TRefPtr<TZTSmartBuffer> container) {
  if (!container) throw EZTException("a data buffer needs a storage");
  return container;
}

}  // namespace

TZTGenericBuffer::TZTGenericBuffer(std::size_t byteSize)
    : TZTGenericBuffer(TRefPtr<TZTSmartBuffer>(new TZTSmartByteBuffer(byteSize))) {}

TZTGenericBuffer::TZTGenericBuffer(TRefPtr<TZTSmartBuffer> container)
    : FDataContainer(CheckedContainer(std::move(container))),
      FData(FDataContainer->GetData()),
      FByteSize(FDataContainer->GetCharSize()) {}

TZTGenericBuffer::TZTGenericBuffer(const IZTDataBuffer& source)
    : TZTGenericBuffer(source.GetInstance().FDataContainer) {}

void TZTGenericBuffer::SetDataContainer(TRefPtr<TZTSmartBuffer> container) {
  FDataContainer = CheckedContainer(std::move(container));
}

void TZTGenericBuffer::PopulateCahces() {
  FData = FDataContainer->GetData();
  FByteSize = FDataContainer->GetCharSize();
}

void TZTGenericBuffer::ReplaceDataContainer(TRefPtr<TZTSmartBuffer> container) {
  SetDataContainer(std::move(container));
  PopulateCahces();
}

void TZTGenericBuffer::Assign(const IZTDataBuffer& source) {
  ReplaceDataContainer(source.GetInstance().FDataContainer);
}

void TZTGenericBuffer::Unique(bool keepContents) {
  if (!FDataContainer->SingleOwner()) ReplaceDataContainer(FDataContainer->Clone(keepContents));
}

std::uint8_t* TZTGenericBuffer::ByteWrite() {
  Unique(false);
  return FData;
}

std::uint8_t* TZTGenericBuffer::ByteModify() {
  Unique(true);
  return FData;
}

TZTSequenceStamp TZTGenericBuffer::GetSequenceStamp() const {
  return FDataContainer->GetSequenceStamp();
}

void TZTGenericBuffer::SetSequenceStamp(TZTSequenceStamp stamp) {
  FDataContainer->SetSequenceStamp(stamp);
}

std::size_t TZTGenericBuffer::CopyTo(IZTDataBuffer& destination) const {
  if (&destination.GetInstance() == this) return GetByteSize();
  const std::size_t count = std::min(GetByteSize(), destination.GetByteSize());
  if (count == 0) return 0;
  // Bytes past `count` belong to the destination and must survive.
  std::uint8_t* target =
      count == destination.GetByteSize() ? destination.ByteWrite() : destination.ByteModify();
  std::memcpy(target, ByteRead(), count);
  return count;
}

bool TZTGenericBuffer::Resize(std::size_t byteSize) {
  if (byteSize == GetByteSize()) return true;
  TRefPtr<TZTSmartBuffer> resized = FDataContainer->CreateResized(byteSize);
  // A storage of whole elements may round the size; only an exact one will do.
  if (!resized || resized->GetCharSize() != byteSize) return false;
  ReplaceDataContainer(std::move(resized));
  return true;
}

TRefPtr<IZTDataBuffer> TZTGenericBuffer::MakeCopy() const {
  return MakeRef<TZTGenericBuffer>(*this);
}

bool TZTGenericBuffer::SaveToFile(const std::string& fileName) const {
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(ByteRead()),
             static_cast<std::streamsize>(GetByteSize()));
  file.close();
  return !file.fail();
}

bool TZTGenericBuffer::LoadFromFile(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary | std::ios::ate);
  if (!file) return false;
  const std::streamoff length = file.tellg();
  if (length < 0) return false;
  const auto byteSize = static_cast<std::size_t>(length);
  if (!Resize(byteSize)) return false;
  if (byteSize == 0) return true;
  file.seekg(0);
  file.read(reinterpret_cast<char*>(ByteWrite()), static_cast<std::streamsize>(byteSize));
  return file.gcount() == static_cast<std::streamsize>(byteSize);
}

}  // namespace qx
